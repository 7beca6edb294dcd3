// Qt's own texts in the interface's language.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <filesystem>

#include "platform/ChineseFileListModel.h"
#include "platform/ChineseInterface.h"
#include "support/Files.h"
#include "toolkit/UITextField.h"

using namespace quillet::app;

namespace {

bool hasChinese(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) {
            return true;
        }
    }
    return false;
}

TEST(ChineseInterface, QtsDialogsAndMenusSpeakChinese) {
    ASSERT_TRUE(installChineseInterface()) << "Qt's Chinese translations are not installed";
    QFileDialog dialog(nullptr, QString(), QString());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    QStringList texts;
    for (const auto* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const auto* button : dialog.findChildren<QPushButton*>()) {
        texts << button->text();
    }
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), hasChinese))
        << texts.join("|").toStdString();
    EXPECT_FALSE(texts.contains("Look in:"));
    EXPECT_FALSE(texts.contains("&Choose"));
    EXPECT_FALSE(texts.contains("Cancel"));

    QLineEdit field("text");
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    for (const auto* action : menu->actions()) {
        if (!action->isSeparator()) {
            EXPECT_TRUE(hasChinese(action->text())) << action->text().toStdString();
        }
    }
}

// The settings screen's placeholder lost its underscore and the descenders of "my" and "gobal":
// a line box measured in a Latin font is too short for mixed text.
TEST(ChineseInterface, ALineOfMixedTextFitsTheLineItIsGiven) {
    const QFont before = QApplication::font();
    QApplication::setFont(QFont("DejaVu Sans"));
    useChineseFont();
    UITextField field;
    field.setTextStyle({Qt::black, 13});
    field.ensurePolished();
    const QString placeholder = "默认不填充,示例: test_、my、gobal等";
    const QFontMetrics metrics(field.font());
    EXPECT_GE(metrics.height(), metrics.boundingRect(placeholder).height())
        << field.font().family().toStdString();
    QApplication::setFont(before);
}

} // namespace

TEST(ChineseInterface, TheFileListNamesFoldersAndWritesDatesInChinese) {
    quillet::test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Sources");
    dir.write("notes.txt", "x");
    QFileSystemModel files;
    QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
    const QModelIndex root = files.setRootPath(QString::fromStdString(dir.str()));
    ASSERT_TRUE(loaded.wait(5000));
    ChineseFileListModel list;
    list.setSourceModel(&files);
    const auto cell = [&](const char* name, int column) {
        const QModelIndex source = files.index(QString::fromStdString(dir.str()) + "/" + name);
        return list.data(list.mapFromSource(source.siblingAtColumn(column)), Qt::DisplayRole)
            .toString();
    };
    ASSERT_TRUE(root.isValid());
    EXPECT_EQ(cell("Sources", ChineseFileListModel::kindColumn), "文件夹");
    EXPECT_NE(cell("notes.txt", ChineseFileListModel::kindColumn), "文件夹");
    const QDateTime modified =
        files.lastModified(files.index(QString::fromStdString(dir.str()) + "/notes.txt"));
    EXPECT_EQ(cell("notes.txt", ChineseFileListModel::dateColumn),
              modified.toString("yyyy/M/d HH:mm"));
    EXPECT_EQ(cell("notes.txt", 0), "notes.txt"); // the other columns as Qt has them
}

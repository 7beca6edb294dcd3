// The rename screen driven as a user drives it, on a copy of the example project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "ModalQuestion.h"
#include "defaults/DefaultsStore.h"
#include "engine/NameTable.h"
#include "engine/RenameStrategy.h"
#include "fs/FolderLock.h"
#include "job/RunReport.h"
#include "log/Console.h"
#include "platform/CMOpenPanel.h"
#include "platform/SheetAlert.h"
#include "screens/MethodRenameViewController.h"
#include "screens/ReusedNamesRow.h"
#include "screens/RunOutcome.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"
#include "support/Files.h"
#include "support/Words.h"
#include "toolkit/MessageText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"
#include "wordbank/WordModel.h"

namespace fs = std::filesystem;
using quillet::test::readFile;
using quillet::test::TempDir;
using quillet::test::treeDump;
using namespace quillet::app;

namespace {

// A check box wears the "ok" image when on and enabled: the theme colour, which no other image
// of the box has.
bool showsTheme(QWidget* box) {
    const QImage image = box->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == QColor(0x3a, 0xbc, 0xd0)) {
                return true;
            }
        }
    }
    return false;
}

quillet::SettingModel storedSettings() {
    (void)quillet::DefaultsStore::standard().synchronize();
    return quillet::Cacher::shared().read<quillet::SettingModel>();
}

class RenameScreen : public ::testing::Test {
protected:
    RenameScreen() {
        fs::copy(fs::path(QUILLET_EXAMPLES_DIR) / "DemoShop", project_,
                 fs::copy_options::recursive);
        auto& settings = quillet::SettingModel::shared();
        settings.backupPath = backups_.string();
        settings.methodPrefix = "";
        settings.classPrefix = "";
        settings.renameUnary = settings.renameProperties = false;
        settings.renameClasses = settings.renameProtocols = false;
        settings.reusedNames.clear();
        CMOpenPanel::shared().setChooser(
            [this](const QString&) { return std::optional(QString::fromStdString(project_)); });
        window_.setCentralWidget(new QWidget(&window_));
        screen_ = new MethodRenameViewController(window_.centralWidget());
        screen_->setGeometry(0, 30, 760, 510);
        window_.resize(960, 600);
        window_.show();
    }
    ~RenameScreen() override {
        CMOpenPanel::shared().setChooser({});
        CMOpenPanel::shared().setFileChooser({});
        if (CMAlert::shared().isVisible()) {
            CMAlert::shared().dismissController();
        }
    }

    QString dialogTitle() const { return CMAlert::shared().titleLabel()->text(); }
    bool dialogShown() const { return CMAlert::shared().isVisible(); }
    void setBank(std::size_t words) {
        auto bank = quillet::WordModel::loadLocal();
        bank.text = quillet::test::bankText(words);
        ASSERT_TRUE(bank.save());
    }
    // Runs the screen to the end and returns the texts the dialog showed.
    QStringList run() {
        QSignalSpy shown(screen_, &MethodRenameViewController::dialogMessageShown);
        QSignalSpy finished(screen_, &MethodRenameViewController::runFinished);
        screen_->sureAction();
        [&] { ASSERT_TRUE(finished.wait(30000)); }();
        QStringList texts;
        for (const auto& arguments : shown) {
            texts << arguments.at(0).toString();
        }
        return texts;
    }

    // The file dialog answers `file`; what it was asked (start folder and filter) goes to asked_.
    void answerFileDialog(const std::optional<std::string>& file) {
        CMOpenPanel::shared().setFileChooser(
            [this, file](const QString& start, const QString& filter) {
                asked_ << start + " | " + filter;
                return file ? std::optional(QString::fromStdString(*file)) : std::nullopt;
            });
    }
    // Chooses `file` with "沿用名称表…".
    void chooseNames(const std::string& file) {
        answerFileDialog(file);
        screen_->namesRow()->chooseBtn()->click();
    }
    // A names file such as a run writes, below the temporary folder.
    std::string namesFile(const std::string& relative) const {
        const quillet::NameTable table({{quillet::NameEntry::Kind::classType, "Cart", "Basket"}});
        return temp_.write(relative, table.text("names"));
    }
    QString namesShown() const { return screen_->namesRow()->fileLabel()->text(); }

    TempDir temp_;
    QStringList asked_;
    std::string project_ = (temp_.path() / "Demo").string();
    fs::path backups_ = temp_.path() / "backups" / "nested";
    QMainWindow window_;
    MethodRenameViewController* screen_;
};

TEST_F(RenameScreen, ThePathFieldIsFramedToShowWhereToDoubleClick) {
    const QImage field = screen_->pathInput()->label()->grab().toImage();
    const QColor frame(204, 204, 204);
    EXPECT_EQ(field.pixelColor(field.width() / 2, 0), frame);
    EXPECT_EQ(field.pixelColor(field.width() / 2, field.height() - 1), frame);
    EXPECT_EQ(screen_->pathInput()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(RenameScreen, ShowsItsOptionsAndTheSummaryFollowsTheRandomBox) {
    EXPECT_EQ(screen_->condition()->label()->text(), "Objective-C 项目, 从单词库生成方法名");
    EXPECT_EQ(screen_->ignoreInput()->toPlainText(), MethodRenameViewController::ignoreTemplate);
    EXPECT_FALSE(showsTheme(screen_->fillBtn()));
    screen_->fillBtn()->click();
    EXPECT_EQ(screen_->condition()->label()->text(),
              "Objective-C 项目, 随机生成新方法名(代码质量欠佳)");
    EXPECT_TRUE(showsTheme(screen_->fillBtn()));
    screen_->fillBtn()->click();
    EXPECT_EQ(screen_->condition()->label()->text(), "Objective-C 项目, 从单词库生成方法名");

    // The Swift box says it is not supported and is off again once the dialog closes.
    screen_->swiftBtn()->click();
    EXPECT_EQ(dialogTitle(), "暂时未支持");
    EXPECT_TRUE(screen_->swiftBtn()->isChecked());
    CMAlert::shared().cancleBtn()->click();
    EXPECT_FALSE(screen_->swiftBtn()->isChecked());
    EXPECT_EQ(screen_->condition()->label()->text(), "Objective-C 项目, 从单词库生成方法名");
}

TEST_F(RenameScreen, AWholeRunRewritesTheProjectBacksItUpAndReportsInOrder) {
    setBank(400);
    screen_->selectPathAction();
    EXPECT_EQ(screen_->pathInput()->label()->text(), QString::fromStdString(project_));
    const std::string before = treeDump(project_);

    QStringList texts = run();
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts.first(), "解析中...");
    // The backup's own progress comes next, before any method is renamed.
    qsizetype backupTexts = 0;
    while (1 + backupTexts < texts.size() && texts[1 + backupTexts].startsWith("备份中…")) {
        ++backupTexts;
    }
    EXPECT_GE(backupTexts, 1);
    EXPECT_TRUE(texts[backupTexts].endsWith("/ 12.1 KiB")) << texts[backupTexts].toStdString();
    texts.remove(1, backupTexts);
    for (qsizetype i = 1; i + 1 < texts.size(); ++i) {
        EXPECT_TRUE(texts[i].startsWith(QString("[ %1/%2 ]").arg(i).arg(texts.size() - 2)))
            << texts[i].toStdString();
    }
    ASSERT_TRUE(texts.last().startsWith("代码备份" + QString::fromStdString(backups_.string())))
        << texts.last().toStdString();
    const QStringList completion = texts.last().split('\n');
    ASSERT_EQ(completion.size(), 2);
    EXPECT_EQ(completion[1],
              QString("重命名 %1 个方法，保护 0 个方法（系统、运行时或外部代码使用的方法）")
                  .arg(texts.size() - 2));
    EXPECT_EQ(dialogTitle(), "已完成");
    EXPECT_TRUE(CMAlert::shared().cancleBtn()->isVisible());
    EXPECT_EQ(CMAlert::shared().progressBar()->value(), CMAlert::shared().progressBar()->maximum());

    // The project changed, its name list is beside it, and the backup holds it as it was.
    EXPECT_NE(treeDump(project_), before);
    EXPECT_TRUE(fs::exists(fs::path(project_) / "MethodReplaceList.txt"));
    const std::string archive = completion[0].mid(4).toStdString();
    ASSERT_TRUE(fs::exists(archive));
    TempDir unpacked;
    ASSERT_EQ(std::system(("unzip -q '" + archive + "' -d '" + unpacked.str() + "'").c_str()), 0);
    EXPECT_EQ(treeDump(unpacked.path() / "Demo"), before);

    // Closing the dialog empties the path field.
    CMAlert::shared().cancleBtn()->click();
    EXPECT_EQ(screen_->pathInput()->label()->text(), "");
}

TEST_F(RenameScreen, ThePreciseBoxIsRememberedAndARunSaysWhatItProtected) {
    ASSERT_TRUE(screen_->preciseBtn()->isChecked());
    EXPECT_EQ(screen_->preciseBtn()->text(), "精确模式（保护系统方法）");
    // The runtime calls objectAtIndexedSubscript: by name, so a precise run keeps it.
    quillet::test::writeFile(fs::path(project_) / "Models/Shelf.h",
                             "@interface Shelf : NSObject\n"
                             "- (id)objectAtIndexedSubscript:(NSUInteger)index;\n@end\n");
    quillet::test::writeFile(fs::path(project_) / "Models/Shelf.m",
                             "#import \"Shelf.h\"\n@implementation Shelf\n"
                             "- (id)objectAtIndexedSubscript:(NSUInteger)index { return nil; }\n"
                             "@end\n");
    screen_->fillBtn()->click();
    screen_->selectPathAction();
    const QStringList precise = run();
    ASSERT_FALSE(precise.isEmpty());
    EXPECT_TRUE(precise.last().contains("，保护 1 个方法")) << precise.last().toStdString();
    EXPECT_NE(readFile(fs::path(project_) / "Models/Shelf.m").find("objectAtIndexedSubscript:"),
              std::string::npos);
    CMAlert::shared().cancleBtn()->click();

    // Unchecked, the box is stored off, and the next run is literal: it renames the method.
    screen_->preciseBtn()->click();
    EXPECT_FALSE(quillet::SettingModel::shared().preciseMode);
    EXPECT_FALSE(quillet::Cacher::shared().read<quillet::SettingModel>().preciseMode);
    screen_->selectPathAction();
    const QStringList literal = run();
    ASSERT_FALSE(literal.isEmpty());
    EXPECT_FALSE(literal.last().contains('\n')) << literal.last().toStdString();
    EXPECT_EQ(readFile(fs::path(project_) / "Models/Shelf.m").find("objectAtIndexedSubscript:"),
              std::string::npos);
    CMAlert::shared().cancleBtn()->click();
    screen_->preciseBtn()->click();
    EXPECT_TRUE(quillet::Cacher::shared().read<quillet::SettingModel>().preciseMode);
}

TEST_F(RenameScreen, TheKindBoxesShowTheStoredKindsStoreEachClickAndNeedThePreciseMode) {
    auto& settings = quillet::SettingModel::shared();
    settings.renameUnary = true;
    settings.renameClasses = true;
    settings.preciseMode = false;
    MethodRenameViewController screen(window_.centralWidget());
    screen.setGeometry(0, 30, 760, 510);
    screen.show();
    const auto& boxes = screen.kindBtns();
    ASSERT_EQ(boxes.size(), 4u);
    const auto states = [&] {
        std::vector<std::pair<bool, bool>> checkedAndEnabled;
        checkedAndEnabled.reserve(boxes.size());
        for (const auto* box : boxes) {
            checkedAndEnabled.emplace_back(box->isChecked(), box->isEnabled());
        }
        return checkedAndEnabled;
    };
    EXPECT_EQ(screen.kindsHint()->text(), "同时重命名：");
    QStringList titles;
    for (const auto* box : boxes) {
        titles << box->text();
    }
    EXPECT_EQ(titles, (QStringList{"无参方法", "属性", "类名", "协议"}));
    using States = std::vector<std::pair<bool, bool>>;
    EXPECT_EQ(states(), (States{{true, false}, {false, false}, {true, false}, {false, false}}));
    // Greyed: a checked box that cannot be changed does not look like one that can.
    EXPECT_FALSE(showsTheme(boxes[0]));
    QTest::mouseClick(boxes[1], Qt::LeftButton);
    EXPECT_FALSE(boxes[1]->isChecked());

    screen.preciseBtn()->click();
    EXPECT_TRUE(settings.preciseMode);
    EXPECT_EQ(states(), (States{{true, true}, {false, true}, {true, true}, {false, true}}));
    EXPECT_TRUE(showsTheme(boxes[0]));

    // Each click is kept at once, in the store as well.
    boxes[0]->click();
    boxes[1]->click();
    boxes[3]->click();
    EXPECT_FALSE(settings.renameUnary);
    EXPECT_TRUE(settings.renameProperties);
    EXPECT_TRUE(settings.renameClasses);
    EXPECT_TRUE(settings.renameProtocols);
    const auto stored = storedSettings();
    EXPECT_FALSE(stored.renameUnary);
    EXPECT_TRUE(stored.renameProperties);
    EXPECT_TRUE(stored.renameClasses);
    EXPECT_TRUE(stored.renameProtocols);
    boxes[2]->click();
    EXPECT_FALSE(storedSettings().renameClasses);

    // The literal mode greys them again; they keep what they say for the next precise run.
    screen.preciseBtn()->click();
    EXPECT_EQ(states(), (States{{false, false}, {true, false}, {false, false}, {true, false}}));
    EXPECT_TRUE(storedSettings().renameProperties);
    screen.preciseBtn()->click();
}

TEST_F(RenameScreen, TheKindsRowSitsUnderThePreciseBoxWithEveryTitleWhole) {
    for (const QSize size : {QSize(760, 510), QSize(900, 700)}) {
        screen_->resize(size);
        const QRect precise = screen_->preciseBtn()->geometry();
        const QRect hint = screen_->kindsHint()->geometry();
        EXPECT_GE(hint.top(), precise.bottom());
        EXPECT_GE(hint.width(), screen_->kindsHint()->sizeHint().width());
        QRect previous = hint;
        for (const auto* box : screen_->kindBtns()) {
            const QRect rect = box->geometry();
            EXPECT_EQ(rect.top(), hint.top());
            EXPECT_GT(rect.left(), previous.right()) << box->text().toStdString();
            EXPECT_GE(rect.width(), box->sizeHint().width()) << box->text().toStdString();
            previous = rect;
        }
        EXPECT_LT(previous.right(), size.width() - 20);
        EXPECT_GT(screen_->ignoreInput()->y(), previous.bottom());
        EXPECT_GT(screen_->ignoreInput()->height(), 100);
        EXPECT_GT(screen_->sureBtn()->y(), screen_->ignoreInput()->geometry().bottom());
    }
}

TEST_F(RenameScreen, TheNamesRowSitsUnderTheKindsAndNothingOverlaps) {
    auto* row = screen_->namesRow();
    EXPECT_EQ(row->chooseBtn()->text(), "沿用名称表…");
    EXPECT_EQ(row->clearBtn()->text(), "清除");
    // A long name: the label shortens it in the middle rather than run under "清除".
    const std::string longName = std::string(90, 'n') + "-QuilletNames.tsv";
    screen_->selectPathAction();
    chooseNames(namesFile("release/" + longName));
    for (const QSize size : {QSize(760, 510), QSize(900, 700)}) {
        screen_->resize(size);
        std::vector<QWidget*> widgets{screen_->pathInput(),
                                      screen_->condition(),
                                      screen_->swiftBtn(),
                                      screen_->fillBtn(),
                                      screen_->preciseBtn(),
                                      screen_->kindsHint(),
                                      row,
                                      screen_->ignoreInput(),
                                      screen_->sureBtn()};
        widgets.insert(widgets.end(), screen_->kindBtns().begin(), screen_->kindBtns().end());
        for (std::size_t i = 0; i < widgets.size(); ++i) {
            for (std::size_t j = i + 1; j < widgets.size(); ++j) {
                EXPECT_FALSE(widgets[i]->geometry().intersects(widgets[j]->geometry()))
                    << widgets[i]->metaObject()->className() << " and "
                    << widgets[j]->metaObject()->className() << " at " << size.width();
            }
        }
        EXPECT_GT(row->y(), screen_->kindsHint()->geometry().bottom());
        EXPECT_LT(row->geometry().bottom(), screen_->ignoreInput()->y());
        EXPECT_LT(row->geometry().right(), size.width() - 20);

        // Inside the row: the button's title whole, then the name, then "清除", left to right.
        const QRect button = row->chooseBtn()->geometry();
        const QRect label = row->fileLabel()->geometry();
        const QRect clear = row->clearBtn()->geometry();
        EXPECT_GE(button.width(), row->chooseBtn()->sizeHint().width());
        EXPECT_GT(label.left(), button.right());
        EXPECT_GT(clear.left(), label.right());
        EXPECT_GE(clear.width(), row->clearBtn()->sizeHint().width());
        EXPECT_TRUE(row->rect().contains(clear)) << size.width();
        EXPECT_TRUE(namesShown().endsWith("Names.tsv")) << namesShown().toStdString();
        EXPECT_TRUE(namesShown().contains(QChar(0x2026))) << namesShown().toStdString();
        EXPECT_LE(row->fileLabel()->fontMetrics().horizontalAdvance(namesShown()), label.width());
    }
    // A name with room shows whole.
    chooseNames(namesFile("release/QuilletNames.tsv"));
    EXPECT_EQ(namesShown(), "QuilletNames.tsv");
}

TEST_F(RenameScreen, ANamesFileIsKeptForTheProjectInThePathFieldAlone) {
    auto* row = screen_->namesRow();
    const auto& kept = quillet::SettingModel::shared().reusedNames;
    const std::string first = namesFile("release1/QuilletNames.tsv");
    const std::string second = namesFile("other/MethodReplaceList.txt");
    const std::string other = (temp_.path() / "Other").string();
    using Kept = std::map<std::string, std::string>;
    screen_->selectPathAction();
    EXPECT_EQ(namesShown(), "未选择");
    EXPECT_TRUE(row->clearBtn()->isHidden());

    // The dialog starts in the project and shows names files; the choice is kept and saved.
    chooseNames(first);
    EXPECT_EQ(asked_, QStringList{QString::fromStdString(project_) + " | 名称表 (*.tsv *.txt)"});
    EXPECT_EQ(namesShown(), "QuilletNames.tsv");
    EXPECT_EQ(row->fileLabel()->toolTip(), QString::fromStdString(first));
    EXPECT_TRUE(row->clearBtn()->isVisible());
    EXPECT_EQ(kept, (Kept{{project_, first}}));
    EXPECT_EQ(storedSettings().reusedNames, (Kept{{project_, first}}));

    // Another project has none until one is chosen for it; each shows its own.
    screen_->pathInput()->label()->setText(QString::fromStdString(other));
    EXPECT_EQ(namesShown(), "未选择");
    EXPECT_EQ(row->fileLabel()->toolTip(), "");
    EXPECT_TRUE(row->clearBtn()->isHidden());
    chooseNames(second);
    EXPECT_EQ(namesShown(), "MethodReplaceList.txt");
    screen_->selectPathAction();
    EXPECT_EQ(namesShown(), "QuilletNames.tsv");
    EXPECT_EQ(storedSettings().reusedNames, (Kept{{project_, first}, {other, second}}));

    // With a file kept, the dialog starts beside it; cancelling it keeps the file.
    answerFileDialog(std::nullopt);
    row->chooseBtn()->click();
    EXPECT_EQ(asked_.last(), QString::fromStdString((temp_.path() / "release1").string()) +
                                 " | 名称表 (*.tsv *.txt)");
    EXPECT_EQ(namesShown(), "QuilletNames.tsv");
    EXPECT_EQ(kept, (Kept{{project_, first}, {other, second}}));

    // Clearing forgets it for this project alone, in the store as well.
    row->clearBtn()->click();
    EXPECT_EQ(namesShown(), "未选择");
    EXPECT_TRUE(row->clearBtn()->isHidden());
    EXPECT_EQ(kept, (Kept{{other, second}}));
    EXPECT_EQ(storedSettings().reusedNames, (Kept{{other, second}}));
    screen_->pathInput()->label()->setText(QString::fromStdString(other));
    EXPECT_EQ(namesShown(), "MethodReplaceList.txt");
    // An emptied path field (as after a run) has none.
    screen_->pathInput()->label()->clear();
    EXPECT_EQ(namesShown(), "未选择");
}

TEST_F(RenameScreen, AFileThatIsNoNamesFileIsRefusedAndTheKeptOneStays) {
    const std::string good = namesFile("release1/QuilletNames.tsv");
    screen_->selectPathAction();
    chooseNames(good);
    for (const std::string& bad :
         {temp_.write("notes.txt", "release notes\n"), temp_.write("empty.tsv", "# names\n"),
          temp_.write("twice.tsv", "class\tCart\tBasket\nclass\tCart\tTrolley\n"),
          (temp_.path() / "gone.tsv").string()}) {
        chooseNames(bad);
        EXPECT_EQ(dialogTitle(), "无法读取名称表") << bad;
        // The reason the names file reader gives, which names the file.
        const auto read = quillet::NameTable::read(bad);
        ASSERT_FALSE(read) << bad;
        EXPECT_EQ(MessageText::written(CMAlert::shared().message()->text()),
                  QString::fromStdString(read.error().message));
        EXPECT_TRUE(MessageText::written(CMAlert::shared().message()->text())
                        .contains(QString::fromStdString(bad)));
        CMAlert::shared().cancleBtn()->click();
        EXPECT_EQ(namesShown(), "QuilletNames.tsv") << bad;
        EXPECT_EQ(quillet::SettingModel::shared().reusedNames.at(project_), good);
        EXPECT_EQ(storedSettings().reusedNames.at(project_), good);
    }

    // Without a project there is nothing to keep a file for: no dialog opens.
    screen_->pathInput()->label()->clear();
    asked_.clear();
    screen_->namesRow()->chooseBtn()->click();
    EXPECT_EQ(dialogTitle(), "请选择路径");
    EXPECT_TRUE(asked_.isEmpty());
    CMAlert::shared().cancleBtn()->click();
    EXPECT_FALSE(quillet::SettingModel::shared().reusedNames.contains(""));
}

TEST_F(RenameScreen, AChoiceTheSettingsFileCannotTakeSaysSoAndHoldsForThisSession) {
    // A folder where the settings file's lock goes: nothing reaches the file.
    const fs::path lock = quillet::DefaultsStore::standard().path() + ".lock";
    fs::remove(lock);
    fs::create_directories(lock);
    const std::string file = namesFile("release1/QuilletNames.tsv");
    screen_->selectPathAction();
    chooseNames(file);
    EXPECT_EQ(dialogTitle(), "保存失败");
    EXPECT_EQ(MessageText::written(CMAlert::shared().message()->text()), "设置无法写入配置文件");
    CMAlert::shared().cancleBtn()->click();
    EXPECT_EQ(namesShown(), "QuilletNames.tsv");
    EXPECT_EQ(quillet::SettingModel::shared().reusedNames.at(project_), file);
    fs::remove(lock);
    EXPECT_FALSE(storedSettings().reusedNames.contains(project_));
}

TEST_F(RenameScreen, TheNextReleaseGivenTheNamesFileOfTheLastIsRenamedTheSame) {
    ASSERT_TRUE(screen_->preciseBtn()->isChecked());
    // Classes as well, so that the run writes its names table and moves the classes' files.
    quillet::SettingModel::shared().renameClasses = true;
    screen_->fillBtn()->click(); // random names: only the names file can make two runs agree
    const auto renamedTree = [&] {
        fs::remove(fs::path(project_) / "MethodReplaceList.txt");
        fs::remove(fs::path(project_) / "QuilletNames.tsv");
        return treeDump(project_);
    };
    const std::string sources = treeDump(project_);
    screen_->selectPathAction();
    const QStringList first = run();
    ASSERT_EQ(dialogTitle(), "已完成");
    EXPECT_FALSE(first.last().contains("沿用名称")) << first.last().toStdString();
    CMAlert::shared().cancleBtn()->click();
    const fs::path names = temp_.path() / "release1" / "QuilletNames.tsv";
    fs::create_directories(names.parent_path());
    fs::copy_file(fs::path(project_) / "QuilletNames.tsv", names);
    const std::string released = renamedTree();
    ASSERT_NE(released, sources);

    // The next release starts from the sources again, the first one's names file chosen.
    fs::remove_all(project_);
    fs::copy(fs::path(QUILLET_EXAMPLES_DIR) / "DemoShop", project_, fs::copy_options::recursive);
    screen_->selectPathAction();
    chooseNames(names.string());
    ASSERT_EQ(namesShown(), "QuilletNames.tsv");
    const QStringList second = run();
    ASSERT_EQ(dialogTitle(), "已完成");
    EXPECT_EQ(renamedTree(), released);

    // Every method and class the table lists was given again (moved files are no names).
    const auto table = quillet::NameTable::read(names.string());
    ASSERT_TRUE(table) << table.error().message;
    const auto& entries = table->entries();
    const auto given = std::count_if(entries.begin(), entries.end(), [](const auto& entry) {
        return entry.kind != quillet::NameEntry::Kind::file;
    });
    ASSERT_GT(given, 0);
    const QStringList lines = second.last().split('\n');
    EXPECT_TRUE(lines.contains(QString("沿用名称 %1 个").arg(given)))
        << second.last().toStdString();
    EXPECT_FALSE(second.last().contains("其中")) << second.last().toStdString();
    EXPECT_FALSE(second.last().contains("名称表中")) << second.last().toStdString();
}

TEST_F(RenameScreen, OnlyAPreciseRunRenamesTheKindsAskedForAndItsCompletionCountsThem) {
    auto& settings = quillet::SettingModel::shared();
    settings.renameClasses = true;
    settings.renameProperties = true;
    const fs::path cart = fs::path(project_) / "Models/Cart.h";
    screen_->fillBtn()->click();

    screen_->preciseBtn()->click();
    ASSERT_FALSE(screen_->preciseBtn()->isChecked());
    screen_->selectPathAction();
    const QStringList literal = run();
    ASSERT_FALSE(literal.isEmpty());
    EXPECT_FALSE(literal.last().contains("同时重命名")) << literal.last().toStdString();
    EXPECT_NE(readFile(cart).find("@interface Cart "), std::string::npos);
    CMAlert::shared().cancleBtn()->click();

    // The project defines no protocol: the line names only classes and properties.
    screen_->preciseBtn()->click();
    screen_->selectPathAction();
    const QStringList precise = run();
    ASSERT_FALSE(precise.isEmpty());
    const QStringList completion = precise.last().split('\n');
    ASSERT_EQ(completion.size(), 3) << precise.last().toStdString();
    EXPECT_TRUE(QRegularExpression("^同时重命名 类名 [1-9]\\d* 个，属性 [1-9]\\d* 个$")
                    .match(completion[2])
                    .hasMatch())
        << completion[2].toStdString();
    EXPECT_FALSE(fs::exists(cart)) << "the class's header moves with its new name";
}

// Keys go where the focus is, as a user's do.
void press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &window, key, modifiers);
}

TEST_F(RenameScreen, WhileARunIsShownTheKeyboardReachesNothingBelowIt) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    screen_->fillBtn()->click();
    screen_->selectPathAction();
    screen_->sureBtn()->setFocus();
    QSignalSpy finished(screen_, &MethodRenameViewController::runFinished);
    screen_->sureAction();
    for (int i = 0; i < 12; ++i) {
        press(window_, i % 3 == 2 ? Qt::Key_Backtab : Qt::Key_Tab);
        press(window_, Qt::Key_Space);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == nullptr || CMAlert::shared().isAncestorOf(focus) ||
                    focus == &CMAlert::shared())
            << "focus on " << focus->metaObject()->className();
    }
    EXPECT_FALSE(screen_->swiftBtn()->isChecked());
    EXPECT_EQ(dialogTitle(), "执行中...");
    // The sheet keeps covering the window when the window changes size.
    window_.resize(1100, 700);
    QTest::qWait(20);
    EXPECT_EQ(CMAlert::shared().geometry(), window_.rect());

    ASSERT_TRUE(finished.wait(30000));
    QTest::qWait(50);
    EXPECT_EQ(finished.count(), 1);
    std::size_t archives = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(backups_)) {
        ++archives;
    }
    EXPECT_EQ(archives, 1u) << "a second run was started under the dialog";
    CMAlert::shared().cancleBtn()->click();
    EXPECT_TRUE(screen_->sureBtn()->isEnabled()) << "the page is given back once the sheet goes";
}

TEST_F(RenameScreen, ThePathFieldTakesTheFocusAndReturnOrSpaceChoosesAFolder) {
    window_.activateWindow();
    int asked = 0;
    CMOpenPanel::shared().setChooser([&](const QString&) {
        ++asked;
        return std::optional(QString::fromStdString(project_));
    });
    UIInteractiveView* field = screen_->pathInput();
    const QImage before = field->label()->grab().toImage();
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }));
    EXPECT_NE(field->label()->grab().toImage(), before); // its frame shows the focus
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Space);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(field->label()->text(), QString::fromStdString(project_));
    // Tab comes back to it from the screen's other controls.
    bool reached = false;
    for (int i = 0; i < 30 && !reached; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached = field->hasFocus();
    }
    EXPECT_TRUE(reached);
}

TEST_F(RenameScreen, TabLeavesTheIgnoreEditorBothWaysAndTypesNothing) {
    window_.activateWindow();
    UITextView* editor = screen_->ignoreInput();
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->hasFocus(); }));
    const QString before = editor->toPlainText();
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_FALSE(editor->hasFocus());
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(editor->hasFocus());
    EXPECT_EQ(editor->toPlainText(), before);
}

TEST_F(RenameScreen, TheBackupIsRestoredOnlyByItsButtonAndCanRemoveWhatCameSince) {
    screen_->fillBtn()->click();
    screen_->selectPathAction();
    const std::string before = treeDump(project_);
    run();
    auto& dialog = CMAlert::shared();
    ASSERT_TRUE(dialog.otherBtn()->isVisible());
    EXPECT_EQ(dialog.otherBtn()->text(), "恢复备份");
    // A line the user typed after the run: only a chosen restore may take it.
    const auto source = fs::path(project_) / "Models/Cart.m";
    quillet::test::writeFile(source, readFile(source) + "// typed after the run\n");
    const std::string renamed = treeDump(project_);
    ASSERT_NE(renamed, before);

    QSignalSpy restored(screen_, &MethodRenameViewController::restoreFinished);
    const QString completion = dialogTitle();
    const auto askThen = [&](std::function<void(QWidget*)> act) {
        modal_question::whenShown(std::move(act));
        dialog.otherBtn()->click();
    };
    auto leavings = modal_question::leavingWithoutAChoice();
    leavings.push_back({"Return with the focus on 恢复", [](QWidget* asked) {
                            modal_question::button(asked, "恢复")->setFocus();
                            modal_question::press(asked, Qt::Key_Return);
                        }});
    leavings.push_back({"the window closing", [&](QWidget*) { window_.close(); }});
    for (const auto& leaving : leavings) {
        askThen(leaving.act);
        window_.show();
        // A restore started would have put its progress in the dialog at once.
        EXPECT_EQ(dialogTitle(), completion) << leaving.name;
        EXPECT_TRUE(dialog.otherBtn()->isVisible()) << leaving.name;
    }
    QTest::qWait(100);
    EXPECT_EQ(restored.count(), 0);
    EXPECT_EQ(treeDump(project_), renamed);

    askThen([](QWidget* asked) {
        auto* clean = asked->findChild<QCheckBox*>();
        ASSERT_NE(clean, nullptr);
        EXPECT_EQ(clean->text(), "同时删除此后新增的文件");
        EXPECT_FALSE(clean->isChecked());
        clean->setChecked(true);
        modal_question::button(asked, "恢复")->click();
    });
    ASSERT_TRUE(restored.wait(30000));
    EXPECT_EQ(dialogTitle(), "已恢复备份");
    EXPECT_TRUE(
        MessageText::written(dialog.message()->text()).contains("备份之后新增的 1 个文件已删除"))
        << MessageText::written(dialog.message()->text()).toStdString();
    EXPECT_FALSE(dialog.otherBtn()->isVisible());
    EXPECT_EQ(treeDump(project_), before); // MethodReplaceList.txt went with the check box
}

TEST_F(RenameScreen, ALargeRestoreShowsProgressAndKeepsTheWindowDrawing) {
    // Enough changed files that restoring them takes seconds on the GUI thread.
    constexpr int files = 3000;
    const std::string filler(std::size_t{16} * 1024, 'x');
    fs::create_directories(fs::path(project_) / "Bulk");
    for (int i = 0; i < files; ++i) {
        quillet::test::writeFile(
            fs::path(project_) / "Bulk" / ("Part" + std::to_string(i) + ".txt"), filler);
    }
    screen_->fillBtn()->click();
    screen_->selectPathAction();
    const QStringList runTexts = run();
    EXPECT_TRUE(runTexts.filter("备份中…").size() >= 2) << runTexts.join(" | ").toStdString();
    for (int i = 0; i < files; ++i) {
        quillet::test::writeFile(
            fs::path(project_) / "Bulk" / ("Part" + std::to_string(i) + ".txt"), "changed");
    }

    QSignalSpy shown(screen_, &MethodRenameViewController::dialogMessageShown);
    QSignalSpy restored(screen_, &MethodRenameViewController::restoreFinished);
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    modal_question::whenShown([&](QWidget* asked) {
        modal_question::button(asked, "恢复")->click();
        sinceTick.start();
        ticker.start(10);
    });
    CMAlert::shared().otherBtn()->click();
    ASSERT_TRUE(restored.wait(60000));
    ticker.stop();

    EXPECT_LT(longestGap, 100);
    RecordProperty("longest_gap_ms", static_cast<int>(longestGap));
    QStringList texts;
    for (const auto& arguments : shown) {
        texts << arguments.at(0).toString();
    }
    EXPECT_GE(texts.filter("已恢复 ").size(), 2) << texts.join(" | ").toStdString();
    EXPECT_TRUE(MessageText::written(CMAlert::shared().message()->text())
                    .contains("备份之后新增的 1 个文件已保留"))
        << MessageText::written(CMAlert::shared().message()->text()).toStdString();
    EXPECT_EQ(readFile(fs::path(project_) / "Bulk/Part2999.txt"), filler);
}

TEST_F(RenameScreen, AFolderAnotherRunHoldsIsRefusedAndUnreadableFilesAreNamed) {
    screen_->fillBtn()->click();
    screen_->selectPathAction();
    const std::string before = treeDump(project_);
    {
        const auto held = quillet::fs::FolderLock::take(project_);
        ASSERT_TRUE(held) << held.error().message;
        run();
        EXPECT_EQ(dialogTitle(), "项目正在重命名中");
        EXPECT_EQ(treeDump(project_), before);
        CMAlert::shared().cancleBtn()->click();
    }
    // A file that calls a renamed method but cannot be read goes on with the old name.
    quillet::test::writeFile(fs::path(project_) / "Models/Blob.m",
                             std::string("[cart addProduct:p quantity:1];\0", 32));
    const QStringList texts = run();
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.last().contains(
        "\n1 个文件无法读取，保持原样，其中可能仍使用旧方法名: Blob.m（见日志 " +
        QString::fromStdString(quillet::Console::shared().path()) + "）"))
        << texts.last().toStdString();
}

TEST_F(RenameScreen, AStoredPrefixTheRuleRefusesIsRefusedBeforeItReachesTheCode) {
    auto& settings = quillet::SettingModel::shared();
    settings.methodPrefix = "my pre";
    screen_->fillBtn()->click();
    screen_->selectPathAction();
    const std::string before = treeDump(project_);
    run();
    EXPECT_EQ(dialogTitle(), "方法前缀无效");
    EXPECT_EQ(
        MessageText::written(CMAlert::shared().message()->text()),
        "方法前缀只能使用英文字母、数字和下划线，不能以数字开头，最多32个字符，请在设置中修改");
    EXPECT_EQ(treeDump(project_), before);
    CMAlert::shared().cancleBtn()->click();

    // The class prefix starts type names: a digit cannot lead, even with no class renamed.
    settings.methodPrefix.clear();
    for (const std::string bad : {"9x", "a-b"}) {
        settings.classPrefix = bad;
        screen_->selectPathAction();
        run();
        EXPECT_EQ(dialogTitle(), "类名前缀无效") << bad;
        EXPECT_EQ(MessageText::written(CMAlert::shared().message()->text()),
                  "类名前缀只能使用英文字母、数字和下划线，必须以字母开头，最多32个字符，"
                  "请在设置中修改")
            << bad;
        CMAlert::shared().cancleBtn()->click();
    }
    settings.classPrefix.clear();
    EXPECT_EQ(treeDump(project_), before);
    EXPECT_FALSE(fs::exists(backups_));
}

TEST(RunOutcome, UnreadablePathsAreNamedUpToTenThenTheLogIsMeant) {
    std::vector<quillet::UnparsedFile> paths;
    paths.reserve(12);
    for (int i = 0; i < 12; ++i) {
        paths.push_back({"/p/F" + std::to_string(i) + ".m", "Permission denied"});
    }
    paths[0].path = "/p/Locked/";
    const QString message = RunOutcome::unreadableMessage(paths);
    EXPECT_TRUE(
        message.startsWith("12 个文件无法读取，项目未修改：\n/p/Locked/（Permission denied）\n"
                           "/p/F1.m（Permission denied）"))
        << message.toStdString();
    EXPECT_TRUE(message.contains("/p/F9.m")) << message.toStdString();
    EXPECT_FALSE(message.contains("/p/F10.m")) << message.toStdString();
    EXPECT_TRUE(message.endsWith("\n等 12 个（见日志 " +
                                 QString::fromStdString(quillet::Console::shared().path()) + "）"))
        << message.toStdString();
}

TEST(RunOutcome, FilesLeftAsTheyWereAreNamedUpToThreeThenCountedWithTheLogsPath) {
    quillet::RunReport report;
    report.mode = quillet::RenameMode::precise;
    report.backup.emplace(std::string("/b/Demo.zip"));
    report.writes.listWritten = true;
    const QString log =
        "（见日志 " + QString::fromStdString(quillet::Console::shared().path()) + "）";
    report.unparsedFiles = {{"/p/A.m", "x"}, {"/p/Sub/B.m", "x"}, {"/p/C.mm", "x"}};
    EXPECT_TRUE(RunOutcome::of(report).message().endsWith(
        "\n3 个文件无法解析，保持原样: A.m, B.m, C.mm" + log))
        << RunOutcome::of(report).message().toStdString();
    report.unparsedFiles.push_back({"/p/D.m", "x"});
    report.unreadableFiles = {{"/p/Z.m", "denied"}};
    const QStringList lines = RunOutcome::of(report).message().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[lines.size() - 2], "4 个文件无法解析，保持原样: A.m, B.m, C.mm 等 4 个" + log);
    EXPECT_EQ(lines.last(), "1 个文件无法读取，保持原样，其中可能仍使用旧方法名: Z.m" + log);
}

TEST(RunOutcome, APreciseCompletionCountsOnlyTheKindsOfTypeNamesItRenamed) {
    using Kind = quillet::TypeName::Kind;
    quillet::RunReport report;
    report.mode = quillet::RenameMode::precise;
    report.backup.emplace(std::string("/b/Demo.zip"));
    report.writes.listWritten = true;
    report.pairs.resize(2);
    const auto lines = [&] { return RunOutcome::of(report).message().split('\n'); };
    EXPECT_EQ(lines(),
              (QStringList{"代码备份/b/Demo.zip",
                           "重命名 2 个方法，保护 0 个方法（系统、运行时或外部代码使用的方法）"}));

    for (const Kind kind : {Kind::property, Kind::classType, Kind::property, Kind::classType,
                            Kind::property, Kind::property, Kind::classType, Kind::property}) {
        report.typeRenames.push_back({kind, "Old", "New"});
    }
    ASSERT_EQ(lines().size(), 3);
    EXPECT_EQ(lines()[2], "同时重命名 类名 3 个，属性 5 个");
    report.typeRenames.push_back({Kind::protocolType, "OldDelegate", "NewDelegate"});
    EXPECT_EQ(lines()[2], "同时重命名 类名 3 个，协议 1 个，属性 5 个");
    report.typeRenames.erase(report.typeRenames.begin(), report.typeRenames.end() - 1);
    EXPECT_EQ(lines()[2], "同时重命名 协议 1 个");

    // Nothing was renamed without the list.
    report.writes.listWritten = false;
    EXPECT_FALSE(RunOutcome::of(report).message().contains("同时重命名"));
}

TEST(RunOutcome, ACompletionWithANamesFileSaysWhatItGaveAgainInOnlyTheLinesThatApply) {
    quillet::RunReport report;
    report.mode = quillet::RenameMode::literal;
    report.backup.emplace(std::string("/b/Demo.zip"));
    report.writes.listWritten = true;
    const auto lines = [&] { return RunOutcome::of(report).message().split('\n'); };
    EXPECT_EQ(lines(), QStringList{"代码备份/b/Demo.zip"}) << "no names file, nothing said";

    report.namesReused = 12;
    EXPECT_EQ(lines(), (QStringList{"代码备份/b/Demo.zip", "沿用名称 12 个"}));
    report.renamedAfresh = {{quillet::NameEntry::Kind::classType, "Cart", "Basket"},
                            {quillet::NameEntry::Kind::method, "addItem:", "putThing:"}};
    EXPECT_EQ(lines().mid(1), (QStringList{"沿用名称 12 个", "其中 2 个名称已被占用，改用新名称"}));
    report.namesCarried = 3;
    EXPECT_EQ(lines().mid(1), (QStringList{"沿用名称 12 个", "其中 2 个名称已被占用，改用新名称",
                                           "名称表中 3 个名称在项目中已不存在，已保留"}));
    report.renamedAfresh.clear();
    EXPECT_EQ(lines().mid(1),
              (QStringList{"沿用名称 12 个", "名称表中 3 个名称在项目中已不存在，已保留"}));
    // A file that gave nothing again (another project's, say) is seen to have given nothing.
    report.namesReused = 0;
    EXPECT_EQ(lines().mid(1),
              (QStringList{"沿用名称 0 个", "名称表中 3 个名称在项目中已不存在，已保留"}));

    // A precise run says them after what it renamed; one that wrote no list renamed nothing.
    report.mode = quillet::RenameMode::precise;
    report.namesReused = 1;
    report.pairs.resize(1);
    ASSERT_EQ(lines().size(), 4);
    EXPECT_TRUE(lines()[1].startsWith("重命名 1 个方法")) << lines()[1].toStdString();
    EXPECT_EQ(lines()[2], "沿用名称 1 个");
    report.writes.listWritten = false;
    EXPECT_FALSE(RunOutcome::of(report).message().contains("沿用名称"));
}

TEST_F(RenameScreen, RandomNamesNeedNoWordsAndAFailedBackupLeavesTheProjectAsItWas) {
    setBank(0);
    // A file where the backup directory should be: the backup cannot be made.
    quillet::test::writeFile(temp_.path() / "blocked", "file");
    quillet::SettingModel::shared().backupPath = (temp_.path() / "blocked" / "dir").string();
    screen_->fillBtn()->click();
    screen_->selectPathAction();
    const std::string before = treeDump(project_);
    const QStringList texts = run();
    EXPECT_EQ(dialogTitle(), "代码备份失败");
    EXPECT_EQ(texts.last(), "项目未做任何修改，请检查设置中的代码备份目录");
    EXPECT_FALSE(CMAlert::shared().progressBar()->isVisible()) << "no progress to show";
    EXPECT_EQ(treeDump(project_), before);
    EXPECT_FALSE(fs::exists(fs::path(project_) / "MethodReplaceList.txt"));

    // Random names need no words: with a backup folder, the same run goes through.
    quillet::SettingModel::shared().backupPath = backups_.string();
    screen_->selectPathAction();
    const QStringList second = run();
    ASSERT_FALSE(second.isEmpty());
    EXPECT_TRUE(second.last().startsWith("代码备份" + QString::fromStdString(backups_.string())));
    EXPECT_NE(treeDump(project_), before);
}

TEST_F(RenameScreen, RefusesAMissingOrIllegalPathAndTooFewWords) {
    screen_->sureAction();
    EXPECT_EQ(dialogTitle(), "请选择路径");
    CMAlert::shared().cancleBtn()->click();

    screen_->pathInput()->label()->setText(QString::fromStdString(project_) + "/Supporting Files");
    screen_->sureAction();
    EXPECT_EQ(dialogTitle(), "非法路径");
    EXPECT_EQ(MessageText::written(CMAlert::shared().message()->text()),
              "[路径/文件名]不能使用中文、空格以及特殊字符");
    CMAlert::shared().cancleBtn()->click();

    setBank(3);
    const std::string before = treeDump(project_);
    screen_->selectPathAction();
    run();
    EXPECT_TRUE(dialogTitle().startsWith("单词数量不足：单词数量为3个, 当前需要"))
        << dialogTitle().toStdString();
    EXPECT_EQ(treeDump(project_), before);
    EXPECT_FALSE(fs::exists(backups_));
}

TEST_F(RenameScreen, AFolderWithoutHeadersShowsNothingAndOnlyLogs) {
    const fs::path empty = temp_.path() / "empty";
    fs::create_directories(empty);
    screen_->pathInput()->label()->setText(QString::fromStdString(empty.string()));
    CMAlert::shared().dismissController();
    run();
    EXPECT_FALSE(dialogShown());
    EXPECT_NE(readFile(quillet::Console::shared().path()).find("查找头文件失败"),
              std::string::npos);
}

TEST(IgnoreList, TakesEveryTrimmedLineThatIsNoComment) {
    EXPECT_EQ(MethodRenameViewController::ignoreList("# c\n  Pods  \n\n\tVendor/Lib\n#x\n"),
              (std::vector<std::string>{"Pods", "Vendor/Lib"}));
    EXPECT_EQ(MethodRenameViewController::ignoreList(MethodRenameViewController::ignoreTemplate),
              (std::vector<std::string>{"MyDocument", "MyDocument/SubDocument", "DIR/Tool/xxxx.m",
                                        "aaaa.m", "view/bbb.m"}));
}

} // namespace

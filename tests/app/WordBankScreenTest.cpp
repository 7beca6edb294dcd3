// The word bank screen and the cloud list against the real local service.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "ClosedPort.h"
#include "LocalService.h"
#include "ModalQuestion.h"
#include "defaults/DefaultsStore.h"
#include "platform/SheetAlert.h"
#include "screens/CloudWordViewController.h"
#include "screens/CloudWords.h"
#include "screens/WordBankViewController.h"
#include "service/Config.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "service/WebRequest.h"
#include "support/ErrorText.h"
#include "support/Words.h"
#include "toolkit/MessageText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"
#include "wordbank/DeviceIdentifier.h"

using quillet::WordModel;
using namespace quillet::app;

namespace {

const std::string otherOwner(32, 'F');

class WordBankScreen : public ::testing::Test {
protected:
    WordBankScreen() {
        (void)quillet::DefaultsStore::standard().removeObject(WordModel::storeKey);
        CloudWords::cache().clear();
        CloudWords::selectedCloudIndex() = -1;
        window_.setCentralWidget(new QWidget(&window_));
        window_.resize(960, 600);
        window_.show();
        screen_ = open<WordBankViewController>();
    }
    ~WordBankScreen() override { SheetAlert::setAnswerer({}); }

    template <class Screen> Screen* open() {
        auto* screen = new Screen(window_.centralWidget());
        screen->setGeometry(0, 30, 760, 510);
        screen->show();
        return screen;
    }
    QString dialogTitle() const { return CMAlert::shared().titleLabel()->text(); }
    QString dialogMessage() const {
        return MessageText::written(CMAlert::shared().message()->text());
    }
    // Presses a button of the screen as a user can: after closing a dialog that covers it.
    void press(const QString& title) {
        if (CMAlert::shared().isVisible() && CMAlert::shared().cancleBtn()->isVisible()) {
            CMAlert::shared().cancleBtn()->click();
        }
        ASSERT_TRUE(screen_->button(title)->isEnabled()) << title.toStdString();
        screen_->button(title)->click();
    }
    void type(const QString& remark, const QString& words) {
        screen_->label()->label()->setText(remark);
        screen_->wordBankInput()->setPlainText(words);
    }
    template <class Screen> static void waitForAnswer(Screen* screen) {
        QSignalSpy answered(screen, &Screen::answered);
        ASSERT_TRUE(answered.wait(10000));
    }
    // Asks the service directly, on this thread, leaving the app's main queue alone.
    quillet::NormalModel ask(const quillet::RequestParams& params) {
        const auto result =
            quillet::WebRequest::exchange(params, service_.url(), std::chrono::seconds(10));
        const auto model = quillet::ParseProtocol<quillet::NormalModel>::parse(result.value_or(""));
        EXPECT_TRUE(model) << quillet::test::errorText(result);
        return model.value_or(quillet::NormalModel{});
    }
    // The service's view of a bank, asked by this device.
    quillet::NormalModel fetch(const std::string& token) {
        return ask(
            {{"port", std::int64_t{1021}}, {"id", token}, {"uuid", quillet::deviceIdentifier()}});
    }
    std::string uploadAsAnotherUser(const std::string& remark) {
        std::string token = WordModel::makeNew(otherOwner).id;
        const auto answer = ask({{"port", std::int64_t{1020}},
                                 {"id", token},
                                 {"tool", std::string("Quillet")},
                                 {"title", remark},
                                 {"text", quillet::test::bankText(150, 'o')},
                                 {"uuid", otherOwner}});
        EXPECT_EQ(answer.code, 1) << answer.msg;
        return token;
    }
    // Answers the token sheet with `token` and OK.
    void answerTokenSheetWith(const QString& token) {
        SheetAlert::setAnswerer([this, token](const SheetAlert::Question& question) {
            EXPECT_EQ(question.buttons, (QStringList{"取消", "确定"}));
            EXPECT_EQ(question.accessory, screen_->identifyInput());
            screen_->identifyInput()->setText(token);
            return SheetAlert::secondButton;
        });
    }
    // Records the sheets asked and answers each with `button`.
    void answerSheetsWith(int button) {
        SheetAlert::setAnswerer([this, button](const SheetAlert::Question& question) {
            sheets_ << question.message;
            return button;
        });
    }

    quillet::test::LocalService service_;
    QMainWindow window_;
    WordBankViewController* screen_;
    QStringList sheets_;
};

TEST_F(WordBankScreen, TheRemarkComesBackUnselectedAndTheWordsTakeTheFocus) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    screen_->label()->label()->setText("我的词库");
    // The page leaves and comes back, as when another page was shown over it.
    screen_->hide();
    screen_->show();
    QTest::qWait(20);
    EXPECT_FALSE(screen_->label()->label()->hasSelectedText());
    EXPECT_TRUE(screen_->wordBankInput()->hasFocus());
}

TEST_F(WordBankScreen, SaveChecksRunInOrderAndTheFirstFailingOneSpeaks) {
    // A fresh installation shows nothing.
    EXPECT_EQ(screen_->id()->text(), "");
    EXPECT_EQ(screen_->wordBankInput()->toPlainText(), "");

    type("", "中文 and bad");
    press("保存");
    EXPECT_EQ(dialogTitle(), "备注不能为空");

    type("备注", "中文 and bad");
    press("保存");
    EXPECT_EQ(dialogTitle(), "口令不能为空, 点击[ 新建 ]可解决");

    press("新建");
    EXPECT_EQ(screen_->id()->text().size(), 32);
    EXPECT_EQ(screen_->label()->label()->text(), "");
    type("备注", "中文 and bad");
    press("保存");
    EXPECT_EQ(dialogTitle(), "词库不符合规则");
    EXPECT_EQ(dialogMessage(), "可能含有中文或特殊字符或为空（不允许的字符: “中”）");

    type("备注", QString::fromStdString(quillet::test::bankText(99)));
    press("保存");
    EXPECT_EQ(dialogTitle(), "无法保存");
    EXPECT_EQ(dialogMessage(), "单词数量至少100个, 但是不能超过2000个");
}

TEST_F(WordBankScreen, VerifyCleansTheTextAndCountsTheWords) {
    type("r", "abc,defghijkl");
    press("校验");
    EXPECT_EQ(dialogTitle(), "符合规则的词库:1");
    EXPECT_EQ(screen_->wordBankInput()->toPlainText(), "defghijkl");
}

TEST_F(WordBankScreen, TheWordsWrapOnlyAfterACommaAndAreCheckedWithoutTheBreaks) {
    const QString words = QString::fromStdString(quillet::test::bankText(300));
    type("r", words);
    press("校验");
    EXPECT_EQ(dialogTitle(), "符合规则的词库:300");
    // Every line the editor shows ends at a comma (or the text's end), never inside a word.
    QTextDocument* document = screen_->wordBankInput()->document();
    int lines = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const QString text =
                block.text().mid(line.textStart(), line.textLength()).remove(QChar(0x200B));
            ++lines;
            EXPECT_TRUE(text.endsWith(',') || i + 1 == layout->lineCount()) << text.toStdString();
        }
    }
    EXPECT_GT(lines, 3);
    // Checked and kept as the words alone.
    press("校验");
    EXPECT_EQ(dialogTitle(), "符合规则的词库:300");
}

TEST_F(WordBankScreen, AnOwnNewBankIsUploadedWithoutBecomingTheDefaultUntilSetSo) {
    press("新建");
    const std::string token = screen_->id()->text().toStdString();
    CloudWords::cache().push_back(WordModel{});
    type("我的词库", QString::fromStdString(quillet::test::bankText(120)));
    press("保存");
    waitForAnswer(screen_);
    EXPECT_EQ(dialogTitle(), "保存成功");
    EXPECT_TRUE(CloudWords::cache().empty()); // a save empties the cloud list cache
    const auto stored = fetch(token);
    ASSERT_TRUE(stored.data && stored.data->size() == 1);
    EXPECT_EQ(stored.data->front().title, "我的词库");
    EXPECT_EQ(stored.data->front().uuid, quillet::deviceIdentifier());
    EXPECT_NE(WordModel::loadLocal().id, token);

    press("设为默认");
    EXPECT_EQ(WordModel::loadLocal().id, token);
    EXPECT_EQ(screen_->defualtTip()->text(),
              "默认词库: 我的词库, " + QString::fromStdString(token));
}

TEST_F(WordBankScreen, AnotherUsersBankIsFetchedByTokenButKeptOnlyAsTheDefault) {
    const std::string token = uploadAsAnotherUser("别人的");

    // 31 and 33 characters send nothing.
    QSignalSpy answered(screen_, &WordBankViewController::answered);
    for (const QString& wrong :
         {QString::fromStdString(token).left(31), QString::fromStdString(token) + "A"}) {
        answerTokenSheetWith(wrong);
        press("词库口令");
    }
    QTest::qWait(300);
    EXPECT_EQ(answered.count(), 0);

    answerTokenSheetWith(QString::fromStdString(token));
    press("词库口令");
    waitForAnswer(screen_);
    EXPECT_EQ(screen_->id()->text().toStdString(), token);
    EXPECT_EQ(screen_->label()->label()->text(), "别人的");
    EXPECT_EQ(screen_->currentWord().uuid, ""); // the service names no other owner

    press("保存");
    EXPECT_EQ(dialogTitle(), "你不能保存此词库, 因为不是你的词库");
    EXPECT_EQ(dialogMessage(), "你需要设置将此词库设为默认后才能保存");
    answerSheetsWith(SheetAlert::secondButton);
    press("删除");
    EXPECT_EQ(sheets_, QStringList{"你不可以删掉此词库，因为不是你的词库"});

    press("设为默认");
    EXPECT_EQ(WordModel::loadLocal().id, token);
    screen_->label()->label()->setText("改过的");
    press("保存"); // the default bank now: stored here, never uploaded
    EXPECT_EQ(dialogTitle(), "保存成功");
    EXPECT_EQ(WordModel::loadLocal().title, "改过的");
    EXPECT_EQ(fetch(token).data->front().title, "别人的");
}

TEST_F(WordBankScreen, DeletingFollowsItsRules) {
    answerSheetsWith(SheetAlert::secondButton);
    press("删除"); // the default bank, even a fresh one of this user
    EXPECT_EQ(sheets_, QStringList{"你不可以删掉默认词库"});

    // A bank just made with New was never uploaded: no request, the default comes back.
    press("新建");
    QSignalSpy answered(screen_, &WordBankViewController::answered);
    press("删除");
    EXPECT_EQ(sheets_.last(), "你确定在删掉下面的词库吗？");
    EXPECT_EQ(answered.count(), 0);
    EXPECT_EQ(dialogTitle(), "删除成功");
    EXPECT_EQ(dialogMessage(), "当前已加载默认词库");
    EXPECT_EQ(screen_->currentWord().id, screen_->localWord().id);

    // An uploaded bank of this user, fetched back (so its count is known), is deleted there.
    press("新建");
    const std::string token = screen_->id()->text().toStdString();
    type("要删的", QString::fromStdString(quillet::test::bankText(100)));
    press("保存");
    waitForAnswer(screen_);
    answerTokenSheetWith(QString::fromStdString(token));
    press("词库口令");
    waitForAnswer(screen_);
    ASSERT_FALSE(screen_->currentWord().count.empty());
    EXPECT_EQ(screen_->currentWord().uuid, quillet::deviceIdentifier()); // named as its own

    // The real question, left without a choice each way a user can: the bank stays.
    SheetAlert::setAnswerer({});
    QSignalSpy asked(screen_, &WordBankViewController::answered);
    for (const auto& leaving : modal_question::leavingWithoutAChoice()) {
        modal_question::whenShown(leaving.act);
        press("删除");
        EXPECT_EQ(screen_->currentWord().id, token) << leaving.name;
    }
    QTest::qWait(200);
    EXPECT_EQ(asked.count(), 0) << "the service was asked to delete";
    EXPECT_EQ(fetch(token).data->size(), 1u);

    modal_question::whenShown(
        [](QWidget* question) { modal_question::button(question, "确定")->click(); });
    press("删除");
    waitForAnswer(screen_);
    EXPECT_EQ(dialogTitle(), "删除成功");
    EXPECT_TRUE(!fetch(token).data || fetch(token).data->empty());
    EXPECT_EQ(screen_->currentWord().id, screen_->localWord().id);
}

TEST_F(WordBankScreen, CopyPutsTheTokenOnTheClipboard) {
    press("新建");
    screen_->copyIDAction();
    EXPECT_EQ(QApplication::clipboard()->text(), screen_->id()->text());
    EXPECT_EQ(dialogTitle(), "复制成功");
}

TEST_F(WordBankScreen, TheCloudListIsFetchedOnceAndAPickShowsOnTheWordBankScreen) {
    press("新建");
    type("云端一", QString::fromStdString(quillet::test::bankText(100)));
    press("保存");
    waitForAnswer(screen_);
    uploadAsAnotherUser("不是我的");

    auto* list = open<CloudWordViewController>();
    waitForAnswer(list);
    ASSERT_EQ(CloudWords::cache().size(), 1u); // only this user's banks
    EXPECT_EQ(list->list()->rowCount(), 1);
    EXPECT_EQ(list->list()->item(0, 1)->text(), "云端一");
    EXPECT_EQ(list->list()->item(0, 3)->text(), "双击选择");
    EXPECT_EQ(list->list()->item(0, 2)->text(),
              QString::fromStdString(CloudWords::cache()[0].count));
    // The columns share the visible width as designed, without a horizontal scroll.
    int columnsWidth = 0;
    for (int column = 0; column < list->list()->columnCount(); ++column) {
        columnsWidth += list->list()->columnWidth(column);
    }
    EXPECT_EQ(columnsWidth, list->list()->viewport()->width());
    EXPECT_GT(list->list()->columnWidth(0), 2 * list->list()->columnWidth(1));

    // A second opening shows the cache without asking.
    auto* again = open<CloudWordViewController>();
    QSignalSpy asked(again, &CloudWordViewController::answered);
    QTest::qWait(300);
    EXPECT_EQ(asked.count(), 0);
    EXPECT_EQ(again->list()->rowCount(), 1);

    // A double click on the empty part picks nothing.
    again->list()->clearSelection();
    again->doubleAction();
    EXPECT_EQ(CloudWords::selectedCloudIndex(), -1);

    press("新建");
    EXPECT_EQ(screen_->label()->label()->text(), "");
    list->list()->selectRow(0);
    list->doubleAction();
    EXPECT_EQ(CloudWords::selectedCloudIndex(), 0);
    screen_->hide();
    screen_->show(); // the word bank screen appears again under the closed list
    EXPECT_EQ(screen_->label()->label()->text(), "云端一");
    EXPECT_EQ(screen_->id()->text().toStdString(), CloudWords::cache()[0].id);
    EXPECT_TRUE(screen_->copyIDBtn()->isVisible());
}

TEST_F(WordBankScreen, ANetworkFailureOffersRetryWithOkAndAWayOutWithBack) {
    ::setenv("QUILLET_SERVICE_URL", closedLoopbackAddress("/").toUtf8().constData(), 1);
    auto* list = open<CloudWordViewController>();
    QSignalSpy answered(list, &CloudWordViewController::answered);
    ASSERT_TRUE(answered.wait(10000));
    EXPECT_EQ(dialogTitle(), "网络错误，请重试");
    EXPECT_TRUE(CMAlert::shared().backBtn()->isVisible());

    CMAlert::shared().cancleBtn()->click(); // OK retries
    ASSERT_TRUE(answered.wait(10000));
    EXPECT_EQ(answered.count(), 2);
    CMAlert::shared().backBtn()->click(); // Back leaves the list empty
    QTest::qWait(300);
    EXPECT_EQ(answered.count(), 2);
    EXPECT_EQ(list->list()->rowCount(), 0);
    ::setenv("QUILLET_SERVICE_URL", service_.url().c_str(), 1);
}

} // namespace

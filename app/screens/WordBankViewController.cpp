#include "WordBankViewController.h"

#include <QApplication>
#include <QClipboard>
#include <string_view>

#include "CloudWordViewController.h"
#include "CloudWords.h"
#include "ServiceAnswer.h"
#include "log/Log.h"
#include "platform/SheetAlert.h"
#include "toolkit/Palette.h"
#include "toolkit/PresentAnimator.h"
#include "toolkit/QtText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"
#include "wordbank/DeviceIdentifier.h"

namespace quillet::app {

namespace {

constexpr int tokenLength = 32;

// The bottom row from the right: title, action, width.
struct BottomButton {
    const char* title;
    void (WordBankViewController::*action)();
    int width;
};
constexpr BottomButton bottomButtons[] = {
    {"我的云端词库", &WordBankViewController::cloudAction, 120},
    {"词库口令", &WordBankViewController::orderCmdAction, 80},
    {"校验", &WordBankViewController::verifyAction, 50},
    {"设为默认", &WordBankViewController::setDefualtAction, 90},
    {"新建", &WordBankViewController::newAction, 50},
    {"删除", &WordBankViewController::deleteAction, 50},
    {"保存", &WordBankViewController::sureAction, 50},
    {"返回", nullptr, 50}, // closes the page
};

} // namespace

WordBankViewController::WordBankViewController(QWidget* parent)
    : UIViewController(parent), localWord_(quillet::WordModel::loadLocal()),
      currentWord_(quillet::WordModel::loadLocal()) {}

void WordBankViewController::viewDidLoad() {
    label_ = new UIInteractiveView(true, 50, this);
    label_->hint()->setText("备注:");
    label_->label()->setPlaceholderText("点击这里修改备注");

    id_ = new UILabel(QString(), this);
    id_->setAlignment(Qt::AlignCenter);
    id_->setTextStyle({QColor(222, 128, 60), 20});
    id_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    copyIDBtn_ = UIButton::filled("复制口令", this);
    copyIDBtn_->hide();
    connect(copyIDBtn_, &QPushButton::clicked, this, &WordBankViewController::copyIDAction);

    wordBankInput_ = new UITextView(QString(), this);
    wordBankInput_->setBorder({Palette::theme(), 1, 0});
    wordBankInput_->setSelectedTextBackgroundColor(Palette::theme());
    wordBankInput_->setTextStyle({Palette::textLight(), 18});
    wordBankInput_->setContentInsets(QMargins(4, 8, 4, 8));

    defualtTip_ = new UILabel(QString(), this);
    defualtTip_->setTextStyle({Palette::theme(), 14});
    updateDefaultTip();

    aboutBtn_ = UIButton::plain("关于词库", this);
    connect(aboutBtn_, &QPushButton::clicked, this, &WordBankViewController::aboutAction);
    for (const BottomButton& spec : bottomButtons) {
        auto* button = UIButton::plain(spec.title, this);
        if (spec.action != nullptr) {
            connect(button, &QPushButton::clicked, this, spec.action);
        } else {
            connect(button, &QPushButton::clicked, this, &UIViewController::disappear);
        }
        bottomRow_.push_back(button);
    }
}

void WordBankViewController::viewDidLayout() {
    const int w = width();
    const int rowTop = height() - 20 - 25;
    label_->setGeometry(20, 20, w - 40, 32);
    id_->setGeometry(0, 20 + 32 + 10, w, 32);
    copyIDBtn_->setGeometry(w - 20 - 100, id_->y(), 100, 32);
    const int textTop = id_->y() + 32 + 20;
    wordBankInput_->setGeometry(20, textTop, w - 40, rowTop - 30 - textTop);
    defualtTip_->setGeometry(40, wordBankInput_->geometry().bottom() + 1 + 5, w - 80, 20);
    aboutBtn_->setGeometry(20, rowTop, 80, 25);
    int right = w - 20;
    for (std::size_t i = 0; i < bottomRow_.size(); ++i) {
        const int width = bottomButtons[i].width;
        bottomRow_[i]->setGeometry(right - width, rowTop, width, 25);
        right -= width + 10;
    }
}

UIButton* WordBankViewController::button(const QString& title) const {
    for (UIButton* candidate : bottomRow_) {
        if (candidate->text() == title) {
            return candidate;
        }
    }
    return title == aboutBtn_->text() ? aboutBtn_ : nullptr;
}

UITextField* WordBankViewController::identifyInput() {
    if (identifyInput_ == nullptr) {
        identifyInput_ = new UITextField();
        identifyInput_->setParent(this, Qt::Widget);
        identifyInput_->hide();
        identifyInput_->resize(300, 30);
        identifyInput_->setPlaceholderText("右键可粘贴口令");
    }
    return identifyInput_;
}

void WordBankViewController::viewFirstDidAppear() {
    CloudWords::selectedCloudIndex() = -1;
}

void WordBankViewController::viewDidAppear() {
    UIViewController::viewDidAppear();
    // The words are what this page edits. Left to itself, the focus went to the remark, the
    // first field, which then came back with all its text selected.
    wordBankInput_->setFocus(Qt::OtherFocusReason);
    label_->label()->deselect();
    const int picked = CloudWords::selectedCloudIndex();
    const auto& cache = CloudWords::cache();
    if (picked >= 0 && static_cast<std::size_t>(picked) < cache.size()) {
        currentWord_ = cache[static_cast<std::size_t>(picked)];
        copyIDBtn_->show();
    }
    showBank(currentWord_);
}

void WordBankViewController::showBank(const quillet::WordModel& bank) {
    id_->setText(qs(bank.id));
    label_->label()->setText(qs(bank.title));
    showBankText(bank.text);
}

namespace {
// A break opportunity after each comma, and nothing else: the words wrap whole.
constexpr QChar kWrapHere(0x200B);
} // namespace

void WordBankViewController::showBankText(const std::string& text) {
    wordBankInput_->setPlainText(qs(text).replace(',', QString(',') + kWrapHere));
}

std::string WordBankViewController::bankText() const {
    return wordBankInput_->toPlainText().remove(kWrapHere).toStdString();
}

void WordBankViewController::takeEdits() {
    currentWord_.text = bankText();
    currentWord_.title = label_->label()->text().toStdString();
}

void WordBankViewController::updateDefaultTip() {
    defualtTip_->setText("默认词库: " + qs(localWord_.title) + ", " + qs(localWord_.id));
}

bool WordBankViewController::normalizeTextArea() {
    const auto normalized = quillet::WordModel::normalize(bankText());
    if (!normalized) {
        CMAlert::show(this, qs(normalized.error().title), qs(normalized.error().message), false);
        return false;
    }
    showBankText(*normalized);
    return true;
}

void WordBankViewController::aboutAction() {
    CMAlert::show(this, "关于词库", qs(quillet::WordBankText::rulesText), false);
}

void WordBankViewController::verifyAction() {
    if (!normalizeTextArea()) {
        return;
    }
    const auto count = quillet::WordModel::displayedWordCount(bankText());
    CMAlert::show(this, QString("符合规则的词库:%1").arg(count), "", false);
}

void WordBankViewController::newAction() {
    currentWord_ = quillet::WordModel::makeNew(quillet::deviceIdentifier());
    copyIDBtn_->hide();
    showBank(currentWord_);
}

void WordBankViewController::setDefualtAction() {
    if (!normalizeTextArea()) {
        return;
    }
    takeEdits();
    saveAsDefault();
}

bool WordBankViewController::saveAsDefault() {
    if (!currentWord_.save()) {
        // Nothing reached the file, so nothing is reported as saved.
        CMAlert::show(this, "保存失败", "默认词库无法写入配置文件", false);
        return false;
    }
    localWord_ = currentWord_;
    updateDefaultTip();
    return true;
}

void WordBankViewController::sureAction() {
    if (label_->label()->text().isEmpty()) {
        CMAlert::show(this, "备注不能为空", "", false);
        return;
    }
    if (id_->text().isEmpty()) {
        CMAlert::show(this, "口令不能为空, 点击[ 新建 ]可解决", "", false);
        return;
    }
    if (!normalizeTextArea()) {
        return;
    }
    if (!quillet::WordModel::canSave(quillet::WordModel::wordCount(bankText()))) {
        CMAlert::show(this, qs(quillet::WordBankText::cannotSaveTitle),
                      qs(quillet::WordBankText::cannotSaveMessage), false);
        return;
    }
    takeEdits();
    if (currentWord_.id == localWord_.id && !saveAsDefault()) {
        return;
    }
    if (currentWord_.uuid == quillet::deviceIdentifier()) {
        saveToServer();
        return;
    }
    if (currentWord_.id == localWord_.id) {
        CMAlert::show(this, "保存成功", "", false);
    } else {
        CMAlert::show(this, "你不能保存此词库, 因为不是你的词库",
                      "你需要设置将此词库设为默认后才能保存", false);
    }
}

void WordBankViewController::send(const quillet::RequestParams& params, const char* function,
                                  std::function<void(const quillet::NormalModel&)> handler) {
    startLoading();
    QPointer<WordBankViewController> self(this);
    quillet::WebRequest::start(params, [self, function, handler = std::move(handler)](
                                           const quillet::Result<std::string>& reply) {
        if (!self) {
            return;
        }
        self->stopLoading();
        if (const auto answer = ServiceAnswer::decode(self, reply, function)) {
            handler(*answer);
        }
        emit self->answered();
    });
}

void WordBankViewController::saveToServer() {
    send({{"port", std::int64_t{1020}},
          {"id", id_->text().toStdString()},
          {"tool", std::string("Quillet")},
          {"title", label_->label()->text().toStdString()},
          {"text", bankText()},
          {"uuid", quillet::deviceIdentifier()}},
         "saveToServer()", [this](const quillet::NormalModel& answer) {
             if (answer.code == 1) {
                 CloudWords::cache().clear();
             }
             CMAlert::show(this, qs(answer.msg), "", false);
         });
}

void WordBankViewController::copyIDAction() {
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(id_->text());
    CMAlert::show(this, "复制成功", "你可以把口令发送给其他人了", false);
}

void WordBankViewController::orderCmdAction() {
    UITextField* field = identifyInput();
    field->clear();
    // Return after the token fetches the bank: nothing to guard.
    const int answer = SheetAlert::run(this, {QString(), QString(), {"取消", "确定"}, field, 1});
    if (answer == SheetAlert::secondButton && field->text().size() == tokenLength) {
        requestData();
    }
}

void WordBankViewController::requestData() {
    // Only when this device owns the bank does the answer name it as the owner, which lets the
    // screen save and delete it; anyone else's comes back with no owner and stays read-only.
    send({{"port", std::int64_t{1021}},
          {"id", identifyInput()->text().toStdString()},
          {"uuid", quillet::deviceIdentifier()}},
         "requestData()", [this](const quillet::NormalModel& answer) {
             if (answer.code == 1 && answer.data && !answer.data->empty()) {
                 currentWord_ = answer.data->front();
                 showBank(currentWord_);
             }
         });
}

void WordBankViewController::deleteAction() {
    if (currentWord_.id == localWord_.id) {
        SheetAlert::run(this, {"你不可以删掉默认词库", QString(), {"好的"}, nullptr});
        return;
    }
    if (currentWord_.uuid != quillet::deviceIdentifier()) {
        SheetAlert::run(this,
                        {"你不可以删掉此词库，因为不是你的词库", QString(), {"好的"}, nullptr});
        return;
    }
    const int answer = SheetAlert::run(
        this, {"你确定在删掉下面的词库吗？", label_->label()->text(), {"取消", "确定"}, nullptr});
    if (answer != SheetAlert::secondButton) {
        return;
    }
    QLOG_AS("deleteAction()", "delete");
    bool isNumber = false;
    const long long count = qs(currentWord_.count).toLongLong(&isNumber);
    if (isNumber && count != 0) {
        deleteFromServer();
    } else {
        showLocalWordAgain(); // never uploaded, so nothing to ask the service
    }
}

void WordBankViewController::deleteFromServer() {
    // The owner's identifier goes along, so the service deletes only the owner's own banks.
    send({{"port", std::int64_t{1022}},
          {"id", id_->text().toStdString()},
          {"uuid", quillet::deviceIdentifier()}},
         "deleteFromServer()", [this](const quillet::NormalModel& answer) {
             if (answer.code == 1) {
                 CloudWords::cache().clear();
                 showLocalWordAgain();
             } else {
                 CMAlert::show(this, qs(answer.msg), "", false);
             }
         });
}

void WordBankViewController::showLocalWordAgain() {
    currentWord_ = localWord_;
    showBank(localWord_);
    CMAlert::show(this, "删除成功", "当前已加载默认词库", false);
}

void WordBankViewController::cloudAction() {
    presentViewController(new CloudWordViewController(), PresentAnimator::shared());
}

} // namespace quillet::app

#include "SidebarViewController.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "notify/Notify.h"
#include "toolkit/Palette.h"

namespace quillet::app {

namespace {

constexpr int kEntryRole = Qt::UserRole + 1; // "section/item" of an entry row

} // namespace

SidebarViewController::SidebarViewController(QWidget* parent) : UIViewController(parent) {}

const QStringList& SidebarViewController::sectionTitle() {
    static const QStringList titles = {"功能", "帮助", "设置", "维护"};
    return titles;
}

void SidebarViewController::viewDidLoad() {
    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFrameShape(QFrame::NoFrame);
    // Reached with Tab and moved with the arrow keys; the chosen row shows where it is, so the
    // dotted focus frame is left out.
    list_->setFocusPolicy(Qt::StrongFocus);
    list_->setStyleSheet(
        "QListWidget { background: transparent; font-size: 14px; outline: none; }"
        " QListWidget::item { height: 32px; border: 0px solid transparent; padding-left: 16px; }"
        " QListWidget::item:hover { background: rgb(230, 230, 230); }"
        // After hover, so the chosen row keeps its look under the mouse, also in an
        // inactive window.
        " QListWidget::item:selected { background: rgb(58, 188, 208); color: white; }");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 40, 0, 0);
    layout->addWidget(list_);
    connect(list_, &QListWidget::itemSelectionChanged, this,
            &SidebarViewController::selectionChanged);
    list_->installEventFilter(this);
}

bool SidebarViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_ || event->type() != QEvent::KeyPress) {
        return UIViewController::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) {
        return false;
    }
    const int row = entryRowFrom(key == Qt::Key_Down ? 1 : -1);
    if (row >= 0) {
        list_->setCurrentRow(row);
    }
    return true;
}

int SidebarViewController::entryRowFrom(int step) const {
    for (int row = list_->currentRow() + step; row >= 0 && row < list_->count(); row += step) {
        if (list_->item(row)->data(kEntryRole).isValid()) {
            return row;
        }
    }
    return -1;
}

void SidebarViewController::viewFirstDidAppear() {
    datas_ = {
        {0, {{"方法重命名", Action::mrename}, {"崩溃日志还原", Action::crashReport}}},
        {1,
         {{"公告", Action::notice},
          {"教程 & 问题", Action::course},
          {"快捷键", Action::shortcutKey},
          {"QQ交流群", Action::qqGroup},
          {"进入官网", Action::officialWeb}}},
        {2, {{"常规", Action::settingNormal}, {"我的词库", Action::settingMyWord}}},
        {3, {{"在线更新", Action::onlineUpdate}}},
    };
    reload();
}

void SidebarViewController::reload() {
    list_->clear();
    for (const auto& [section, entries] : datas_) {
        auto* header = new QListWidgetItem(sectionTitle().value(section), list_);
        header->setFlags(Qt::ItemIsEnabled); // a header cannot be selected
        header->setForeground(Palette::themeDeep());
        QFont font = header->font();
        font.setBold(true);
        header->setFont(font);
        for (std::size_t item = 0; item < entries.size(); ++item) {
            auto* row = new QListWidgetItem(entries[item].value, list_);
            row->setData(kEntryRole, QPoint(section, static_cast<int>(item)));
            row->setForeground(Palette::textLight());
        }
    }
}

bool SidebarViewController::select(const QString& value) {
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* row = list_->item(i);
        if (row->data(kEntryRole).isValid() && row->text() == value) {
            list_->setCurrentItem(row);
            return true;
        }
    }
    return false;
}

void SidebarViewController::selectionChanged() {
    const auto selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QPoint place = selected.last()->data(kEntryRole).toPoint();
    const auto section = datas_.find(place.x());
    if (section == datas_.end() || place.y() >= static_cast<int>(section->second.size())) {
        return;
    }
    quillet::Notify::center().post(quillet::Notification::navigation,
                                   section->second[static_cast<std::size_t>(place.y())]);
}

} // namespace quillet::app

#include "CloudWordViewController.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>
#include <algorithm>

#include "CloudWords.h"
#include "ServiceAnswer.h"
#include "service/WebRequest.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "wordbank/DeviceIdentifier.h"

namespace quillet::app {

namespace {

constexpr int rowHeight = 22;
constexpr const char* pickHint = "双击选择";

struct Column {
    const char* title;
    int width;
};
constexpr Column columns[] = {{"口令", 370}, {"备注", 150}, {"单词数量", 100}, {"操作", 100}};

// Scales the columns alike so that together they fill `width`; the last one takes the rounding.
void fitColumns(QTableWidget* table, int width) {
    int designed = 0;
    for (const Column& column : columns) {
        designed += column.width;
    }
    int used = 0;
    const int last = static_cast<int>(std::size(columns)) - 1;
    for (int i = 0; i < last; ++i) {
        const int fitted = columns[i].width * width / designed;
        table->setColumnWidth(i, fitted);
        used += fitted;
    }
    table->setColumnWidth(last, std::max(0, width - used));
}

} // namespace

CloudWordViewController::CloudWordViewController(QWidget* parent) : UIViewController(parent) {}

void CloudWordViewController::viewDidLoad() {
    list_ = new QTableWidget(0, std::size(columns), this);
    QStringList titles;
    for (std::size_t i = 0; i < std::size(columns); ++i) {
        titles << columns[i].title;
        list_->setColumnWidth(static_cast<int>(i), columns[i].width);
    }
    list_->setHorizontalHeaderLabels(titles);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->horizontalHeader()->setSectionsMovable(false);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(rowHeight);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAlternatingRowColors(true);
    list_->setFocusPolicy(Qt::NoFocus);
    // Double clicks anywhere in the table pick, also on its empty part; the columns follow the
    // visible width.
    list_->viewport()->installEventFilter(this);
    backbtn()->show();
}

void CloudWordViewController::viewDidLayout() {
    list_->setGeometry(rect().adjusted(20, 40, -20, -20));
}

bool CloudWordViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::Resize) {
        fitColumns(list_, list_->viewport()->width());
    }
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (!list_->indexAt(click->position().toPoint()).isValid()) {
            list_->clearSelection(); // the empty part of the table picks nothing
        }
        doubleAction();
        return true;
    }
    return UIViewController::eventFilter(watched, event);
}

void CloudWordViewController::viewFirstDidAppear() {
    CloudWords::selectedCloudIndex() = -1;
    if (!CloudWords::cache().empty()) {
        reloadData();
        return;
    }
    requestData(true);
}

void CloudWordViewController::requestData(bool showsBusy) {
    if (showsBusy) {
        startLoading();
    }
    QPointer<CloudWordViewController> self(this);
    quillet::WebRequest::start(
        {{"port", std::int64_t{1021}}, {"uuid", quillet::deviceIdentifier()}},
        [self](const quillet::Result<std::string>& answer) {
            if (self) {
                self->handle(answer);
            }
        });
}

void CloudWordViewController::handle(const quillet::Result<std::string>& reply) {
    stopLoading();
    QPointer<CloudWordViewController> self(this);
    const auto retry = [self] {
        if (self) {
            self->requestData(false);
        }
    };
    const auto answer = ServiceAnswer::decode(this, reply, "requestData()", retry);
    if (!answer) {
        CMAlert::shared().backBtn()->show();
    } else if (answer->code == 0) {
        CMAlert::show(this, QString::fromStdString(answer->msg), "", false, [self] {
            if (self) {
                self->dismissController();
            }
        });
    } else {
        CloudWords::cache() = answer->data.value_or(std::vector<quillet::WordModel>{});
        reloadData();
    }
    emit answered();
}

void CloudWordViewController::reloadData() {
    const auto& banks = CloudWords::cache();
    list_->setRowCount(static_cast<int>(banks.size()));
    for (std::size_t row = 0; row < banks.size(); ++row) {
        const QString cells[] = {QString::fromStdString(banks[row].id),
                                 QString::fromStdString(banks[row].title),
                                 QString::fromStdString(banks[row].count), pickHint};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(pickHint);
            list_->setItem(static_cast<int>(row), column, item);
        }
    }
}

void CloudWordViewController::doubleAction() {
    const auto rows = list_->selectionModel()->selectedRows();
    CloudWords::selectedCloudIndex() = rows.isEmpty() ? -1 : rows.first().row();
    dismissController();
}

} // namespace quillet::app

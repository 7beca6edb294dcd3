#pragma once

#include <QIdentityProxyModel>

namespace quillet::app {

// Puts Chinese into the two columns of a file dialog's list that Qt leaves in English whatever
// its translation: a folder's kind ("Folder") and the date, which it writes in the system's
// locale, not the application's.
class ChineseFileListModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    // The file system model's columns.
    static constexpr int kindColumn = 2;
    static constexpr int dateColumn = 3;

    QVariant data(const QModelIndex& index, int role) const override;
};

} // namespace quillet::app

#include "ChineseFileListModel.h"

#include <QFileSystemModel>
#include <QLocale>

namespace quillet::app {

QVariant ChineseFileListModel::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr || role != Qt::DisplayRole) {
        return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex source = mapToSource(index);
    if (index.column() == kindColumn && files->isDir(source)) {
        return QStringLiteral("文件夹");
    }
    if (index.column() == dateColumn) {
        return QLocale(QLocale::Chinese, QLocale::China)
            .toString(files->lastModified(source), "yyyy/M/d HH:mm");
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace quillet::app

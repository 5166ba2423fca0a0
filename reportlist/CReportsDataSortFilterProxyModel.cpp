#include "reportlist/CReportsDataSortFilterProxyModel.h"

#include "reportlist/CMetadataModel.h"

#include <QVariantList>

#include <tuple>

namespace {

// The version triple (major, minor, patch) that the model gives the viewer column.
std::tuple<int, int, int> versionOf(const QModelIndex &index)
{
    const QVariantList parts = index.data(Qt::UserRole).toList();
    const auto part = [&parts](int i) { return i < parts.size() ? parts.at(i).toInt() : 0; };
    return std::make_tuple(part(0), part(1), part(2));
}

} // namespace

CReportsDataSortFilterProxyModel::CReportsDataSortFilterProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    // An edited comment must move its row at once when the table is sorted by comment.
    setDynamicSortFilter(true);
}

CReportsDataSortFilterProxyModel::~CReportsDataSortFilterProxyModel() = default;

bool CReportsDataSortFilterProxyModel::lessThan(const QModelIndex &left,
                                                const QModelIndex &right) const
{
    switch (left.column()) {
    case CMetadataModel::NumberColumn:
        return left.data(Qt::DisplayRole).toInt() < right.data(Qt::DisplayRole).toInt();
    case CMetadataModel::ViewerColumn:
        return versionOf(left) < versionOf(right);
    default:
        // Plain code-unit order: the date and time column sorts by its stored text.
        return left.data(Qt::DisplayRole).toString() < right.data(Qt::DisplayRole).toString();
    }
}

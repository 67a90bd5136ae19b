#include "gui/GridColumns.h"

GridColumns::GridColumns(const QList<int>& columns, QObject* parent)
    : QIdentityProxyModel(parent), m_columns(columns)
{}

int GridColumns::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QModelIndex GridColumns::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || sourceModel() == nullptr || row < 0 || row >= sourceModel()->rowCount() ||
        column < 0 || column >= m_columns.size())
        return {};
    return createIndex(row, column);
}

QModelIndex GridColumns::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || sourceModel() == nullptr)
        return {};
    return sourceModel()->index(proxyIndex.row(), sourceColumn(proxyIndex.column()));
}

QModelIndex GridColumns::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    const int column = columnOf(sourceIndex.column());
    return column < 0 ? QModelIndex() : createIndex(sourceIndex.row(), column);
}

QVariant GridColumns::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && sourceModel() != nullptr)
        return sourceModel()->headerData(sourceColumn(section), orientation, role);
    return QIdentityProxyModel::headerData(section, orientation, role);
}

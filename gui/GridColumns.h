#pragma once

#include <QIdentityProxyModel>
#include <QList>

// The columns of a table that the grid shows, and only those: a column the
// grid merely hid would still be read out by a screen reader, which walks
// the model, not the screen. Rows pass through as they are.
class GridColumns : public QIdentityProxyModel
{
public:
    // `columns`: the source's columns, in the order the grid starts with.
    GridColumns(const QList<int>& columns, QObject* parent = nullptr);

    // The grid's column of a source column, or -1 when the grid lacks it.
    int columnOf(int sourceColumn) const { return static_cast<int>(m_columns.indexOf(sourceColumn)); }
    int sourceColumn(int column) const { return m_columns.value(column, -1); }

    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<int> m_columns;
};

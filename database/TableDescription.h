#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

// The columns of describe's result, in its order, as the server names them
// and the description's header shows them.
const QStringList& describeColumns();

// `text` followed by as many `fill` characters as reach `width`.
QString padRight(const QString& text, QChar fill, int width);

// The description of a table in the layout of the MySQL prompt's describe:
// title, borders, header and one line per result row, cells padded with
// no-break spaces, and the count line; every line ends with CR LF.
QString formatDescription(const QString& tableName, const QList<QStringList>& lines);

// tableDescription: the rows of the last description, for the hidden grid descriptionGrid.
class TableDescriptionModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Field,
        Type,
        Null,
        Key,
        Default,
        Extra,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<QStringList>& rows);
    const QList<QStringList>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<QStringList> m_rows;
};

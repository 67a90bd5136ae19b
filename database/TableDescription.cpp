#include "database/TableDescription.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QChar kHardSpace(0x00A0); // the no-break space pads the cells

QString cellLine(const QStringList& cells, const QList<int>& widths)
{
    QString line;
    for (qsizetype i = 0; i < widths.size(); ++i)
        line += u"| "_s % padRight(cells.value(i), kHardSpace, widths[i]) % u' ';
    return line % u"|\r\n"_s;
}

} // namespace

const QStringList& describeColumns()
{
    static const QStringList columns = {u"Field"_s, u"Type"_s, u"Null"_s, u"Key"_s, u"Default"_s, u"Extra"_s};
    return columns;
}

QString padRight(const QString& text, QChar fill, int width)
{
    if (text.size() >= width)
        return text;
    return text % QString(width - text.size(), fill);
}

QString formatDescription(const QString& tableName, const QList<QStringList>& lines)
{
    QList<int> widths;
    for (const QString& header : describeColumns())
        widths.append(static_cast<int>(header.size()));
    for (const QStringList& line : lines) {
        for (qsizetype i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], static_cast<int>(line.value(i).size()));
    }
    QString border;
    for (int width : widths)
        border += u'+' % QString(width + 2, u'-');
    border += u"+\r\n"_s;

    QString text =
        u"descrição de ["_s % tableName % u"]\r\n"_s % border % cellLine(describeColumns(), widths) % border;
    for (const QStringList& line : lines)
        text += cellLine(line, widths);
    return text % border % QString::number(lines.size()) % u" campos na tabela. ;)\r\n"_s;
}

void TableDescriptionModel::setRows(const QList<QStringList>& rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int TableDescriptionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TableDescriptionModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TableDescriptionModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return {};
    return m_rows[index.row()].value(index.column());
}

QVariant TableDescriptionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return describeColumns()[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

// The columns of describe's result, in its order, as the server names them
// and the description's header shows them.
const QStringList& colunasDescribe();

// `texto` followed by as many `preenchimento` characters as reach `largura`.
QString PadDireita(const QString& texto, QChar preenchimento, int largura);

// The description of a table in the layout of the MySQL prompt's describe:
// title, borders, header and one line per result row, cells padded with
// no-break spaces, and the count line; every line ends with CR LF.
QString formataDescricao(const QString& nomeTabela, const QList<QStringList>& linhas);

// cdsTable: the rows of the last description, for the hidden grid DBGrid2.
class TabelaDescricao : public QAbstractTableModel
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

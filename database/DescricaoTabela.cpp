#include "database/DescricaoTabela.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QChar kEspacoDuro(0x00A0); // the no-break space pads the cells

QString linhaDeCelulas(const QStringList& celulas, const QList<int>& larguras)
{
    QString linha;
    for (qsizetype i = 0; i < larguras.size(); ++i)
        linha += u"| "_s % PadDireita(celulas.value(i), kEspacoDuro, larguras[i]) % u' ';
    return linha % u"|\r\n"_s;
}

} // namespace

const QStringList& colunasDescribe()
{
    static const QStringList colunas = {u"Field"_s, u"Type"_s, u"Null"_s, u"Key"_s, u"Default"_s, u"Extra"_s};
    return colunas;
}

QString PadDireita(const QString& texto, QChar preenchimento, int largura)
{
    if (texto.size() >= largura)
        return texto;
    return texto % QString(largura - texto.size(), preenchimento);
}

QString formataDescricao(const QString& nomeTabela, const QList<QStringList>& linhas)
{
    QList<int> larguras;
    for (const QString& cabecalho : colunasDescribe())
        larguras.append(static_cast<int>(cabecalho.size()));
    for (const QStringList& linha : linhas) {
        for (qsizetype i = 0; i < larguras.size(); ++i)
            larguras[i] = std::max(larguras[i], static_cast<int>(linha.value(i).size()));
    }
    QString borda;
    for (int largura : larguras)
        borda += u'+' % QString(largura + 2, u'-');
    borda += u"+\r\n"_s;

    QString texto = u"descrição de ["_s % nomeTabela % u"]\r\n"_s % borda %
                    linhaDeCelulas(colunasDescribe(), larguras) % borda;
    for (const QStringList& linha : linhas)
        texto += linhaDeCelulas(linha, larguras);
    return texto % borda % QString::number(linhas.size()) % u" campos na tabela. ;)\r\n"_s;
}

void TabelaDescricao::setRows(const QList<QStringList>& rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int TabelaDescricao::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TabelaDescricao::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TabelaDescricao::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return {};
    return m_rows[index.row()].value(index.column());
}

QVariant TabelaDescricao::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return colunasDescribe()[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

// The opening commands once the user has chosen a file.
#include "app/QuorvelCore.h"

#include "common/UserPrompts.h"
#include "harvest/UnitPath.h"
#include "table/IdentifierTable.h"

#include <QScopeGuard>

using namespace Qt::Literals::StringLiterals;

namespace {

// Collects the rows of one opening and places them all at its end, also when
// an error ends the opening half-way.
class BulkAppend
{
public:
    explicit BulkAppend(IdentifierTable& table) : m_table(table) { m_table.beginBulkAppend(); }
    ~BulkAppend() { m_table.endBulkAppend(); }
    BulkAppend(const BulkAppend&) = delete;
    BulkAppend& operator=(const BulkAppend&) = delete;

private:
    IdentifierTable& m_table;
};

} // namespace

void QuorvelCore::AbrirExecute()
{
    const std::optional<QString> arquivo = m_prompts.chooseFileToOpen(
        u"Projeto a ser documentado ..."_s, {u"Projetos Delphi (*.dpr)"_s, u"Units Delphi (*.pas)"_s});
    if (!arquivo)
        return;
    abreArquivo(*arquivo);
}

void QuorvelCore::NovoExecute()
{
    m_cdsUnits->clear();
    m_reDocumentacao.clear();
    ++m_revisaoDocumentacao;
    AbrirExecute();
}

void QuorvelCore::abreArquivo(const QString& arquivo)
{
    // The progress of a project ends however the opening ends, and only once
    // its rows are placed, which takes a while on a large table.
    const auto endProgress = qScopeGuard([this] { m_prompts.reportProgress(1, 1, QString()); });
    m_Memo1.clear();
    {
        BulkAppend bulk(*m_cdsUnits);
        // Only ".dpr" in lower case is a project; anything else is a unit.
        if (UnitPath::extension(arquivo) == u".dpr")
            AbreProjeto(arquivo);
        else
            AbreUnit(arquivo);
    }
    DBGrid1TitleClick();
}

void QuorvelCore::DBGrid1ColumnMoved(const QList<int>& columns)
{
    m_ordemColunas = columns;
    DBGrid1TitleClick();
}

void QuorvelCore::DBGrid1CellClick(int place, int column)
{
    if (place < 0 || place >= m_cdsUnits->rowCount())
        return;
    m_Memo2 = m_cdsUnits->value(place, column).toString();
}

void QuorvelCore::DBGrid1TitleClick()
{
    QStringList fields;
    for (int column : m_ordemColunas)
        fields.append(IdentifierTable::fieldName(column));
    m_cdsUnits->setOrdering(fields.join(u';'));
}

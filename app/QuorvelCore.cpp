#include "app/QuorvelCore.h"

#include "table/IdentifierTable.h"

using namespace Qt::Literals::StringLiterals;

QuorvelCore::QuorvelCore(IUserPrompts& prompts)
    : m_prompts(prompts), m_cdsUnits(std::make_unique<IdentifierTable>()),
      m_harvester(prompts, *m_cdsUnits, m_Memo1), m_projects(prompts, m_harvester, m_Memo1),
      m_opening(prompts, m_settings, *m_cdsUnits, m_Memo1, m_harvester, m_projects),
      m_tabelas(prompts, m_settings), m_documento(prompts, m_settings, *m_cdsUnits),
      m_html(prompts, m_settings, *m_cdsUnits), m_Memo2(u"Memo2"_s)
{
    m_harvester.setTableComments(&m_tabelas);
    m_Memo1.addLine(u"Memo1"); // each hidden memo shows its name until it is filled
}

QuorvelCore::~QuorvelCore() = default;

void QuorvelCore::NovoExecute(const std::function<void()>& cleared)
{
    m_cdsUnits->clear();
    m_documento.limpa();
    if (cleared)
        cleared();
    m_opening.AbrirExecute();
}

void QuorvelCore::setOrdemColunas(const QList<int>& columns)
{
    m_cdsUnits->setColumnOrder(columns);
}

const QList<int>& QuorvelCore::ordemColunas() const
{
    return m_cdsUnits->columnOrder();
}

void QuorvelCore::DBGrid1TitleClick()
{
    m_cdsUnits->applyColumnOrder();
}

void QuorvelCore::DBGrid1ColumnMoved(const QList<int>& columns)
{
    m_cdsUnits->setColumnOrder(columns);
    m_cdsUnits->applyColumnOrder();
}

void QuorvelCore::DBGrid1CellClick(int place, int column)
{
    if (place >= 0 && place < m_cdsUnits->rowCount())
        m_Memo2 = m_cdsUnits->value(place, column).toString();
}

#include "app/QuorvelCore.h"

#include "table/IdentifierTable.h"

using namespace Qt::Literals::StringLiterals;

QuorvelCore::QuorvelCore(IUserPrompts& prompts)
    : m_prompts(prompts), m_identifiers(std::make_unique<IdentifierTable>()),
      m_harvester(prompts, *m_identifiers, m_traceLog), m_projects(prompts, m_harvester, m_traceLog),
      m_opening(prompts, m_settings, *m_identifiers, m_traceLog, m_harvester, m_projects),
      m_tables(prompts, m_settings), m_document(prompts, m_settings, *m_identifiers),
      m_html(prompts, m_settings, *m_identifiers), m_cellText(u"Memo2"_s)
{
    m_harvester.setTableComments(&m_tables);
    m_traceLog.addLine(u"Memo1"); // each hidden memo shows its name until it is filled
}

QuorvelCore::~QuorvelCore() = default;

void QuorvelCore::runNew(const std::function<void()>& cleared)
{
    m_identifiers->clear();
    m_document.clear();
    if (cleared)
        cleared();
    m_opening.runOpen();
}

void QuorvelCore::setColumnOrder(const QList<int>& columns)
{
    m_identifiers->setColumnOrder(columns);
}

const QList<int>& QuorvelCore::columnOrder() const
{
    return m_identifiers->columnOrder();
}

void QuorvelCore::gridTitleClicked()
{
    m_identifiers->applyColumnOrder();
}

void QuorvelCore::gridColumnMoved(const QList<int>& columns)
{
    m_identifiers->setColumnOrder(columns);
    m_identifiers->applyColumnOrder();
}

void QuorvelCore::gridCellClicked(int place, int column)
{
    if (place >= 0 && place < m_identifiers->rowCount())
        m_cellText = m_identifiers->value(place, column).toString();
}

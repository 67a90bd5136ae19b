#include "app/QuorvelCore.h"

#include "table/IdentifierTable.h"

using namespace Qt::Literals::StringLiterals;

QuorvelCore::QuorvelCore(IUserPrompts& prompts) : m_session(prompts), m_cellText(u"Memo2"_s)
{}

bool QuorvelCore::runNew(const std::function<void()>& cleared)
{
    m_session.clearForNew();
    if (cleared)
        cleared();
    return m_session.opening.runOpen(m_openingChoices);
}

void QuorvelCore::setColumnOrder(const QList<int>& columns)
{
    m_session.identifiers.setColumnOrder(columns);
}

void QuorvelCore::gridTitleClicked()
{
    m_session.identifiers.applyColumnOrder();
}

void QuorvelCore::gridColumnMoved(const QList<int>& columns)
{
    m_session.identifiers.setColumnOrder(columns);
    m_session.identifiers.applyColumnOrder();
}

void QuorvelCore::gridCellClicked(int place, int column)
{
    const IdentifierTable& table = m_session.identifiers;
    if (place >= 0 && place < table.rowCount())
        m_cellText = table.value(place, column).toString();
}

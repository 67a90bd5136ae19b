#include "app/QuorvelCore.h"

#include "table/IdentifierTable.h"

void QuorvelCore::InsereIdentificador()
{
    // A table that is not open and idle drops the row silently.
    m_cdsUnits->append(IdentifierRow{m_NomeUnit, m_IdentificadorAtual, m_NomeIdentificadorAtual,
                                     m_TipoIdentificadorAtual, m_HelpAtual, m_LinhaAtual});
}

#include "app/QuorvelCore.h"

#include "table/IdentifierTable.h"

void QuorvelCore::InsereIdentificador()
{
    // A table that is not open and idle drops the row silently.
    // Only the parts the table keeps of texts a raw scan took are copied.
    const auto kept = [this](const DeferredText& text, int column) {
        return IdentifierTable::keptPart(text.view(m_texto), column).toString();
    };
    m_cdsUnits->append(IdentifierRow{kept(m_NomeUnit, IdentifierTable::Unit), m_IdentificadorAtual,
                                     m_NomeIdentificadorAtual,
                                     kept(m_TipoIdentificadorAtual, IdentifierTable::TipoIdentificador),
                                     m_HelpAtual, m_LinhaAtual});
}

#include "app/QuorvelCore.h"

#include "table/IdentifierTable.h"

using namespace Qt::Literals::StringLiterals;

QuorvelCore::QuorvelCore(IUserPrompts& prompts)
    : m_prompts(prompts), m_cdsUnits(std::make_unique<IdentifierTable>()),
      m_ordemColunas(IdentifierTable::initialColumnOrder())
{
    m_Memo1.addLine(u"Memo1");
    m_Memo2 = u"Memo2"_s;
}

QuorvelCore::~QuorvelCore() = default;

QString QuorvelCore::VersaoPrograma()
{
    return u"v1.1"_s;
}

QString QuorvelCore::TipoHelp()
{
    return u"Help"_s;
}

QString QuorvelCore::TipoOrfao()
{
    return u"Coment.Órfão"_s;
}

QString QuorvelCore::TipoTabela()
{
    return u"Tabela MySQL"_s;
}

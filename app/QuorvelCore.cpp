#include "app/QuorvelCore.h"

#include "database/ConexaoMySQL.h"
#include "database/DescricaoTabela.h"
#include "settings/SettingsFiles.h"
#include "table/IdentifierTable.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

QuorvelCore::QuorvelCore(IUserPrompts& prompts)
    : m_prompts(prompts), m_cdsUnits(std::make_unique<IdentifierTable>()),
      m_SQLConnection(std::make_unique<ConexaoMySQL>()), m_cdsTable(std::make_unique<TabelaDescricao>()),
      m_ordemColunas(IdentifierTable::initialColumnOrder())
{
    m_Memo1.addLine(u"Memo1");
    m_Memo2 = u"Memo2"_s;
    if (QCoreApplication::instance())
        m_PastaExecutavel = QCoreApplication::applicationDirPath() % u'/';
}

QString QuorvelCore::arquivoConfiguracao() const
{
    if (!m_arquivoConfiguracao.isEmpty())
        return m_arquivoConfiguracao;
    return SettingsFiles::programSettingsPath(QCoreApplication::applicationFilePath());
}

QString QuorvelCore::arquivoConfiguracaoHTML() const
{
    if (!m_arquivoConfiguracao.isEmpty())
        return m_arquivoConfiguracao;
    return SettingsFiles::fixedSettingsPath(m_PastaExecutavel);
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

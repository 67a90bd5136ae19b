// Documentation of a //# table comment: the dialogue with the user, the
// connection dialog and the table's description from the server.
#include "database/TableDialogue.h"

#include "database/ConexaoMySQL.h"
#include "database/DescricaoTabela.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"
#include "table/RowKinds.h"

#include <QSysInfo>

using namespace Qt::Literals::StringLiterals;

TableDialogue::TableDialogue(IUserPrompts& prompts, const SettingsLocation& settings)
    : m_prompts(prompts), m_settings(settings), m_SQLConnection(std::make_unique<ConexaoMySQL>()),
      m_cdsTable(std::make_unique<TabelaDescricao>())
{}

TableDialogue::~TableDialogue() = default;

QList<ParametroConexao> TableDialogue::parametrosConexaoSalvos() const
{
    const IniFile ini(m_settings.arquivoConfiguracao());
    const QList<ParametroConexao> padroes = {
        {u"DriverName"_s, u"DBX4MySQL"_s}, {u"HostName"_s, QSysInfo::machineHostName()},
        {u"Database"_s, u"camara"_s},      {u"User_Name"_s, u"docsreader"_s},
        {u"Password"_s, u"docsreader"_s},
    };
    QList<ParametroConexao> linhas;
    for (const ParametroConexao& p : padroes)
        linhas.append({p.first, ini.readString(u"conexao", p.first, p.second)});
    return linhas;
}

void TableDialogue::ConfiguraDriver()
{
    // The same driver name again keeps the parameters applied earlier.
    m_SQLConnection->setLoginPrompt(false);
    m_SQLConnection->setDriverName(u"DBX4MySQL"_s);

    const std::optional<QList<ParametroConexao>> linhas = m_prompts.editConnection(parametrosConexaoSalvos());
    if (!linhas)
        return;
    auto valor = [&](const QString& chave) {
        for (const ParametroConexao& p : *linhas) {
            if (p.first == chave)
                return p.second;
        }
        return QString();
    };
    IniFile ini(m_settings.arquivoConfiguracao());
    for (const QString& chave : {u"DriverName"_s, u"HostName"_s, u"Database"_s, u"User_Name"_s})
        ini.writeString(u"conexao", chave, valor(chave));
    // The password typed reaches the connection but is never saved.
    ini.writeString(u"conexao", u"Password", u"docsreader"_s);
    ConfiguraConexao(*linhas);
}

void TableDialogue::ConfiguraConexao(const QList<ParametroConexao>& parametros)
{
    m_SQLConnection->setParams(parametros);
    m_ConexaoConfigurada = true;
}

void TableDialogue::respondeTabelas(Resposta resposta, const std::optional<QString>& senha)
{
    if (resposta == Resposta::Nenhuma) {
        m_NaoParaTodas = true;
        return;
    }
    QList<ParametroConexao> parametros = parametrosConexaoSalvos();
    if (senha)
        parametros.last().second = *senha;
    m_SQLConnection->setDriverName(u"DBX4MySQL"_s);
    ConfiguraConexao(parametros);
    m_SimParaTodas = true;
}

void TableDialogue::avisaTabela(const BlocoTabela& bloco, const QString& texto)
{
    m_prompts.ask(Question{Topic::TableNotice, texto, {Answer::Ok}, Answer::Ok, bloco.arquivo, 0});
}

LinhaTabela TableDialogue::semDescricao(const BlocoTabela& bloco) const
{
    return {bloco.nomeTabela, bloco.nomeTabela, RowKinds::TipoTabela(), bloco.help};
}

LinhaTabela TableDialogue::descreveOuAvisa(const BlocoTabela& bloco)
{
    bool descrita = false;
    LinhaTabela linha = DescreveTabela(bloco, descrita);
    if (!descrita)
        avisaTabela(bloco, u"Erro ao acessar a tabela : ["_s % bloco.nomeTabela % u']');
    return linha;
}

LinhaTabela TableDialogue::DocumentaTabela(const BlocoTabela& bloco)
{
    if (m_SimParaTodas)
        return descreveOuAvisa(bloco);
    if (m_NaoParaTodas)
        return semDescricao(bloco);
    if (!m_ConexaoConfigurada) {
        const Answer resposta = m_prompts.ask(
            Question{Topic::TableFirstQuestion,
                     u"Foi encontrado um comentário que faz referência\rà tabela ["_s % bloco.nomeTabela %
                         u"] de Banco de Dados MySQL;\r\rDeseja informar os dados para a conexão?"_s,
                     {Answer::Yes, Answer::No},
                     Answer::Yes,
                     bloco.arquivo,
                     bloco.linha});
        if (resposta != Answer::Yes)
            return semDescricao(bloco);
        ConfiguraDriver();
        return descreveOuAvisa(bloco);
    }
    const Answer resposta =
        m_prompts.ask(Question{Topic::TableLaterQuestion,
                               u"Deseja utilizar os mesmos parâmetros de acesso\rpara a tabela ["_s %
                                   bloco.nomeTabela % u"] encontrada?"_s,
                               {Answer::Yes, Answer::No, Answer::NoToAll, Answer::YesToAll},
                               Answer::Yes,
                               bloco.arquivo,
                               bloco.linha});
    switch (resposta) {
    case Answer::Yes:
        ConfiguraDriver();
        return descreveOuAvisa(bloco);
    case Answer::YesToAll:
        m_SimParaTodas = true;
        return descreveOuAvisa(bloco);
    case Answer::NoToAll:
        m_NaoParaTodas = true;
        return semDescricao(bloco); // a programmer's comment is never thrown away
    default:
        return semDescricao(bloco);
    }
}

LinhaTabela TableDialogue::DescreveTabela(const BlocoTabela& bloco, bool& descrita)
{
    LinhaTabela linha = semDescricao(bloco);
    descrita = false;
    if (!m_ConexaoConfigurada)
        return linha;
    try {
        m_SQLConnection->open();
        linha.help += u"\r\r"_s;
        const QList<QStringList> linhas = m_SQLConnection->describe(bloco.nomeTabela);
        m_cdsTable->setRows(linhas);
        linha.help += formataDescricao(bloco.nomeTabela, linhas);
        m_SQLConnection->close();
        descrita = true;
    } catch (const ErroBancoDados&) {
        // A connection that failed is closed, so the next table connects afresh.
        m_SQLConnection->close();
        avisaTabela(bloco, u"Servidor indisponível!"_s);
    }
    return linha;
}

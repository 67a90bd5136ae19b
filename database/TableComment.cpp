// Documentation of a //# table comment: the dialogue with the user, the
// connection dialog and the table's description from the server.
#include "app/QuorvelCore.h"

#include "common/UserPrompts.h"
#include "database/ConexaoMySQL.h"
#include "database/DescricaoTabela.h"
#include "settings/IniFile.h"

#include <QSysInfo>

using namespace Qt::Literals::StringLiterals;

QList<ParametroConexao> QuorvelCore::parametrosConexaoSalvos() const
{
    const IniFile ini(arquivoConfiguracao());
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

void QuorvelCore::ConfiguraDriver()
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
    IniFile ini(arquivoConfiguracao());
    for (const QString& chave : {u"DriverName"_s, u"HostName"_s, u"Database"_s, u"User_Name"_s})
        ini.writeString(u"conexao", chave, valor(chave));
    // The password typed reaches the connection but is never saved.
    ini.writeString(u"conexao", u"Password", u"docsreader"_s);
    ConfiguraConexao(*linhas);
}

void QuorvelCore::ConfiguraConexao(const QList<ParametroConexao>& parametros)
{
    m_SQLConnection->setParams(parametros);
    m_ConexaoConfigurada = true;
}

void QuorvelCore::respondeTabelas(RespostaTabelas resposta, const std::optional<QString>& senha)
{
    if (resposta == RespostaTabelas::Nenhuma) {
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

void QuorvelCore::avisaTabela(const QString& texto)
{
    m_prompts.ask(Question{Topic::TableNotice, texto, {Answer::Ok}, Answer::Ok, m_arquivoAtual, 0});
}

void QuorvelCore::gravaTabelaSemDescricao()
{
    m_TipoIdentificadorAtual = TipoTabela();
    m_IdentificadorAtual = m_NomeTabela;
    m_NomeIdentificadorAtual = m_NomeTabela;
    InsereIdentificador();
}

void QuorvelCore::descreveOuAvisa()
{
    if (!DescreveTabela())
        avisaTabela(u"Erro ao acessar a tabela : ["_s % m_NomeTabela % u']');
}

void QuorvelCore::DocumentaTabela()
{
    if (m_SimParaTodas) {
        descreveOuAvisa();
    } else if (m_NaoParaTodas) {
        gravaTabelaSemDescricao();
    } else if (!m_ConexaoConfigurada) {
        const Answer resposta = m_prompts.ask(
            Question{Topic::TableFirstQuestion,
                     u"Foi encontrado um comentário que faz referência\rà tabela ["_s % m_NomeTabela %
                         u"] de Banco de Dados MySQL;\r\rDeseja informar os dados para a conexão?"_s,
                     {Answer::Yes, Answer::No},
                     Answer::Yes,
                     m_arquivoAtual,
                     m_LinhaAtual});
        if (resposta == Answer::Yes) {
            ConfiguraDriver();
            descreveOuAvisa();
        } else {
            gravaTabelaSemDescricao();
        }
    } else {
        const Answer resposta =
            m_prompts.ask(Question{Topic::TableLaterQuestion,
                                   u"Deseja utilizar os mesmos parâmetros de acesso\rpara a tabela ["_s %
                                       m_NomeTabela % u"] encontrada?"_s,
                                   {Answer::Yes, Answer::No, Answer::NoToAll, Answer::YesToAll},
                                   Answer::Yes,
                                   m_arquivoAtual,
                                   m_LinhaAtual});
        switch (resposta) {
        case Answer::Yes:
            ConfiguraDriver();
            descreveOuAvisa();
            break;
        case Answer::YesToAll:
            m_SimParaTodas = true;
            descreveOuAvisa();
            break;
        case Answer::NoToAll:
            m_NaoParaTodas = true;
            gravaTabelaSemDescricao(); // a programmer's comment is never thrown away
            break;
        default:
            gravaTabelaSemDescricao();
            break;
        }
    }
}

bool QuorvelCore::DescreveTabela()
{
    m_TipoIdentificadorAtual = TipoTabela();
    m_IdentificadorAtual = m_NomeTabela;
    m_NomeIdentificadorAtual = m_NomeTabela;
    bool descrita = false;
    if (m_ConexaoConfigurada) {
        try {
            m_SQLConnection->open();
            m_HelpAtual += u"\r\r"_s;
            const QList<QStringList> linhas = m_SQLConnection->describe(m_NomeTabela);
            m_cdsTable->setRows(linhas);
            m_HelpAtual += formataDescricao(m_NomeTabela, linhas);
            m_SQLConnection->close();
            descrita = true;
        } catch (const ErroBancoDados&) {
            // A connection that failed is closed, so the next table connects afresh.
            m_SQLConnection->close();
            avisaTabela(u"Servidor indisponível!"_s);
        }
    }
    InsereIdentificador();
    return descrita;
}

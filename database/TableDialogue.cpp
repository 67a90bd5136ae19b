// Documentation of a //# table comment: the dialogue with the user, the
// connection dialog and the table's description from the server.
#include "database/TableDialogue.h"

#include "database/MySqlConnection.h"
#include "database/TableDescription.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"
#include "table/RowKinds.h"

#include <QSysInfo>

using namespace Qt::Literals::StringLiterals;

TableDialogue::TableDialogue(IUserPrompts& prompts, const SettingsLocation& settings)
    : m_prompts(prompts), m_settings(settings), m_SQLConnection(std::make_unique<MySqlConnection>()),
      m_tableDescription(std::make_unique<TableDescriptionModel>())
{}

TableDialogue::~TableDialogue() = default;

QList<ConnectionParameter> TableDialogue::savedConnectionParameters() const
{
    const IniFile ini(m_settings.settingsFile());
    const QList<ConnectionParameter> fallbacks = {
        {u"DriverName"_s, u"DBX4MySQL"_s}, {u"HostName"_s, QSysInfo::machineHostName()},
        {u"Database"_s, u"camara"_s},      {u"User_Name"_s, u"docsreader"_s},
        {u"Password"_s, u"docsreader"_s},
    };
    QList<ConnectionParameter> lines;
    for (const ConnectionParameter& p : fallbacks)
        lines.append({p.first, ini.readString(u"conexao", p.first, p.second)});
    return lines;
}

void TableDialogue::configureDriver()
{
    // The same driver name again keeps the parameters applied earlier.
    m_SQLConnection->setLoginPrompt(false);
    m_SQLConnection->setDriverName(u"DBX4MySQL"_s);

    const std::optional<QList<ConnectionParameter>> lines =
        m_prompts.editConnection(savedConnectionParameters());
    if (!lines)
        return;
    auto value = [&](const QString& key) {
        for (const ConnectionParameter& p : *lines) {
            if (p.first == key)
                return p.second;
        }
        return QString();
    };
    IniFile ini(m_settings.settingsFile());
    for (const QString& key : {u"DriverName"_s, u"HostName"_s, u"Database"_s, u"User_Name"_s})
        ini.writeString(u"conexao", key, value(key));
    // The password typed reaches the connection but is never saved.
    ini.writeString(u"conexao", u"Password", u"docsreader"_s);
    configureConnection(*lines);
}

void TableDialogue::configureConnection(const QList<ConnectionParameter>& parameters)
{
    m_SQLConnection->setParams(parameters);
    m_connectionConfigured = true;
}

void TableDialogue::answerTables(TableAnswer answer, const std::optional<QString>& password)
{
    if (answer == TableAnswer::NoTables) {
        m_noToAll = true;
        return;
    }
    QList<ConnectionParameter> parameters = savedConnectionParameters();
    if (password)
        parameters.last().second = *password;
    m_SQLConnection->setDriverName(u"DBX4MySQL"_s);
    configureConnection(parameters);
    m_yesToAll = true;
}

void TableDialogue::warnTable(const TableBlock& block, const QString& text)
{
    m_prompts.ask(Question{Topic::TableNotice, text, {Answer::Ok}, Answer::Ok, block.file, 0, {}});
}

TableRow TableDialogue::withoutDescription(const TableBlock& block) const
{
    return {block.tableName, block.tableName, RowKinds::TableKind(), block.help};
}

TableRow TableDialogue::describeOrWarn(const TableBlock& block)
{
    bool described = false;
    TableRow line = describeTableRow(block, described);
    if (!described)
        warnTable(block, u"Erro ao acessar a tabela : ["_s % block.tableName % u']');
    return line;
}

TableRow TableDialogue::describeTable(const TableBlock& block)
{
    if (m_yesToAll)
        return describeOrWarn(block);
    if (m_noToAll)
        return withoutDescription(block);
    if (!m_connectionConfigured) {
        const Answer answer = m_prompts.ask(
            Question{Topic::TableFirstQuestion,
                     u"Foi encontrado um comentário que faz referência\rà tabela ["_s % block.tableName %
                         u"] de Banco de Dados MySQL;\r\rDeseja informar os dados para a conexão?"_s,
                     {Answer::Yes, Answer::No},
                     Answer::Yes,
                     block.file,
                     block.line,
                     {}});
        if (answer != Answer::Yes)
            return withoutDescription(block);
        configureDriver();
        return describeOrWarn(block);
    }
    const Answer answer =
        m_prompts.ask(Question{Topic::TableLaterQuestion,
                               u"Deseja utilizar os mesmos parâmetros de acesso\rpara a tabela ["_s %
                                   block.tableName % u"] encontrada?"_s,
                               {Answer::Yes, Answer::No, Answer::NoToAll, Answer::YesToAll},
                               Answer::Yes,
                               block.file,
                               block.line,
                               {}});
    switch (answer) {
    case Answer::Yes:
        configureDriver();
        return describeOrWarn(block);
    case Answer::YesToAll:
        m_yesToAll = true;
        return describeOrWarn(block);
    case Answer::NoToAll:
        m_noToAll = true;
        return withoutDescription(block); // a programmer's comment is never thrown away
    default:
        return withoutDescription(block);
    }
}

TableRow TableDialogue::describeTableRow(const TableBlock& block, bool& described)
{
    TableRow line = withoutDescription(block);
    described = false;
    if (!m_connectionConfigured)
        return line;
    try {
        m_SQLConnection->open();
        line.help += u"\r\r"_s;
        const QList<QStringList> lines = m_SQLConnection->describe(block.tableName);
        m_tableDescription->setRows(lines);
        line.help += formatDescription(block.tableName, lines);
        m_SQLConnection->close();
        described = true;
    } catch (const DatabaseError&) {
        // A connection that failed is closed, so the next table connects afresh.
        m_SQLConnection->close();
        warnTable(block, u"Servidor indisponível!"_s);
    }
    return line;
}

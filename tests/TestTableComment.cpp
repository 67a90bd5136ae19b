#include "app/BatchMode.h"
#include "app/Session.h"
#include "database/MySqlConnection.h"
#include "database/TableDescription.h"
#include "settings/IniFile.h"
#include "table/IdentifierTable.h"
#include "tests/support/Required.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTcpServer>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The worked example: the lines of the description of table clientes.
QString customersDescription()
{
    QString text = u"descrição de [clientes]\r\n"
                   u"+-------+-------------+------+-----+---------+----------------+\r\n"
                   u"| Field | Type        | Null | Key | Default | Extra          |\r\n"
                   u"+-------+-------------+------+-----+---------+----------------+\r\n"
                   u"| id    | int(11)     | NO   | PRI |         | auto_increment |\r\n"
                   u"| nome  | varchar(60) | YES  |     |         |                |\r\n"
                   u"+-------+-------------+------+-----+---------+----------------+\r\n"
                   u"2 campos na tabela. ;)\r\n"_s;
    // Inside the cells the padding is no-break spaces; the blank after and
    // before each '|' is an ordinary one.
    QStringList lines = text.split(u"\r\n"_s);
    for (QString& line : lines) {
        if (!line.startsWith(u'|'))
            continue;
        QStringList cells = line.split(u'|');
        for (qsizetype c = 1; c + 1 < cells.size(); ++c) {
            QString cell = cells[c].mid(1, cells[c].size() - 2);
            const qsizetype content = QString(cell).remove(QRegularExpression(u" +$"_s)).size();
            cell = cell.left(content) + QString(cell.size() - content, QChar(0x00A0));
            cells[c] = u' ' + cell + u' ';
        }
        line = cells.join(u'|');
    }
    return lines.join(u"\r\n"_s);
}

struct Server
{
    QString host = qEnvironmentVariable("QUORVEL_TEST_MYSQL_HOST");
    QString port = qEnvironmentVariable("QUORVEL_TEST_MYSQL_PORT");
    bool available() const { return !host.isEmpty() && !port.isEmpty(); }
    QString hostName() const { return host % u':' % port; }
};

// A port on the loopback where nothing listens.
QString deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QString::number(port);
}

#define REQUIRE_SERVER()                                                                                     \
    REQUIRE_FOR_TEST(server.available(), "no test server: run scripts/test, which starts one")

class TableComment : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session.settings.setSettingsFile(folder.path(u"Quorvel.ini"_s));
        session.identifiers.setColumnOrder({IdentifierTable::IdentifierLine});
    }

    // The connection dialog, confirmed with the test server's address.
    void confirmDialog(const QString& host, const QString& password = u"docsreader"_s)
    {
        prompts.expectConnection([host, password](QList<ConnectionParameter>& rows) {
            rows[1].second = host;
            rows[4].second = password;
            return true;
        });
    }

    void cancelDialog()
    {
        prompts.expectConnection([](QList<ConnectionParameter>&) { return false; });
    }

    const IdentifierRow& harvest(const QString& source)
    {
        session.opening.openFile(folder.writeSource(u"t%1.pas"_s.arg(m_files++), source));
        EXPECT_GT(session.identifiers.rowCount(), 0);
        return session.identifiers.row(session.identifiers.rowCount() - 1);
    }

    QStringList notices() const
    {
        QStringList out;
        for (const Question& q : prompts.questions) {
            if (q.topic == Topic::TableNotice)
                out.append(q.text);
        }
        return out;
    }

    Server server;
    ScriptedPrompts prompts;
    Session session{prompts};
    TestFolder folder;

private:
    int m_files = 0;
};

} // namespace

TEST(TableDescription, TheWorkedExampleByteForByte)
{
    const QList<QStringList> rows = {
        {u"id"_s, u"int(11)"_s, u"NO"_s, u"PRI"_s, QString(), u"auto_increment"_s},
        {u"nome"_s, u"varchar(60)"_s, u"YES"_s, u""_s, QString(), u""_s},
    };
    EXPECT_EQ(formatDescription(u"clientes"_s, rows), customersDescription());

    // Values shorter than every header: the headers' widths.
    const QString narrow = formatDescription(u"t"_s, {{u"a"_s, u"int"_s, u"NO"_s, {}, {}, {}}});
    EXPECT_TRUE(narrow.contains(u"\r\n+-------+------+------+-----+---------+-------+\r\n"_s));
    EXPECT_TRUE(narrow.endsWith(u"1 campos na tabela. ;)\r\n"_s));

    EXPECT_EQ(padRight(u"ab"_s, u'.', 5), u"ab..."_s);
    EXPECT_EQ(padRight(u"abcdef"_s, u'.', 5), u"abcdef"_s);
}

TEST(MySqlConnection, NamesGoToTheServerQuoted)
{
    EXPECT_EQ(MySqlConnection::quoteIdentifier(u"clientes"_s), u"`clientes`"_s);
    EXPECT_EQ(MySqlConnection::quoteIdentifier(u"  camara.clientes "_s), u"`camara`.`clientes`"_s);
    EXPECT_EQ(MySqlConnection::quoteIdentifier(u"x; drop table y"_s), u"`x; drop table y`"_s);
    EXPECT_EQ(MySqlConnection::quoteIdentifier(u"a`b"_s), u"`a``b`"_s);
    EXPECT_THROW(MySqlConnection::quoteIdentifier(u"   "_s), DatabaseError);
}

TEST_F(TableComment, FirstQuestionNoStoresTheCommentWithoutDescription)
{
    prompts.expect(Topic::TableFirstQuestion, Answer::No);
    const IdentifierRow row = harvest(u"//# clientes\n//* Cadastro\nx;\n"_s);
    EXPECT_EQ(prompts.questions[0].text, u"Foi encontrado um comentário que faz referência\r"
                                         u"à tabela [clientes] de Banco de Dados MySQL;\r\r"
                                         u"Deseja informar os dados para a conexão?"_s);
    EXPECT_EQ(row.identifier, u"clientes"_s);
    EXPECT_EQ(row.type, u"Tabela MySQL"_s);
    EXPECT_EQ(row.help, u"Cadastro"_s);
    EXPECT_FALSE(session.tables.connectionConfigured());
}

TEST_F(TableComment, ACancelledDialogGivesTheAccessError)
{
    prompts.expect(Topic::TableFirstQuestion, Answer::Yes);
    cancelDialog();
    prompts.expect(Topic::TableNotice, Answer::Ok);
    const IdentifierRow row = harvest(u"//# clientes\nx;\n"_s);
    EXPECT_EQ(notices(), QStringList{u"Erro ao acessar a tabela : [clientes]"_s});
    EXPECT_EQ(row.help, u""_s);
    EXPECT_EQ(row.name, u"clientes"_s);
    EXPECT_FALSE(session.tables.connectionConfigured());
    EXPECT_FALSE(QFile::exists(folder.path(u"Quorvel.ini"_s)));
}

TEST_F(TableComment, TheConnectionDialogSavesAllButThePassword)
{
    EXPECT_EQ(session.tables.savedConnectionParameters(),
              (QList<ConnectionParameter>{{u"DriverName"_s, u"DBX4MySQL"_s},
                                          {u"HostName"_s, QSysInfo::machineHostName()},
                                          {u"Database"_s, u"camara"_s},
                                          {u"User_Name"_s, u"docsreader"_s},
                                          {u"Password"_s, u"docsreader"_s}}));
    confirmDialog(u"outro-servidor"_s, u"segredo"_s);
    session.tables.configureDriver();
    const IniFile ini(folder.path(u"Quorvel.ini"_s));
    EXPECT_EQ(ini.readString(u"conexao", u"HostName", {}), u"outro-servidor"_s);
    EXPECT_EQ(ini.readString(u"conexao", u"Password", {}), u"docsreader"_s);
    EXPECT_EQ(session.tables.SQLConnection().param(u"Password"_s), u"segredo"_s);
    EXPECT_TRUE(session.tables.connectionConfigured());

    // The next opening shows the saved host and the fixed password; a
    // cancelled dialog keeps what was applied; the same driver keeps it too.
    cancelDialog();
    session.tables.configureDriver();
    EXPECT_EQ(prompts.connectionRows.last()[1].second, u"outro-servidor"_s);
    EXPECT_EQ(prompts.connectionRows.last()[4].second, u"docsreader"_s);
    EXPECT_EQ(session.tables.SQLConnection().param(u"Password"_s), u"segredo"_s);

    // A key edited away: an empty value is saved, the row goes as typed.
    prompts.expectConnection([](QList<ConnectionParameter>& rows) {
        rows[1] = {u"Servidor"_s, u"h2"_s};
        return true;
    });
    session.tables.configureDriver();
    EXPECT_EQ(IniFile(folder.path(u"Quorvel.ini"_s)).readString(u"conexao", u"HostName", u"x"_s), u""_s);
    EXPECT_EQ(session.tables.SQLConnection().param(u"Servidor"_s), u"h2"_s);
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(TableComment, AServerThatIsDownGivesBothMessagesAndKeepsTheRow)
{
    prompts.expect(Topic::TableFirstQuestion, Answer::Yes);
    confirmDialog(u"127.0.0.1:"_s % deadPort());
    prompts.expect(Topic::TableNotice, Answer::Ok);
    prompts.expect(Topic::TableNotice, Answer::Ok);
    const IdentifierRow row = harvest(u"//# clientes\n//* notas\nx;\n"_s);
    EXPECT_EQ(notices(),
              (QStringList{u"Servidor indisponível!"_s, u"Erro ao acessar a tabela : [clientes]"_s}));
    EXPECT_EQ(row.help, u"notas"_s);
    EXPECT_EQ(row.type, u"Tabela MySQL"_s);
}

TEST_F(TableComment, LaterQuestionAnswersWithoutAServer)
{
    // Parameters known; the server is down, so every description fails.
    session.tables.configureConnection({{u"HostName"_s, u"127.0.0.1:"_s % deadPort()}});
    QString source;
    for (const char16_t* t : {u"um", u"dois", u"tres", u"quatro"})
        source += u"//# "_s % QString::fromUtf16(t) % u"\n//* nota\nx;\n"_s;

    prompts.expect(Topic::TableLaterQuestion, Answer::No);
    prompts.expect(Topic::TableLaterQuestion, Answer::Yes);
    cancelDialog();
    prompts.expect(Topic::TableNotice, Answer::Ok);
    prompts.expect(Topic::TableNotice, Answer::Ok);
    prompts.expect(Topic::TableLaterQuestion, Answer::NoToAll);
    session.opening.openFile(folder.writeSource(u"t.pas"_s, source));
    EXPECT_EQ(prompts.questions[0].text,
              u"Deseja utilizar os mesmos parâmetros de acesso\rpara a tabela [um] encontrada?"_s);
    EXPECT_EQ(prompts.questions[0].buttons,
              (QList<Answer>{Answer::Yes, Answer::No, Answer::NoToAll, Answer::YesToAll}));
    EXPECT_TRUE(session.tables.noToAll());
    // Every comment is kept, described or not.
    ASSERT_EQ(session.identifiers.rowCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(session.identifiers.row(i).help.startsWith(u"nota"_s));

    // No to All holds across Novo: no question at all.
    prompts.expectFile(folder.path(u"t.pas"_s));
    session.clearForNew();
    session.opening.runOpen();
    EXPECT_EQ(session.identifiers.rowCount(), 4);
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(TableComment, TheWholeDialogueAgainstTheServer)
{
    REQUIRE_SERVER();
    prompts.expect(Topic::TableFirstQuestion, Answer::Yes);
    confirmDialog(server.hostName());
    prompts.expect(Topic::TableLaterQuestion, Answer::Yes);
    confirmDialog(server.hostName());
    prompts.expect(Topic::TableLaterQuestion, Answer::YesToAll);
    prompts.expect(Topic::TableNotice, Answer::Ok);
    prompts.expect(Topic::TableNotice, Answer::Ok);
    session.opening.openFile(folder.writeSource(u"a.pas"_s, u"//# clientes\n//* Cadastro de clientes\nx;\n"
                                                            u"//# doze\nx;\n"
                                                            u"//# `nota fiscal`\nx;\n"
                                                            u"//# nota fiscal\nx;\n"_s));
    ASSERT_EQ(session.identifiers.rowCount(), 4);
    EXPECT_EQ(session.identifiers.row(0).help, u"Cadastro de clientes\r\r"_s % customersDescription());
    EXPECT_TRUE(session.identifiers.row(1).help.startsWith(u"\r\rdescrição de [doze]\r\n"_s));
    EXPECT_TRUE(session.identifiers.row(1).help.endsWith(u"\r\n12 campos na tabela. ;)\r\n"_s));
    // A name with backquotes of its own is quoted again: no such table.
    EXPECT_EQ(session.identifiers.row(2).help, u"\r\r"_s);
    EXPECT_TRUE(session.identifiers.row(3).help.startsWith(u"\r\rdescrição de [nota fiscal]\r\n"_s));
    EXPECT_TRUE(session.identifiers.row(3).help.endsWith(u"\r\n2 campos na tabela. ;)\r\n"_s));
    EXPECT_EQ(session.identifiers.row(3).identifier, u"nota fiscal"_s);
    EXPECT_EQ(notices(),
              (QStringList{u"Servidor indisponível!"_s, u"Erro ao acessar a tabela : [`nota fiscal`]"_s}));
    EXPECT_EQ(session.tables.tableDescription().rowCount(), 2);

    // Yes to All holds across Novo: described without a question.
    prompts.expectFile(folder.writeSource(u"b.pas"_s, u"//# clientes\nx;\n"_s));
    session.clearForNew();
    session.opening.runOpen();
    ASSERT_EQ(session.identifiers.rowCount(), 1);
    EXPECT_EQ(session.identifiers.row(0).help, u"\r\r"_s % customersDescription());
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(TableComment, DescriptionsMatchTheMariadbClient)
{
    REQUIRE_SERVER();
    session.tables.answerTables(TableDialogue::TableAnswer::AllTables);
    session.tables.configureConnection({{u"HostName"_s, server.hostName()},
                                        {u"Database"_s, u"camara"_s},
                                        {u"User_Name"_s, u"docsreader"_s},
                                        {u"Password"_s, u"docsreader"_s}});
    for (const QString& table : {u"clientes"_s, u"curta"_s, u"doze"_s, u"larga"_s, u"nota fiscal"_s}) {
        const IdentifierRow row = harvest(u"//# "_s % table % u"\nx;\n"_s);
        QProcess client;
        client.start(u"mariadb"_s,
                     {u"--no-defaults"_s, u"-h"_s, server.host, u"-P"_s, server.port, u"-udocsreader"_s,
                      u"-pdocsreader"_s, u"-t"_s, u"camara"_s, u"-e"_s, u"describe `"_s % table % u'`'});
        ASSERT_TRUE(client.waitForFinished(30000));
        ASSERT_EQ(client.exitCode(), 0) << client.readAllStandardError().toStdString();
        QString expected = QString::fromUtf8(client.readAllStandardOutput());
        expected.replace(QRegularExpression(u"\\| NULL( *) "_s), u"|     \\1 "_s);
        QStringList ours = row.help.split(u"\r\n"_s);
        ours = ours.mid(1, ours.size() - 3); // without the title, the count line and the end
        EXPECT_EQ(ours.join(u'\n').replace(QChar(0x00A0), u' ') + u'\n', expected) << table.toStdString();
    }
}

TEST_F(TableComment, MissingTableAndWrongPassword)
{
    REQUIRE_SERVER();
    session.tables.answerTables(TableDialogue::TableAnswer::AllTables);
    session.tables.configureConnection({{u"HostName"_s, server.hostName()},
                                        {u"Database"_s, u"camara"_s},
                                        {u"User_Name"_s, u"docsreader"_s},
                                        {u"Password"_s, u"docsreader"_s}});
    prompts.expect(Topic::TableNotice, Answer::Ok);
    prompts.expect(Topic::TableNotice, Answer::Ok);
    // Connected, then the query fails: the two carriage returns stay.
    EXPECT_EQ(harvest(u"//# nao_existe\n//* x\ny;\n"_s).help, u"x\r\r"_s);

    session.tables.configureConnection({{u"HostName"_s, server.hostName()},
                                        {u"Database"_s, u"camara"_s},
                                        {u"User_Name"_s, u"docsreader"_s},
                                        {u"Password"_s, u"errada"_s}});
    prompts.expect(Topic::TableNotice, Answer::Ok);
    prompts.expect(Topic::TableNotice, Answer::Ok);
    EXPECT_EQ(harvest(u"//# clientes\n//* x\ny;\n"_s).help, u"x"_s);
    EXPECT_EQ(notices(),
              (QStringList{u"Servidor indisponível!"_s, u"Erro ao acessar a tabela : [nao_existe]"_s,
                           u"Servidor indisponível!"_s, u"Erro ao acessar a tabela : [clientes]"_s}));
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(TableComment, BatchModeDescribesAllOrNone)
{
    REQUIRE_SERVER();
    const QString settings = folder.write(u"b.ini"_s, ("[conexao]\r\nHostName=" + server.hostName().toUtf8() +
                                                       "\r\nDatabase=camara\r\nUser_Name=docsreader\r\n"
                                                       "Password=errada\r\n"));
    const QString unit = folder.writeSource(u"u.pas"_s, u"//# clientes\nx;\n"_s);
    auto run = [&](const QStringList& extra) {
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int status = BatchMode::run(QStringList{u"Quorvel"_s, u"--list"_s, u"--settings"_s, settings} +
                                              extra + QStringList{unit},
                                          out, err);
        const QJsonArray rows = QJsonDocument::fromJson(out.data()).array();
        return std::tuple{status,
                          rows.isEmpty() ? QString() : rows[0].toObject()[u"helpIdentificador"].toString(),
                          QString::fromUtf8(err.data())};
    };
    auto [status, help, err] = run({});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(help, u""_s);
    EXPECT_TRUE(err.startsWith(u"Resumo: "_s)) << err.toStdString(); // nothing but the summary
    EXPECT_EQ(err.count(u'\n'), 1);

    std::tie(status, help, err) = run({u"--describe"_s, u"all"_s});
    EXPECT_EQ(status, 3);
    EXPECT_EQ(help, u""_s);
    EXPECT_TRUE(err.contains(u"Servidor indisponível!"_s));
    EXPECT_TRUE(err.contains(u"Erro ao acessar a tabela : [clientes]"_s));

    qputenv("QUORVEL_MYSQL_PASSWORD", "docsreader");
    std::tie(status, help, err) = run({u"--describe"_s, u"all"_s});
    qunsetenv("QUORVEL_MYSQL_PASSWORD");
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(help, u"\r\r"_s % customersDescription());
}

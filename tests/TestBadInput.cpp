// What users get from whatever lies in their folders: a clear message and
// nothing lost, never a crash or a hang.
#include "app/QuorvelCore.h"
#include "app/Session.h"
#include "common/AtomicFile.h"
#include "common/ErrorText.h"
#include "common/QuorvelError.h"
#include "harvest/SourceText.h"
#include "output/HtmlSite.h"
#include "output/RtfWriter.h"
#include "settings/Colours.h"
#include "settings/IniFile.h"
#include "settings/OptionsState.h"
#include "table/IdentifierTable.h"
#include "tests/support/Required.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TableRows.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <new>
#include <random>
#include <stdexcept>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class BadInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core.setSettingsFile(folder.path(u"Quorvel.ini"_s));
        core.setProgramFolder(folder.path(QString()) % u'/');
        core.answerTables(TableDialogue::TableAnswer::NoTables);
        core.setOpeningChoices(OpeningChoices{std::nullopt, false, false});
    }

    QStringList identifiers() const { return identifiersOf(core.identifiers()); }

    ScriptedPrompts prompts;
    QuorvelCore core{prompts};
    TestFolder folder;
};

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(BadInput, TextsCutOffByTheEndOfTheFileKeepWhatCameBefore)
{
    const QByteArray endings[] = {
        "//? antes\r\nx := 'sem fim",
        "//? antes\r\n{ sem fim\r\n//? dentro",
        "//? antes\r\n//@ r\r\nfunction T.",
        "//? antes\r\n//@ r\r\nprocedure",
        "//? antes\r\nunit",
        "//? antes\r\nunit X",
        "//? antes\r\n//#",
    };
    for (const QByteArray& bytes : endings) {
        core.identifiers().clear();
        core.openFile(folder.write(u"u.pas"_s, bytes));
        ASSERT_GE(core.identifiers().rowCount(), 1) << bytes.toStdString();
        EXPECT_TRUE(identifiers().contains(u"antes"_s)) << bytes.toStdString();
    }
}

TEST_F(BadInput, BinaryFilesAndNulBytes)
{
    std::mt19937 rng(42);
    QByteArray binary(1 << 20, '\0');
    for (char& c : binary)
        c = static_cast<char>(rng() % 255 + 1); // no NUL: every byte is read
    core.openFile(folder.write(u"binario.pas"_s, binary));
    // A NUL ends the text: what follows it is not read.
    core.openFile(folder.write(u"nul.pas"_s, QByteArray("//? antes\r\n\0//? depois\r\n", 24)));
    EXPECT_TRUE(identifiers().contains(u"antes"_s));
    EXPECT_FALSE(identifiers().contains(u"depois"_s));
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(BadInput, AFileOfOneHugeLine)
{
    QByteArray line = "//? primeira\r\n";
    line += QByteArray(50 * 1024 * 1024, 'a');
    line += "\r\n//? segunda\r\n";
    core.openFile(folder.write(u"linha.pas"_s, line));
    EXPECT_EQ(identifiers(), (QStringList{u"primeira"_s, u"segunda"_s}));
    EXPECT_EQ(core.identifiers().row(1).line, 3);
}

// Each of these once made every heading or unit word scan the whole rest of
// the text: 3 MB took minutes. Read once, they take a moment.
TEST_F(BadInput, ScansThatNeverFindTheirCharacter)
{
    // The rows each gives for `copies` repetitions: a heading takes the token
    // after its name, so a marker there is lost; a qualified name without its
    // '(' takes every later token.
    const struct
    {
        QByteArray repeated;
        int (*rows)(int copies);
    } cases[] = {
        {"unit ", [](int) { return 0; }},
        {"//@ r\r\nfunction F(\r\n", [](int copies) { return copies; }},
        {"//@ r\r\nfunction F\r\n", [](int copies) { return (copies + 1) / 2; }},
        {"//@ r\r\nprocedure T.\r\n", [](int) { return 1; }},
        {"//@ r\r\nfunction F(x)\r\n", [](int copies) { return copies; }},
        {"unit X\r\n//? a\r\n", [](int copies) { return copies; }},
    };
    for (const auto& c : cases) {
        core.identifiers().clear();
        QByteArray bytes = "//? antes\r\n";
        const int copies = 3 * 1024 * 1024 / static_cast<int>(c.repeated.size());
        bytes += c.repeated.repeated(copies);
        core.openFile(folder.write(u"hostil.pas"_s, bytes));
        EXPECT_EQ(core.identifiers().rowCount(), 1 + c.rows(copies)) << c.repeated.toStdString();
    }
}

TEST_F(BadInput, ProjectsThatListThemselvesOrWindowsPaths)
{
    folder.writeSource(u"u.pas"_s, u"//? unit\n"_s);
    const QString self =
        folder.writeSource(u"p.dpr"_s, u"uses P in 'p.dpr', U in 'u.pas', Q in 'P.DPR';\n"_s);
    core.openFile(self);
    EXPECT_EQ(identifiers(), QStringList{u"unit"_s});

    const QString windows =
        folder.writeSource(u"w.dpr"_s, u"uses A in 'C:\\Fontes\\Sistema\\UA.pas', B in 'u.pas';\n"_s);
    core.openFile(windows);
    EXPECT_EQ(prompts.messages, QStringList{u"O arquivo indicado não pôde ser aberto."_s});
    EXPECT_TRUE(prompts.messageFiles[0].endsWith(u"c:/fontes/sistema/ua.pas"_s))
        << prompts.messageFiles[0].toStdString();
    EXPECT_EQ(core.identifiers().rowCount(), 2);
}

TEST_F(BadInput, HugeNamesAndHelpTexts)
{
    const QString name = QString(10000, u'N');
    const QString help = QString(1000000, u'h');
    core.openFile(
        folder.writeSource(u"u.pas"_s, u"unit "_s % name % u";\n//? Grande\n//* "_s % help % u"\n"_s));
    ASSERT_EQ(core.identifiers().rowCount(), 1);
    EXPECT_EQ(core.identifiers().row(0).unit.size(), 30);
    EXPECT_EQ(core.identifiers().row(0).help, help);
    core.buildDocument();
    RtfWriter::save(core.documentLines(), folder.path(u"doc.rtf"_s));
    EXPECT_GT(readBytes(folder.path(u"doc.rtf"_s)).size(), 1000000);
    ASSERT_TRUE(core.runHtml());
    // The help box breaks the long line: many lines, every character kept.
    QByteArray page = readBytes(folder.path(u"HELP/"_s % QString(30, u'N') % u"/ajuda.htm"_s));
    EXPECT_GT(page.count("<br />\r\n"), 1000);
    EXPECT_TRUE(page.replace("<br />\r\n", "").contains(QByteArray(1000000, 'h')));
}

TEST_F(BadInput, FoldersWhereFilesShouldBe)
{
    QDir().mkpath(folder.path(u"pasta.pas"_s));
    QDir().mkpath(folder.path(u"pasta.dpr"_s));
    core.openFile(folder.path(u"pasta.pas"_s));
    core.openFile(folder.path(u"pasta.dpr"_s));
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.errors.isEmpty());

    // A settings file that is a folder reads as missing, and cannot be written.
    QDir().mkpath(folder.path(u"Quorvel.ini"_s));
    EXPECT_EQ(IniFile(folder.path(u"Quorvel.ini"_s)).readString(u"HTML", u"Pasta", u"HELP"_s), u"HELP"_s);
    IniFile ini(folder.path(u"Quorvel.ini"_s));
    try {
        ini.writeString(u"HTML", u"Pasta", u"X"_s);
        ADD_FAILURE() << "a folder was written as a file";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(), u"Unable to write to "_s % folder.path(u"Quorvel.ini"_s));
    }
    EXPECT_TRUE(QFileInfo(folder.path(u"Quorvel.ini"_s)).isDir());
}

// A FIFO would block the program for ever and /dev/zero would fill its
// memory: only regular files are read, and anything else is a file that
// cannot be read, whether it is opened, listed by a project or the settings.
TEST_F(BadInput, FilesThatAreNoRegularFiles)
{
    const QString fifo = folder.path(u"fila.pas"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = folder.path(u"zero.pas"_s);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, zero));
    QFile::link(fifo, folder.path(u"Quorvel.ini"_s));
    folder.writeSource(u"boa.pas"_s, u"//? boa\n"_s);
    const QString fifoProject = folder.path(u"fila.dpr"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifoProject).constData(), 0600), 0);

    for (const QString& path : {fifo, zero, fifoProject}) {
        try {
            core.openFile(path);
            ADD_FAILURE() << "read " << path.toStdString();
        } catch (const QuorvelError& e) {
            EXPECT_EQ(e.message(), u"Cannot read file \""_s % path % u"\". Não é um arquivo comum."_s);
        }
    }
    const QString project = folder.writeSource(u"p.dpr"_s, u"uses B in 'boa.pas', F in 'fila.pas';\n"_s);
    EXPECT_THROW(core.openFile(project), QuorvelError);
    EXPECT_EQ(identifiers(), QStringList{u"boa"_s});
    EXPECT_EQ(IniFile(folder.path(u"Quorvel.ini"_s)).readString(u"HTML", u"Pasta", u"HELP"_s), u"HELP"_s);
}

// Nothing after the first NUL is part of the text, so nothing after it is read.
TEST_F(BadInput, ReadingStopsAtTheFirstNul)
{
    QByteArray bytes = "//? antes\r\n";
    bytes += '\0';
    bytes += QByteArray(1 << 20, 'x');
    QByteArray read;
    SourceText::readFile(folder.write(u"nul.pas"_s, bytes), read);
    EXPECT_EQ(read, QByteArray("//? antes\r\n"));
}

TEST_F(BadInput, ASettingsFileOf100Megabytes)
{
    QByteArray big = "[HTML]\r\nPasta=AJUDA\r\n[lixo]\r\n";
    const QByteArray filler = "chave=" + QByteArray(90, 'v') + "\r\n";
    while (big.size() < 100 * 1024 * 1024)
        big += filler;
    const QString file = folder.write(u"Quorvel.ini"_s, big);
    IniFile ini(file);
    EXPECT_EQ(ini.readString(u"HTML", u"Pasta", {}), u"AJUDA"_s);
    ini.writeString(u"HTML", u"Versao", u"2"_s);
    QByteArray expected = big;
    expected.replace(0, 21, "[HTML]\r\nPasta=AJUDA\r\nVersao=2\r\n");
    EXPECT_EQ(readBytes(file), expected);
}

TEST_F(BadInput, ColourTextsOfOneCharacter)
{
    folder.write(u"Quorvel.ini"_s, "[FormatoHTML]\r\nclFundoCab=7\r\n");
    OptionsState options;
    try {
        options.load(IniFile(folder.path(u"Quorvel.ini"_s)), u"v1.1"_s);
        ADD_FAILURE() << "a one-digit colour converted";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(), u"'$' is not a valid integer value"_s);
    }
    // The site never converts colours: it writes the text as it stands.
    ASSERT_TRUE(core.runHtml());
    EXPECT_TRUE(readBytes(folder.path(u"HELP/cabecalho.htm"_s)).contains("background-color: #7\""));
}

TEST_F(BadInput, ASiteOnAFullDiskKeepsEveryPageWhole)
{
    SmallFileSystem disk(96);
    REQUIRE_FOR_TEST(disk.isMounted(), "mounting a small tmpfs needs root");
    core.setProgramFolder(disk.path(QString()) % u'/');
    for (int u = 0; u < 40; ++u)
        core.identifiers().append(
            IdentifierRow{u"U%1"_s.arg(u), u"Ajuda"_s, {}, u"Help"_s, QString(3000, u'a'), 1});
    // Pages are written on a thread of their own: the first that fails ends
    // the command with its own name and reason.
    try {
        core.runHtml();
        ADD_FAILURE() << "a full disk went unnoticed";
    } catch (const QuorvelError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Cannot create file \""_s % disk.path(u"HELP/"_s)))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().endsWith(u".htm\". No space left on device"_s)) << e.message().toStdString();
    }
    // Every page that exists is whole: it ends with the closing line.
    int pages = 0;
    for (const QFileInfo& unit :
         QDir(disk.path(u"HELP"_s)).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QFileInfo& page : QDir(unit.filePath()).entryInfoList(QDir::Files)) {
            EXPECT_TRUE(readBytes(page.filePath()).endsWith("</html>\r\n")) << page.filePath().toStdString();
            ++pages;
        }
    }
    EXPECT_GT(pages, 0);
    // No temporary file is left behind, at the top or in a unit's folder.
    QDirIterator every(disk.path(u"HELP"_s), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (every.hasNext()) {
        const QString file = every.next();
        EXPECT_TRUE(file.endsWith(u".htm"_s)) << file.toStdString();
    }
}

TEST_F(BadInput, ASiteOnAReadOnlyFileSystem)
{
    const QString target = folder.path(u"somente-leitura"_s);
    QDir().mkpath(target);
    // A settings file beside the program keeps it portable: the site goes
    // into its read-only folder.
    folder.write(u"somente-leitura/Quorvel.ini"_s, "[HTML]\r\n");
    QProcess mount;
    mount.start(u"mount"_s, {u"--bind"_s, u"-o"_s, u"ro"_s, target, target});
    if (!mount.waitForFinished(10000) || mount.exitCode() != 0)
        REQUIRE_FOR_TEST(false, "a read-only bind mount needs root");
    QProcess remount;
    remount.start(u"mount"_s, {u"-o"_s, u"remount,ro,bind"_s, target});
    remount.waitForFinished(10000);
    core.setProgramFolder(target % u'/');
    core.identifiers().append(IdentifierRow{u"U"_s, u"Ajuda"_s, {}, u"Help"_s, u"x"_s, 1});
    try {
        core.runHtml();
        ADD_FAILURE() << "the site was written on a read-only file system";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(), u"Cannot create folder \""_s % target % u"/HELP\". Read-only file system"_s);
    }
    QProcess umount;
    umount.start(u"umount"_s, {target});
    umount.waitForFinished(10000);
}

TEST_F(BadInput, TheServerKilledBetweenTwoDescriptions)
{
    REQUIRE_FOR_TEST(!qEnvironmentVariableIsEmpty("QUORVEL_TEST_MYSQL_HOST"),
                     "no test server: run scripts/test, which starts one");
    // A server of this test's own, to kill.
    const QString dir = folder.path(u"db"_s);
    QProcess start;
    start.start(QStringLiteral(QUORVEL_SOURCE_DIR "/scripts/test-database"), {u"start"_s, dir});
    ASSERT_TRUE(start.waitForFinished(120000));
    ASSERT_EQ(start.exitCode(), 0) << start.readAllStandardError().toStdString();
    const QString port = QString::fromUtf8(start.readAllStandardOutput())
                             .section(u"QUORVEL_TEST_MYSQL_PORT="_s, 1)
                             .section(u'\n', 0, 0);

    Session described(prompts);
    described.settings.setSettingsFile(folder.path(u"Quorvel.ini"_s));
    described.tables.answerTables(TableDialogue::TableAnswer::AllTables);
    described.tables.configureConnection({{u"HostName"_s, u"127.0.0.1:"_s % port},
                                          {u"Database"_s, u"camara"_s},
                                          {u"User_Name"_s, u"docsreader"_s},
                                          {u"Password"_s, u"docsreader"_s}});
    described.opening.openFile(folder.writeSource(u"a.pas"_s, u"//# clientes\n//* antes\nx;\n"_s));
    EXPECT_TRUE(described.identifiers.row(0).help.contains(u"2 campos na tabela. ;)"_s));

    QProcess::execute(u"sh"_s, {u"-c"_s, u"kill -9 $(cat '"_s % dir % u"/pid')"_s});
    prompts.expect(Topic::TableNotice, Answer::Ok);
    prompts.expect(Topic::TableNotice, Answer::Ok);
    described.opening.openFile(folder.writeSource(u"b.pas"_s, u"//# clientes\n//* depois\nx;\n"_s));
    ASSERT_EQ(described.identifiers.rowCount(), 2);
    EXPECT_EQ(prompts.questions.last().text, u"Erro ao acessar a tabela : [clientes]"_s);
    QStringList helps;
    for (int i = 0; i < 2; ++i)
        helps.append(described.identifiers.row(i).help.left(6));
    EXPECT_TRUE(helps.contains(u"depois"_s));
    QProcess stop;
    stop.start(QStringLiteral(QUORVEL_SOURCE_DIR "/scripts/test-database"), {u"stop"_s, dir});
    stop.waitForFinished(60000);
}

// A failure the user is meant to read carries its text; a programming error
// or an exhausted machine reaches the user in Portuguese, never as the raw
// English of what().
TEST(ErrorText, OnlyAQuorvelErrorShowsItsOwnText)
{
    EXPECT_EQ(textForUser(QuorvelError(u"Cannot create file \"x\". É uma pasta."_s)),
              u"Cannot create file \"x\". É uma pasta."_s);
    EXPECT_EQ(textForUser(std::bad_alloc()), u"Não há memória suficiente para concluir o comando."_s);
    const QString internal = textForUser(std::logic_error("UnitFeed: a unit came before its turn"));
    EXPECT_TRUE(internal.startsWith(u"Um erro interno interrompeu o comando."_s)) << internal.toStdString();
    EXPECT_FALSE(internal.contains(u"UnitFeed"_s));
}

// Any name the file system accepts can be written, however long: the file is
// written under a short temporary name of its own before it takes its name.
TEST_F(BadInput, TheLongestLegalFileNameIsWritten)
{
    QDir().mkpath(folder.path(u"longo"_s));
    const QString name = folder.path(u"longo/"_s % QString(251, u'd') % u".rtf"_s);
    ASSERT_EQ(QFileInfo(name).fileName().size(), 255);
    const Outcome written = AtomicFile::tryWrite(name, "{\\rtf1}");
    EXPECT_TRUE(written) << written.reason().toStdString();
    EXPECT_EQ(readBytes(name), QByteArray("{\\rtf1}"));
    EXPECT_EQ(QDir(folder.path(u"longo"_s)).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

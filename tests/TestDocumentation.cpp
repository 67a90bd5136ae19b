#include "app/BatchMode.h"
#include "app/QuorvelCore.h"
#include "common/QuorvelError.h"
#include "output/RtfWriter.h"
#include "table/IdentifierTable.h"
#include "tests/support/Required.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The paragraphs of an RTF file as unrtf, a reader we did not write, sees them.
QStringList readWithUnrtf(const QString& file)
{
    QProcess unrtf;
    unrtf.start(u"unrtf"_s, {u"--html"_s, file});
    EXPECT_TRUE(unrtf.waitForFinished(30000));
    EXPECT_EQ(unrtf.exitCode(), 0) << unrtf.readAllStandardError().toStdString();
    QTextDocument document;
    document.setHtml(QString::fromUtf8(unrtf.readAllStandardOutput()));
    QString text = document.toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator));
    return text.split(QChar(QChar::LineSeparator));
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Documentation : public ::testing::Test
{
protected:
    void SetUp() override { core.setSettingsFile(settings); }

    void add(const QString& unit, const QString& identifier, const QString& kind, const QString& help,
             int line)
    {
        core.identifiers().append(IdentifierRow{unit, identifier, QString(), kind, help, line});
    }

    void options(const QByteArray& values) { folder.write(u"Quorvel.ini"_s, "[opcoes]\r\n" + values); }

    // One row of each kind in unit A, all excluded rows in unit B.
    void everyKind()
    {
        add(u"A"_s, u"Ajuda"_s, u"Help"_s, u"geral"_s, 1);
        add(u"A"_s, u"Linha (2)"_s, u"Coment.Órfão"_s, u"órfão"_s, 2);
        add(u"A"_s, u"clientes"_s, u"Tabela MySQL"_s, u"tabela"_s, 3);
        add(u"A"_s, u"function F: integer;"_s, u" integer"_s, u"função"_s, 4);
        add(u"A"_s, u"procedure P;"_s, QString(), u"proc"_s, 5);
        add(u"A"_s, QString(), QString(), u"sem cabeçalho"_s, 6);
        add(u"A"_s, u"PROCEDURE Q;"_s, QString(), u"maiúsculas"_s, 7);
        add(u"A"_s, u"functional"_s, QString(), u"não é rotina"_s, 8);
        add(u"B"_s, u"Linha (9)"_s, u"Coment.Órfão"_s, u"só órfão"_s, 9);
    }

    ScriptedPrompts prompts;
    QuorvelCore core{prompts};
    TestFolder folder;
    QString settings = folder.path(u"Quorvel.ini"_s);
};

} // namespace

TEST_F(Documentation, EachSwitchIncludesItsKind)
{
    everyKind();
    struct Case
    {
        QByteArray settings;
        QStringList identifiers; // the rows of unit A that are included
    };
    const Case cases[] = {
        {"", {u"Ajuda"_s, u"clientes"_s, u"function F: integer;"_s, u"procedure P;"_s, u"PROCEDURE Q;"_s}},
        {"COrfaos=1\r\nAjudaGeral=0\r\nMySQL=0\r\nProcFunc=0\r\n", {u"Linha (2)"_s}},
        {"COrfaos=0\r\nAjudaGeral=1\r\nMySQL=0\r\nProcFunc=0\r\n", {u"Ajuda"_s}},
        {"COrfaos=0\r\nAjudaGeral=0\r\nMySQL=1\r\nProcFunc=0\r\n", {u"clientes"_s}},
        {"COrfaos=0\r\nAjudaGeral=0\r\nMySQL=0\r\nProcFunc=1\r\n",
         {u"function F: integer;"_s, u"procedure P;"_s, u"PROCEDURE Q;"_s}},
    };
    core.setColumnOrder({IdentifierTable::IdentifierLine});
    core.gridTitleClicked();
    for (const Case& c : cases) {
        options(c.settings);
        core.buildDocument();
        const QStringList doc = core.documentLines();
        QStringList expected{u"Unit A;"_s, u""_s};
        for (const QString& id : c.identifiers) {
            for (int r = 0; r < core.identifiers().rowCount(); ++r) {
                if (core.identifiers().row(r).identifier == id)
                    expected << id << core.identifiers().row(r).help << u""_s;
            }
        }
        expected << (c.settings.startsWith("COrfaos=1")
                         ? QStringList{u"Unit B;"_s, u""_s, u"Linha (9)"_s, u"só órfão"_s, u""_s}
                         : QStringList{u"Unit B;"_s, u""_s});
        EXPECT_EQ(doc, expected) << c.settings.toStdString();
    }
    // The cursor is left on the last row.
    EXPECT_EQ(core.identifiers().cursor(), core.identifiers().rowCount() - 1);
}

TEST_F(Documentation, RunsOfAUnitAndParagraphsOfTheHelp)
{
    add(u"U1"_s, u"procedure A;"_s, QString(), u"um\r\ndois\r\n"_s, 1);
    add(u"U2"_s, u"procedure B;"_s, QString(), QString(), 2);
    add(u"U1"_s, u"clientes"_s, u"Tabela MySQL"_s, u"nota\r\rdescrição\r\n+--+\r\n"_s, 3);
    core.setColumnOrder({IdentifierTable::IdentifierLine});
    core.gridTitleClicked();
    core.buildDocument();
    EXPECT_EQ(core.documentLines(),
              (QStringList{u"Unit U1;"_s, u""_s, u"procedure A;"_s, u"um"_s,   u"dois"_s,
                           u""_s,         u""_s, u"Unit U2;"_s,     u""_s,     u"procedure B;"_s,
                           u""_s,         u""_s, u"Unit U1;"_s,     u""_s,     u"clientes"_s,
                           u"nota"_s,     u""_s, u"descrição"_s,    u"+--+"_s, u""_s,
                           u""_s}));

    core.identifiers().clear();
    core.buildDocument();
    EXPECT_TRUE(core.documentLines().isEmpty());
}

TEST_F(Documentation, TheFileReadsBackInAnotherReader)
{
    everyKind();
    add(u"C"_s, u"procedure Chaves;"_s, QString(),
        u"{chaves} \\barra\\ ação € “aspas” …\r\nsegundo parágrafo\rNBSP\u00A0fim"_s, 10);
    core.buildDocument();
    const QString file = folder.path(u"doc.rtf"_s);
    RtfWriter::save(core.documentLines(), file);
    const QByteArray bytes = readBytes(file);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_TRUE(bytes.contains("Courier New"));
    EXPECT_TRUE(bytes.contains("\\fs16"));
    EXPECT_TRUE(bytes.contains("a\\'e7\\'e3o \\'80 \\'93aspas\\'94 \\'85"));
    EXPECT_TRUE(bytes.contains("\\{chaves\\} \\\\barra\\\\"));
    EXPECT_EQ(readWithUnrtf(file), core.documentLines());
    EXPECT_EQ(RtfWriter::toRtf({u"a\tb"_s, u"\U0001F600"_s}).count("\\tab "), 1);
}

TEST_F(Documentation, ControlCharactersAreKeptAsCodePageEscapes)
{
    const QString help = u"vt\vff\fum\u0001fs\u001Cgs\u001Drs\u001Edel\u007F"_s;
    const QByteArray rtf = RtfWriter::toRtf({help});
    EXPECT_TRUE(rtf.contains("vt\\'0bff\\'0cum\\'01fs\\'1cgs\\'1drs\\'1edel\\'7f")) << rtf.toStdString();
    for (const char c : rtf)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\r' || c == '\n') << int(c);
}

TEST_F(Documentation, SavingAddsTheExtensionAndKeepsTheName)
{
    add(u"U"_s, u"procedure A;"_s, QString(), u"a"_s, 1);
    core.buildDocument();
    struct Case
    {
        QString chosen;
        QString written;
    };
    const Case cases[] = {
        {u"doc"_s, u"doc.rtf"_s},
        {u"doc.rtf"_s, u"doc.rtf"_s},
        {u"doc.RTF"_s, u"doc.RTF.rtf"_s},
        {u"pasta.v2/doc"_s, u"pasta.v2/doc.rtf"_s},
    };
    QDir().mkpath(folder.path(u"pasta.v2"_s));
    for (const Case& c : cases) {
        prompts.expectFile(folder.path(c.chosen));
        EXPECT_EQ(core.runSave(), folder.path(c.written));
        EXPECT_TRUE(QFile::exists(folder.path(c.written))) << c.written.toStdString();
    }
    EXPECT_EQ(prompts.dialogTitles.last(), u"Salvar arquivo de ajuda ..."_s);
    EXPECT_EQ(prompts.dialogFilters.last(), QStringList{u"Rich Text Format (*.rtf)"_s});
    EXPECT_EQ(prompts.saveSuggestions,
              (QStringList{QString(), folder.path(u"doc.rtf"_s), folder.path(u"doc.rtf"_s),
                           folder.path(u"doc.RTF.rtf"_s)}));
    prompts.expectFile(std::nullopt);
    EXPECT_EQ(core.runSave(), std::nullopt);

    // Saving before any build writes a document without text.
    QuorvelCore fresh(prompts);
    prompts.expectFile(folder.path(u"vazio"_s));
    fresh.runSave();
    EXPECT_EQ(readWithUnrtf(folder.path(u"vazio.rtf"_s)).join(QString()), QString());
}

TEST_F(Documentation, AFailedSaveNamesTheFileAndKeepsTheOldOne)
{
    add(u"U"_s, u"procedure A;"_s, QString(), QString(5000, u'x'), 1);
    core.buildDocument();
    folder.write(u"arquivo"_s, "um arquivo, não uma pasta");
    const QString impossible = folder.path(u"arquivo/doc.rtf"_s);
    prompts.expectFile(impossible);
    try {
        core.runSave();
        ADD_FAILURE() << "the save did not fail";
    } catch (const QuorvelError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Cannot create file \""_s % impossible % u"\". "_s))
            << e.message().toStdString();
    }
    EXPECT_EQ(core.documentLines().size(), 5);

    SmallFileSystem disk(8);
    REQUIRE_FOR_TEST(disk.isMounted(), "mounting a small tmpfs needs root");
    const QString file = disk.path(u"doc.rtf"_s);
    const QByteArray old = QByteArray(5000, 'o');
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(old);
    }
    prompts.expectFile(file);
    EXPECT_THROW(core.runSave(), QuorvelError);
    EXPECT_EQ(readBytes(file), old);
}

TEST_F(Documentation, BatchModeWritesTheDocument)
{
    const QString unit = folder.writeSource(u"u.pas"_s, u"unit U;\n//@ Soma\nfunction Soma: integer;\n"_s);
    auto run = [&](const QString& rtf) {
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        return BatchMode::run({u"Quorvel"_s, u"--settings"_s, settings, u"--rtf"_s, rtf, unit}, out, err);
    };
    EXPECT_EQ(run(folder.path(u"saida"_s)), 0);
    EXPECT_EQ(readWithUnrtf(folder.path(u"saida.rtf"_s)),
              (QStringList{u"Unit U;"_s, u""_s, u"function Soma: integer;"_s, u"Soma"_s, u""_s}));
    folder.write(u"bloqueio"_s, "arquivo");
    EXPECT_EQ(run(folder.path(u"bloqueio/saida.rtf"_s)), 4);
}

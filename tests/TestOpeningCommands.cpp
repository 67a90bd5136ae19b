#include "app/QuorvelCore.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"
#include "table/IdentifierTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TableRows.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class Opening : public ::testing::Test
{
protected:
    QStringList identifiers() const { return identifiersOf(core.identifiers()); }

    ScriptedPrompts prompts;
    QuorvelCore core{prompts};
    TestFolder folder;
};

} // namespace

TEST_F(Opening, ProjectHarvestsItsUnitsInOrderWithTheirTrace)
{
    folder.writeSource(u"proj/UPrincipal.pas"_s, u"//? principal\n"_s);
    folder.writeSource(u"proj/UDados.pas"_s, u"//? dados\n"_s);
    const QString dpr =
        folder.writeSource(u"proj/Projeto.dpr"_s, u"program Projeto;\n"
                                                  u"//? do programa\n"
                                                  u"uses\n"
                                                  u"  Forms,\n"
                                                  u"  UPrincipal in 'UPrincipal.pas',\n"
                                                  u"  UDados in 'UDados.pas' {DataModule1: TDataModule};\n"
                                                  u"begin\n"
                                                  u"  Application.Title := 'Título';\n"
                                                  u"end.\n"_s);
    core.setColumnOrder({IdentifierTable::IdentifierLine});
    core.openFile(dpr);
    // The program's own marked comment is documented too, named by its heading.
    EXPECT_EQ(identifiers(), (QStringList{u"principal"_s, u"dados"_s, u"do programa"_s}));
    EXPECT_EQ(core.identifiers().row(2).unit, u"Projeto"_s);
    EXPECT_TRUE(prompts.messages.isEmpty());

    const QStringList trace = core.traceLog().lines();
    ASSERT_GE(trace.size(), 4);
    EXPECT_EQ(trace[0], u"DPR ret(1) : \"program\""_s);
    EXPECT_TRUE(trace.contains(u"DPR ret(53) : \"do programa\""_s));
    EXPECT_TRUE(trace.contains(u"DPR ret(12) : \"'UPrincipal.pas'\""_s));
    const qsizetype firstUnitLine = trace.indexOf(u"PAS ret(53) : \"principal\""_s);
    const qsizetype secondUnitLine = trace.indexOf(u"PAS ret(53) : \"dados\""_s);
    EXPECT_GT(firstUnitLine, trace.indexOf(u"DPR ret(-1) : \"eof\""_s));
    EXPECT_GT(secondUnitLine, firstUnitLine);
    EXPECT_EQ(prompts.progressFiles.size(), 2);
    EXPECT_EQ(prompts.progressEnds, 1);
}

TEST_F(Opening, UnitPathsMatchFoldersAndLetterCaseAndRepeat)
{
    folder.writeSource(u"p/Fontes/UClientes.PAS"_s, u"//? clientes\n"_s);
    folder.writeSource(u"p/sub/UUtil.pas"_s, u"//? util\n"_s);
    folder.writeSource(u"p/outro.txt"_s, u"//? não é unit\n"_s);
    const QString dpr = folder.writeSource(u"p/P.dpr"_s, u"uses\n"
                                                         u"  UClientes in 'fontes\\UClientes.PAS',\n"
                                                         u"  UUtil in 'SUB/uutil.pas',\n"
                                                         u"  Outro in 'outro.txt',\n"
                                                         u"  UUtil in 'sub\\UUtil.pas',\n"
                                                         u"  Falta in 'falta.pas',\n"
                                                         u"  Falta2 in 'nada\\falta.pas';\n"_s);
    // The current directory plays no part.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    core.openFile(dpr);
    QDir::setCurrent(before);
    EXPECT_EQ(identifiers(), (QStringList{u"clientes"_s, u"util"_s, u"util"_s}));
    EXPECT_EQ(prompts.messages, (QStringList{u"O arquivo indicado não pôde ser aberto."_s,
                                             u"O arquivo indicado não pôde ser aberto."_s}));
}

TEST_F(Opening, ResolvingPrefersTheExactNameThenByteOrder)
{
    folder.write(u"r/UNIT.pas"_s, "");
    folder.write(u"r/Unit.pas"_s, "");
    const QString base = folder.path(u"r"_s);
    EXPECT_EQ(UnitPath::resolve(base, u"unit.pas"_s), base % u"/UNIT.pas"_s);
    EXPECT_EQ(UnitPath::resolve(base, u"Unit.pas"_s), base % u"/Unit.pas"_s);
    folder.write(u"r/unit.pas"_s, "");
    EXPECT_EQ(UnitPath::resolve(base, u"unit.pas"_s), base % u"/unit.pas"_s);
    EXPECT_EQ(UnitPath::resolve(base, u"nada.pas"_s), base % u"/nada.pas"_s);

    EXPECT_EQ(UnitPath::extension(u"a/b.c/d"_s), u""_s);
    EXPECT_EQ(UnitPath::extension(u"a\\b.c\\d.PAS"_s), u".PAS"_s);
    EXPECT_EQ(UnitPath::extension(u"x.tar.dpr"_s), u".dpr"_s);
}

TEST_F(Opening, AProjectsExtensionCountsInAnyLetterCase)
{
    const QString source = u"//? no projeto\nuses X in 'x.pas';\n"_s;
    folder.writeSource(u"x.pas"_s, u"//? unit x\n"_s);
    core.openFile(folder.writeSource(u"a.dpr"_s, source));
    // The program file's own comment too, named after the file: no heading.
    EXPECT_EQ(identifiers(), (QStringList{u"unit x"_s, u"no projeto"_s}));
    EXPECT_EQ(core.identifiers().row(1).unit, u"a"_s);
    core.identifiers().clear();
    core.openFile(folder.writeSource(u"b.DPR"_s, source));
    EXPECT_EQ(identifiers(), (QStringList{u"unit x"_s, u"no projeto"_s}));
    core.identifiers().clear();
    core.openFile(folder.writeSource(u"c.dpr"_s, u"program Vazio;\nbegin\nend.\n"_s));
    EXPECT_TRUE(identifiers().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(Opening, OpenAndNewWithTheDialog)
{
    const QString a = folder.writeSource(u"a.pas"_s, u"//? a\n"_s);
    const QString b = folder.writeSource(u"b.pas"_s, u"//? b\n"_s);

    prompts.expectFile(a);
    core.runOpen();
    EXPECT_EQ(prompts.dialogTitles.last(), u"Projeto a ser documentado ..."_s);
    // The two filters of old first, then every project kind and every unit kind.
    EXPECT_EQ(prompts.dialogFilters.last().size(), 4);
    EXPECT_TRUE(prompts.dialogFilters.last()[0].contains(u"(*.dpr)"_s));
    EXPECT_TRUE(prompts.dialogFilters.last()[1].contains(u"(*.pas)"_s));
    EXPECT_TRUE(prompts.dialogFilters.last()[2].contains(u"*.lpi"_s));
    EXPECT_TRUE(prompts.dialogFilters.last()[3].contains(u"*.pp"_s));

    // Cancelling changes nothing, not even the trace.
    const QStringList trace = core.traceLog().lines();
    prompts.expectFile(std::nullopt);
    core.runOpen();
    EXPECT_EQ(core.traceLog().lines(), trace);

    prompts.expectFile(b);
    core.runOpen();
    EXPECT_EQ(identifiers(), (QStringList{u"a"_s, u"b"_s}));

    prompts.expectFile(b);
    core.runNew();
    EXPECT_EQ(identifiers(), (QStringList{u"b"_s}));

    prompts.expectFile(std::nullopt);
    core.runNew();
    EXPECT_TRUE(identifiers().isEmpty());
    EXPECT_TRUE(core.documentLines().isEmpty());
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(Opening, AMissingChosenFileStillAppliesTheOrdering)
{
    core.identifiers().append(IdentifierRow{u"B"_s, u"b"_s, {}, {}, {}, 1});
    core.identifiers().append(IdentifierRow{u"A"_s, u"a"_s, {}, {}, {}, 2});
    core.setColumnOrder({IdentifierTable::IdentifierLine});
    prompts.expectFile(folder.path(u"nada.pas"_s));
    core.runOpen();
    EXPECT_EQ(prompts.messages, (QStringList{u"O arquivo indicado não pôde ser aberto."_s}));
    EXPECT_EQ(identifiers(), (QStringList{u"b"_s, u"a"_s}));
}

TEST_F(Opening, StandingAnswersSurviveNew)
{
    const QString a = folder.writeSource(u"a.pas"_s, u"//* órfão\n"_s);
    prompts.expect(Topic::OrphanComment, Answer::Yes);
    prompts.expectFile(a);
    core.runOpen();
    prompts.expectFile(a);
    core.runNew();
    EXPECT_EQ(prompts.questions.size(), 1); // the orphan opened again: no question
    EXPECT_EQ(core.identifiers().rowCount(), 1);
}

TEST_F(Opening, AFileThatCannotBeReadEndsTheCommandKeepingEarlierRows)
{
    // Even root cannot read this file: the kernel answers every read with EIO.
    folder.writeSource(u"ok.pas"_s, u"//? antes\n"_s);
    ASSERT_TRUE(QFile::link(u"/proc/self/mem"_s, folder.path(u"ruim.pas"_s)));
    folder.writeSource(u"depois.pas"_s, u"//? depois\n"_s);
    const QString dpr =
        folder.writeSource(u"p.dpr"_s, u"uses A in 'ok.pas', B in 'ruim.pas', C in 'depois.pas';\n"_s);
    EXPECT_THROW(core.openFile(dpr), QuorvelError);
    EXPECT_EQ(prompts.progressEnds, 1); // no progress dialog left behind the error box
    EXPECT_EQ(identifiers(), (QStringList{u"antes"_s}));
    try {
        core.openFile(folder.path(u"ruim.pas"_s));
    } catch (const QuorvelError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Cannot read file \""_s)) << e.message().toStdString();
    }
}

TEST_F(Opening, CellClickPutsTheValueInTheCellText)
{
    EXPECT_EQ(core.cellText(), u"Memo2"_s);
    core.identifiers().append(IdentifierRow{u"U"_s, u"x"_s, u"n"_s, {}, {}, 42});
    core.gridCellClicked(0, IdentifierTable::IdentifierLine);
    EXPECT_EQ(core.cellText(), u"42"_s);
    core.gridCellClicked(0, IdentifierTable::Unit);
    EXPECT_EQ(core.cellText(), u"U"_s);
}

// A Cancel during a project's opening stops the harvest after the unit being
// read: the rows before stay, in the table's ordering, and the command ends.
TEST_F(Opening, CancelKeepsTheRowsBeforeIt)
{
    folder.writeSource(u"a.pas"_s, u"unit UA;\n//? a\n"_s);
    folder.writeSource(u"b.pas"_s, u"unit UB;\n//? b\n"_s);
    folder.writeSource(u"c.pas"_s, u"unit UC;\n//? c\n"_s);
    const QString project =
        folder.writeSource(u"p.dpr"_s, u"uses C in 'c.pas', A in 'a.pas', B in 'b.pas';\n"_s);
    core.setColumnOrder({IdentifierTable::Unit});
    prompts.cancelAfter(2); // pressed while the first unit was read
    core.openFile(project);
    EXPECT_EQ(identifiers(), QStringList{u"c"_s});
    EXPECT_TRUE(core.openingCancelled());
    EXPECT_EQ(prompts.progressEnds, 1);

    // The next opening runs in full.
    prompts.cancelAfter(-1);
    core.openFile(project);
    EXPECT_FALSE(core.openingCancelled());
    EXPECT_EQ(identifiers(), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"c"_s}));
}

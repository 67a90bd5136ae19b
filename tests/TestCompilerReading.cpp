// Projects read as the compiler reads them: units found by name in the
// project's folders, the units they use in turn, {$I} files in place, and
// the routines a unit offers that nothing documents.
#include "app/BatchMode.h"
#include "app/QuorvelCore.h"
#include "harvest/DocumentationCheck.h"
#include "harvest/SourceReferences.h"
#include "table/IdentifierTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString usedUnits(const QString& source)
{
    QStringList out;
    for (const SourceReferences::UsedUnit& unit : SourceReferences::scan(source).units)
        out.append(unit.name % (unit.inFile.isEmpty() ? QString() : u'=' % unit.inFile) % u'@' %
                   QString::number(unit.line));
    return out.join(u' ');
}

QString includes(const QString& source)
{
    QStringList out;
    for (const SourceReferences::Include& include : SourceReferences::scan(source).includes)
        out.append(include.name % u'@' % QString::number(include.line));
    return out.join(u' ');
}

} // namespace

TEST(SourceReferences, UsesClausesAsTheCompilerReadsThem)
{
    struct Case
    {
        QString source;
        QString units;
    };
    const Case cases[] = {
        {u"unit A; interface uses Classes, SysUtils; implementation uses B; end."_s,
         u"Classes@1 SysUtils@1 B@1"_s},
        {u"program P;\r\nUSES\r\n  Forms,\r\n  uMain in 'src\\uMain.pas' {frmMain},\r\n  System.UITypes;"_s,
         u"Forms@3 uMain=src\\uMain.pas@4 System.UITypes@5"_s},
        // Comments and literals hide the word; &uses is an identifier.
        {u"{ uses A; } (* uses B; *) // uses C;\r\nx := 'uses D;'; &uses := 1;"_s, QString()},
        {u"uses {$IFDEF WINDOWS} Windows, {$ENDIF} Unix { comment } , Baz;"_s, u"Windows@1 Unix@1 Baz@1"_s},
        {u"package P; requires rtl; contains UA in 'UA.pas', UB;"_s, u"UA=UA.pas@1 UB@1"_s},
        {u"uses"_s, QString()},
        {u"uses A."_s, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(usedUnits(c.source), c.units) << c.source.toStdString();
}

TEST(SourceReferences, IncludeDirectivesButNotSwitches)
{
    struct Case
    {
        QString source;
        QString found;
    };
    const Case cases[] = {
        {u"{$I defs.inc}\r\n{$INCLUDE other}\r\n{$i 'with space.inc'}"_s,
         u"defs.inc@1 other@2 with space.inc@3"_s},
        {u"{$I+} {$I-} {$IFDEF X} {$I %DATE%} {$INCLUDE}"_s, QString()},
        {u"(*$I old.inc*)\r\n// {$I comment.inc}\r\ns := '{$I literal.inc}';"_s, u"old.inc@1"_s},
        {u"{$I unterminated.inc"_s, u"unterminated.inc@1"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(includes(c.source), c.found) << c.source.toStdString();
}

TEST(DocumentationCheck, TheRoutinesAUnitOffers)
{
    const QString unit = uR"(unit U;
interface
type
  TProc = procedure(X: Integer);
  TRef = reference to procedure;
  TForward = class;
  TMeta = class of TForward;
  EFail = class(Exception);
  IThing = interface
    procedure Hidden;
  end;
  TForm1 = class(TForm)
    Button1: TButton;
    procedure Button1Click(Sender: TObject);
  private
    FOnDone: procedure of object;
    procedure Secret;
  strict private
    procedure VerySecret;
  public
    //@ Creates it.
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    class function Make: TForm1;
    procedure IThing.Hidden = Secret;
    property OnDone: TNotifyEvent read FOnDone;
  published
    function Count: Integer;
  type
    TInner = record
      procedure Reset;
    end;
  end;
  TPoint = packed record
    X, Y: Integer;
    class operator Add(A, B: TPoint): TPoint;
  end;

//@ Documented where declared.
procedure Free(A: Integer); overload;
function Twice(A: Integer): Integer;
implementation
procedure Hidden; begin end;
end.
)"_s;
    QStringList found;
    for (const DocumentationCheck::Declaration& d : DocumentationCheck::offeredRoutines(unit))
        found.append(d.name % u'@' % QString::number(d.line) % (d.marked ? u"*" : u""));
    EXPECT_EQ(found, (QStringList{u"TForm1.Button1Click@14"_s, u"TForm1.Create@22*"_s, u"TForm1.Destroy@23"_s,
                                  u"TForm1.Make@24"_s, u"TForm1.Count@28"_s, u"TForm1.TInner.Reset@31"_s,
                                  u"TPoint.Add@36"_s, u"Free@40*"_s, u"Twice@41"_s}));
    EXPECT_TRUE(
        DocumentationCheck::offeredRoutines(u"program P; procedure X; begin end; begin end."_s).empty());
}

namespace {

class CompilerReading : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core.setSettingsFile(folder.path(u"Quorvel.ini"_s));
        core.answerTables(QuorvelCore::TableAnswer::NoTables);
        core.setColumnOrder({IdentifierTable::Unit, IdentifierTable::IdentifierLine});
    }

    // unit|name|line of every row, in table order.
    QStringList rows() const
    {
        QStringList out;
        const IdentifierTable& t = core.identifiers();
        for (int i = 0; i < t.rowCount(); ++i)
            out.append(t.row(i).unit % u'|' % t.row(i).name % u'|' % QString::number(t.row(i).line));
        return out;
    }

    ScriptedPrompts prompts;
    QuorvelCore core{prompts};
    TestFolder folder;
};

// A Lazarus application as Lazarus writes it: the .lpi lists only the
// program; its units stand in a search path, use each other, and keep part
// of their code in include files.
void writeLazarusApplication(const TestFolder& folder)
{
    folder.writeSource(u"app/app.lpi"_s, uR"(<?xml version="1.0" encoding="UTF-8"?>
<CONFIG>
  <ProjectOptions>
    <Units Count="1">
      <Unit0>
        <Filename Value="app.lpr"/>
        <IsPartOfProject Value="True"/>
      </Unit0>
    </Units>
  </ProjectOptions>
  <CompilerOptions>
    <SearchPaths>
      <IncludeFiles Value="$(ProjectOutDir);inc"/>
      <OtherUnitFiles Value="src;$(LazarusDir)/lcl;missing"/>
    </SearchPaths>
  </CompilerOptions>
</CONFIG>
)"_s);
    folder.writeSource(u"app/app.lpr"_s, u"program App;\n"
                                         u"uses\n"
                                         u"  Interfaces, Forms, MainForm;\n"
                                         u"//@ Starts the application.\n"
                                         u"Procedure Run;\n"
                                         u"begin end;\n"
                                         u"begin Run; end.\n"_s);
    folder.writeSource(u"app/src/MainForm.pas"_s, u"unit MainForm;\n"
                                                  u"interface\n"
                                                  u"uses Classes, Helpers;\n"
                                                  u"type TMain = class\n"
                                                  u"  Constructor Create;\n"
                                                  u"end;\n"
                                                  u"implementation\n"
                                                  u"uses Helpers;\n"
                                                  u"{$I mainform_impl.inc}\n"
                                                  u"end.\n"_s);
    folder.writeSource(u"app/inc/mainform_impl.inc"_s, u"\n"
                                                       u"//@ Makes the main window.\n"
                                                       u"Constructor TMain.Create;\n"
                                                       u"begin end;\n"
                                                       u"{$I missing_too.inc}\n"_s);
    folder.writeSource(u"app/src/helpers.PP"_s, u"unit Helpers;\n"
                                                u"interface\n"
                                                u"uses MainForm;\n" // a cycle: each harvested once
                                                u"//@ Doubles it.\n"
                                                u"Function Twice(X: Integer): Integer;\n"
                                                u"procedure Undocumented;\n"
                                                u"implementation\n"
                                                u"end.\n"_s);
}

} // namespace

TEST_F(CompilerReading, UnitsInSearchPathsAndIncludeFilesAreHarvested)
{
    writeLazarusApplication(folder);
    prompts.expect(Topic::IncludeMissing, Answer::No);
    core.openFile(folder.path(u"app/app.lpi"_s));
    // A row's line counts the line breaks before its heading.
    EXPECT_EQ(rows(), (QStringList{u"App|Run|4"_s, u"Helpers|Twice|4"_s, u"MainForm|TMain.Create|2"_s}));
    // The include's warning names the include file and its line.
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0].warning.file, folder.path(u"app/inc/mainform_impl.inc"_s));
    EXPECT_EQ(prompts.questions[0].warning.line, 5);
    EXPECT_EQ(prompts.questions[0].warning.text, u"arquivo de inclusão não encontrado: missing_too.inc"_s);
    const HarvestReport& report = core.harvestReport();
    EXPECT_EQ(report.unitsRead, 3);
    EXPECT_EQ(report.includesRead, 1);
    EXPECT_EQ(report.unitsNotFound, (QStringList{u"interfaces"_s, u"forms"_s, u"classes"_s}));
}

TEST_F(CompilerReading, AnIncludeThatIncludesItselfStops)
{
    folder.writeSource(u"u.pas"_s, u"unit U;\n{$I loop.inc}\n"_s);
    folder.writeSource(u"loop.inc"_s, u"//? Loop\n{$I loop.inc}\n"_s);
    prompts.expect(Topic::IncludeMissing, Answer::Yes);
    core.openFile(folder.path(u"u.pas"_s));
    // Each level harvested once, up to the deepest allowed, then one warning.
    EXPECT_EQ(core.identifiers().rowCount(), 16);
    EXPECT_TRUE(prompts.questions[0].warning.text.contains(u"inclui a si mesmo"_s));
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(CompilerReading, ADelphiProgramFindsItsUnitsWithoutAPathAndWarnsWhereItNamesAMissingOne)
{
    folder.writeSource(u"p/Prog.DPR"_s, u"program Prog;\n"
                                        u"uses\n"
                                        u"  SysUtils,\n"
                                        u"  UFound,\n"
                                        u"  UGone in 'UGone.pas';\n"
                                        u"begin end.\n"_s);
    folder.writeSource(u"p/ufound.pas"_s, u"unit UFound;\n//? Found\n"_s);
    core.openFile(folder.path(u"p/Prog.DPR"_s));
    EXPECT_EQ(rows(), (QStringList{u"UFound|Help Found|2"_s}));
    ASSERT_EQ(prompts.messageWarnings.size(), 1);
    EXPECT_EQ(prompts.messageWarnings[0].file, folder.path(u"p/Prog.DPR"_s));
    EXPECT_EQ(prompts.messageWarnings[0].line, 5);
    EXPECT_EQ(core.harvestReport().unitsNotRead, 1);
}

namespace {

struct BatchRun
{
    int status;
    QStringList lines;
};

BatchRun runBatch(const QStringList& args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = BatchMode::run(QStringList{u"Quorvel"_s} + args, out, err);
    return {status, QString::fromUtf8(err.data()).split(u'\n', Qt::SkipEmptyParts)};
}

} // namespace

TEST_F(CompilerReading, CheckListsWarningsAndUndocumentedRoutinesForAPipeline)
{
    writeLazarusApplication(folder);
    const QString project = folder.path(u"app/app.lpi"_s);
    const BatchRun run = runBatch({u"--check"_s, u"--verbose"_s, project});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(
        run.lines,
        (QStringList{
            folder.path(u"app/inc/mainform_impl.inc"_s) %
                u":5: aviso: arquivo de inclusão não encontrado: missing_too.inc"_s,
            folder.path(u"app/src/helpers.PP"_s) % u":6: aviso: rotina sem documentação: Undocumented"_s,
            u"Units usadas fora das pastas do projeto, não lidas (3): interfaces, forms, classes."_s,
            u"Resumo: 3 units lidas, 1 arquivo de inclusão; 3 linhas (3 rotinas, 0 helps, 0 tabelas, "
            u"0 órfãos, 0 outras); 1 aviso; 0 units do projeto não lidas; 1 rotina sem documentação."_s}));

    // Everything documented: nothing to report.
    folder.writeSource(u"clean.pas"_s,
                       u"unit Clean;\ninterface\n//@ Ok.\nprocedure P;\nimplementation\nend.\n"_s);
    const BatchRun clean = runBatch({u"--check"_s, folder.path(u"clean.pas"_s)});
    EXPECT_EQ(clean.status, 0);
    ASSERT_EQ(clean.lines.size(), 1);
    EXPECT_TRUE(clean.lines[0].endsWith(u"0 rotinas sem documentação."_s)) << clean.lines[0].toStdString();
}

// The menu names each unit with its own file's extension.
TEST_F(CompilerReading, TheSiteMenuShowsEachUnitsExtension)
{
    writeLazarusApplication(folder);
    const QString site = folder.path(u"site"_s);
    const BatchRun run = runBatch({u"--settings"_s, folder.path(u"Quorvel.ini"_s), u"--html"_s, u"--output"_s,
                                   site, folder.path(u"app/app.lpi"_s)});
    EXPECT_EQ(run.status, 0) << run.lines.join(u'\n').toStdString();
    QFile menu(site % u"/menu.htm"_s);
    ASSERT_TRUE(menu.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(menu.readAll());
    for (const QString& item : {u">App.lpr<"_s, u">Helpers.pp<"_s, u">MainForm.pas<"_s})
        EXPECT_TRUE(text.contains(item)) << item.toStdString() << "\n" << text.toStdString();
}

// A program opened by itself takes the search paths of the project file
// beside it.
TEST_F(CompilerReading, AProgramOpenedAloneUsesItsProjectFilesSearchPaths)
{
    writeLazarusApplication(folder);
    prompts.expect(Topic::IncludeMissing, Answer::Yes);
    core.openFile(folder.path(u"app/app.lpr"_s));
    EXPECT_EQ(rows(), (QStringList{u"App|Run|4"_s, u"Helpers|Twice|4"_s, u"MainForm|TMain.Create|2"_s}));
}

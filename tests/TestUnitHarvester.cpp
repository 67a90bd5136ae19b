#include "app/Session.h"
#include "table/IdentifierTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Row
{
    QString unit;
    QString identifier;
    QString name;
    QString type;
    QString help;
    int line;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << "{unit=\"" << r.unit.toStdString() << "\", id=\"" << r.identifier.toStdString()
              << "\", nome=\"" << r.name.toStdString() << "\", tipo=\"" << r.type.toStdString()
              << "\", help=\"" << r.help.toStdString() << "\", linha=" << r.line << "}";
}

class Harvest : public ::testing::Test
{
protected:
    // Rows in line order (ties in harvest order), so each test reads them in
    // the order of the source.
    void SetUp() override { session.identifiers.setColumnOrder({IdentifierTable::IdentifierLine}); }

    std::vector<Row> harvest(const QString& source, const QString& name = u"u.pas"_s)
    {
        session.opening.openFile(folder.writeSource(name, source));
        return rows();
    }

    std::vector<Row> rows() const
    {
        std::vector<Row> out;
        const IdentifierTable& t = session.identifiers;
        for (int i = 0; i < t.rowCount(); ++i) {
            const IdentifierRow& r = t.row(i);
            out.push_back({r.unit, r.identifier, r.name, r.type, r.help, r.line});
        }
        return out;
    }

    ScriptedPrompts prompts;
    Session session{prompts};
    TestFolder folder;
};

} // namespace

TEST_F(Harvest, ProcedureBlockWithParagraphs)
{
    const auto rows = harvest(u"unit UDados;\n"
                              u"//@ Esta procedure lê o conteúdo da tabela X.\n"
                              u"//* Passe a sua tabela como parâmetro,\n"
                              u"//+ ou não funcionará!\n"
                              u"procedure leTabela(X:DataSet);\n"_s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
              (Row{u"UDados"_s, u"procedure leTabela(X:DataSet);"_s, u"leTabela"_s, u""_s,
                   u"Esta procedure lê o conteúdo da tabela X.\r\nPasse a sua tabela como parâmetro, "
                   u"ou não funcionará!"_s,
                   4}));
    EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(Harvest, GeneralHelpBlocks)
{
    const auto rows = harvest(u"//? Ajuda Geral\n"
                              u"//* Ajuda do programa Cadastro de Automóveis v2.8\n"
                              u"\n"
                              u"//? Primeira\n"
                              u"//? Segunda\n"
                              u"//+ continua\n"
                              u"//* novo parágrafo\n"
                              u"x := 1;\n"_s);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{u""_s, u"Ajuda Geral"_s, u"Help Ajuda Geral"_s, u"Help"_s,
                            u"Ajuda do programa Cadastro de Automóveis v2.8"_s, 3}));
    // The block ends at the next marker line, not at the blank line.
    EXPECT_EQ(rows[1], (Row{u""_s, u"Primeira"_s, u"Help Primeira"_s, u"Help"_s, u""_s, 4}));
    EXPECT_EQ(rows[2],
              (Row{u""_s, u"Segunda"_s, u"Help Segunda"_s, u"Help"_s, u"continua\r\nnovo parágrafo"_s, 7}));
}

TEST_F(Harvest, OrphanCommentWarnsWithItsLine)
{
    QString source;
    for (int i = 1; i <= 11; ++i)
        source += u"x := %1;\n"_s.arg(i);
    source += u"//* solto\n//+ e mais\nx := 0;\n//* outro\n"_s;
    prompts.expect(Topic::OrphanComment, Answer::No);
    prompts.expect(Topic::OrphanComment, Answer::No);
    const auto rows = harvest(source);
    ASSERT_EQ(prompts.questions.size(), 2);
    EXPECT_EQ(prompts.questions[0].text, u"Foi encontrado um comentário para documentação\r"
                                         u"sem uma identificação de tipo na linha (12)\r\r"
                                         u"Ignorar avisos de comentários não identificados?"_s);
    EXPECT_EQ(prompts.questions[0].buttons, (QList<Answer>{Answer::Yes, Answer::No}));
    EXPECT_EQ(prompts.questions[0].line, 12);
    EXPECT_EQ(prompts.questions[1].line, 15);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0],
              (Row{u""_s, u"Linha (13)"_s, u"Comentário órfão"_s, u"Coment.Órfão"_s, u"solto e mais"_s, 13}));
    // At the end of the text the line count includes the last line break.
    EXPECT_EQ(rows[1],
              (Row{u""_s, u"Linha (15)"_s, u"Comentário órfão"_s, u"Coment.Órfão"_s, u"outro"_s, 15}));
    EXPECT_FALSE(session.harvester.ignoreOrphanWarnings());
}

TEST_F(Harvest, IgnoringOrphanWarningsLastsForLaterUnits)
{
    prompts.expect(Topic::OrphanComment, Answer::Yes);
    harvest(u"//* um\nx;\n//* dois\n"_s);
    EXPECT_TRUE(session.harvester.ignoreOrphanWarnings());
    harvest(u"//* três\n"_s, u"v.pas"_s);
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(session.identifiers.rowCount(), 3);
}

TEST_F(Harvest, FunctionHeadings)
{
    struct Case
    {
        QString heading;
        QString name;
        QString kind;
    };
    const Case cases[] = {
        {u"function TForm1.Soma(a, b: integer): integer;"_s, u"TForm1.Soma"_s, u" integer"_s},
        {u"function Media(const Valores: array of Double; N: integer): Double; overload;"_s, u"Media"_s,
         u" Double"_s},
        // Without a parameter list the type follows the name's colon.
        {u"function Agora: TDateTime;"_s, u"Agora"_s, u" TDateTime"_s},
        {u"function TForm1.Agora: TDateTime;"_s, u"TForm1.Agora"_s, u" TDateTime"_s},
        // The implementation may repeat a routine's name alone.
        {u"function Repetida;"_s, u"Repetida"_s, u""_s},
        {u"procedure TForm1.Button1Click(Sender: TObject);"_s, u"TForm1.Button1Click"_s, u""_s},
        {u"procedure TForm1.Executa;"_s, u"TForm1.Executa"_s, u""_s},
        {u"procedure TForm1.Espaco (Sender: TObject);"_s, u"TForm1.Espaco"_s, u""_s},
        {u"procedure Simples;"_s, u"Simples"_s, u""_s},
        // Whatever stands between the name and its parameter list, the type
        // is the one after the list.
        {u"function Ação(x: integer): integer;"_s, u"A"_s, u" integer"_s},
        {u"function F{c}(a: integer): integer;"_s, u"F"_s, u" integer"_s},
        {u"function\tG(a: integer): integer;"_s, u"\t"_s, u" integer"_s},
        {u"function TLista<T>.Soma(a, b: integer): integer;"_s, u"TLista"_s, u" integer"_s},
        {u"function Maior<T>(a, b: T): T;"_s, u"Maior"_s, u" T"_s},
    };
    for (const Case& c : cases) {
        session.identifiers.clear();
        const auto rows = harvest(u"//@ doc\n"_s % c.heading % u"\nbegin\nend;\n"_s);
        ASSERT_EQ(rows.size(), 1u) << c.heading.toStdString();
        EXPECT_EQ(rows[0], (Row{u""_s, c.heading, c.name, c.kind, u"doc"_s, 1})) << c.heading.toStdString();
    }
}

TEST_F(Harvest, HeadingsSpreadOverLines)
{
    // The name and the colon of a function without parameters may stand on
    // lines of their own.
    // The heading is taken whole, its line breaks and indentation one blank.
    auto rows = harvest(u"unit U;\n//@ doc\nprocedure TForm1.\n  Quebrado(a: integer);\n"_s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (Row{u"U"_s, u"procedure TForm1. Quebrado(a: integer);"_s, u"TForm1.Quebrado"_s, u""_s,
                            u"doc"_s, 3}));
    session.identifiers.clear();
    rows = harvest(u"//@ doc\nfunction F\n  : integer;\n"_s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (Row{u""_s, u"function F : integer;"_s, u"F"_s, u" integer"_s, u"doc"_s, 2}));
    session.identifiers.clear();
    rows = harvest(u"//@ doc\nfunction TForm1.Agora\n  : TDateTime;\n"_s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, u"TForm1.Agora"_s);
    EXPECT_EQ(rows[0].type, u" TDateTime"_s);
}

TEST_F(Harvest, HeadingLineIsTakenVerbatimWithItsComment)
{
    const auto rows = harvest(u"//@ a\n//@ b\nprocedure P(x: integer); stdcall; // externa\n"_s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].identifier, u"procedure P(x: integer); stdcall; // externa"_s);
    EXPECT_EQ(rows[0].help, u"a b"_s);
}

// Pascal is case-blind: a //@ block documents the routine heading that
// follows it whatever its letter case and indentation, constructors,
// destructors, operators and class methods included; a heading over several
// lines is taken whole, its comments left out, directives after its ';' kept.
TEST_F(Harvest, EveryRoutineHeadingAProgrammerWrites)
{
    const struct
    {
        QString heading;
        QString identifier;
        QString name;
        QString type;
    } cases[] = {
        {u"\tprocedure Tab;"_s, u"procedure Tab;"_s, u"Tab"_s, QString()},
        {u"Procedure Maiuscula;"_s, u"Procedure Maiuscula;"_s, u"Maiuscula"_s, QString()},
        {u"  FUNCTION Grita: Boolean;"_s, u"FUNCTION Grita: Boolean;"_s, u"Grita"_s, u" Boolean"_s},
        {u"constructor Create;"_s, u"constructor Create;"_s, u"Create"_s, QString()},
        {u"Destructor TLista.Destroy; override;"_s, u"Destructor TLista.Destroy; override;"_s,
         u"TLista.Destroy"_s, QString()},
        {u"class procedure Classe;"_s, u"class procedure Classe;"_s, u"Classe"_s, QString()},
        {u"Class Function TFoo.Make(a: integer): TFoo; static;"_s,
         u"Class Function TFoo.Make(a: integer): TFoo; static;"_s, u"TFoo.Make"_s, u" TFoo"_s},
        {u"operator +(a, b: TVec) r: TVec;"_s, u"operator +(a, b: TVec) r: TVec;"_s, u"+"_s, u" TVec"_s},
        {u"class operator TPonto.Add(const a, b: TPonto): TPonto;"_s,
         u"class operator TPonto.Add(const a, b: TPonto): TPonto;"_s, u"TPonto.Add"_s, u" TPonto"_s},
        {u"operator :=(const s: string): TNome;"_s, u"operator :=(const s: string): TNome;"_s, u":="_s,
         u" TNome"_s},
        {u"function Longa(a: integer; { primeiro }\n    b: string;\n    c: {$IFDEF "
         u"X}Int64{$ELSE}integer{$ENDIF})\n"
         u"  : Boolean; overload;\n"_s,
         u"function Longa(a: integer; b: string; c: Int64integer) : Boolean; overload;"_s, u"Longa"_s,
         u" Boolean"_s},
    };
    for (const auto& c : cases) {
        session.identifiers.clear();
        const auto rows = harvest(u"unit U;\n//@ texto\n"_s % c.heading % u"\n"_s);
        ASSERT_EQ(rows.size(), 1u) << c.heading.toStdString();
        EXPECT_EQ(rows[0], (Row{u"U"_s, c.identifier, c.name, c.type, u"texto"_s, 2}))
            << c.heading.toStdString();
        EXPECT_TRUE(IdentifierTable::isRoutine(rows[0].identifier)) << c.heading.toStdString();
    }
}

// What is no routine heading keeps the block's help alone.
TEST_F(Harvest, RoutineBlockWithoutHeadingKeepsOnlyItsHelp)
{
    // Each also warns, naming the file, the line and what followed.
    struct Case
    {
        QString follower;
        QString said;
    };
    const Case cases[] = {
        {u"// comentário\nprocedure Depois;"_s, u"\"// comentário\""_s},
        {u"property Valor: integer read FValor;"_s, u"\"property Valor: integer read FValor;\""_s},
        {u"type TFoo = class(TObject)"_s, u"\"type TFoo = class(TObject)\""_s},
        {u"classe procedure X;"_s, u"\"classe procedure X;\""_s},
        {u"  "_s % QString(70, u'x'), u"\""_s % QString(60, u'x') % u"…\""_s},
    };
    for (const Case& c : cases) {
        session.identifiers.clear();
        prompts.expect(Topic::NoRoutine, Answer::No);
        const auto rows = harvest(u"unit U;\n//@ texto\n"_s % c.follower % u"\n"_s);
        ASSERT_EQ(rows.size(), 1u) << c.follower.toStdString();
        EXPECT_EQ(rows[0], (Row{u"U"_s, u""_s, u""_s, u""_s, u"texto"_s, 2})) << c.follower.toStdString();
        const SourceWarning& warning = prompts.questions.last().warning;
        EXPECT_EQ(warning.file, folder.path(u"u.pas"_s));
        EXPECT_EQ(warning.line, 3);
        EXPECT_EQ(warning.text, u"O comentário //@ não é seguido de uma rotina, e sim de: "_s % c.said)
            << warning.text.toStdString();
    }
}

TEST_F(Harvest, ARoutineBlockAtTheEndOfTheFileWarnsOnceUntilIgnored)
{
    // Yes ignores the warnings that would come after it.
    prompts.expect(Topic::NoRoutine, Answer::Yes);
    const auto rows = harvest(u"unit U;\n//@ a\nvar X: Integer;\n//@ b\n"_s);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(prompts.questions.first().warning.text.endsWith(u"\"var X: Integer;\""_s));
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(Harvest, AMarkerLineThatEndsABlockOpensItsOwn)
{
    prompts.expect(Topic::OrphanComment, Answer::No);
    const auto rows = harvest(u"//? Geral\n"
                              u"//@ rotina\n"
                              u"procedure P;\n"
                              u"//* órfão\n"
                              u"//? Depois\n"
                              u"//* texto do depois\n"
                              u"x;\n"_s);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (Row{u""_s, u"Geral"_s, u"Help Geral"_s, u"Help"_s, u""_s, 1}));
    EXPECT_EQ(rows[1], (Row{u""_s, u"procedure P;"_s, u"P"_s, u""_s, u"rotina"_s, 2}));
    EXPECT_EQ(rows[2], (Row{u""_s, u"Linha (4)"_s, u"Comentário órfão"_s, u"Coment.Órfão"_s, u"órfão"_s, 4}));
    EXPECT_EQ(rows[3], (Row{u""_s, u"Depois"_s, u"Help Depois"_s, u"Help"_s, u"texto do depois"_s, 6}));
}

TEST_F(Harvest, UnitNameGoesToLaterRows)
{
    const auto rows = harvest(u"//? Antes\n"
                              u"unit UPrincipal;\n"
                              u"//? Depois\n"
                              u"x;\n"_s);
    ASSERT_EQ(rows.size(), 2u);
    // The block above the heading belongs to the unit, as does the one after.
    EXPECT_EQ(rows[0].unit, u"UPrincipal"_s);
    EXPECT_EQ(rows[1].unit, u"UPrincipal"_s);
    EXPECT_EQ(session.harvester.unitName(), u"UPrincipal"_s);
}

// A file's first word names its rows from the first line on: unit,
// program, library or package, in any letter case, after any comments.
TEST_F(Harvest, TheHeadingNamesTheRowsAboveIt)
{
    const struct
    {
        QString source;
        QString unit;
    } cases[] = {
        {u"{ cabeçalho }\n//? Geral\n//* texto\nUnit UCaixa;\n"_s, u"UCaixa"_s},
        {u"(* licença *)\n// comum\nprogram Vendas;\n//? Geral\n"_s, u"Vendas"_s},
        {u"//? Geral\nlibrary Util ;\n"_s, u"Util"_s},
        {u"//? Geral\nPACKAGE Componentes;\n"_s, u"Componentes"_s},
        {u"//? Geral\nx := 1;\nprogram Tarde;\n"_s, u""_s}, // not the first word: no heading
    };
    for (const auto& c : cases) {
        session.identifiers.clear();
        const auto rows = harvest(c.source);
        ASSERT_EQ(rows.size(), 1u) << c.source.toStdString();
        EXPECT_EQ(rows[0].unit, c.unit) << c.source.toStdString();
    }
}

TEST_F(Harvest, TableBlocks)
{
    session.tables.answerTables(TableDialogue::TableAnswer::NoTables);
    const auto rows = harvest(u"unit U;\n"
                              u"//# clientes\n"
                              u"//# fornecedores\n"
                              u"//* Cadastro\n"
                              u"x;\n"
                              u"//# vazia\n"
                              u"y;\n"_s);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (Row{u"U"_s, u"clientes"_s, u"clientes"_s, u"Tabela MySQL"_s,
                            u"fornecedores\r\nCadastro"_s, 4}));
    EXPECT_EQ(rows[1], (Row{u"U"_s, u"vazia"_s, u"vazia"_s, u"Tabela MySQL"_s, u""_s, 6}));
}

TEST_F(Harvest, LineNumbersCountBlankLinesAndPlainCommentsBeforeTheCode)
{
    prompts.expect(Topic::NoRoutine, Answer::No);
    const auto rows = harvest(u"//@ a\n"
                              u"\n"
                              u"{ chave }\n"
                              u"procedure P;\n"
                              u"//@ b\n"
                              u"procedure\n"
                              u"  Q;\n"_s);
    ASSERT_EQ(rows.size(), 2u);
    // The brace comment ends the first block: no heading is read after it.
    EXPECT_EQ(rows[0], (Row{u""_s, u""_s, u""_s, u""_s, u"a"_s, 2}));
    // A "//@" row takes the line of the heading's name.
    EXPECT_EQ(rows[1].name, u"Q"_s);
    EXPECT_EQ(rows[1].line, 6);
}

TEST_F(Harvest, TheWordEofEndsTheHarvest)
{
    for (const QString& stop : {u"x := eof;"_s, u"// eof"_s}) {
        session.identifiers.clear();
        const auto rows = harvest(u"//? um\nx;\n"_s % stop % u"\n//? dois\n"_s);
        ASSERT_EQ(rows.size(), 1u) << stop.toStdString();
        EXPECT_EQ(rows[0].identifier, u"um"_s);
    }
}

TEST_F(Harvest, TraceHasOneLinePerTokenTheLoopReads)
{
    session.identifiers.setColumnOrder(IdentifierTable::initialColumnOrder());
    harvest(u"unit U;\n//@ Doc\n//* mais\nprocedure P;\n"_s);
    EXPECT_EQ(session.traceLog.lines(), (QStringList{
                                            u"PAS ret(0) : \"unit\""_s,
                                            u"PAS ret(1) : \"U\""_s,
                                            u"PAS ret(3) : \";\""_s,
                                            u"PAS ret(52) : \"Doc\""_s,
                                            u"PAS ret(-1) : \"eof\""_s,
                                        }));
}

TEST_F(Harvest, TextsAreCutToTheirFieldWidths)
{
    const QString longHeading = u"procedure "_s % QString(u'P') % QString(240, u'x') % u";"_s;
    const QString className = QString(30, u'C');
    const QString methodName = QString(14, u'M');
    const QString typeName = QString(24, u'T');
    const QString unitName = QString(35, u'U');
    session.identifiers.setColumnOrder({IdentifierTable::IdentifierLine});
    const auto rows =
        harvest(u"unit "_s % unitName % u";\n//@ a\n"_s % longHeading % u"\n//@ b\nfunction "_s % className %
                u"."_s % methodName % u"(a: integer):"_s % typeName % u";\n"_s);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].unit, unitName.left(30));
    EXPECT_EQ(rows[0].identifier, longHeading.left(200));
    EXPECT_EQ(rows[1].name, QString(className % u"."_s % methodName).left(40));
    EXPECT_EQ(rows[1].type, typeName.left(20));
    EXPECT_EQ(session.harvester.unitName(), unitName);
}

TEST_F(Harvest, ScansStopAtTheEndOfTheText)
{
    const QString endings[] = {u"//@ x\nprocedure"_s, u"//@ x\nfunction F(a"_s,     u"//@ x\nfunction T.F"_s,
                               u"unit SemFim"_s,      u"//@ x\nfunction F: Tipo"_s, u"'aberta"_s,
                               u"{ aberto"_s};
    for (const QString& ending : endings) {
        session.identifiers.clear();
        EXPECT_NO_THROW(harvest(ending)) << ending.toStdString();
    }
    session.identifiers.clear();
    const auto rows = harvest(u"//@ x\nfunction F: Tipo"_s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].type, u" Tipo"_s);
}

TEST_F(Harvest, MissingFileShowsTheMessageAndAddsNothing)
{
    QDir().mkpath(folder.path(u"pasta.pas"_s));
    for (const QString& name : {u"nada.pas"_s, u"pasta.pas"_s}) {
        session.opening.openFile(folder.path(name));
        EXPECT_EQ(prompts.messages.last(), u"O arquivo indicado não pôde ser aberto."_s);
        EXPECT_EQ(prompts.messageFiles.last(), folder.path(name));
    }
    EXPECT_EQ(session.identifiers.rowCount(), 0);
}

TEST_F(Harvest, ReadsWindows1252AndUtf8WithItsMark)
{
    folder.write(u"latin.pas"_s, "//? Configura\xE7\xE3o\r\n//* Op\xE7\xF5\x65s \x80\r\n");
    folder.write(u"utf8.pas"_s, "\xEF\xBB\xBF//? Configura\xC3\xA7\xC3\xA3o\r\n");
    session.opening.openFile(folder.path(u"latin.pas"_s));
    session.opening.openFile(folder.path(u"utf8.pas"_s));
    const auto all = rows();
    ASSERT_EQ(all.size(), 2u);
    // In line order: the UTF-8 unit's row stands on line 1, the other on line 2.
    EXPECT_EQ(all[0].identifier, u"Configuração"_s);
    EXPECT_EQ(all[1].identifier, u"Configuração"_s);
    EXPECT_EQ(all[1].help, u"Opções €"_s);
}

TEST_F(Harvest, AClosedTableDropsRowsSilently)
{
    session.identifiers.setOpen(false);
    harvest(u"//? a\n"_s);
    EXPECT_EQ(session.identifiers.rowCount(), 0);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(Harvest, RowsOfEveryOpeningStayUntilCleared)
{
    harvest(u"//? a\n"_s, u"a.pas"_s);
    harvest(u"//? b\n"_s, u"b.pas"_s);
    EXPECT_EQ(session.identifiers.rowCount(), 2);
}

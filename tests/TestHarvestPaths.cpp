// The harvest has two ways through a unit: token by token, and skimming from
// landmark to landmark (keeping the trace as bytes to lex again later); and
// two sources of landmarks: its own skim and the worker threads of a project.
// Every way must give the same rows, questions, trace and state at the end.
#include "app/Session.h"
#include "common/QuorvelError.h"
#include "harvest/TraceLog.h"
#include "harvest/UnitFeed.h"
#include "table/IdentifierTable.h"
#include "tests/support/SilentPrompts.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>

#include <random>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

// Answers as SilentPrompts does and records what the harvest asked and showed.
class RecordingPrompts : public SilentPrompts
{
public:
    Answer ask(const Question& q) override
    {
        said.append(u"ask "_s % q.text % u" @"_s % QString::number(q.line));
        return SilentPrompts::ask(q);
    }
    void showMessage(const QString& text, const QString& file, const SourceWarning&) override
    {
        said.append(u"msg "_s % text % u' ' % file);
    }
    QStringList said;
};

// Everything a harvest leaves behind that can be compared.
struct Outcome
{
    QStringList rows;
    QStringList said;
    QStringList trace;
    int tokenCode = 0;
    int currentLine = 0;
    QString tokenText;
    QString unitName;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << "trace: " << o.trace.join(u"\n      "_s).toStdString()
        << "\nrows: " << o.rows.join(u"\n      "_s).toStdString()
        << "\nsaid: " << o.said.join(u"\n      "_s).toStdString() << "\ncodigo " << o.tokenCode << " linha "
        << o.currentLine << " texto \"" << o.tokenText.toStdString() << "\" unit \""
        << o.unitName.toStdString() << '"';
}

enum class Way
{
    EveryToken,           // the plain way, trace line by line
    Skimming,             // the trace kept as bytes
    SkimmingWithoutTrace, // as batch mode harvests; its trace stays empty
};

// Runs `harvest` on a fresh session and collects the outcome.
template <typename Harvest> Outcome outcomeOf(Way way, Harvest harvest)
{
    RecordingPrompts prompts;
    Session session(prompts);
    session.identifiers.setColumnOrder({IdentifierTable::IdentifierLine});
    session.tables.answerTables(TableDialogue::TableAnswer::NoTables);
    harvest(session,
            HarvestChoices{Encoding::Auto, way != Way::SkimmingWithoutTrace, way == Way::EveryToken, {}});
    Outcome out;
    const IdentifierTable& table = session.identifiers;
    for (int i = 0; i < table.rowCount(); ++i) {
        const IdentifierRow& r = table.row(i);
        out.rows.append(r.unit % u'|' % r.identifier % u'|' % r.name % u'|' % r.type % u'|' % r.help % u'|' %
                        QString::number(r.line));
    }
    out.said = prompts.said;
    out.trace = session.traceLog.lines();
    out.tokenCode = session.harvester.lexer().tokenCode();
    out.currentLine = session.harvester.lexer().currentLine();
    out.tokenText = session.harvester.lexer().tokenText();
    out.unitName = session.harvester.unitName();
    return out;
}

Outcome harvestSource(Way way, const QString& source)
{
    return outcomeOf(way, [&](Session& session, const HarvestChoices& choices) {
        session.harvester.harvestBytes(source.toUtf8().prepend("\xEF\xBB\xBF"), u"u.pas"_s, choices);
    });
}

// Sources built at random from the pieces the harvest cares about.
QString randomSource(std::mt19937& random, int pieces)
{
    static const QStringList kPieces{
        u"//"_s,
        u"//?"_s,
        u"//#"_s,
        u"\x1d"_s,
        u"//@ rotina"_s,
        u"//*"_s,
        u"//+ mais"_s,
        u"//? ajuda"_s,
        u"//# tabela"_s,
        u"// eof"_s,
        u"//eof"_s,
        u"procedure "_s,
        u"function "_s,
        u"eof"_s,
        u"unit "_s,
        u"uses"_s,
        u"T."_s,
        u"X"_s,
        u"("_s,
        u")"_s,
        u":"_s,
        u";"_s,
        u"{"_s,
        u"}"_s,
        u"'"_s,
        u"''"_s,
        u"\r"_s,
        u"\n"_s,
        u"\r\n"_s,
        u" "_s,
        u"é"_s,
        u"#13"_s,
        u"123"_s,
        u":="_s,
        u"<<"_s,
        u"(*"_s,
        u"*)"_s,
        u"begin"_s,
        u"end."_s,
        u"Procedure "_s,
        u"constructor "_s,
        u"class "_s,
        u"operator "_s,
        u"\t"_s,
    };
    QString out;
    for (int i = 0; i < pieces; ++i)
        out += kPieces[static_cast<qsizetype>(random() % static_cast<unsigned>(kPieces.size()))];
    return out;
}

} // namespace

TEST(HarvestPaths, SkimmingFindsWhatReadingEveryTokenFinds)
{
    const QStringList sources{
        u""_s,
        u"eof"_s,
        u"//?"_s,
        u"unit U;\n//@ Doc\n//* mais\nprocedure P;\n"_s,
        u"//? um\nx;\nx := eof;\n//? dois\n"_s,
        // A heading's name "eof" ends the harvest when it is the last token
        // the block read, not when more of the heading follows.
        u"//@ a\nprocedure eof;\n//@ b\nprocedure T.eof(x: integer);\n//? depois\neof\n//? nunca\n"_s,
        u"//@ r\nfunction T.eof.x: integer; { a\n b }\n//# tabela\n//+ cont\nunit  Outra;\n//* orfao\nuses;"_s,
        u"{ eof }\n{\r\n\r\n}\n// eof\n//? depois do fim\n"_s,
        u"'it''s' //@ x\nprocedure P; 'aberta\n//? h\n//+ c\nunit"_s,
        u"x\n\n\n//+ orfao\n//+ segunda linha\nfunction F: string;\n"_s,
        // Headings as programmers write them: any letter case, tabs, class
        // methods, constructors, operators, several lines with comments.
        u"//@ a\n\tConstructor TL.Create;\n//@ b\nclass operator TP.Add(a, b: TP): TP;\n//@ c\n"
        u"Function Longa(a: integer; { x }\n  b: string): Boolean; overload;\n//@ d\noperator +(a, b: T) r: "
        u"T;\n"
        u"//@ e\nclass\nprocedure Eof;\n//? fim\n"_s,
        u"//#\x1d\n\n//?\n//"_s,
    };
    auto check = [](const QString& source) {
        SCOPED_TRACE(source.toStdString());
        const Outcome expected = harvestSource(Way::EveryToken, source);
        EXPECT_EQ(harvestSource(Way::Skimming, source), expected);
        Outcome withoutTrace = harvestSource(Way::SkimmingWithoutTrace, source);
        EXPECT_EQ(withoutTrace.trace, QStringList{u"Memo1"_s});
        withoutTrace.trace = expected.trace;
        EXPECT_EQ(withoutTrace, expected);
        return !::testing::Test::HasFailure();
    };
    for (const QString& source : sources)
        check(source);
    EXPECT_EQ(harvestSource(Way::Skimming, sources[5]).trace,
              (QStringList{u"Memo1"_s, u"PAS ret(52) : \"a\""_s, u"PAS ret(52) : \"b\""_s}));
    std::mt19937 random(1210);
    for (int i = 0; i < 400; ++i)
        ASSERT_TRUE(check(randomSource(random, 5 + i % 120)));
}

TEST(HarvestPaths, AProjectThroughTheWorkerMatchesItsUnitsOpenedOneByOne)
{
    TestFolder folder;
    std::mt19937 random(2026);
    QStringList units;
    QString uses;
    auto addUnit = [&](const QString& name, const QString& text) {
        if (!text.isNull())
            folder.writeSource(u"p/"_s % name, text);
        units.append(folder.path(u"p/"_s % name));
        uses += (uses.isEmpty() ? u"uses "_s : u", "_s) % name % u" in '"_s % name % u'\'';
    };
    for (int i = 0; i < 6; ++i)
        addUnit(u"A"_s % QString::number(i) % u".pas"_s, randomSource(random, 300));
    // Larger than one run of the worker: the harvest leaves it at the first
    // "eof", and the unit after it must still come whole.
    QString big = u"unit Grande;\n//? antes\nx := eof;\n"_s;
    for (int i = 0; i < 60000; ++i)
        big += u"//? nunca "_s % QString::number(i) % u"\nprocedure P(a, b: integer);\n"_s;
    addUnit(u"Grande.pas"_s, big);
    addUnit(u"falta.pas"_s, QString()); // named by the project, not on disk
    QString noLandmarks = u"unit Longa;\n"_s;
    for (int i = 0; i < 50000; ++i)
        noLandmarks += u"x := y + 1; { comentário } 'texto';\n"_s;
    addUnit(u"Longa.pas"_s, noLandmarks % u"//@ no fim\nfunction Fim: integer;\n"_s);
    addUnit(u"Depois.pas"_s, u"//? depois\n"_s);
    // An include file, harvested in its place on every path.
    folder.writeSource(u"p/parte.inc"_s, u"//@ incluída\nConstructor TX.Create;\n"_s);
    addUnit(u"ComInclude.pas"_s, u"unit ComInclude;\n{$I parte.inc}\n//? depois do include\n"_s);
    const QString dpr = folder.writeSource(u"p/P.dpr"_s, u"program P;\n"_s % uses % u";\nbegin\nend.\n"_s);

    auto project = [&](Session& session, const HarvestChoices& choices) {
        session.projects.openProject(dpr, choices);
    };
    // The project harvests its units, then the program file itself.
    auto oneByOne = [&](Session& session, const HarvestChoices& choices) {
        for (const QString& unit : units)
            session.harvester.harvestUnitFile(unit, choices);
        session.harvester.harvestUnitFile(dpr, choices);
    };
    const Outcome expected = outcomeOf(Way::EveryToken, oneByOne);
    EXPECT_GT(expected.rows.size(), 10);
    EXPECT_GT(expected.trace.size(), 1000);
    EXPECT_TRUE(expected.rows.contains(u"Grande|antes|Help antes|Help||2"_s))
        << expected.rows.join(u'\n').toStdString();
    EXPECT_TRUE(expected.rows.contains(u"ComInclude|Constructor TX.Create;|TX.Create||incluída|1"_s))
        << expected.rows.join(u'\n').toStdString();
    EXPECT_EQ(outcomeOf(Way::Skimming, oneByOne), expected);
    EXPECT_EQ(outcomeOf(Way::EveryToken, project).rows, expected.rows);
    // Opening the project adds its own trace lines first.
    auto withoutProjectLines = [](Outcome o) {
        o.trace.removeIf([](const QString& line) { return line.startsWith(u"DPR "_s); });
        return o;
    };
    EXPECT_EQ(withoutProjectLines(outcomeOf(Way::EveryToken, project)), expected);
    EXPECT_EQ(withoutProjectLines(outcomeOf(Way::Skimming, project)), expected);
    Outcome batch = outcomeOf(Way::SkimmingWithoutTrace, project);
    batch.trace = expected.trace;
    EXPECT_EQ(batch, expected);
}

TEST(HarvestPaths, TheWorkerStopsWhereverTheHarvestLeavesIt)
{
    TestFolder folder;
    QStringList paths;
    for (int i = 0; i < 50; ++i)
        paths.append(
            folder.writeSource(u"u"_s % QString::number(i) % u".pas"_s, u"//? a\n"_s.repeated(20000)));
    paths.insert(3, folder.path(u"falta.pas"_s));
    for (const int workers : {1, 2, 3}) {
        SCOPED_TRACE(workers);
        UnitFeed feed(paths, workers);
        QString text;
        ASSERT_TRUE(feed.nextUnit(text));
        EXPECT_TRUE(text.startsWith(u"//? a\r\n"_s));
        const std::vector<Landmark>& first = feed.nextLandmarks();
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(first.front().code, HelpMarker);
        EXPECT_TRUE(feed.nextUnit(text));
        EXPECT_TRUE(feed.nextUnit(text));
        EXPECT_FALSE(feed.nextUnit(text)); // the missing file
        EXPECT_TRUE(text.isEmpty());
        EXPECT_THROW(feed.nextLandmarks(), std::logic_error);
        // Units read whole after units left early.
        for (int unit = 4; unit < 8; ++unit) {
            ASSERT_TRUE(feed.nextUnit(text));
            qsizetype landmarks = 0;
            for (;;) {
                const std::vector<Landmark>& run = feed.nextLandmarks();
                landmarks += static_cast<qsizetype>(run.size());
                if (run.back().code == EndOfText)
                    break;
            }
            EXPECT_EQ(landmarks, 20001); // every marker line and the end
        }
        // Leaving now, with the workers waiting on full lanes, must not hang.
    }
    {
        UnitFeed unread(paths); // never read at all
    }

    // A file that cannot be read fails the unit it is, and every later call.
    ASSERT_TRUE(QFile::link(u"/proc/self/mem"_s, folder.path(u"ruim.pas"_s)));
    UnitFeed feed({paths[0], folder.path(u"ruim.pas"_s), paths[1], paths[2]}, 2);
    QString text;
    EXPECT_TRUE(feed.nextUnit(text));
    EXPECT_THROW(feed.nextUnit(text), QuorvelError);
    EXPECT_THROW(feed.nextUnit(text), QuorvelError);
}

TEST(HarvestPaths, TheTraceKeepsEveryCharacterOfATokenAndItsPlaceAmongOtherLines)
{
    TraceLog trace;
    trace.addLine(u"Memo1"_s);
    trace.addToken(TraceLog::Source::Project, Invalid, u"\uFEFF"_s); // a byte-order mark is a character too
    trace.addUnitTokens(QByteArray("//? a\r\n{ b }\r\n"), 2, {});
    trace.addToken(TraceLog::Source::Project, Identifier, u"ação"_s);
    EXPECT_EQ(trace.lines(), (QStringList{u"Memo1"_s, u"DPR ret(-2) : \"\uFEFF\""_s, u"PAS ret(53) : \"a\""_s,
                                          u"DPR ret(1) : \"ação\""_s}));
    trace.clear();
    EXPECT_TRUE(trace.isEmpty());
}

// Real code nobody here wrote: Free Pascal's own sources from Debian's
// fpc-source package, marked up by quorvel_mark_sources. scripts/test makes
// the project and names it in QUORVEL_REAL_PROJECT; in the sanitizer build
// (Debug, so Qt's own assertions are on too) this is the run that would
// report any fault the hand-written cases miss.
#include "app/QuorvelCore.h"
#include "app/Session.h"
#include "output/RtfWriter.h"
#include "table/IdentifierTable.h"
#include "tests/support/Required.h"
#include "tests/support/SilentPrompts.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList rowsOf(const IdentifierTable& table)
{
    QStringList out;
    for (int i = 0; i < table.rowCount(); ++i) {
        const IdentifierRow& r = table.row(i);
        out.append(r.unit % u'|' % r.identifier % u'|' % r.name % u'|' % r.type % u'|' % r.help % u'|' %
                   QString::number(r.line));
    }
    return out;
}

} // namespace

TEST(RealCode, FreePascalSourcesAreHarvestedDocumentedAndPublished)
{
    const QString project = qEnvironmentVariable("QUORVEL_REAL_PROJECT");
    REQUIRE_FOR_TEST(!project.isEmpty() && QFile::exists(project),
                     "no marked-up real project: scripts/test makes one from fpc-source");
    TestFolder folder;
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    core.setSettingsFile(folder.path(u"Quorvel.ini"_s));
    core.setProgramFolder(folder.path(QString()) % u'/');
    core.answerTables(TableDialogue::TableAnswer::NoTables);
    core.openFile(
        project); // the skimming harvest through the worker threads, trace kept as the window keeps it
    ASSERT_GT(core.identifiers().rowCount(), 1000);

    // The plain harvest that reads every token finds the same rows.
    Session plain(prompts);
    plain.tables.answerTables(TableDialogue::TableAnswer::NoTables);
    plain.opening.openFile(project, OpeningChoices{std::nullopt, false, true});
    EXPECT_EQ(rowsOf(plain.identifiers), rowsOf(core.identifiers()));

    core.buildDocument();
    const QByteArray rtf = RtfWriter::toRtf(core.documentLines());
    EXPECT_GT(rtf.size(), core.identifiers().rowCount());
    ASSERT_TRUE(core.runHtml());
    QSet<QString> units;
    for (int i = 0; i < core.identifiers().rowCount(); ++i)
        units.insert(core.identifiers().row(i).unit);
    EXPECT_EQ(QDir(folder.path(u"HELP"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), units.size());
}

// The Lazarus IDE itself, from Debian's lazarus-src package, with a //@
// block "Rotina R<n>." above every routine heading its files have, in any
// letter case (scripts/test marks the tree). Opened through its .lpi, which
// lists only part of its units: the others are found in its search paths,
// and include files are read in place.
TEST(RealCode, EveryRoutineBlockOfTheLazarusIdeYieldsItsRoutine)
{
    const QString project = qEnvironmentVariable("QUORVEL_REAL_LAZARUS");
    REQUIRE_FOR_TEST(!project.isEmpty() && QFile::exists(project),
                     "no marked-up Lazarus tree: scripts/test makes one from lazarus-src");
    SilentPrompts prompts;
    QuorvelCore core(prompts);
    core.answerTables(TableDialogue::TableAnswer::NoTables);
    core.setOpeningChoices(OpeningChoices{std::nullopt, false, false});
    core.openFile(project);

    static const QRegularExpression block(u"//@ Rotina R(\\d+)\\."_s);
    static const QRegularExpression heading(
        u"^(class\\s+)?(procedure|function|constructor|destructor|operator)\\s"_s,
        QRegularExpression::CaseInsensitiveOption);
    QSet<QString> documented;
    const IdentifierTable& table = core.identifiers();
    for (int i = 0; i < table.rowCount(); ++i) {
        const IdentifierRow& row = table.row(i);
        if (!row.help.startsWith(u"Rotina R"_s))
            continue;
        // Each such row is its routine's: the heading and the routine's name.
        EXPECT_TRUE(heading.match(row.identifier).hasMatch()) << row.identifier.toStdString();
        EXPECT_FALSE(row.name.isEmpty()) << row.identifier.toStdString();
        documented.insert(row.help);
    }
    // And each block of every unit harvested has its row.
    int blocks = 0;
    for (const HarvestReport::UnitFile& unit : core.harvestReport().unitFiles) {
        QFile file(unit.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << unit.file.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : block.globalMatch(text)) {
            ++blocks;
            EXPECT_TRUE(documented.contains(u"Rotina R"_s % m.captured(1) % u'.'))
                << unit.file.toStdString() << ": R" << m.captured(1).toStdString();
        }
    }
    // Most of the IDE's units are found through the search paths, not the .lpi.
    EXPECT_GT(core.harvestReport().unitsRead, 300);
    EXPECT_GT(core.harvestReport().includesRead, 10);
    EXPECT_GT(blocks, 20000);
    // Every heading has its block, so nothing is left undocumented.
    EXPECT_TRUE(core.undocumentedRoutines().empty());
}

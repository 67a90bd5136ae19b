#pragma once

#include "common/UserPrompts.h"
#include "harvest/CharScan.h"
#include "harvest/DeferredText.h"
#include "harvest/HarvestChoices.h"
#include "harvest/HarvestReport.h"
#include "harvest/LexerState.h"
#include "harvest/SourceReferences.h"
#include "harvest/SourceSearch.h"
#include "harvest/SourceText.h"
#include "harvest/TableComments.h"
#include "harvest/TextPool.h"
#include "harvest/TraceLog.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class IUserPrompts;
class IdentifierTable;
class TokenSource;
class UnitFeed;

// The unit harvester: walks a unit's tokens and turns its marked comment
// blocks into rows of the identifier table. It owns the harvest's working
// state, which keeps the names the windows' users know (unitName, currentHelp,
// ...); //# blocks go to the table comments it is given.
class UnitHarvester
{
public:
    UnitHarvester(IUserPrompts& prompts, IdentifierTable& table, TraceLog& trace);

    // Without table comments, a //# block is stored without description.
    void setTableComments(ITableComments* comments) { m_tableComments = comments; }
    // Each harvest is told by `choices` how to read the unit (its encoding),
    // whether to trace it, and whether to skim it from landmark to landmark
    // or read every token one by one (the trace then kept line by line).

    // Opens the file and harvests it; a file that does not exist gets the
    // missing-file message. Throws QuorvelError when it cannot be read.
    void harvestUnitFile(const QString& file, const HarvestChoices& choices);
    // The harvest of a unit's bytes, as harvestUnitFile reads them from `file`.
    // `nameWithoutHeading` names the rows of a file with no unit, program,
    // library or package heading (a project's main program file).
    void harvestBytes(QByteArrayView bytes, const QString& file, const HarvestChoices& choices,
                      const QString& nameWithoutHeading = {});
    // The harvest of a project's unit whose text, landmarks and references
    // the feed has ready; `bytes` are the file's, for the trace, when it
    // keeps them.
    void harvestFromFeed(UnitFeed& feed, const QString& file, QByteArray bytes,
                         const SourceText::Decoding& decoding, SourceReferences::References references,
                         const HarvestChoices& choices, const QString& nameWithoutHeading = {});
    // The text the feed gives the next unit into.
    QString& textForFeed() { return m_text; }

    // The lexer state, which the project reader shares.
    LexerState& lexer() { return m_lexer; }
    const LexerState& lexer() const { return m_lexer; }

    // Working state, as the last harvest left it.
    QString unitName() const { return m_unitName.view(m_text).toString(); }
    const QString& currentIdentifier() const { return m_currentIdentifier; }
    const QString& currentName() const { return m_currentName; }
    QString currentType() const { return m_currentType.view(m_text).toString(); }
    const QString& currentHelp() const { return m_currentHelp; }
    const QString& tableName() const { return m_tableName; }
    bool ignoreOrphanWarnings() const { return m_ignoreOrphanWarnings; }

    // The message for a file that does not exist.
    static QString missingFileMessage();

    // The units the last file harvested and its {$I} files use, as written.
    const std::vector<SourceReferences::UsedUnit>& usedUnits() const { return m_usedUnits; }
    // Folders are listed once per opening: a file added since the last one
    // is found.
    void forgetFolderListings() { m_includeSearch.reset(); }
    // What the harvests of this session read.
    HarvestReport& report() { return m_report; }
    const HarvestReport& report() const { return m_report; }

private:
    // With a feed, the skimming takes its landmarks; without, it skims here.
    void harvestWith(UnitFeed* feed, const QString& file, QByteArray bytes,
                     const SourceText::Decoding& decoding);
    // Says once per file that a text forced to UTF-8 was not.
    void warnInvalidEncoding(const QString& file, const SourceText::Decoding& decoding);
    void harvestText(const QString& file, QByteArray bytes, TokenSource& source, bool unicodeLetters);
    // The {$I} files of the file just harvested, each in turn, their rows
    // under the including unit's name.
    void harvestIncludes(const QString& file, const std::vector<SourceReferences::Include>& includes);
    void warnIncludeMissing(const QString& file, const SourceReferences::Include& include, bool tooDeep);
    // Each block returns true when the token that ended it must be acted on
    // as if the loop had just read it.
    void readUnit(TokenSource& source, bool unicodeLetters);
    bool readOrphanBlock();
    bool readRoutineBlock();
    // A warning about a place of the sources (`found`, as a report gives
    // it), asked as `question`, whose Yes ignores the warnings of its kind
    // from then on.
    void warnUntilIgnored(Topic topic, bool& ignored, const QString& file, int line, const QString& found,
                          const QString& question);
    // Tells the user that a //@ block is followed by no routine heading,
    // and what follows it instead.
    void warnNoRoutine();
    QString whatFollows() const;
    bool readTableBlock();
    bool readHelpBlock();
    void readUnitHeading();
    // The name a file's heading gives its rows from its first line on: the
    // first word of the file (after comments and blanks) in any letter case
    // is unit, program, library or package. A //? block above the heading
    // belongs to it.
    void nameFromLeadingHeading();
    // The routine headings a //@ block documents, by their first word in any
    // letter case: procedure, function, constructor, destructor, operator,
    // each also after "class".
    enum class RoutineWord
    {
        Procedure,
        Function,
        Constructor,
        Destructor,
        Operator,
    };
    struct RoutineHeading
    {
        RoutineWord word;
        bool afterClass; // "class procedure ...": the token read is "class"
    };
    std::optional<RoutineHeading> routineHeading() const;
    void readHeading(const RoutineHeading& heading);
    // Where a heading over several lines ends: the end of the line of the
    // ';' that closes it outside parentheses; -1 for a heading on one line.
    qsizetype multiLineHeadingEnd(qsizetype start);
    void readMultiLineHeading(const RoutineHeading& heading, qsizetype start, qsizetype end);
    // Reads the rest of a qualified name (TForm1.Button1Click) into the
    // current name; says where the token after the name starts, and where
    // the ':' of a function without a parameter list stands (or -1).
    struct NameEnd
    {
        qsizetype afterName;
        qsizetype follows;
    };
    NameEnd readRestOfName();
    // Where a function's return type stands in the text: `afterName` is
    // where the token after its name starts, `follows` the ':' after a
    // qualified name, or -1.
    struct Span
    {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    Span returnType(qsizetype afterName, qsizetype follows);
    int readToken(); // the next token of the unit's own text, inside a block
    void addHelpLine();
    void clearBlock();
    bool tokenOpensBlock() const;
    void insertIdentifier();
    void describeTable();

    IUserPrompts& m_prompts;
    IdentifierTable& m_table;
    TraceLog& m_trace;
    ITableComments* m_tableComments = nullptr;
    HarvestChoices m_choices; // of the unit being harvested
    QString m_nameWithoutHeading;

    // The unit's text, its bytes as read, and where the lexer stands in it.
    QByteArray m_bytes;
    QString m_text;
    qsizetype m_position = 0;
    LexerState m_lexer;
    QString m_currentFile;
    qsizetype m_lastLoopStart = 0;                 // of the last token the unit's loop read
    std::vector<TraceLog::BlockSpan> m_blockSpans; // of the tokens its blocks read
    // The raw scans of headings, each remembering where it found its character.
    CharScan m_scanSemicolon{u';'};
    CharScan m_scanLineEnd{u'\r'};
    CharScan m_scanOpen{u'('};
    CharScan m_scanClose{u')'};
    CharScan m_scanTypeEnd{u';'}; // from after a parameter list's ')'

    DeferredText m_unitName;
    QString m_currentIdentifier;
    QString m_currentName;
    DeferredText m_currentType;
    QString m_currentHelp;
    QString m_tableName;
    TextPool m_pool; // the rows' repeated texts
    bool m_ignoreOrphanWarnings = false;
    bool m_ignoreNoRoutineWarnings = false;
    bool m_ignoreIncludeWarnings = false;
    int m_includeDepth = 0; // of the file being harvested: 0 for a unit
    std::vector<SourceReferences::UsedUnit> m_usedUnits;
    std::optional<SourceReferences::References> m_knownReferences; // of the unit the feed gave
    std::optional<SourceSearch> m_includeSearch;                   // for the include path it was made with
    HarvestReport m_report;
};

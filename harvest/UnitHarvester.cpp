// The unit harvester: walks a unit's tokens and turns its marked comment
// blocks into rows of the identifier table.
#include "harvest/UnitHarvester.h"

#include "common/UserPrompts.h"
#include "harvest/SourceSearch.h"
#include "harvest/SourceText.h"
#include "harvest/TokenSource.h"
#include "harvest/UnitFeed.h"
#include "table/IdentifierTable.h"
#include "table/RowKinds.h"

#include <QFileInfo>
#include <QScopeGuard>

using namespace Qt::Literals::StringLiterals;

UnitHarvester::UnitHarvester(IUserPrompts& prompts, IdentifierTable& table, TraceLog& trace)
    : m_prompts(prompts), m_table(table), m_trace(trace)
{}

QString UnitHarvester::missingFileMessage()
{
    return u"O arquivo indicado não pôde ser aberto."_s;
}

void UnitHarvester::harvestUnitFile(const QString& file, const HarvestChoices& choices)
{
    if (!SourceText::fileExists(file)) {
        m_prompts.showMessage(missingFileMessage(), file, {});
        return;
    }
    // The buffers keep their storage from unit to unit.
    SourceText::readFile(file, m_bytes);
    harvestBytes(m_bytes, file, choices);
}

void UnitHarvester::harvestBytes(QByteArrayView bytes, const QString& file, const HarvestChoices& choices,
                                 const QString& nameWithoutHeading)
{
    m_choices = choices;
    m_nameWithoutHeading = nameWithoutHeading;
    const SourceText::Decoding decoding = SourceText::fromBytes(bytes, m_text, m_choices.encoding);
    harvestWith(nullptr, file, m_choices.traceKeepsUnitBytes() ? bytes.toByteArray() : QByteArray(),
                decoding);
}

void UnitHarvester::harvestFromFeed(UnitFeed& feed, const QString& file, QByteArray bytes,
                                    const SourceText::Decoding& decoding,
                                    SourceReferences::References references, const HarvestChoices& choices,
                                    const QString& nameWithoutHeading)
{
    m_knownReferences = std::move(references);
    m_choices = choices;
    m_nameWithoutHeading = nameWithoutHeading;
    harvestWith(&feed, file, std::move(bytes), decoding);
}

void UnitHarvester::harvestWith(UnitFeed* feed, const QString& file, QByteArray bytes,
                                const SourceText::Decoding& decoding)
{
    warnInvalidEncoding(file, decoding);
    // Reading every token leaves a feed's landmarks unread; the feed drops
    // them when it moves to the next unit.
    if (m_choices.readEveryToken) {
        EveryTokenSource everyToken;
        harvestText(file, std::move(bytes), everyToken, decoding.utf8);
    } else {
        SkimmingSource skimming(feed);
        harvestText(file, std::move(bytes), skimming, decoding.utf8);
    }
}

void UnitHarvester::warnInvalidEncoding(const QString& file, const SourceText::Decoding& decoding)
{
    if (decoding.invalidLine == 0)
        return;
    const QString text =
        decoding.utf16
            ? u"O arquivo não está em UTF-16 válido; o que não pôde ser lido aparece como \uFFFD."_s
            : u"O arquivo não está em UTF-8 válido; o que não pôde ser lido aparece como \uFFFD."_s;
    m_prompts.ask(Question{Topic::EncodingNotice,
                           text,
                           {Answer::Ok},
                           Answer::Ok,
                           file,
                           decoding.invalidLine,
                           {file, decoding.invalidLine, text}});
}

void UnitHarvester::harvestText(const QString& file, QByteArray bytes, TokenSource& source,
                                bool unicodeLetters)
{
    m_currentFile = file;
    // Read before the harvest: its text is reused by the include files'.
    SourceReferences::References references =
        m_knownReferences ? std::move(*m_knownReferences) : SourceReferences::scan(m_text);
    m_knownReferences.reset();
    if (m_includeDepth == 0) {
        m_usedUnits.clear();
        ++m_report.unitsRead;
    } else {
        ++m_report.includesRead;
    }
    m_usedUnits.insert(m_usedUnits.end(), references.units.begin(), references.units.end());
    m_lexer.resetCounters();
    readUnit(source, unicodeLetters);
    // The unit's text is reused for the next unit.
    m_unitName.settle(m_text);
    m_currentType.settle(m_text);
    if (m_choices.traceKeepsUnitBytes())
        m_trace.addUnitTokens(std::move(bytes), m_lastLoopStart, std::move(m_blockSpans), m_choices.encoding);
    m_lexer.keepLastToken();
    if (m_includeDepth == 0)
        m_report.unitFiles.push_back({file,
                                      IdentifierTable::keptPart(unitName(), IdentifierTable::Unit).toString(),
                                      m_choices.encoding});
    harvestIncludes(file, references.includes);
}

namespace {

// An include file that includes itself, directly or not, ends here.
constexpr int kDeepestInclude = 16;

} // namespace

void UnitHarvester::harvestIncludes(const QString& file,
                                    const std::vector<SourceReferences::Include>& includes)
{
    if (includes.empty())
        return;
    const QString unitName = this->unitName();
    const QString folder = QFileInfo(file).absolutePath();
    const HarvestChoices choices = m_choices;
    // One search for all units that share the include path, so that each
    // folder is listed once.
    if (!m_includeSearch || m_includeSearch->includeFolders() != choices.includeFolders)
        m_includeSearch.emplace(QString(), QStringList(), choices.includeFolders);
    for (const SourceReferences::Include& include : includes) {
        const std::optional<QString> path = m_includeSearch->findInclude(include.name, folder);
        if (!path || m_includeDepth >= kDeepestInclude) {
            warnIncludeMissing(file, include, path.has_value());
            continue;
        }
        QByteArray bytes;
        SourceText::readFile(*path, bytes);
        ++m_includeDepth;
        const auto leave = qScopeGuard([this] { --m_includeDepth; });
        harvestBytes(bytes, *path, choices, unitName);
    }
}

void UnitHarvester::warnIncludeMissing(const QString& file, const SourceReferences::Include& include,
                                       bool tooDeep)
{
    const QString found = tooDeep ? QString(u"o arquivo de inclusão "_s % include.name %
                                            u" inclui a si mesmo, direta ou indiretamente"_s)
                                  : QString(u"arquivo de inclusão não encontrado: "_s % include.name);
    warnUntilIgnored(Topic::IncludeMissing, m_ignoreIncludeWarnings, file, include.line, found,
                     u"Linha ("_s % QString::number(include.line) % u"): "_s % found %
                         u"\r\rIgnorar avisos de arquivos de inclusão?"_s);
}

int UnitHarvester::readToken()
{
    return m_lexer.nextToken(m_text, m_position);
}

bool UnitHarvester::tokenOpensBlock() const
{
    const int code = m_lexer.token().code;
    return Lexer::isMarker(code) || (code == ReservedWord && m_lexer.tokenIs(u"unit"));
}

void UnitHarvester::clearBlock()
{
    m_currentIdentifier.clear();
    m_currentName.clear();
    m_currentType.clear();
    m_currentHelp.resize(0); // keeps its room
}

void UnitHarvester::addHelpLine()
{
    // Appended in place: the help's buffer keeps its room from block to block.
    const QStringView line = m_lexer.view();
    if (!m_currentHelp.isEmpty())
        m_currentHelp.append(m_lexer.token().code == ParagraphMarker ? u"\r\n" : u" ");
    m_currentHelp.append(line);
}

void UnitHarvester::insertIdentifier()
{
    // Only the parts the table keeps of texts a raw scan took are copied. A
    // table that is not open and idle drops the row silently.
    // The unit's name and the kind come from the pool; the help is copied at
    // its size, so that the buffer it was built in serves the next block.
    const auto kept = [this](const DeferredText& text, int column) {
        return m_pool.shared(IdentifierTable::keptPart(text.view(m_text), column));
    };
    m_table.append(IdentifierRow{kept(m_unitName, IdentifierTable::Unit), m_currentIdentifier, m_currentName,
                                 kept(m_currentType, IdentifierTable::IdentifierType),
                                 QString(m_currentHelp.constData(), m_currentHelp.size()),
                                 m_lexer.currentLine()});
}

void UnitHarvester::describeTable()
{
    const TableBlock block{m_tableName, m_currentHelp, m_currentFile, m_lexer.currentLine()};
    // Without a dialogue, the comment is stored as it stands.
    const TableRow line = m_tableComments
                              ? m_tableComments->describeTable(block)
                              : TableRow{m_tableName, m_tableName, RowKinds::TableKind(), m_currentHelp};
    m_currentIdentifier = line.identifier;
    m_currentName = line.name;
    m_currentType = line.type;
    m_currentHelp = line.help;
    insertIdentifier();
}

void UnitHarvester::readUnit(TokenSource& source, bool unicodeLetters)
{
    m_position = 0;
    m_lexer.startText(m_text, unicodeLetters);
    source.begin(m_text, unicodeLetters);
    for (CharScan* scan : {&m_scanSemicolon, &m_scanLineEnd, &m_scanOpen, &m_scanClose, &m_scanTypeEnd})
        scan->reset(m_text);
    nameFromLeadingHeading();
    m_lexer.setNoToken();
    m_lastLoopStart = 0;
    m_blockSpans.clear();
    while (!m_lexer.tokenIsEof()) {
        // The loop acts on landmarks alone: a skimming source passes over
        // every other token unread.
        Token token;
        const int previous = source.next(m_position, m_lexer.line(), token);
        m_lexer.takeToken(m_text, token, previous);
        m_lastLoopStart = token.start;
        if (m_choices.trace && source.readsEveryToken()) {
            if (token.halveQuotes)
                m_trace.addToken(TraceLog::Source::Unit, token.code, m_lexer.tokenText());
            else
                m_trace.addToken(TraceLog::Source::Unit, token.code, m_lexer.view());
        }
        // A block ends at the first token that does not continue it; when that
        // token opens a block or names the unit, it is acted on in turn.
        bool again = true;
        while (again) {
            const int code = m_lexer.token().code;
            if (Lexer::isMarker(code))
                clearBlock(); // each block starts from empty fields
            switch (code) {
            case ParagraphMarker:
            case ContinuationMarker:
                again = readOrphanBlock();
                break;
            case RoutineMarker:
                again = readRoutineBlock();
                break;
            case TableMarker:
                again = readTableBlock();
                break;
            case HelpMarker:
                again = readHelpBlock();
                break;
            case ReservedWord:
                if (m_lexer.tokenIs(u"unit"))
                    readUnitHeading();
                again = false;
                break;
            default:
                again = false;
                break;
            }
        }
        if (m_lexer.token().start != m_lastLoopStart) // the tokens the blocks read are not the loop's
            m_blockSpans.push_back({m_lastLoopStart, m_lexer.token().start});
    }
}

bool UnitHarvester::readOrphanBlock()
{
    const int line = m_lexer.currentLine() + 1;
    const QString found = u"Foi encontrado um comentário para documentação\r"
                          u"sem uma identificação de tipo na linha ("_s %
                          QString::number(line) % u')';
    warnUntilIgnored(Topic::OrphanComment, m_ignoreOrphanWarnings, m_currentFile, line, found,
                     found % u"\r\rIgnorar avisos de comentários não identificados?"_s);
    while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker) {
        addHelpLine();
        readToken();
    }
    m_currentIdentifier = u"Linha ("_s % QString::number(m_lexer.currentLine()) % u')';
    m_currentName = u"Comentário órfão"_s;
    m_currentType = RowKinds::OrphanKind();
    insertIdentifier();
    return tokenOpensBlock();
}

bool UnitHarvester::readRoutineBlock()
{
    while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker ||
           m_lexer.token().code == RoutineMarker) {
        addHelpLine();
        readToken();
    }
    // A heading may be indented with tabs, which the lexer gives as tokens.
    while (!m_lexer.tokenIsEof() && m_lexer.token().length > 0 && m_lexer.view().trimmed().isEmpty())
        readToken();
    const std::optional<RoutineHeading> heading = routineHeading();
    if (heading)
        readHeading(*heading);
    else
        warnNoRoutine();
    insertIdentifier();
    return !heading && tokenOpensBlock();
}

void UnitHarvester::warnUntilIgnored(Topic topic, bool& ignored, const QString& file, int line,
                                     const QString& found, const QString& question)
{
    if (ignored)
        return;
    const Question asked{topic, question, {Answer::Yes, Answer::No}, Answer::Yes,
                         file,  line,     {file, line, found}};
    if (m_prompts.ask(asked) == Answer::Yes)
        ignored = true;
}

void UnitHarvester::warnNoRoutine()
{
    if (m_ignoreNoRoutineWarnings)
        return; // what follows is not even looked at
    const QString found = u"O comentário //@ não é seguido de uma rotina, e sim de: "_s % whatFollows();
    warnUntilIgnored(Topic::NoRoutine, m_ignoreNoRoutineWarnings, m_currentFile, m_lexer.currentLine() + 1,
                     found, found % u"\r\rIgnorar avisos de comentários //@ sem rotina?"_s);
}

QString UnitHarvester::whatFollows() const
{
    if (m_lexer.tokenIsEof())
        return u"o fim do arquivo"_s;
    // The line of the token (a block's comment lines run to their ends, so
    // the token is the first of its line), as the user wrote it, shortened
    // when long.
    const QStringView text(m_text);
    qsizetype start = m_lexer.token().start;
    while (start > 0 && text[start - 1] != u'\n')
        --start;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    qsizetype end = start;
    while (end < text.size() && end - start < 60 && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    QString shown = text.sliced(start, end - start).trimmed().toString();
    if (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        shown += u"…"_s;
    return u'"' % shown % u'"';
}

bool UnitHarvester::readTableBlock()
{
    m_tableName = m_lexer.tokenText();
    readToken();
    while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker ||
           m_lexer.token().code == TableMarker) {
        addHelpLine();
        readToken();
    }
    describeTable();
    return tokenOpensBlock();
}

bool UnitHarvester::readHelpBlock()
{
    while (m_lexer.token().code == HelpMarker) {
        const QString line = m_lexer.tokenText();
        m_currentIdentifier = line;
        m_currentName = u"Help "_s % line;
        m_currentType = RowKinds::HelpKind();
        m_currentHelp.resize(0);
        readToken();
        while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker) {
            addHelpLine();
            readToken();
        }
        insertIdentifier();
    }
    return tokenOpensBlock();
}

void UnitHarvester::nameFromLeadingHeading()
{
    m_unitName.clear();
    if (m_includeDepth > 0) { // an include file's rows are its including unit's
        m_unitName = m_nameWithoutHeading;
        return;
    }
    const QStringView text(m_text);
    const qsizetype n = text.size();
    qsizetype p = 0;
    // Past blanks, line breaks and comments of every kind, //? blocks too.
    for (;;) {
        while (p < n && (text[p] == u' ' || text[p] == u'\t' || text[p] == u'\r' || text[p] == u'\n' ||
                         text[p] == QChar(0xFEFF)))
            ++p;
        if (p + 1 < n && text[p] == u'/' && text[p + 1] == u'/') {
            const qsizetype end = text.indexOf(u'\r', p);
            p = end < 0 ? n : end;
        } else if (p < n && text[p] == u'{') {
            const qsizetype end = text.indexOf(u'}', p);
            p = end < 0 ? n : end + 1;
        } else if (p + 1 < n && text[p] == u'(' && text[p + 1] == u'*') {
            const qsizetype end = text.indexOf(u"*)", p + 2);
            p = end < 0 ? n : end + 2;
        } else {
            break;
        }
    }
    qsizetype wordEnd = p;
    while (wordEnd < n && wordEnd - p < 8 && text[wordEnd].isLetter())
        ++wordEnd;
    const QStringView word = text.sliced(p, wordEnd - p);
    const bool isUnit = word.compare(u"unit", Qt::CaseInsensitive) == 0;
    const bool isProgram = word.compare(u"program", Qt::CaseInsensitive) == 0 ||
                           word.compare(u"library", Qt::CaseInsensitive) == 0 ||
                           word.compare(u"package", Qt::CaseInsensitive) == 0;
    if (wordEnd >= n || (!isUnit && !isProgram) || text[wordEnd].isLetterOrNumber()) {
        if (!m_nameWithoutHeading.isEmpty())
            m_unitName = m_nameWithoutHeading;
        return;
    }
    const qsizetype semicolon = std::max(wordEnd, m_scanSemicolon.find(wordEnd));
    if (isUnit) {
        // As the unit heading itself gives it: from the second character
        // after the word up to the ';'.
        const qsizetype start = std::min(wordEnd + 1, n);
        m_unitName.setSlice(start, std::max(start, semicolon) - start);
        return;
    }
    m_unitName = text.sliced(wordEnd, std::min(semicolon, n) - wordEnd).trimmed().toString();
}

void UnitHarvester::readUnitHeading()
{
    // From the second character after the word up to the next ';', or to the
    // end of the text; the lexer position does not move.
    const qsizetype start = std::min(m_position + 1, m_text.size());
    const qsizetype end = std::max(start, m_scanSemicolon.find(start));
    m_unitName.setSlice(start, end - start);
}

namespace {

// The routine word a word is, in any letter case.
std::optional<int> routineWordOf(QStringView word)
{
    static constexpr QStringView kWords[] = {u"procedure", u"function", u"constructor", u"destructor",
                                             u"operator"};
    for (int i = 0; i < 5; ++i) {
        if (word.compare(kWords[i], Qt::CaseInsensitive) == 0)
            return i;
    }
    return std::nullopt;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// A heading longer than this is no heading: its text is taken as one line,
// which keeps a unit with no ';' from being read again at every //@ block.
constexpr qsizetype kLongestHeading = 4096;

} // namespace

std::optional<UnitHarvester::RoutineHeading> UnitHarvester::routineHeading() const
{
    const int code = m_lexer.token().code;
    if (code != ReservedWord && code != Identifier)
        return std::nullopt;
    const QStringView word = m_lexer.view();
    if (const std::optional<int> index = routineWordOf(word))
        return RoutineHeading{static_cast<RoutineWord>(*index), false};
    if (word.compare(u"class", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // "class" and, after blanks, a routine word.
    const QStringView text(m_text);
    qsizetype p = m_position;
    while (p < text.size() && (isBlank(text[p]) || text[p] == u'\r' || text[p] == u'\n'))
        ++p;
    qsizetype end = p;
    while (end < text.size() && end - p < 12 && text[end].isLetter())
        ++end;
    if (const std::optional<int> index = routineWordOf(text.sliced(p, end - p)))
        return RoutineHeading{static_cast<RoutineWord>(*index), true};
    return std::nullopt;
}

qsizetype UnitHarvester::multiLineHeadingEnd(qsizetype start)
{
    const QStringView text(m_text);
    const qsizetype limit = std::min(text.size(), start + kLongestHeading);
    // Every search stops at the limit: one reaching past it at each //@ block
    // of a hostile unit would read the rest of the unit every time.
    const QStringView bounded = text.first(limit);
    const qsizetype firstLineEnd = m_scanLineEnd.find(start);
    int depth = 0;
    for (qsizetype p = start; p < limit; ++p) {
        const QChar c = text[p];
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            depth = std::max(0, depth - 1);
        } else if (c == u'{') { // a comment or a directive: its ';' does not count
            const qsizetype close = bounded.indexOf(u'}', p);
            if (close < 0 || close >= limit)
                return -1;
            p = close;
        } else if (c == u'/' && p + 1 < limit && text[p + 1] == u'/') {
            while (p < limit && text[p] != u'\r')
                ++p;
        } else if (c == u';' && depth == 0) {
            if (p < firstLineEnd)
                return -1;
            const qsizetype lineEnd = bounded.indexOf(u'\r', p);
            if (lineEnd < 0)
                return limit == text.size() ? text.size() : -1;
            return lineEnd;
        }
    }
    return -1;
}

void UnitHarvester::readMultiLineHeading(const RoutineHeading& heading, qsizetype start, qsizetype end)
{
    // The heading's lines as one: each line break with the indentation after
    // it one blank, comments and directives left out.
    const QStringView text = QStringView(m_text).first(end);
    QString joined;
    for (qsizetype p = start; p < end; ++p) {
        const QChar c = text[p];
        if (c == u'{') {
            const qsizetype close = text.indexOf(u'}', p);
            p = close < 0 ? end : close;
        } else if (c == u'(' && p + 1 < end && text[p + 1] == u'*') {
            const qsizetype close = text.indexOf(u"*)", p + 2);
            p = close < 0 ? end : close + 1;
        } else if (c == u'/' && p + 1 < end && text[p + 1] == u'/') {
            while (p + 1 < end && text[p + 1] != u'\r')
                ++p;
        } else if (c == u'\r' || c == u'\n') {
            while (p + 1 < end && (text[p + 1] == u'\r' || text[p + 1] == u'\n' || isBlank(text[p + 1])))
                ++p;
            if (!joined.endsWith(u' '))
                joined += u' ';
        } else {
            joined += c;
        }
    }
    m_currentIdentifier = joined.trimmed();
    if (heading.word != RoutineWord::Function && heading.word != RoutineWord::Operator)
        return;
    // The type after the ':' that follows the parameter list (or the name),
    // up to the ';': " Boolean", as a heading on one line gives it.
    const QStringView whole(m_currentIdentifier);
    qsizetype p = whole.indexOf(u'(');
    const qsizetype semicolon = whole.indexOf(u';');
    if (p >= 0 && (semicolon < 0 || p < semicolon)) {
        int depth = 0;
        for (; p < whole.size(); ++p) {
            if (whole[p] == u'(')
                ++depth;
            else if (whole[p] == u')' && --depth == 0)
                break;
        }
    } else {
        p = 0;
    }
    const qsizetype colon = whole.indexOf(u':', p);
    const qsizetype typeEnd = colon < 0 ? -1 : whole.indexOf(u';', colon);
    if (colon >= 0 && typeEnd > colon)
        m_currentType = whole.sliced(colon + 1, typeEnd - colon - 1).toString();
}

void UnitHarvester::readHeading(const RoutineHeading& heading)
{
    // A view: indexing the shared text itself would copy it.
    const QStringView text(m_text);
    const qsizetype n = text.size();
    const qsizetype keywordStart = m_lexer.token().start;

    // The heading's line from the keyword to its end, verbatim; a heading
    // over several lines is taken whole, as one line.
    const qsizetype lineEnd = m_scanLineEnd.find(m_position);
    m_currentIdentifier = m_lexer.tokenText() % text.sliced(m_position, lineEnd - m_position);
    if (heading.afterClass)
        readToken(); // the routine word after "class"
    const bool isFunction = heading.word == RoutineWord::Function || heading.word == RoutineWord::Operator;
    if (heading.word == RoutineWord::Operator) {
        // An operator's name is what follows the word up to its parameter
        // list: "+", ":=", "and", or Delphi's "Add", with its class if any.
        qsizetype p = m_position;
        while (p < n && isBlank(text[p]))
            ++p;
        qsizetype end = p;
        while (end < n && text[end] != u'(' && text[end] != u'\r' && !isBlank(text[end]))
            ++end;
        m_currentName = text.sliced(p, end - p).toString();
    }
    if (const qsizetype end = multiLineHeadingEnd(keywordStart); end >= 0) {
        readMultiLineHeading(heading, keywordStart, end);
        if (heading.word != RoutineWord::Operator) {
            readToken();
            m_currentName = m_lexer.tokenText();
            readRestOfName();
        }
        return;
    }
    if (heading.word == RoutineWord::Operator) {
        // The type after the ':' that follows the parameter list, up to the
        // ';' (a result's name may stand before the ':').
        const qsizetype close = m_scanClose.find(m_position);
        const qsizetype semicolon = m_scanSemicolon.find(m_position);
        const qsizetype colon = text.sliced(0, std::min(semicolon, n)).indexOf(u':', std::min(close, n));
        if (close < semicolon && colon > close && colon < semicolon)
            m_currentType.setSlice(colon + 1, semicolon - colon - 1);
        return;
    }

    readToken();
    m_currentName = m_lexer.tokenText();
    const NameEnd nameEnd = readRestOfName();
    // The block began with an empty type, which the return type replaces.
    if (isFunction) {
        const Span kind = returnType(nameEnd.afterName, nameEnd.follows);
        m_currentType.setSlice(kind.start, kind.length);
    }
}

UnitHarvester::NameEnd UnitHarvester::readRestOfName()
{
    const QStringView text(m_text);
    const qsizetype n = text.size();
    // What follows the name: `follows` stands at the ':' of a function
    // without a parameter list, when there is one.
    readToken();
    const qsizetype afterName = m_lexer.token().start;
    qsizetype follows = -1;
    if (m_lexer.tokenIs(u".")) {
        // A qualified name (TForm1.Button1Click) is taken whole, up to its
        // parameter list, its ':' or its ';', over line breaks if it must.
        m_currentName += u'.';
        for (;;) {
            qsizetype p = m_position;
            while (p < n && (text[p] == u' ' || text[p] == u'\r' || text[p] == u'\n'))
                ++p;
            if (p >= n)
                break;
            const char16_t c = text[p].unicode();
            if (c == u'(' || c == u':' || c == u';') {
                follows = p;
                break;
            }
            readToken();
            m_currentName += m_lexer.tokenText();
        }
    } else if (m_lexer.token().code == Separator) {
        follows = m_lexer.token().start;
    }
    return {afterName, follows};
}

UnitHarvester::Span UnitHarvester::returnType(qsizetype afterName, qsizetype follows)
{
    const QStringView text(m_text);
    const qsizetype n = text.size();
    // A heading with a parenthesis before its first ';' has a parameter list,
    // whatever stands between the name and it ({comment}, <T>, a letter the
    // lexer cuts): the type stands after the list's ')' and the character
    // after it (normally the ':'), up to the ';'.
    const qsizetype semicolon = m_scanSemicolon.find(afterName);
    if (m_scanOpen.find(afterName) < semicolon || m_scanClose.find(afterName) < semicolon) {
        const qsizetype close = m_scanClose.find(m_position);
        const qsizetype typeStart = std::min(close + 2, n);
        const qsizetype typeEnd = std::max(typeStart, m_scanTypeEnd.find(typeStart));
        return {typeStart, typeEnd - typeStart};
    }
    // Without one, the type follows the ':' after the name, up to the ';' or
    // the end of that line.
    if (follows < 0 || follows >= n || text[follows] != u':')
        return {};
    const qsizetype typeStart = follows + 1;
    QStringView rest = text.sliced(typeStart);
    const qsizetype lineBreak = rest.indexOf(u'\r');
    if (lineBreak >= 0)
        rest.truncate(lineBreak);
    const qsizetype end = rest.indexOf(u';');
    return {typeStart, end < 0 ? rest.size() : end};
}

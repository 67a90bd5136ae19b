#include "harvest/SourceReferences.h"

#include "harvest/PascalTokens.h"

#include <algorithm>

namespace SourceReferences {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// {$I name} and {$INCLUDE name}; not the switches {$I+} and {$I-}, nor
// FPC's {$I %DATE%}, which inserts a text rather than a file.
void addInclude(const PascalDirective& directive, std::vector<Include>& includes)
{
    const QStringView body = directive.body;
    qsizetype p = 0;
    while (p < body.size() && isNameChar(body[p]))
        ++p;
    const QStringView name = body.first(p);
    if (name.compare(u"i", Qt::CaseInsensitive) != 0 && name.compare(u"include", Qt::CaseInsensitive) != 0)
        return;
    if (p >= body.size() || !body[p].isSpace())
        return;
    QStringView file = body.sliced(p).trimmed();
    if (file.startsWith(u'\'')) {
        const qsizetype close = file.indexOf(u'\'', 1);
        file = file.sliced(1, (close < 0 ? file.size() : close) - 1);
    }
    if (file.isEmpty() || file.startsWith(u'%'))
        return;
    includes.push_back({file.toString(), directive.line});
}

class Reader
{
public:
    explicit Reader(QStringView text, bool mayInclude)
        : m_text(text), m_tokens(text), m_mayInclude(mayInclude)
    {}

    References run()
    {
        // A program has one uses clause; a unit one after "interface" and
        // one right after "implementation". Past the last place one can
        // stand, only include directives are left to find.
        bool sawInterface = false;
        for (read(); m_token.kind != PascalToken::End; read()) {
            if (m_token.is(u"uses") || m_token.is(u"contains")) {
                readUsesClause();
                if (!sawInterface)
                    break;
            } else if (m_token.is(u"interface")) {
                sawInterface = true;
            } else if (m_token.is(u"implementation")) {
                read();
                if (m_token.is(u"uses"))
                    readUsesClause();
                break;
            }
        }
        if (m_mayInclude && m_token.kind != PascalToken::End)
            readIncludes(m_tokens.position(), m_tokens.line());
        return std::move(m_references);
    }

private:
    void read()
    {
        m_token = m_tokens.next();
        if (m_tokens.hasDirectives()) {
            for (const PascalDirective& directive : m_tokens.takeDirectives())
                addInclude(directive, m_references.includes);
        }
    }

    // The rest of the text for its include directives alone: a pass over
    // comments, literals and line breaks, with no token made.
    void readIncludes(qsizetype from, int line)
    {
        const QStringView text = m_text;
        const char16_t* c = text.utf16();
        const qsizetype n = text.size();
        const auto linesIn = [c](qsizetype begin, qsizetype end) {
            return static_cast<int>(std::count(c + begin, c + end, u'\n'));
        };
        for (qsizetype p = from; p < n; ++p) {
            switch (c[p]) {
            case u'\n':
                ++line;
                break;
            case u'{':
            case u'(': {
                const bool brace = c[p] == u'{';
                if (!brace && (p + 1 >= n || c[p + 1] != u'*'))
                    break;
                const qsizetype bodyStart = p + (brace ? 1 : 2);
                const qsizetype close = closingAt(text, bodyStart, brace ? u"}" : u"*)");
                if (bodyStart < n && c[bodyStart] == u'$')
                    addInclude({text.sliced(bodyStart + 1, close - bodyStart - 1), line},
                               m_references.includes);
                line += linesIn(p, close);
                p = brace ? close : close + 1;
                break;
            }
            case u'/':
                if (p + 1 < n && c[p + 1] == u'/') {
                    const qsizetype end = text.indexOf(u'\n', p);
                    p = (end < 0 ? n : end) - 1; // the line break is counted next
                }
                break;
            case u'\'':
                while (p + 1 < n && c[p + 1] != u'\'' && c[p + 1] != u'\n')
                    ++p;
                ++p; // the closing quote, or the line break counted next
                if (p < n && c[p] == u'\n')
                    --p;
                break;
            default:
                break;
            }
        }
    }

    // name [in 'file'] {, name [in 'file']} ; where a name may be dotted.
    void readUsesClause()
    {
        for (;;) {
            read();
            if (m_token.kind != PascalToken::Word)
                return;
            UsedUnit unit;
            unit.line = m_token.line;
            unit.name = m_token.text.toString();
            read();
            while (m_token.isSymbol(u'.')) {
                read();
                if (m_token.kind != PascalToken::Word)
                    return;
                unit.name += u'.' % m_token.text;
                read();
            }
            if (m_token.is(u"in")) {
                read();
                if (m_token.kind != PascalToken::String)
                    return;
                unit.inFile = m_token.text.sliced(1).chopped(m_token.text.endsWith(u'\'') ? 1 : 0).toString();
                read();
            }
            m_references.units.push_back(std::move(unit));
            if (!m_token.isSymbol(u','))
                return;
        }
    }

    QStringView m_text;
    PascalTokens m_tokens;
    bool m_mayInclude;
    PascalToken m_token;
    References m_references;
};

// Whether a text has a directive that may include a file: "{$I" or "(*$I"
// in either case, found by its '$', a rare character, first.
bool mayInclude(QStringView text)
{
    for (qsizetype p = text.indexOf(u'$'); p >= 0; p = text.indexOf(u'$', p + 1)) {
        const bool opens = p > 0 && (text[p - 1] == u'{' || text[p - 1] == u'*');
        if (!opens)
            continue;
        const QStringView rest = text.sliced(p + 1);
        if (rest.size() < 2 || (rest[0] != u'I' && rest[0] != u'i'))
            continue; // most often a hexadecimal number
        if (!isNameChar(rest[1]) || rest.startsWith(u"include", Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

References scan(QStringView text)
{
    return Reader(text, mayInclude(text)).run();
}

} // namespace SourceReferences

#include "harvest/SourceReferences.h"

#include "harvest/PascalTokens.h"

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
    explicit Reader(QStringView text) : m_tokens(text) {}

    References run()
    {
        for (read(); m_token.kind != PascalToken::End; read()) {
            if (m_token.is(u"uses") || m_token.is(u"contains"))
                readUsesClause();
        }
        return std::move(m_references);
    }

private:
    void read()
    {
        m_token = m_tokens.next();
        for (const PascalDirective& directive : m_tokens.takeDirectives())
            addInclude(directive, m_references.includes);
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

    PascalTokens m_tokens;
    PascalToken m_token;
    References m_references;
};

} // namespace

References scan(QStringView text)
{
    return Reader(text).run();
}

} // namespace SourceReferences

#include "harvest/PascalTokens.h"

#include <algorithm>

namespace {

bool isAsciiNameChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

bool isNameStart(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? isAsciiNameChar(u) && !(u >= u'0' && u <= u'9') : c.isLetter();
}

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? isAsciiNameChar(u) : c.isLetterOrNumber();
}

} // namespace

qsizetype closingAt(QStringView text, qsizetype from, QStringView closing)
{
    // By its first character: closings are one or two characters long.
    const char16_t* c = text.utf16();
    const qsizetype n = text.size();
    const char16_t first = closing[0].unicode();
    for (qsizetype p = from; p < n; ++p) {
        p = std::find(c + p, c + n, first) - c;
        if (p >= n)
            break;
        if (closing.size() == 1 || (p + 1 < n && c[p + 1] == closing[1].unicode()))
            return p;
    }
    return n;
}

void PascalTokens::advanceTo(qsizetype end)
{
    // Long spans (comments) are counted with one vectorised pass.
    end = std::min(end, m_text.size());
    if (end > m_pos)
        m_line += static_cast<int>(std::count(m_text.utf16() + m_pos, m_text.utf16() + end, u'\n'));
    m_pos = end;
}

void PascalTokens::skipComment(qsizetype opening, QStringView closing)
{
    const int line = m_line;
    const qsizetype bodyStart = m_pos + opening;
    const qsizetype close = closingAt(m_text, bodyStart, closing);
    if (at(bodyStart) == u'$')
        m_directives.push_back({m_text.sliced(bodyStart + 1, close - bodyStart - 1), line});
    advanceTo(close + closing.size());
}

PascalToken PascalTokens::next()
{
    const char16_t* text = m_text.utf16();
    const qsizetype n = m_text.size();
    for (;;) {
        // Blanks and line breaks, the commonest characters between tokens.
        while (m_pos < n && text[m_pos] <= u' ') {
            if (text[m_pos] == u'\n')
                ++m_line;
            ++m_pos;
        }
        if (m_pos >= n)
            return {PascalToken::End, {}, m_line, std::exchange(m_sawRoutineMarker, false)};
        const char16_t c = text[m_pos];
        if (c == u'{') {
            skipComment(1, u"}");
        } else if (c == u'(' && at(m_pos + 1) == u'*') {
            skipComment(2, u"*)");
        } else if (c == u'/' && at(m_pos + 1) == u'/') {
            if (at(m_pos + 2) == u'@')
                m_sawRoutineMarker = true;
            const qsizetype end = m_text.indexOf(u'\n', m_pos);
            m_pos = end < 0 ? n : end; // the line break is counted with the blanks
        } else if (QChar(c).isSpace()) {
            ++m_pos;
        } else {
            break;
        }
    }
    PascalToken token;
    token.line = m_line;
    token.afterRoutineMarker = std::exchange(m_sawRoutineMarker, false);
    const qsizetype start = m_pos;
    const char16_t c = text[m_pos];
    if (isNameStart(QChar(c)) || (c == u'&' && isNameStart(at(m_pos + 1)))) {
        const qsizetype first = c == u'&' ? start + 1 : start;
        qsizetype end = first + 1;
        while (end < n && isNameChar(QChar(text[end])))
            ++end;
        token.kind = PascalToken::Word;
        token.text = m_text.sliced(first, end - first);
        m_pos = end;
    } else if (c == u'\'') {
        qsizetype end = m_pos + 1;
        while (end < n && text[end] != u'\'' && text[end] != u'\n')
            ++end;
        if (end < n && text[end] == u'\'')
            ++end;
        token.kind = PascalToken::String;
        token.text = m_text.sliced(start, end - start);
        m_pos = end;
    } else if (c >= u'0' && c <= u'9') {
        qsizetype end = m_pos + 1;
        while (end < n && isNameChar(QChar(text[end])))
            ++end;
        token.kind = PascalToken::Symbol; // a number: nothing reads it
        token.text = m_text.sliced(start, end - start);
        m_pos = end;
    } else {
        token.kind = PascalToken::Symbol;
        token.text = m_text.sliced(start, 1);
        ++m_pos;
    }
    return token;
}

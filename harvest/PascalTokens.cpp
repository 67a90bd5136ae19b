#include "harvest/PascalTokens.h"

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

void PascalTokens::advanceTo(qsizetype end)
{
    end = std::min(end, m_text.size());
    for (; m_pos < end; ++m_pos) {
        if (m_text[m_pos] == u'\n')
            ++m_line;
    }
}

void PascalTokens::skipComment(qsizetype opening, QStringView closing)
{
    const int line = m_line;
    const qsizetype bodyStart = m_pos + opening;
    qsizetype close = m_text.indexOf(closing, bodyStart);
    if (close < 0)
        close = m_text.size();
    if (at(bodyStart) == u'$')
        m_directives.push_back({m_text.sliced(bodyStart + 1, close - bodyStart - 1), line});
    advanceTo(close + closing.size());
}

PascalToken PascalTokens::next()
{
    for (;;) {
        if (m_pos >= m_text.size())
            return {PascalToken::End, {}, m_line, std::exchange(m_sawRoutineMarker, false)};
        const QChar c = m_text[m_pos];
        if (c.isSpace()) {
            advanceTo(m_pos + 1);
        } else if (c == u'{') {
            skipComment(1, u"}");
        } else if (c == u'(' && at(m_pos + 1) == u'*') {
            skipComment(2, u"*)");
        } else if (c == u'/' && at(m_pos + 1) == u'/') {
            if (at(m_pos + 2) == u'@')
                m_sawRoutineMarker = true;
            qsizetype end = m_text.indexOf(u'\n', m_pos);
            advanceTo(end < 0 ? m_text.size() : end);
        } else {
            break;
        }
    }
    PascalToken token;
    token.line = m_line;
    token.afterRoutineMarker = std::exchange(m_sawRoutineMarker, false);
    const qsizetype start = m_pos;
    const QChar c = m_text[m_pos];
    if (isNameStart(c) || (c == u'&' && isNameStart(at(m_pos + 1)))) {
        qsizetype end = m_pos + 1;
        while (end < m_text.size() && isNameChar(m_text[end]))
            ++end;
        token.kind = PascalToken::Word;
        token.text = m_text.sliced(c == u'&' ? start + 1 : start, end - (c == u'&' ? start + 1 : start));
        advanceTo(end);
    } else if (c == u'\'') {
        qsizetype end = m_pos + 1;
        while (end < m_text.size() && m_text[end] != u'\'' && m_text[end] != u'\n')
            ++end;
        if (end < m_text.size() && m_text[end] == u'\'')
            ++end;
        token.kind = PascalToken::String;
        token.text = m_text.sliced(start, end - start);
        advanceTo(end);
    } else if (c.isDigit()) {
        qsizetype end = m_pos + 1;
        while (end < m_text.size() && isNameChar(m_text[end]))
            ++end;
        token.kind = PascalToken::Symbol; // a number: nothing reads it
        token.text = m_text.sliced(start, end - start);
        advanceTo(end);
    } else {
        token.kind = PascalToken::Symbol;
        token.text = m_text.sliced(start, 1);
        advanceTo(m_pos + 1);
    }
    return token;
}

#include "harvest/LexerState.h"

int LexerState::nextToken(const QString& text, qsizetype& position)
{
    // A pointer test spares the reference count on every token of one text.
    if (m_source.constData() != text.constData() || m_source.size() != text.size())
        m_source = text;
    const int code = Lexer::next(text, position, m_currentLine, m_token, m_unicodeLetters);
    if (code != EndOfText)
        m_tokenCode = code;
    return code;
}

void LexerState::takeToken(const QString& text, const Token& token, int previousCode)
{
    if (m_source.constData() != text.constData() || m_source.size() != text.size())
        m_source = text;
    // Reading the tokens before it one by one would leave the last one's code.
    if (previousCode != NoToken)
        m_tokenCode = previousCode;
    m_token = token;
    if (token.code != EndOfText)
        m_tokenCode = token.code;
}

void LexerState::startText(const QString& text, bool unicodeLetters)
{
    m_source = text;
    m_unicodeLetters = unicodeLetters;
}

void LexerState::keepLastToken()
{
    const QString text = tokenText();
    m_source = text;
    m_token.start = 0;
    m_token.length = m_token.code == EndOfText ? 0 : text.size();
    m_token.halveQuotes = false;
}

bool LexerState::tokenIs(QStringView text) const
{
    if (m_token.halveQuotes)
        return Lexer::text(m_source, m_token) == text;
    return Lexer::view(m_source, m_token) == text;
}

bool LexerState::tokenIsEof() const
{
    if (m_token.code == EndOfText)
        return true;
    if (m_token.length != 3 || m_token.halveQuotes)
        return false;
    const QChar* t = m_source.constData() + m_token.start;
    return t[0] == u'e' && t[1] == u'o' && t[2] == u'f';
}

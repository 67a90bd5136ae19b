#include "harvest/LexerState.h"

int LexerState::ProximoToken(const QString& texto, qsizetype& posicao)
{
    // A pointer test spares the reference count on every token of one text.
    if (m_source.constData() != texto.constData() || m_source.size() != texto.size())
        m_source = texto;
    const int code = Lexer::next(texto, posicao, m_LinhaAtual, m_token, m_unicodeLetters);
    if (code != EndOfText)
        m_CodigoToken = code;
    return code;
}

void LexerState::takeToken(const QString& texto, const Token& token, int previousCode)
{
    if (m_source.constData() != texto.constData() || m_source.size() != texto.size())
        m_source = texto;
    // Reading the tokens before it one by one would leave the last one's code.
    if (previousCode != NoToken)
        m_CodigoToken = previousCode;
    m_token = token;
    if (token.code != EndOfText)
        m_CodigoToken = token.code;
}

void LexerState::startText(const QString& texto, bool unicodeLetters)
{
    m_source = texto;
    m_unicodeLetters = unicodeLetters;
}

void LexerState::keepLastToken()
{
    const QString texto = TextoToken();
    m_source = texto;
    m_token.start = 0;
    m_token.length = m_token.code == EndOfText ? 0 : texto.size();
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

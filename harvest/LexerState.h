#pragma once

#include "harvest/Lexer.h"

#include <QString>

// The lexer's working state as the harvest and the project reader share it:
// the last token (TextoToken, CodigoToken) and the line counter (LinhaAtual).
// A token is a slice of the text it was read from, which this state keeps.
class LexerState
{
public:
    // Reads the token at `posicao` of `texto` and moves past it.
    int ProximoToken(const QString& texto, qsizetype& posicao);
    // A token the caller read by other means (a skim's landmark): its code
    // and, when it is not NoToken, the code of the token before it.
    void takeToken(const QString& texto, const Token& token, int previousCode);

    // A new text; letters outside ASCII continue identifiers when
    // `unicodeLetters` (a text read as UTF-8).
    void startText(const QString& texto, bool unicodeLetters);
    bool unicodeLetters() const { return m_unicodeLetters; }
    void resetCounters()
    {
        m_LinhaAtual = 0;
        m_CodigoToken = 0;
    }
    // Any text but "eof" lets a harvest loop start.
    void setNoToken() { m_token = Token{Invalid, 0, 0, false}; }
    // The last token keeps its text on its own, so the text it came from can
    // be reused without a copy.
    void keepLastToken();

    QString TextoToken() const { return Lexer::text(m_source, m_token); }
    int CodigoToken() const { return m_CodigoToken; }
    int LinhaAtual() const { return m_LinhaAtual; }
    int& linha() { return m_LinhaAtual; }
    const Token& token() const { return m_token; }
    Token& token() { return m_token; }
    QStringView view() const { return Lexer::view(m_source, m_token); }

    bool tokenIs(QStringView text) const;
    // Besides the end of the text, only an identifier or a comment (marker
    // lines included) can read "eof".
    bool tokenIsEof() const;

private:
    QString m_source;
    Token m_token;
    int m_CodigoToken = 0;
    int m_LinhaAtual = 0;
    bool m_unicodeLetters = false;
};

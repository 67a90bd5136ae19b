#pragma once

#include "harvest/Lexer.h"

#include <QString>

// The lexer's working state as the harvest and the project reader share it:
// the last token (tokenText, tokenCode) and the line counter (currentLine).
// A token is a slice of the text it was read from, which this state keeps.
class LexerState
{
public:
    // Reads the token at `position` of `text` and moves past it.
    int nextToken(const QString& text, qsizetype& position);
    // A token the caller read by other means (a skim's landmark): its code
    // and, when it is not NoToken, the code of the token before it.
    void takeToken(const QString& text, const Token& token, int previousCode);

    // A new text; letters outside ASCII continue identifiers when
    // `unicodeLetters` (a text read as UTF-8).
    void startText(const QString& text, bool unicodeLetters);
    bool unicodeLetters() const { return m_unicodeLetters; }
    void resetCounters()
    {
        m_currentLine = 0;
        m_tokenCode = 0;
    }
    // Any text but "eof" lets a harvest loop start.
    void setNoToken() { m_token = Token{Invalid, 0, 0, false}; }
    // The last token keeps its text on its own, so the text it came from can
    // be reused without a copy.
    void keepLastToken();

    QString tokenText() const { return Lexer::text(m_source, m_token); }
    int tokenCode() const { return m_tokenCode; }
    int currentLine() const { return m_currentLine; }
    int& line() { return m_currentLine; }
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
    int m_tokenCode = 0;
    int m_currentLine = 0;
    bool m_unicodeLetters = false;
};

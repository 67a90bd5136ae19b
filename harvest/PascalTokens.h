#pragma once

#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

// The tokens of Pascal code as the compiler sees them, for the readers that
// look at a unit's structure rather than at its marked comments: words,
// string literals and single symbols, with comments of the three kinds and
// line breaks passed over. Directives ({$...} and (*$...*)) are handed over
// as they pass; whether a //@ line stood between two tokens is remembered.
struct PascalToken
{
    enum Kind
    {
        Word,   // a name or a reserved word; &name is the name
        Symbol, // one character: ( ) ; = : , . < > [ ] and the rest
        String, // a literal, quotes included
        End,
    };
    Kind kind = End;
    QStringView text;
    int line = 0;                    // counted from 1
    bool afterRoutineMarker = false; // a //@ line stands between it and the token before

    // `word` is lower-case ASCII letters: the comparison folds only those,
    // inline, as it runs for every word of a unit.
    bool is(QStringView word) const
    {
        if (kind != Word || text.size() != word.size())
            return false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if ((text[i].unicode() | 0x20) != word[i].unicode())
                return false;
        }
        return true;
    }
    bool isSymbol(QChar c) const { return kind == Symbol && text.size() == 1 && text[0] == c; }
};

// Where `closing` ("}", "*)") first stands from `from` on; the text's size
// when nowhere.
qsizetype closingAt(QStringView text, qsizetype from, QStringView closing);

struct PascalDirective
{
    QStringView body; // after the '$', up to the closing brace
    int line = 0;
};

class PascalTokens
{
public:
    explicit PascalTokens(QStringView text) : m_text(text) {}

    PascalToken next();
    // The directives passed since the last call.
    std::vector<PascalDirective> takeDirectives() { return std::exchange(m_directives, {}); }
    bool hasDirectives() const { return !m_directives.empty(); }
    // Where the reader stands: what it has not read yet starts there.
    qsizetype position() const { return m_pos; }
    int line() const { return m_line; }

private:
    QChar at(qsizetype p) const { return p < m_text.size() ? m_text[p] : QChar(); }
    void advanceTo(qsizetype end);
    void skipComment(qsizetype opening, QStringView closing);

    QStringView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    bool m_sawRoutineMarker = false;
    std::vector<PascalDirective> m_directives;
};

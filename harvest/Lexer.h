#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// Token codes as the harvester and the trace know them.
enum TokenCode : int
{
    NoToken = -32768, // before the first token: none was read yet
    Invalid = -2,     // a character that starts no other token
    EndOfText = -1,   // text "eof"
    ReservedWord = 0, // an identifier found in the reserved-word table
    Identifier = 1,
    Number = 2,              // unsigned whole number
    Separator = 3,           // ( ) , . : ; @ [ ]
    Relational = 4,          // = < > <= <> >=
    Additive = 5,            // + -
    Multiplicative = 6,      // * /
    Assignment = 7,          // := and the pair <<
    ParagraphMarker = 9,     // //*
    ContinuationMarker = 10, // //+
    Comment = 11,            // plain // line comment or { } comment
    StringLiteral = 12,
    CharCode = 13,      // # and digits
    TableMarker = 51,   // //#
    RoutineMarker = 52, // //@
    HelpMarker = 53,    // //?
};

// One token as a slice of the source text, so that reading a token allocates
// nothing. Its text is made only when somebody asks for it.
struct Token
{
    int code = EndOfText;
    qsizetype start = 0;
    qsizetype length = 0;
    bool halveQuotes = false; // a string literal with doubled quotes inside
};

// A landmark: a token that a reader skimming a unit for documentation must
// stop at (a marker, a reserved word that may be "unit", anything that reads
// "eof", the end of the text). Every other token can be passed over unread.
// `line` counts the carriage returns from the text's start to the token's end;
// `previousCode` is the code of the token before it, NoToken for none.
struct Landmark
{
    qsizetype start = 0;
    qsizetype length = 0;
    int line = 0;
    std::int16_t code = EndOfText;
    std::int16_t previousCode = NoToken;
};

namespace Lexer {

inline constexpr int kReservedWordCount = 39;

// Reads the token at `pos` (0-based) and moves `pos` past it; adds to `line`
// the carriage returns it passes. Never fails and never reads past the text;
// at the end of the text it keeps returning EndOfText. With
// `unicodeLetters` (a text read as UTF-8), a letter outside ASCII continues
// an identifier, as current compilers allow.
int next(QStringView text, qsizetype& pos, int& line, Token& token, bool unicodeLetters = false);

// Where a skim stands in its text.
struct SkimState
{
    qsizetype pos = 0;
    int line = 0;
    int previousCode = NoToken;
    bool unicodeLetters = false; // as `next` takes it
};

// Reads up to `tokens` (at least 1) tokens from where `state` stands, as
// `next` would one by one, and appends the landmarks among them to
// `landmarks`. True when it reached the end of the text, whose landmark is
// then the last one appended.
bool skim(QStringView text, SkimState& state, qsizetype tokens, std::vector<Landmark>& landmarks);

// The token's text: "eof" at the end of the text, a string literal with its
// quotes and each doubled quote taken once, otherwise the slice itself.
QString text(QStringView source, const Token& token);
// The same without allocating, for everything but a literal with doubled quotes.
QStringView view(QStringView source, const Token& token);

constexpr bool isMarker(int code)
{
    return code == ParagraphMarker || code == ContinuationMarker || code == TableMarker ||
           code == RoutineMarker || code == HelpMarker;
}

// 1-based index of `word` in the reserved-word table, 0 when it is none.
// Exact and case-sensitive.
int reservedWordIndex(QStringView word);
QStringView reservedWord(int index);

} // namespace Lexer

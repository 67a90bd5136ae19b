#include "harvest/Lexer.h"
#include "harvest/LexerState.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Lexed
{
    int code;
    QString text;
    bool operator==(const Lexed&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Lexed& t)
{
    return os << "(" << t.code << ", \"" << t.text.toStdString() << "\")";
}

// Every token of `source` up to the end of the text, which is included.
std::vector<Lexed> lexAll(const QString& source)
{
    std::vector<Lexed> out;
    qsizetype pos = 0;
    int line = 0;
    Token token;
    for (int guard = 0; guard < 10000; ++guard) {
        const int code = Lexer::next(source, pos, line, token);
        out.push_back({code, Lexer::text(source, token)});
        if (code == EndOfText)
            break;
    }
    return out;
}

struct LexCase
{
    QString source;
    std::vector<Lexed> tokens; // without the final end of text
};

} // namespace

TEST(Lexer, TokenClasses)
{
    const LexCase cases[] = {
        {u"x:=1;"_s, {{1, u"x"_s}, {7, u":="_s}, {2, u"1"_s}, {3, u";"_s}}},
        {u"3.14"_s, {{2, u"3"_s}, {3, u"."_s}, {2, u"14"_s}}},
        {u"$FF 1e5"_s, {{-2, u"$"_s}, {1, u"FF"_s}, {2, u"1"_s}, {1, u"e5"_s}}},
        {u"#13#10"_s, {{13, u"#13"_s}, {13, u"#10"_s}}},
        {u"# x"_s, {{13, u"#"_s}, {1, u"x"_s}}},
        {u"'it''s' ''"_s, {{12, u"'it's'"_s}, {12, u"''"_s}}},
        {u"'a'''"_s, {{12, u"'a''"_s}}},
        {u"_Valor a_1"_s, {{-2, u"_"_s}, {1, u"Valor"_s}, {1, u"a_1"_s}}},
        {u"Procedure procedure Unit unit Function function in"_s,
         {{1, u"Procedure"_s},
          {0, u"procedure"_s},
          {1, u"Unit"_s},
          {0, u"unit"_s},
          {1, u"Function"_s},
          {0, u"function"_s},
          {0, u"in"_s}}},
        {u"(*x*)"_s, {{3, u"("_s}, {6, u"*"_s}, {1, u"x"_s}, {6, u"*"_s}, {3, u")"_s}}},
        {u"( ) , . : ; @ [ ]"_s,
         {{3, u"("_s},
          {3, u")"_s},
          {3, u","_s},
          {3, u"."_s},
          {3, u":"_s},
          {3, u";"_s},
          {3, u"@"_s},
          {3, u"["_s},
          {3, u"]"_s}}},
        {u"= < > <= <> >= << :="_s,
         {{4, u"="_s},
          {4, u"<"_s},
          {4, u">"_s},
          {4, u"<="_s},
          {4, u"<>"_s},
          {4, u">="_s},
          {7, u"<<"_s},
          {7, u":="_s}}},
        {u"+ - * / a/b"_s,
         {{5, u"+"_s}, {5, u"-"_s}, {6, u"*"_s}, {6, u"/"_s}, {1, u"a"_s}, {6, u"/"_s}, {1, u"b"_s}}},
        {u"\tx ç \" } ^"_s,
         {{-2, u"\t"_s}, {1, u"x"_s}, {-2, u"ç"_s}, {-2, u"\""_s}, {-2, u"}"_s}, {-2, u"^"_s}}},
        // A character beyond the first plane is one token, not two halves.
        {u"x\U0001F600y \xD800"_s, {{1, u"x"_s}, {-2, u"\U0001F600"_s}, {1, u"y"_s}, {-2, u"\xD800"_s}}},
        {u"{ //@ não } x"_s, {{11, u"{ //@ não }"_s}, {1, u"x"_s}}},
        {u"'//@ x' y"_s, {{12, u"'//@ x'"_s}, {1, u"y"_s}}},
        {u"a//b\r\n"_s, {{1, u"a"_s}, {11, u"b"_s}}},
    };
    for (const LexCase& c : cases) {
        std::vector<Lexed> expected = c.tokens;
        expected.push_back({-1, u"eof"_s});
        EXPECT_EQ(lexAll(c.source), expected) << c.source.toStdString();
    }
}

TEST(Lexer, MarkerLinesAndComments)
{
    const LexCase cases[] = {
        {u"//@ Esta procedure lê o conteúdo da tabela X.\r\n"_s,
         {{52, u"Esta procedure lê o conteúdo da tabela X."_s}}},
        {u"//@Esta\r\n"_s, {{52, u"Esta"_s}}},
        {u"//@    Esta  \r\n"_s, {{52, u"Esta  "_s}}},
        {u"//@\r\n"_s, {{52, u""_s}}},
        {u"//@\tx\r\n"_s, {{52, u"\tx"_s}}},
        {u"// @ x\r\n"_s, {{11, u"@ x"_s}}},
        {u"/// x\r\n"_s, {{11, u"/ x"_s}}},
        {u"//* a\r\n//+ b\r\n//# c\r\n//? d\r\n"_s, {{9, u"a"_s}, {10, u"b"_s}, {51, u"c"_s}, {53, u"d"_s}}},
        {u"//  plain\r\n"_s, {{11, u"plain"_s}}},
        {u"//?x"_s, {{53, u"x"_s}}},
        {u"{a\r\nb\r\nc}"_s, {{11, u"{a\r\nb\r\nc}"_s}}},
        {u"{ unterminated\r\n"_s, {{11, u"{ unterminated\r\n"_s}}},
        {u"(* //@ inside *)\r\n"_s, {{3, u"("_s}, {6, u"*"_s}, {52, u"inside *)"_s}}},
    };
    for (const LexCase& c : cases) {
        std::vector<Lexed> expected = c.tokens;
        expected.push_back({-1, u"eof"_s});
        EXPECT_EQ(lexAll(c.source), expected) << c.source.toStdString();
    }
}

TEST(Lexer, AnUnclosedLiteralEndsWithItsLine)
{
    // A stray quote in code the lexer does not take as a comment, (* like this *),
    // must not swallow the documentation below it.
    EXPECT_EQ(
        lexAll(u"(* don't *)\r\n//? Ajuda\r\n"_s),
        (std::vector<Lexed>{
            {3, u"("_s}, {6, u"*"_s}, {1, u"don"_s}, {12, u"'t *)"_s}, {53, u"Ajuda"_s}, {-1, u"eof"_s}}));
    EXPECT_EQ(lexAll(u"'abc"_s), (std::vector<Lexed>{{12, u"'abc"_s}, {-1, u"eof"_s}}));
}

TEST(Lexer, EmptyAndBlankTextsEndAtOnce)
{
    for (const QString& source : {u""_s, u"   \r\n\r\n  \r\n"_s}) {
        EXPECT_EQ(lexAll(source), (std::vector<Lexed>{{-1, u"eof"_s}}));
    }
}

TEST(Lexer, KeepsReturningTheEndOfText)
{
    const QString source = u"x\r\n"_s;
    qsizetype pos = 0;
    int line = 0;
    Token token;
    Lexer::next(source, pos, line, token);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Lexer::next(source, pos, line, token), EndOfText);
        EXPECT_EQ(Lexer::text(source, token), u"eof"_s);
        EXPECT_EQ(pos, source.size());
    }
    EXPECT_EQ(line, 1);
}

TEST(Lexer, CountsCarriageReturnsItPasses)
{
    // Line 3 holds the marker: two line breaks stand before it.
    const QString source = u"unit X;\r\n\r\n//? Ajuda Geral\r\n"_s;
    qsizetype pos = 0;
    int line = 0;
    Token token;
    int code = 0;
    while ((code = Lexer::next(source, pos, line, token)) != HelpMarker)
        ASSERT_NE(code, EndOfText);
    EXPECT_EQ(line, 2);
    // A comment token leaves the position on its line's carriage return.
    EXPECT_EQ(source[pos], u'\r');

    // A brace comment over three lines adds two while it is read; the line
    // break after it is counted once, by the next token.
    const QString brace = u"{a\r\nb\r\nc}\r\nx"_s;
    pos = 0;
    line = 0;
    Lexer::next(brace, pos, line, token);
    EXPECT_EQ(line, 2);
    Lexer::next(brace, pos, line, token);
    EXPECT_EQ(line, 3);
    EXPECT_EQ(Lexer::text(brace, token), u"x"_s);
}

TEST(Lexer, ReservedWordTable)
{
    EXPECT_EQ(Lexer::reservedWordIndex(u"unit"), 1);
    EXPECT_EQ(Lexer::reservedWordIndex(u"procedure"), 7);
    EXPECT_EQ(Lexer::reservedWordIndex(u"function"), 8);
    EXPECT_EQ(Lexer::reservedWordIndex(u"var"), 34);
    EXPECT_EQ(Lexer::reservedWordIndex(u"in"), 39);
    EXPECT_EQ(Lexer::reservedWordIndex(u"Procedure"), 0);
    EXPECT_EQ(Lexer::reservedWordIndex(u"PROCEDURE"), 0);
    EXPECT_EQ(Lexer::reservedWordIndex(u"inn"), 0);
    EXPECT_EQ(Lexer::reservedWordIndex(u""), 0);
    // Every word of the table is found at its own index.
    for (int i = 1; i <= Lexer::kReservedWordCount; ++i)
        EXPECT_EQ(Lexer::reservedWordIndex(Lexer::reservedWord(i)), i);
}

TEST(Lexer, NextTokenKeepsTheWorkingState)
{
    LexerState lexer;
    const QString text = u"a\r\n'x''y'\r\n"_s;
    qsizetype position = 0;
    EXPECT_EQ(lexer.nextToken(text, position), Identifier);
    EXPECT_EQ(lexer.tokenText(), u"a"_s);
    EXPECT_EQ(lexer.nextToken(text, position), StringLiteral);
    EXPECT_EQ(lexer.tokenText(), u"'x'y'"_s);
    EXPECT_EQ(lexer.currentLine(), 1);
    EXPECT_EQ(lexer.nextToken(text, position), EndOfText);
    EXPECT_EQ(lexer.tokenText(), u"eof"_s);
    // The end of the text leaves the code of the last real token.
    EXPECT_EQ(lexer.tokenCode(), StringLiteral);
    EXPECT_EQ(lexer.currentLine(), 2);
}

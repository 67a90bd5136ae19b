#include "harvest/Lexer.h"

#include <array>

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr std::array<QStringView, Lexer::kReservedWordCount> kReservedWords = {
    u"unit",      u"interface", u"implementation",
    u"uses",      u"type",      u"class",
    u"procedure", u"function",  u"begin",
    u"end",       u"for",       u"to",
    u"downto",    u"do",        u"with",
    u"while",     u"repeat",    u"until",
    u"if",        u"then",      u"else",
    u"and",       u"or",        u"not",
    u"try",       u"except",    u"finally",
    u"private",   u"public",    u"published",
    u"stdcall",   u"overload",  u"external",
    u"var",       u"const",     u"string",
    u"integer",   u"array",     u"in",
};

// For each lower-case first letter, the table indices (1-based) of the words
// that begin with it, so a lookup compares with a handful of words at most.
struct ReservedIndex
{
    std::array<std::array<unsigned char, 8>, 26> byLetter{};
    std::array<unsigned char, 26> count{};

    constexpr ReservedIndex()
    {
        for (int i = 0; i < Lexer::kReservedWordCount; ++i) {
            const int letter = kReservedWords[i][0].unicode() - u'a';
            byLetter[letter][count[letter]++] = static_cast<unsigned char>(i + 1);
        }
    }
};
constexpr ReservedIndex kReservedIndex;

enum CharClass : unsigned char
{
    Other,
    Letter,
    Digit,
    Slash,
    Star,
    OpenBrace,
    Hash,
    Quote,
    Punct, // ( ) , . : ; @ [ ]
    Greater,
    Less,
    Equals,
    PlusMinus,
    Blank,
    LineBreak,
};

constexpr std::array<CharClass, 128> makeClasses()
{
    std::array<CharClass, 128> t{};
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = Letter;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = Letter;
    for (int c = '0'; c <= '9'; ++c)
        t[c] = Digit;
    t['/'] = Slash;
    t['*'] = Star;
    t['{'] = OpenBrace;
    t['#'] = Hash;
    t['\''] = Quote;
    for (char c : {'(', ')', ',', '.', ':', ';', '@', '[', ']'})
        t[static_cast<unsigned char>(c)] = Punct;
    t['>'] = Greater;
    t['<'] = Less;
    t['='] = Equals;
    t['+'] = PlusMinus;
    t['-'] = PlusMinus;
    t[' '] = Blank;
    t['\r'] = LineBreak;
    t['\n'] = LineBreak;
    return t;
}
constexpr std::array<CharClass, 128> kClasses = makeClasses();

inline CharClass classOf(char16_t c)
{
    return c < 128 ? kClasses[c] : Other;
}

inline bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

inline bool isIdentifierChar(char16_t c)
{
    const CharClass k = classOf(c);
    return k == Letter || k == Digit || c == u'_';
}

int markerCode(char16_t c)
{
    switch (c) {
    case u'*':
        return ParagraphMarker;
    case u'+':
        return ContinuationMarker;
    case u'#':
        return TableMarker;
    case u'@':
        return RoutineMarker;
    case u'?':
        return HelpMarker;
    default:
        return Comment;
    }
}

} // namespace

namespace Lexer {

int reservedWordIndex(QStringView word)
{
    if (word.isEmpty())
        return 0;
    const char16_t first = word[0].unicode();
    if (first < u'a' || first > u'z')
        return 0;
    // Most identifiers are no reserved word: the length rejects them before
    // any character is compared.
    const int letter = first - u'a';
    const qsizetype size = word.size();
    for (int i = 0; i < kReservedIndex.count[letter]; ++i) {
        const int index = kReservedIndex.byLetter[letter][i];
        const QStringView candidate = kReservedWords[index - 1];
        if (candidate.size() != size)
            continue;
        qsizetype k = 1;
        while (k < size && candidate[k] == word[k])
            ++k;
        if (k == size)
            return index;
    }
    return 0;
}

QStringView reservedWord(int index)
{
    return index >= 1 && index <= kReservedWordCount ? kReservedWords[index - 1] : QStringView();
}

namespace {

// The scanner itself, inlined into both entry points so that reading a run of
// tokens costs no call per token.
// The length of the letter outside ASCII at `pos` that continues an
// identifier of a UTF-8 text (1, or 2 for a pair of surrogates), or 0.
qsizetype unicodeLetterAt(const char16_t* c, qsizetype pos, qsizetype n)
{
    const char16_t ch = c[pos];
    if (ch < 0x80)
        return 0;
    if (QChar::isHighSurrogate(ch) && pos + 1 < n && QChar::isLowSurrogate(c[pos + 1])) {
        const char32_t code = QChar::surrogateToUcs4(ch, c[pos + 1]);
        return QChar::isLetter(code) || QChar::isMark(code) ? 2 : 0;
    }
    return QChar::isLetter(ch) || QChar::isMark(ch) ? 1 : 0;
}

Q_ALWAYS_INLINE int scan(QStringView text, qsizetype& pos, int& line, Token& token, bool unicodeLetters)
{
    const char16_t* c = text.utf16();
    const qsizetype n = text.size();
    token.halveQuotes = false;

    while (pos < n) {
        const char16_t ch = c[pos];
        if (ch == u'\r')
            ++line;
        else if (ch != u'\n' && ch != u' ')
            break;
        ++pos;
    }
    if (pos >= n) {
        pos = n;
        token.code = EndOfText;
        token.start = n;
        token.length = 0;
        return EndOfText;
    }

    const qsizetype start = pos;
    int code = Invalid;
    switch (classOf(c[pos])) {
    case Letter:
        ++pos;
        for (;;) {
            while (pos < n && isIdentifierChar(c[pos]))
                ++pos;
            const qsizetype letter = unicodeLetters && pos < n ? unicodeLetterAt(c, pos, n) : 0;
            if (letter == 0)
                break;
            pos += letter;
        }
        code = reservedWordIndex(text.sliced(start, pos - start)) > 0 ? ReservedWord : Identifier;
        break;
    case Digit:
        ++pos;
        while (pos < n && isDigit(c[pos]))
            ++pos;
        code = Number;
        break;
    case Slash:
        ++pos;
        if (pos >= n || c[pos] != u'/') {
            code = Multiplicative;
            break;
        }
        ++pos;
        code = pos < n ? markerCode(c[pos]) : Comment;
        if (code != Comment)
            ++pos; // the marker character itself is not part of the text
        while (pos < n && c[pos] == u' ')
            ++pos;
        token.start = pos;
        {
            const qsizetype cr = text.indexOf(u'\r', pos);
            pos = cr < 0 ? n : cr;
        }
        token.code = code;
        token.length = pos - token.start;
        return code;
    case Star:
        ++pos;
        code = Multiplicative;
        break;
    case OpenBrace: {
        // Up to and including the first '}', or to the end of the text;
        // the carriage returns inside count as lines.
        const qsizetype close = text.indexOf(u'}', pos + 1);
        const qsizetype end = close < 0 ? n : close + 1;
        line += static_cast<int>(text.sliced(pos, end - pos).count(u'\r'));
        pos = end;
    }
        code = Comment;
        break;
    case Hash:
        ++pos;
        while (pos < n && isDigit(c[pos]))
            ++pos;
        code = CharCode;
        break;
    case Quote:
        // A literal cannot span lines: an unclosed one ends with its line, so a
        // stray quote never swallows the rest of the file.
        ++pos;
        while (pos < n && c[pos] != u'\r') {
            if (c[pos] == u'\'') {
                if (pos + 1 < n && c[pos + 1] == u'\'') {
                    token.halveQuotes = true;
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            ++pos;
        }
        code = StringLiteral;
        break;
    case Punct:
        ++pos;
        if (c[start] == u':' && pos < n && c[pos] == u'=') {
            ++pos;
            code = Assignment;
        } else {
            code = Separator;
        }
        break;
    case Greater:
        ++pos;
        if (pos < n && c[pos] == u'=')
            ++pos;
        code = Relational;
        break;
    case Less:
        ++pos;
        code = Relational;
        if (pos < n && c[pos] == u'<') {
            ++pos;
            code = Assignment;
        } else if (pos < n && (c[pos] == u'=' || c[pos] == u'>')) {
            ++pos;
        }
        break;
    case Equals:
        ++pos;
        code = Relational;
        break;
    case PlusMinus:
        ++pos;
        code = Additive;
        break;
    case Other:
    case Blank:
    case LineBreak:
        // One character, even when it takes two UTF-16 units.
        ++pos;
        if (QChar::isHighSurrogate(c[start]) && pos < n && QChar::isLowSurrogate(c[pos]))
            ++pos;
        code = Invalid;
        break;
    }
    token.code = code;
    token.start = start;
    token.length = pos - start;
    return code;
}

} // namespace

int next(QStringView text, qsizetype& pos, int& line, Token& token, bool unicodeLetters)
{
    return scan(text, pos, line, token, unicodeLetters);
}

bool skim(QStringView text, SkimState& state, qsizetype tokens, std::vector<Landmark>& landmarks)
{
    const char16_t* c = text.utf16();
    Token token;
    for (qsizetype count = 0; count < tokens; ++count) {
        const int code = scan(text, state.pos, state.line, token, state.unicodeLetters);
        const char16_t* t = c + token.start;
        const bool landmark = isMarker(code) || code == EndOfText ||
                              (code == ReservedWord && token.length == 4 && t[0] == u'u') ||
                              (token.length == 3 && t[0] == u'e' && t[1] == u'o' && t[2] == u'f');
        if (landmark) {
            landmarks.push_back(Landmark{token.start, token.length, state.line,
                                         static_cast<std::int16_t>(code),
                                         static_cast<std::int16_t>(state.previousCode)});
            if (code == EndOfText)
                return true;
        }
        state.previousCode = code;
    }
    return false;
}

QStringView view(QStringView source, const Token& token)
{
    if (token.code == EndOfText)
        return u"eof";
    return source.sliced(token.start, token.length);
}

QString text(QStringView source, const Token& token)
{
    const QStringView raw = view(source, token);
    if (!token.halveQuotes)
        return raw.toString();
    // Inside the quotes, a doubled quote stands for one; the closing quote is
    // the last character when the literal was closed.
    QString out;
    out.reserve(raw.size());
    out.append(raw[0]);
    for (qsizetype i = 1; i < raw.size(); ++i) {
        out.append(raw[i]);
        if (raw[i] == u'\'' && i + 1 < raw.size() && raw[i + 1] == u'\'')
            ++i;
    }
    return out;
}

} // namespace Lexer

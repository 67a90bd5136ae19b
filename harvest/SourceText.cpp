#include "harvest/SourceText.h"

#include "common/Encoding.h"
#include "common/FileReading.h"
#include "common/Windows1252.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <optional>

#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

bool hasByteAbove127(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

// The line, counted from 1, of the byte at `offset`: CR LF, a lone CR and a
// lone LF each end a line.
int lineOf(QByteArrayView bytes, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    }
    return line;
}

// Copies `in` with every line break made CR LF and a final CR LF added to a
// last line that lacks one.
template <typename Char, typename Map> QString normalizeLines(const Char* in, qsizetype n, Map toUtf16)
{
    qsizetype extra = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (in[i] == '\r') {
            if (i + 1 < n && in[i + 1] == '\n')
                ++i;
            else
                ++extra;
        } else if (in[i] == '\n') {
            ++extra;
        }
    }
    const bool needsFinalBreak = n > 0 && in[n - 1] != '\r' && in[n - 1] != '\n';
    QString out(n + extra + (needsFinalBreak ? 2 : 0), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        const Char ch = in[i];
        if (ch == '\r' || ch == '\n') {
            *dst++ = u'\r';
            *dst++ = u'\n';
            if (ch == '\r' && i + 1 < n && in[i + 1] == '\n')
                ++i;
        } else {
            *dst++ = toUtf16(ch);
        }
    }
    if (needsFinalBreak) {
        *dst++ = u'\r';
        *dst++ = u'\n';
    }
    return out;
}

// True when every line break is CR LF and the text ends with one.
bool crlfOnly(const char* begin, const char* end)
{
    if (begin == end)
        return true;
    if (end - begin < 2 || end[-2] != '\r' || end[-1] != '\n')
        return false;
    qsizetype lineFeeds = 0;
    for (const char* p = begin;
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p) {
        if (p == begin || p[-1] != '\r')
            return false;
        ++lineFeeds;
    }
    qsizetype carriageReturns = 0;
    for (const char* p = begin;
         (p = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)))); ++p)
        ++carriageReturns;
    return carriageReturns == lineFeeds;
}

// The UTF-16 encoding a byte-order mark announces, if the bytes start with one.
std::optional<QStringConverter::Encoding> utf16ByMark(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringConverter::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// A UTF-16 text without its mark; a character 0 ends it, as a byte 0 ends
// the others. A unit that is not well-formed UTF-16 gets the line of its
// first fault, as a text forced to UTF-8 does.
SourceText::Decoding fromUtf16(QByteArrayView bytes, QStringConverter::Encoding encoding, QString& out)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString decoded = decoder.decode(bytes.sliced(2));
    if (const qsizetype nul = decoded.indexOf(QChar(u'\0')); nul >= 0)
        decoded.truncate(nul);
    // The decoder keeps a surrogate without its pair; it is no character.
    qsizetype firstFault = -1;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar c = decoded[i];
        if (c.isHighSurrogate() && i + 1 < decoded.size() && decoded[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate() || c == QChar::ReplacementCharacter) {
            decoded[i] = QChar::ReplacementCharacter;
            if (firstFault < 0 && (c.isSurrogate() || decoder.hasError()))
                firstFault = i;
        }
    }
    int invalidLine = 0;
    if (firstFault >= 0) {
        const QStringView before = QStringView(decoded).first(firstFault);
        invalidLine = 1 + static_cast<int>(before.count(u'\n') + before.count(u'\r') - before.count(u"\r\n"));
    }
    out = normalizeLines(decoded.utf16(), decoded.size(), [](char16_t c) { return c; });
    return {true, invalidLine, true};
}

} // namespace

namespace SourceText {

// Every sequence that is not UTF-8 becomes U+FFFD, visibly.
void fromUtf8(QByteArrayView bytes, QString& out)
{
    const QString decoded = QString::fromUtf8(bytes);
    out = normalizeLines(decoded.utf16(), decoded.size(), [](char16_t c) { return c; });
}

QString fromBytes(QByteArrayView bytes, Encoding encoding)
{
    QString out;
    fromBytes(bytes, out, encoding);
    return out;
}

Decoding fromBytes(QByteArrayView bytes, QString& out, Encoding encoding)
{
    // Some Windows editors save UTF-16 with its mark; its text is told by the
    // mark alone, whatever the setting.
    if (const std::optional<QStringConverter::Encoding> utf16 = utf16ByMark(bytes))
        return fromUtf16(bytes, *utf16, out);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    if (bytes.startsWith(Utf8::kBom)) {
        bytes = bytes.sliced(Utf8::kBom.size());
        const qsizetype invalid = Utf8::firstInvalid(bytes);
        fromUtf8(bytes, out);
        return {true, invalid < 0 ? 0 : lineOf(bytes, invalid)};
    }
    if (encoding != Encoding::Windows1252) {
        // Plain ASCII reads the same either way: only a byte above 127 asks.
        const qsizetype invalid = Utf8::firstInvalid(bytes);
        if (encoding == Encoding::Utf8) {
            fromUtf8(bytes, out);
            return {true, invalid < 0 ? 0 : lineOf(bytes, invalid)};
        }
        if (invalid < 0 && hasByteAbove127(bytes)) {
            fromUtf8(bytes, out);
            return {true, 0};
        }
    }
    fromWindows1252(bytes, out);
    return {false, 0};
}

void fromWindows1252(QByteArrayView bytes, QString& out)
{
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const qsizetype n = bytes.size();
    if (!crlfOnly(begin, end)) {
        out = normalizeLines(begin, n,
                             [](char c) { return Windows1252::toUnicode(static_cast<unsigned char>(c)); });
        return;
    }
    // The common case, a file whose every line already ends with CR LF: a
    // plain widening the compiler vectorises, then the few bytes that
    // Windows-1252 maps elsewhere.
    out.resize(n);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(begin);
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = src[i];
    for (qsizetype i = 0; i < n; i += 8) {
        quint64 word = 0;
        std::memcpy(&word, src + i, static_cast<size_t>(std::min<qsizetype>(8, n - i)));
        if ((word & 0x8080808080808080ULL) == 0)
            continue;
        for (qsizetype k = i; k < std::min(i + 8, n); ++k) {
            if (src[k] >= 0x80 && src[k] <= 0x9F)
                dst[k] = Windows1252::toUnicode(src[k]);
        }
    }
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QByteArray readFile(const QString& path)
{
    QByteArray bytes;
    readFile(path, bytes);
    return bytes;
}

void readFile(const QString& path, QByteArray& buffer)
{
    FileReading::read(path, buffer, FileReading::Until::FirstNul);
}

} // namespace SourceText

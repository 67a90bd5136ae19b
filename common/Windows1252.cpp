#include "common/Windows1252.h"

#include <array>

namespace {

// 0x80..0x9F; the undefined bytes map to their own code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int encodeOrMinus(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Windows1252 {

char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (const char c : bytes)
        *dst++ = toUnicode(static_cast<unsigned char>(c));
    return out;
}

bool canEncode(char16_t ch)
{
    return encodeOrMinus(ch) >= 0;
}

char encodeChar(char16_t ch)
{
    const int b = encodeOrMinus(ch);
    return static_cast<char>(b < 0 ? '?' : b);
}

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        // A surrogate pair is one character outside the code page: one '?'.
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        dst[n++] = encodeChar(ch);
    }
    out.truncate(n);
    return out;
}

} // namespace Windows1252

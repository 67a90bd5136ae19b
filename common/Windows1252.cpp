#include "common/Windows1252.h"

namespace {

int encodeOrMinus(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (Windows1252::detail::kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Windows1252 {

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

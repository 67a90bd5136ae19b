#include "common/Encoding.h"

#include <cstring>

using namespace Qt::Literals::StringLiterals;

QString encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Windows1252:
        return u"windows-1252"_s;
    case Encoding::Utf8:
        return u"utf-8"_s;
    case Encoding::Auto:
        break;
    }
    return u"auto"_s;
}

std::optional<Encoding> encodingFromName(QStringView name)
{
    for (const Encoding c : {Encoding::Auto, Encoding::Windows1252, Encoding::Utf8}) {
        if (name.compare(encodingName(c), Qt::CaseInsensitive) == 0)
            return c;
    }
    return std::nullopt;
}

namespace Utf8 {

qsizetype firstInvalid(QByteArrayView bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // Runs of ASCII, most of any source, eight bytes at a time.
        while (i + 8 <= n) {
            quint64 word = 0;
            std::memcpy(&word, b + i, 8);
            if ((word & 0x8080808080808080ULL) != 0)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The length of the sequence and the range its second byte may take,
        // which shuts out overlong forms, surrogates and values past U+10FFFF.
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + length > n || b[i + 1] < low || b[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k) {
            if (b[i + k] < 0x80 || b[i + k] > 0xBF)
                return i;
        }
        i += length;
    }
    return -1;
}

} // namespace Utf8

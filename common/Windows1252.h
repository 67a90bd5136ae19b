#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>

// The one codec between the program's texts and the Windows-1252 bytes of the
// files it reads and writes. Bytes 0x80-0x9F map as Windows maps them; the five
// bytes Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own
// code point, so every byte survives a decode/encode round trip.
namespace Windows1252 {

namespace detail {
// 0x80..0x9F; the undefined bytes map to their own code point.
inline constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
constexpr std::array<char16_t, 256> makeToUnicode()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    return table;
}
inline constexpr std::array<char16_t, 256> kToUnicode = makeToUnicode();
} // namespace detail

// The character a byte stands for.
inline char16_t toUnicode(unsigned char byte)
{
    return detail::kToUnicode[byte];
}

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);

// The byte for a character, or '?' when Windows-1252 has no such character.
char encodeChar(char16_t ch);
bool canEncode(char16_t ch);

} // namespace Windows1252

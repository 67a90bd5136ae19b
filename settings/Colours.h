#pragma once

#include <QColor>
#include <QString>

// A screen colour as the settings know it: red in the lowest byte, green in the
// next, blue in the third; the highest byte is zero for plain colours.
using CorTela = quint32;

constexpr CorTela corRgb(int red, int green, int blue)
{
    return static_cast<CorTela>(red) | (static_cast<CorTela>(green) << 8) |
           (static_cast<CorTela>(blue) << 16);
}
constexpr int vermelho(CorTela cor)
{
    return static_cast<int>(cor & 0xFF);
}
constexpr int verde(CorTela cor)
{
    return static_cast<int>((cor >> 8) & 0xFF);
}
constexpr int azul(CorTela cor)
{
    return static_cast<int>((cor >> 16) & 0xFF);
}

// The same colour for the screen, and back.
QColor toQColor(CorTela cor);
CorTela fromQColor(const QColor& color);

// The six-digit colour text, red, green, blue, upper case ("77AADD").
QString CorParaHex(CorTela cor);

// The colour of a colour text: three pairs of hexadecimal digits, either case;
// characters after the sixth are ignored and a pair cut short by the end holds
// what is there. Throws QuorvelError "'$<pair>' is not a valid integer value"
// for a pair that is empty or not hexadecimal.
CorTela HexParaCor(const QString& texto);

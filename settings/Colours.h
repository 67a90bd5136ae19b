#pragma once

#include <QColor>
#include <QString>

// A screen colour as the settings know it: red in the lowest byte, green in the
// next, blue in the third; the highest byte is zero for plain colours.
using ScreenColour = quint32;

constexpr ScreenColour rgbColour(int red, int green, int blue)
{
    return static_cast<ScreenColour>(red) | (static_cast<ScreenColour>(green) << 8) |
           (static_cast<ScreenColour>(blue) << 16);
}
constexpr int redOf(ScreenColour colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(ScreenColour colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(ScreenColour colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

// The same colour for the screen, and back.
QColor toQColor(ScreenColour colour);
ScreenColour fromQColor(const QColor& color);

// The six-digit colour text, red, green, blue, upper case ("77AADD").
QString colourToHex(ScreenColour colour);

// The colour of a colour text: three pairs of hexadecimal digits, either case;
// characters after the sixth are ignored and a pair cut short by the end holds
// what is there. Throws QuorvelError "'$<pair>' is not a valid integer value"
// for a pair that is empty or not hexadecimal.
ScreenColour hexToColour(const QString& text);

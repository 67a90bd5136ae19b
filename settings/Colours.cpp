#include "settings/Colours.h"

#include "common/QuorvelError.h"

using namespace Qt::Literals::StringLiterals;

QColor toQColor(ScreenColour colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

ScreenColour fromQColor(const QColor& color)
{
    return rgbColour(color.red(), color.green(), color.blue());
}

QString colourToHex(ScreenColour colour)
{
    return u"%1%2%3"_s.arg(redOf(colour), 2, 16, QChar(u'0'))
        .arg(greenOf(colour), 2, 16, QChar(u'0'))
        .arg(blueOf(colour), 2, 16, QChar(u'0'))
        .toUpper();
}

ScreenColour hexToColour(const QString& text)
{
    ScreenColour colour = 0;
    for (int i = 0; i < 3; ++i) {
        const QString par = text.mid(2 * i, 2);
        bool ok = !par.isEmpty();
        for (const QChar c : par)
            ok = ok && ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'));
        if (!ok)
            throw QuorvelError(u"'$"_s % par % u"' is not a valid integer value"_s);
        colour |= static_cast<ScreenColour>(par.toUInt(nullptr, 16)) << (8 * i);
    }
    return colour;
}

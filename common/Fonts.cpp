#include "common/Fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

using namespace Qt::Literals::StringLiterals;

void installWindowFonts()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // The regular face only: Wine's tahomabd.ttf calls itself bold but draws
    // as thin as the regular one, while the regular face emboldened by the
    // font engine looks as bold as a bold text must.
    const QString regular = u"/usr/share/wine/fonts/tahoma.ttf"_s;
    if (QFile::exists(regular))
        QFontDatabase::addApplicationFont(regular);
    if (!QFontDatabase::families().contains(u"Tahoma"_s))
        QFont::insertSubstitution(u"Tahoma"_s, u"DejaVu Sans"_s);
}

QFont tahoma(int pixels, bool bold, bool underline)
{
    QFont font(u"Tahoma"_s);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

#include "app/Fonts.h"

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
    for (const QString& file :
         {u"/usr/share/wine/fonts/tahoma.ttf"_s, u"/usr/share/wine/fonts/tahomabd.ttf"_s}) {
        if (QFile::exists(file))
            QFontDatabase::addApplicationFont(file);
    }
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

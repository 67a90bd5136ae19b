#include "settings/HtmlFormat.h"

#include "settings/IniFile.h"
#include "settings/OptionsState.h"

HtmlFormat::HtmlFormat()
{
    for (const HtmlFormatEntry& k : kHtmlFormatEntries)
        set(k.format, k.fallback.toString());
}

HtmlFormat HtmlFormat::read(const IniFile& ini)
{
    HtmlFormat f;
    for (const HtmlFormatEntry& k : kHtmlFormatEntries)
        f.set(k.format, ini.readString(u"FormatoHTML", k.key, k.fallback.toString()));
    return f;
}

#include "settings/SettingsFiles.h"

#include "common/UnitPath.h"
#include "settings/IniFile.h"

using namespace Qt::Literals::StringLiterals;

namespace SettingsFiles {

QString programSettingsPath(const QString& programFile)
{
    const QString extension = UnitPath::extension(programFile);
    return programFile.first(programFile.size() - extension.size()) % u".ini"_s;
}

QString fixedSettingsPath(const QString& programFolder)
{
    return programFolder % u"Quorvel.ini"_s;
}

} // namespace SettingsFiles

DocumentationOptions DocumentationOptions::read(const IniFile& ini)
{
    const DocumentationOptions defaults;
    DocumentationOptions o;
    o.Orphans = ini.readBool(u"opcoes", u"COrfaos", defaults.Orphans);
    o.GeneralHelp = ini.readBool(u"opcoes", u"AjudaGeral", defaults.GeneralHelp);
    o.MySQL = ini.readBool(u"opcoes", u"MySQL", defaults.MySQL);
    o.ProcFunc = ini.readBool(u"opcoes", u"ProcFunc", defaults.ProcFunc);
    // A name the program does not know reads as the default.
    o.encoding = encodingFromName(ini.readString(u"opcoes", u"Codificacao", encodingName(defaults.encoding)))
                     .value_or(defaults.encoding);
    o.siteStyle =
        siteStyleFromName(ini.readString(u"opcoes", u"EstiloSite", siteStyleName(defaults.siteStyle)))
            .value_or(defaults.siteStyle);
    return o;
}

void DocumentationOptions::write(IniFile& ini) const
{
    ini.writeBool(u"opcoes", u"COrfaos", Orphans);
    ini.writeBool(u"opcoes", u"AjudaGeral", GeneralHelp);
    ini.writeBool(u"opcoes", u"MySQL", MySQL);
    ini.writeBool(u"opcoes", u"ProcFunc", ProcFunc);
    ini.writeString(u"opcoes", u"Codificacao", encodingName(encoding));
    ini.writeString(u"opcoes", u"EstiloSite", siteStyleName(siteStyle));
}

std::optional<SiteStyle> siteStyleFromName(QStringView name)
{
    if (name.compare(u"classico", Qt::CaseInsensitive) == 0)
        return SiteStyle::Classic;
    if (name.compare(u"moderno", Qt::CaseInsensitive) == 0)
        return SiteStyle::Modern;
    return std::nullopt;
}

QString siteStyleName(SiteStyle style)
{
    return style == SiteStyle::Modern ? QStringLiteral("moderno") : QStringLiteral("classico");
}

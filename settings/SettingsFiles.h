#pragma once

#include "common/Encoding.h"
#include "table/RowKinds.h"

#include <QString>

#include <optional>

class IniFile;

// Where the settings live, and the keys every reader shares.
namespace SettingsFiles {

// The program settings file: the program file's path with its extension
// replaced by ".ini", or ".ini" appended when it has none.
QString programSettingsPath(const QString& programFile);
// The fixed-name settings file the HTML generator reads: "Quorvel.ini" in the
// program's folder (`pastaPrograma` ends with a separator).
QString fixedSettingsPath(const QString& programFolder);

} // namespace SettingsFiles

// Section opcoes: which kinds of documented rows the documentation includes.
// The help site's style: the classic frames, or the modern pages.
enum class SiteStyle
{
    Classic,
    Modern,
};

// "classico" or "moderno" as the settings write it; letter case ignored.
std::optional<SiteStyle> siteStyleFromName(QStringView name);
QString siteStyleName(SiteStyle style);

struct DocumentationOptions
{
    bool Orphans = false;
    bool GeneralHelp = true;
    bool MySQL = true;
    bool ProcFunc = true;
    // How the source files are read.
    Encoding encoding = Encoding::Auto;
    SiteStyle siteStyle = SiteStyle::Classic;

    static DocumentationOptions read(const IniFile& ini);
    void write(IniFile& ini) const;

    // Whether the documentation includes rows of the kind: the one rule the
    // document and the site both follow.
    bool includes(RowKinds::Kind kind) const
    {
        switch (kind) {
        case RowKinds::Kind::Help:
            return GeneralHelp;
        case RowKinds::Kind::Orphan:
            return Orphans;
        case RowKinds::Kind::Table:
            return MySQL;
        case RowKinds::Kind::Routine:
            return ProcFunc;
        case RowKinds::Kind::Other:
            break;
        }
        return false;
    }
};

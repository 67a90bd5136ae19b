#pragma once

#include "common/UnitPath.h"

#include <QString>
#include <QStringList>

#include <optional>

// Finds the files a project's sources name as the compiler finds them: a
// unit by its name in the project's folder, then in the unit search path; an
// {$I} file beside the file that includes it, then in the include search
// path. Names match without regard to letter case; each folder is listed
// once.
class SourceSearch
{
public:
    SourceSearch() = default;
    // Folders are absolute, or relative to `projectFolder`.
    SourceSearch(const QString& projectFolder, const QStringList& unitFolders,
                 const QStringList& includeFolders);

    // A unit's file: its name (dotted names whole) with .pas, .pp or .p.
    std::optional<QString> findUnit(const QString& name);
    // An {$I} file: the name as written, and without an extension also
    // with .inc, .pp and .pas.
    std::optional<QString> findInclude(const QString& name, const QString& besideFolder);
    // The include search path, absolute.
    const QStringList& includeFolders() const { return m_includeFolders; }

private:
    std::optional<QString> findIn(const QString& folder, const QString& written);

    QStringList m_unitFolders; // the project's folder first
    QStringList m_includeFolders;
    UnitPath::Resolver m_resolver;
};

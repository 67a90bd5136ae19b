#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Finds the file a unit path of a project file names. Project files are
// written on Windows: folders are separated by '\' or '/', letter case does
// not count, and a relative path is relative to the project's own folder.
namespace UnitPath {

// The path to open: the written path when it names a file as it stands,
// otherwise the path whose components match the written ones without regard
// to letter case (an exact match first; among several others, the first in
// byte order). When nothing matches, the path as written, under `baseFolder`.
QString resolve(const QString& baseFolder, const QString& written);

// The same for many paths: each folder is listed once, however many units it
// holds, so a project of thousands of units whose paths differ in letter case
// is resolved in linear time.
class Resolver
{
public:
    QString resolve(const QString& baseFolder, const QString& written);

private:
    QString matchEntry(const QString& folder, const QString& name, bool wantFolder);

    struct Listing
    {
        // Lower-cased name -> the entries with that name, in byte order.
        QHash<QString, QStringList> files;
        QHash<QString, QStringList> folders;
    };
    QHash<QString, Listing> m_listings;
};

// The extension of a path's last component, from its last '.' on, the dot
// included; empty when it has none. Both separators count.
QString extension(const QString& path);

} // namespace UnitPath

#pragma once

#include <QString>

// Finds the file a unit path of a project file names. Project files are
// written on Windows: folders are separated by '\' or '/', letter case does
// not count, and a relative path is relative to the project's own folder.
namespace UnitPath {

// The path to open: the written path when it names a file as it stands,
// otherwise the path whose components match the written ones without regard
// to letter case (an exact match first; among several others, the first in
// byte order). When nothing matches, the path as written, under `baseFolder`.
QString resolve(const QString& baseFolder, const QString& written);

// The extension of a path's last component, from its last '.' on, the dot
// included; empty when it has none. Both separators count.
QString extension(const QString& path);

} // namespace UnitPath

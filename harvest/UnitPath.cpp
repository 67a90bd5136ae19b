#include "harvest/UnitPath.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The entry of `folder` named `name`, matched exactly first, then without
// regard to letter case; empty when there is none.
QString matchEntry(const QString& folder, const QString& name, QDir::Filters kind)
{
    const QDir dir(folder);
    if (name == u"." || name == u"..")
        return name;
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    QStringList matches;
    for (const QString& entry : dir.entryList(kind | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            matches.append(entry);
    }
    if (matches.isEmpty())
        return {};
    std::sort(matches.begin(), matches.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    return matches.first();
}

} // namespace

namespace UnitPath {

QString extension(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? path.sliced(dot) : QString();
}

QString resolve(const QString& baseFolder, const QString& written)
{
    QString path = written;
    path.replace(u'\\', u'/');
    const bool absolute = path.startsWith(u'/');
    const QString start = absolute ? u"/"_s : baseFolder;
    const QString direct = absolute ? path : QDir(baseFolder).filePath(path);
    if (QFileInfo(direct).isFile())
        return direct;

    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    QString current = start;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const QString entry = matchEntry(current, parts[i], last ? QDir::Files : QDir::Dirs);
        if (entry.isEmpty())
            return direct;
        current = QDir(current).filePath(entry);
    }
    return QFileInfo(current).isFile() ? QDir::cleanPath(current) : direct;
}

} // namespace UnitPath

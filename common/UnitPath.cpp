#include "common/UnitPath.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace UnitPath {

QString extension(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? path.sliced(dot) : QString();
}

QString resolve(const QString& baseFolder, const QString& written)
{
    return Resolver().resolve(baseFolder, written);
}

QString Resolver::matchEntry(const QString& folder, const QString& name, bool wantFolder)
{
    const QDir dir(folder);
    if (name == u"." || name == u"..")
        return name;
    // An exact match wins.
    const QFileInfo exact(dir.filePath(name));
    if (exact.exists() && exact.isDir() == wantFolder)
        return name;
    auto it = m_listings.find(folder);
    if (it == m_listings.end()) {
        Listing listing;
        for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot)) {
            QHash<QString, QStringList>& bucket = entry.isDir() ? listing.folders : listing.files;
            bucket[entry.fileName().toLower()].append(entry.fileName());
        }
        for (auto* bucket : {&listing.files, &listing.folders}) {
            for (QStringList& names : *bucket)
                std::sort(names.begin(), names.end(),
                          [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
        }
        it = m_listings.insert(folder, listing);
    }
    const QHash<QString, QStringList>& bucket = wantFolder ? it->folders : it->files;
    const auto found = bucket.constFind(name.toLower());
    return found == bucket.constEnd() ? QString() : found->first();
}

QString Resolver::resolve(const QString& baseFolder, const QString& written)
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
        const QString entry = matchEntry(current, parts[i], !last);
        if (entry.isEmpty())
            return direct;
        current = QDir(current).filePath(entry);
    }
    return QFileInfo(current).isFile() ? QDir::cleanPath(current) : direct;
}

} // namespace UnitPath

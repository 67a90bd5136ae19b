#include "harvest/SourceSearch.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList absoluteFolders(const QString& base, const QStringList& folders)
{
    QStringList absolute;
    for (QString folder : folders) {
        folder.replace(u'\\', u'/');
        const QString path = QDir::cleanPath(QDir(base).filePath(folder));
        if (!absolute.contains(path))
            absolute.append(path);
    }
    return absolute;
}

} // namespace

SourceSearch::SourceSearch(const QString& projectFolder, const QStringList& unitFolders,
                           const QStringList& includeFolders)
    : m_unitFolders(absoluteFolders(projectFolder, QStringList{u"."_s} + unitFolders)),
      m_includeFolders(absoluteFolders(projectFolder, includeFolders))
{}

std::optional<QString> SourceSearch::findIn(const QString& folder, const QString& written)
{
    const QString path = m_resolver.resolve(folder, written);
    if (QFileInfo(path).isFile())
        return QDir::cleanPath(path);
    return std::nullopt;
}

std::optional<QString> SourceSearch::findUnit(const QString& name)
{
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\'))
        return std::nullopt;
    for (const QString& folder : m_unitFolders) {
        for (const QStringView extension : {u".pas", u".pp", u".p"}) {
            if (std::optional<QString> found = findIn(folder, name % extension))
                return found;
        }
    }
    return std::nullopt;
}

std::optional<QString> SourceSearch::findInclude(const QString& name, const QString& besideFolder)
{
    QStringList candidates{name};
    if (UnitPath::extension(name).isEmpty())
        candidates << name % u".inc" << name % u".pp" << name % u".pas";
    QStringList folders{besideFolder};
    folders += m_includeFolders;
    for (const QString& folder : folders) {
        for (const QString& candidate : candidates) {
            if (std::optional<QString> found = findIn(folder, candidate))
                return found;
        }
    }
    return std::nullopt;
}

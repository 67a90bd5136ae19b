#include "common/Folders.h"

#include "common/QuorvelError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void cannotCreate(const QString& folder, int error)
{
    throw QuorvelError(u"Cannot create folder \""_s % folder % u"\". "_s %
                       QString::fromLocal8Bit(std::strerror(error)));
}

void makeOne(const QString& folder)
{
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) == 0)
        return;
    const int error = errno; // before anything else can change it
    if (error == EEXIST && QFileInfo(folder).isDir())
        return;
    cannotCreate(folder, error);
}

} // namespace

namespace Folders {

void make(const QString& folder, Levels levels)
{
    if (levels == Levels::WithParents) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent != QFileInfo(folder).absoluteFilePath() && !QFileInfo(parent).isDir())
            make(parent, Levels::WithParents);
    }
    makeOne(folder);
}

} // namespace Folders

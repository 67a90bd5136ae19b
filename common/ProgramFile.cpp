#include "common/ProgramFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString resolve()
{
    // The kernel's own record of the file this process runs, whatever path
    // or loader it was started through. A file deleted since (an upgrade)
    // is named with " (deleted)" after it; its name and folder still hold.
    char buffer[PATH_MAX + 1];
    const ssize_t size = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    if (size > 0) {
        QString file = QFile::decodeName(QByteArray(buffer, size));
        const QString deleted = u" (deleted)"_s;
        if (file.endsWith(deleted) && !QFileInfo::exists(file))
            file.chop(deleted.size());
        if (file.startsWith(u'/'))
            return file;
    }
    // Without /proc, Qt looks for the program by its first argument.
    if (QCoreApplication::instance() != nullptr) {
        const QString file = QCoreApplication::applicationFilePath();
        if (file.startsWith(u'/'))
            return file;
    }
    return {};
}

} // namespace

namespace ProgramFile {

const QString& path()
{
    static const QString file = resolve();
    return file;
}

QString folder()
{
    const QString& file = path();
    if (file.isEmpty())
        return {};
    return file.left(file.lastIndexOf(u'/') + 1);
}

} // namespace ProgramFile

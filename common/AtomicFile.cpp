#include "common/AtomicFile.h"

#include "common/QuorvelError.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The permissions a new file gets: what the process's mask allows.
mode_t newFileMode()
{
    // Read once, before any worker thread could create a file meanwhile.
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

// A name beside the target that no other writer uses: this process's id and a
// count of its own. Opened exclusively, a name that is somehow taken is
// passed over for the next.
QByteArray temporaryName(const QByteArray& target)
{
    static std::atomic<unsigned> count{0};
    return target + '.' + QByteArray::number(::getpid(), 36) + '-' + QByteArray::number(count++, 36) + ".tmp";
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, static_cast<size_t>(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

} // namespace

namespace AtomicFile {

QString linkReason()
{
    return u"É um link simbólico."_s;
}

std::optional<QString> tryWrite(const QString& fileName, const QByteArray& bytes, Options options)
{
    QByteArray target = QFile::encodeName(fileName);
    struct stat info = {};
    bool exists = ::lstat(target.constData(), &info) == 0;
    if (exists && S_ISLNK(info.st_mode)) {
        if (options.refuseLinks)
            return linkReason();
        // Elsewhere a link is the user's own: the file it points to is replaced.
        const QString resolved = QFileInfo(fileName).canonicalFilePath();
        if (!resolved.isEmpty())
            target = QFile::encodeName(resolved);
        exists = ::stat(target.constData(), &info) == 0;
    }
    if (exists && S_ISDIR(info.st_mode))
        return u"É uma pasta."_s;

    int fd = -1;
    QByteArray temporary;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = temporaryName(target);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            return systemReason(errno);
    }
    const auto abandon = [&](int error) -> std::optional<QString> {
        ::close(fd);
        ::unlink(temporary.constData());
        return systemReason(error);
    };
    // A new file has what the process's mask allows, as open gave it; one
    // that replaces another keeps the permissions of the file it replaces.
    if (exists && (info.st_mode & 07777) != newFileMode() && ::fchmod(fd, info.st_mode & 07777) != 0)
        return abandon(errno);
    if (!writeAll(fd, bytes.constData(), bytes.size()))
        return abandon(errno);
    if (options.syncEach && ::fdatasync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemReason(error);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemReason(error);
    }
    return std::nullopt;
}

QString cannotCreate(const QString& fileName, const QString& reason)
{
    return u"Cannot create file \""_s % fileName % u"\". "_s % reason;
}

void write(const QString& fileName, const QByteArray& bytes, Options options)
{
    if (const std::optional<QString> reason = tryWrite(fileName, bytes, options))
        throw QuorvelError(cannotCreate(fileName, *reason));
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw QuorvelError(cannotCreate(folder, systemReason(error)));
    }
    ::close(fd);
}

} // namespace AtomicFile

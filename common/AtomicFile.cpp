#include "common/AtomicFile.h"

#include "common/QuorvelError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <signal.h>
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

// Every temporary name of the program starts so, to be told from the user's
// files; the rest is this process's id and a count of its own. It is short
// beside any target, so a target whose name is as long as the file system
// allows still has one.
constexpr char kTemporaryPrefix[] = ".quorvel-";

QByteArray folderOf(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
}

QByteArray temporaryName(const QByteArray& folder)
{
    static std::atomic<unsigned> count{0};
    return folder + '/' + kTemporaryPrefix + QByteArray::number(::getpid(), 36) + '-' +
           QByteArray::number(count++, 36) + ".tmp";
}

// A file with no name in the target's folder: if the process is killed while
// writing, nothing is left behind. Not every file system has them.
int openUnnamed(const QByteArray& folder)
{
    return ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the unnamed file a temporary name, to be renamed over the target.
bool linkUnnamed(int fd, const QByteArray& temporary)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc, a privileged process can still link the descriptor.
    return errno == ENOENT && ::linkat(fd, "", AT_FDCWD, temporary.constData(), AT_EMPTY_PATH) == 0;
}

// A named temporary file, where the file system has no unnamed ones.
int openNamed(const QByteArray& folder, QByteArray& temporary)
{
    for (int attempt = 0;; ++attempt) {
        temporary = temporaryName(folder);
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST || attempt == 100)
            return fd;
    }
}

// The id of the process that made a temporary file, from its name: this
// program's ".quorvel-<pid>-<n>.tmp", or "<page>.<pid>-<n>.tmp" of earlier
// versions. Zero for any other name.
pid_t temporaryOwner(QByteArrayView name)
{
    if (!name.endsWith(".tmp"))
        return 0;
    name.chop(4);
    const qsizetype dash = name.lastIndexOf('-');
    if (dash < 0)
        return 0;
    const QByteArrayView count = name.sliced(dash + 1);
    const bool digits = !count.isEmpty() && std::all_of(count.begin(), count.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
    });
    QByteArrayView before = name.first(dash);
    const qsizetype dot = before.lastIndexOf('.');
    const qsizetype start = before.startsWith(kTemporaryPrefix) ? qsizetype(sizeof kTemporaryPrefix - 1)
                            : dot > 0                           ? dot + 1
                                                                : -1;
    if (!digits || start < 0)
        return 0;
    bool ok = false;
    const qlonglong pid = before.sliced(start).toLongLong(&ok, 36);
    return ok && pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
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

Outcome tryWrite(const QString& fileName, const QByteArray& bytes, Options options)
{
    QByteArray target = QFile::encodeName(fileName);
    struct stat info = {};
    bool exists = ::lstat(target.constData(), &info) == 0;
    if (exists && S_ISLNK(info.st_mode)) {
        if (options.refuseLinks)
            return Outcome::failure(linkReason());
        // Elsewhere a link is the user's own: the file it points to is replaced.
        const QString resolved = QFileInfo(fileName).canonicalFilePath();
        if (!resolved.isEmpty())
            target = QFile::encodeName(resolved);
        exists = ::stat(target.constData(), &info) == 0;
    }
    if (exists && S_ISDIR(info.st_mode))
        return Outcome::failure(u"É uma pasta."_s);

    const QByteArray folder = folderOf(target);
    QByteArray temporary;
    int fd = openUnnamed(folder);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return Outcome::failure(systemReason(errno));
        fd = openNamed(folder, temporary);
        if (fd < 0)
            return Outcome::failure(systemReason(errno));
    }
    const auto abandon = [&](int error) -> Outcome {
        ::close(fd);
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        return Outcome::failure(systemReason(error));
    };
    // A new file has what the process's mask allows, as open gave it; one
    // that replaces another keeps the permissions of the file it replaces.
    if (exists && (info.st_mode & 07777) != newFileMode() && ::fchmod(fd, info.st_mode & 07777) != 0)
        return abandon(errno);
    if (!writeAll(fd, bytes.constData(), bytes.size()))
        return abandon(errno);
    if (options.syncEach && ::fdatasync(fd) != 0)
        return abandon(errno);
    if (unnamed) {
        // Named only now, just before it replaces the target.
        temporary = temporaryName(folder);
        if (!linkUnnamed(fd, temporary)) {
            const int error = errno;
            temporary.clear();
            return abandon(error);
        }
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return Outcome::failure(systemReason(error));
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return Outcome::failure(systemReason(error));
    }
    return Outcome::success();
}

void removeStaleTemporaries(const QString& folder)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN)
            continue;
        const pid_t owner = temporaryOwner(QByteArrayView(entry->d_name));
        // Another instance's file is its own, while it runs.
        if (owner == 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

QString cannotCreate(const QString& fileName, const QString& reason)
{
    return u"Cannot create file \""_s % fileName % u"\". "_s % reason;
}

void write(const QString& fileName, const QByteArray& bytes, Options options)
{
    if (const Outcome written = tryWrite(fileName, bytes, options); !written)
        throw QuorvelError(cannotCreate(fileName, written.reason()));
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

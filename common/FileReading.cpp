#include "common/FileReading.h"

#include "common/QuorvelError.h"

#include <QFile>

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

[[noreturn]] void fail(const char16_t* what, const QString& path, const QString& reason)
{
    throw QuorvelError(QString::fromUtf16(what) % u" \""_s % path % u"\". "_s % reason);
}

// Closes the descriptor however the read ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

namespace FileReading {

void read(const QString& path, QByteArray& buffer, Until until)
{
    // Non-blocking, so that opening a FIFO without a writer returns at once;
    // the type is then checked on what was opened, not on the name.
    const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        fail(u"Cannot open file", path, systemReason(errno));
    struct stat info = {};
    if (::fstat(fd.get(), &info) != 0)
        fail(u"Cannot read file", path, systemReason(errno));
    if (S_ISDIR(info.st_mode))
        fail(u"Cannot read file", path, u"É uma pasta."_s);
    if (!S_ISREG(info.st_mode))
        fail(u"Cannot read file", path, u"Não é um arquivo comum."_s);

    // Read until a read returns nothing: the size a file reports may be
    // wrong. One byte more than that size lets the usual file end without the
    // buffer growing, so that its storage is no larger than the file.
    const qsizetype expected = std::max<qsizetype>(static_cast<qsizetype>(info.st_size) + 1, 4096);
    buffer.reserve(expected); // exactly that, where resizing would round up
    buffer.resize(expected);
    qsizetype filled = 0;
    for (;;) {
        if (filled == buffer.size())
            buffer.resize(2 * filled);
        const ssize_t got =
            ::read(fd.get(), buffer.data() + filled, static_cast<size_t>(buffer.size() - filled));
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            fail(u"Cannot read file", path, systemReason(errno));
        }
        if (got == 0)
            break;
        // A UTF-16 text, told by its mark, has a byte 0 in every ASCII letter.
        if (filled == 0 && got >= 2 &&
            (std::memcmp(buffer.constData(), "\xFF\xFE", 2) == 0 ||
             std::memcmp(buffer.constData(), "\xFE\xFF", 2) == 0))
            until = Until::End;
        const char* nul = until == Until::FirstNul
                              ? static_cast<const char*>(
                                    std::memchr(buffer.constData() + filled, 0, static_cast<size_t>(got)))
                              : nullptr;
        if (nul != nullptr) {
            filled = nul - buffer.constData();
            break;
        }
        filled += got;
    }
    buffer.resize(filled);
}

} // namespace FileReading

#include "output/AtomicFile.h"

#include "common/QuorvelError.h"

#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace AtomicFile {

QString tryWrite(const QString& fileName, const QByteArray& bytes)
{
    if (QFileInfo(fileName).isDir())
        return u"É uma pasta."_s;
    QSaveFile file(fileName);
    // Never write the target in place, and let every write reach the system at
    // once, so that a full disk is seen here and not lost in a buffer.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() ? u"No space left on device"_s : reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

void write(const QString& fileName, const QByteArray& bytes)
{
    const QString reason = tryWrite(fileName, bytes);
    if (!reason.isEmpty())
        throw QuorvelError(u"Cannot create file \""_s % fileName % u"\". "_s % reason);
}

} // namespace AtomicFile

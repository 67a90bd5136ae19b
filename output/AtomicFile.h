#pragma once

#include <QByteArray>
#include <QString>

// Every file the program writes is written whole and atomically: the bytes go
// to a temporary file beside the target, which then replaces it. A failure
// leaves the old file, if any, as it was.
namespace AtomicFile {

// Returns an empty text on success, otherwise the system's reason.
QString tryWrite(const QString& fileName, const QByteArray& bytes);

// Throws QuorvelError "Cannot create file "<name>". <reason>".
void write(const QString& fileName, const QByteArray& bytes);

} // namespace AtomicFile

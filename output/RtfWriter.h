#pragma once

#include <QStringList>

// The documentation as a Rich Text Format file: the ansi character set with
// code page 1252, one font (Courier New, 8 points), one paragraph per entry of
// `paragraphs`. Backslashes and braces are escaped; Windows-1252 characters
// outside ASCII and control characters are written as hexadecimal escapes, any other character as a
// Unicode escape, so nothing of the text is lost.
namespace RtfWriter {

QByteArray toRtf(const QStringList& paragraphs);

// Writes the file whole and atomically: a temporary file beside it, then a
// rename, so a failed save never leaves a half-written or emptied file where a
// good one was. Throws QuorvelError "Cannot create file "<name>". <reason>".
void save(const QStringList& paragraphs, const QString& fileName);

} // namespace RtfWriter

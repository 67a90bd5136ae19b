#pragma once

#include <QByteArrayView>
#include <QString>

// The text of a source file as the lexer reads it: every line, the last one
// included, followed by a carriage return and a line feed.
namespace SourceText {

// Lines end at CR LF, a lone CR or a lone LF; a byte 0 ends the text. The bytes
// are Windows-1252, except after a UTF-8 byte-order mark, which is dropped.
QString fromBytes(QByteArrayView bytes);
// The same into `out`, reusing its storage when it is not shared.
void fromBytes(QByteArrayView bytes, QString& out);

// True when `path` names an existing file (a folder is not a file).
bool fileExists(const QString& path);

// Reads the file up to its first NUL, where its text ends. Throws
// QuorvelError when it cannot be read or is no regular file.
QByteArray readFile(const QString& path);
// The same into `buffer`, reusing its storage.
void readFile(const QString& path, QByteArray& buffer);

} // namespace SourceText

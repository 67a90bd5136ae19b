#pragma once

#include "common/Encoding.h"

#include <QByteArrayView>
#include <QString>

// The text of a source file as the lexer reads it: every line, the last one
// included, followed by a carriage return and a line feed.
namespace SourceText {

// How a text was read.
struct Decoding
{
    bool utf8 = false;   // as UTF-8: a letter outside ASCII continues an identifier
    int invalidLine = 0; // the line, from 1, of the first byte that was not valid in the
                         // encoding the text was read in (UTF-8 forced or marked, UTF-16)
    bool utf16 = false;  // read as UTF-16, by its byte-order mark
};

// Lines end at CR LF, a lone CR or a lone LF; a byte 0 ends the text. The bytes
// are read as `encoding` says, but a byte-order mark, dropped, always wins:
// UTF-8's means UTF-8, UTF-16's (little or big end first) UTF-16, ended by a
// character 0. What is not valid in a text read as UTF-8 or UTF-16 becomes
// U+FFFD.
QString fromBytes(QByteArrayView bytes, Encoding encoding = Encoding::Auto);
// The same into `out`, reusing its storage when it is not shared.
Decoding fromBytes(QByteArrayView bytes, QString& out, Encoding encoding = Encoding::Auto);
void fromUtf8(QByteArrayView bytes, QString& out);
void fromWindows1252(QByteArrayView bytes, QString& out);

// True when `path` names an existing file (a folder is not a file).
bool fileExists(const QString& path);

// Reads the file up to its first NUL, where its text ends. Throws
// QuorvelError when it cannot be read or is no regular file.
QByteArray readFile(const QString& path);
// The same into `buffer`, reusing its storage.
void readFile(const QString& path, QByteArray& buffer);

} // namespace SourceText

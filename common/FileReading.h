#pragma once

#include <QByteArray>
#include <QString>

// The one way the program reads a file's bytes. Only a regular file is read:
// a FIFO would block for ever and a device such as /dev/zero never ends, so
// anything else fails as a file that cannot be read.
namespace FileReading {

enum class Until
{
    End,      // every byte
    FirstNul, // up to the first byte 0, which ends a source text (every byte of a
              // file that starts with a UTF-16 mark, whose text is ended
              // by a character 0 instead)
};

// Reads the file into `buffer`, reusing its storage. Throws QuorvelError
// "Cannot open file ..." or "Cannot read file ..." with the system's reason.
void read(const QString& path, QByteArray& buffer, Until until = Until::End);

} // namespace FileReading

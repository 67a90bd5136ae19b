#pragma once

#include <QByteArray>
#include <QString>

#include "common/Outcome.h"

// Every file the program writes is written whole and atomically: the bytes go
// to a new file with no name in the target's folder, which is given a short
// temporary name and renamed over the target. A failure leaves the old file,
// if any, as it was, and no temporary file; a process killed while writing
// leaves nothing either.
namespace AtomicFile {

struct Options
{
    // A target that is a symbolic link is refused instead of followed: inside
    // a folder the program fills (the help site), a link may point anywhere.
    bool refuseLinks = false;
    // Each file reaches the disk before it replaces the target. A command
    // that writes many files may sync once at its end instead (syncFolder).
    bool syncEach = true;
};

// Success, or the reason the file could not be written.
Outcome tryWrite(const QString& fileName, const QByteArray& bytes, Options options = {});

// The message of a file that could not be written: "Cannot create file
// "<name>". <reason>".
QString cannotCreate(const QString& fileName, const QString& reason);

// Throws QuorvelError with cannotCreate's message.
void write(const QString& fileName, const QByteArray& bytes, Options options = {});

// Every file written on the file system that holds `folder` reaches the disk.
// Throws QuorvelError "Cannot create file "<folder>". <reason>" on failure.
void syncFolder(const QString& folder);

// Removes from `folder` the temporary files an earlier process of the program
// left when it was killed while writing (processes still running keep
// theirs). Only a file system without unnamed files, or a kill in the
// moment between naming a file and renaming it, leaves one.
void removeStaleTemporaries(const QString& folder);

// The reason given for a target that is a symbolic link, when links are refused.
QString linkReason();

} // namespace AtomicFile

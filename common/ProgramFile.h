#pragma once

#include <QString>

// Where the running program's file is. Its folder decides where a portable
// program keeps its settings and its site, so it is resolved once, the first
// time it is asked for (main asks before anything else), and kept: an upgrade
// that deletes or replaces the file while the program runs changes nothing.
namespace ProgramFile {

// The program file's absolute path; empty when it cannot be known.
const QString& path();

// The program's folder with its trailing separator; empty when the file
// cannot be known.
QString folder();

} // namespace ProgramFile

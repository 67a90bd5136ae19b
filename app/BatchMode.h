#pragma once

#include <QStringList>

class QIODevice;

// The program without a window, for scripts and build pipelines.
namespace BatchMode {

enum ExitStatus
{
    Success = 0,
    UsageError = 1,
    FileError = 2,
    DescribeError = 3,
    CheckFindings = 3, // --check found warnings or undocumented routines
    WriteError = 4,
    InternalError = 5, // a programming error or no memory left: a fault to report
};

// True when the arguments ask for the batch mode rather than the window.
bool wanted(const QStringList& arguments);

// Runs the batch mode; `arguments` include the program name first. Writes the
// result to `out` and every message to `err`; returns the exit status.
int run(const QStringList& arguments, QIODevice& out, QIODevice& err);

} // namespace BatchMode

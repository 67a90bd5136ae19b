#pragma once

#include "common/Encoding.h"

#include <QStringList>

#include <optional>

// How an opening reads its sources. The caller says what it wants (the
// window traces every token, batch mode does not; --encoding overrides the
// settings); the opening command resolves that once, when it starts, into
// the HarvestChoices it hands to every unit it harvests.
struct OpeningChoices
{
    std::optional<Encoding> encoding; // unset: as the settings say
    bool trace = true;
    bool readEveryToken = false; // the plain way, without the skim of the worker threads
};

struct HarvestChoices
{
    Encoding encoding = Encoding::Auto;
    bool trace = true;
    bool readEveryToken = false;
    // Where {$I} files are looked for after the including file's folder:
    // the project's include search path, absolute.
    QStringList includeFolders;

    // The trace keeps each unit's bytes, to be turned into lines only when
    // somebody reads it.
    bool traceKeepsUnitBytes() const { return trace && !readEveryToken; }
};

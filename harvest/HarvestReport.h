#pragma once

#include "common/Encoding.h"

#include <QStringList>

#include <vector>

// What the harvests of a session read, for the summary a batch command ends
// with.
struct HarvestReport
{
    int unitsRead = 0;    // units and program files harvested
    int includesRead = 0; // {$I} files harvested in their place
    int unitsNotRead = 0; // named by a project, but missing
    // Each unit harvested, with the name its rows have and how it was read.
    struct UnitFile
    {
        QString file;
        QString unit;
        Encoding encoding = Encoding::Auto;
    };
    std::vector<UnitFile> unitFiles;
    // Units the sources use that are in none of the project's folders (the
    // run-time and component libraries): not read, and no warning, but
    // listed when a batch command is verbose. Lower-cased, each once.
    QStringList unitsNotFound;
    // What the first file opened into an empty table says of itself: the
    // project's title and version, or a program's or unit's name.
    struct Project
    {
        QString title;
        QString version;
    };
    Project project;

    void addNotFound(const QString& name)
    {
        const QString lower = name.toLower();
        if (!unitsNotFound.contains(lower))
            unitsNotFound.append(lower);
    }
};

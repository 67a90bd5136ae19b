#pragma once

#include "harvest/HarvestChoices.h"
#include "harvest/ProjectFiles.h"

#include <QByteArrayView>
#include <QStringList>

class IUserPrompts;
class TraceLog;
class UnitHarvester;

// The project reader: harvests every unit whose path a project file names,
// in order, through the unit harvester, whose lexer state it shares.
class ProjectReader
{
public:
    ProjectReader(IUserPrompts& prompts, UnitHarvester& harvester, TraceLog& trace);

    // A project file of any kind (ProjectFiles): a project that does not
    // exist gets the missing-file message; so does each unit it names that
    // does not. Throws QuorvelError when a file that exists cannot be read,
    // or when an XML project is malformed (then nothing of it is harvested).
    void openProject(const QString& file, const HarvestChoices& choices);
    // Every literal of a project's text, lower-cased (the unit paths among them).
    QStringList unitsOfSourceProject(QByteArrayView bytes, const HarvestChoices& choices);
    // True when the user cancelled the last project's harvest.
    bool cancelled() const { return m_cancelled; }

private:
    QStringList readProjectLiterals(const QString& text, bool unicodeLetters, bool trace);
    // The project's units that are read: the ".pas" paths, resolved against
    // the project's folder.
    static QStringList unitPaths(const QString& file, const QStringList& listed, FileKind kind);
    // The name the rows of a main program file (.dpr, .lpr, .dpk) take when
    // it has no heading: its file's name. Empty for a unit.
    static QString programName(const QString& path);
    // The units read and skimmed on worker threads, which end with it.
    void harvestUnits(const QStringList& paths, const HarvestChoices& choices);

    IUserPrompts& m_prompts;
    UnitHarvester& m_harvester;
    TraceLog& m_trace;
    bool m_cancelled = false;
};

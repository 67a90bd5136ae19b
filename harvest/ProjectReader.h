#pragma once

#include "harvest/HarvestChoices.h"
#include "harvest/HarvestReport.h"
#include "harvest/ProjectFiles.h"

#include <QByteArrayView>
#include <QSet>
#include <QStringList>

#include <vector>

class IUserPrompts;
class SourceSearch;
class TraceLog;
class UnitHarvester;

// The project reader: harvests the units of a project as the compiler
// compiles them. First the files the project file names, in order; then,
// round by round, the units they use that are found in the project's folder
// or search paths, each once; last a program file's own text. It shares the
// unit harvester's lexer state.
class ProjectReader
{
public:
    ProjectReader(IUserPrompts& prompts, UnitHarvester& harvester, TraceLog& trace);

    // A project file of any kind (ProjectFiles): a project that does not
    // exist gets the missing-file message; so does each unit it names that
    // does not. Throws QuorvelError when a file that exists cannot be read,
    // or when an XML project is malformed (then nothing of it is harvested).
    void openProject(const QString& file, const HarvestChoices& choices);
    // The files a source project (.dpr, .lpr, .dpk) names: every literal of
    // its text, lower-cased (the unit paths among them), with its line.
    ProjectFiles::Listing readSourceProject(QByteArrayView bytes, const HarvestChoices& choices);
    // True when the user cancelled the last project's harvest.
    bool cancelled() const { return m_cancelled; }
    // The last project's title (its own, or its program's name) and version.
    const HarvestReport::Project& project() const { return m_project; }

private:
    // A unit to harvest and where the project named it.
    struct NamedUnit
    {
        QString path;    // empty when it is known by its name alone
        QString namedBy; // the file that names it
        int line = 0;    // there
        QString name;    // a unit to look for in the project's folders
    };
    void readProjectLiterals(const QString& text, bool unicodeLetters, bool trace,
                             ProjectFiles::Listing& listing);
    // The project's units that are read: the ".pas" paths of a source
    // project's literals, every file of an XML project's list, resolved
    // against the project's folder.
    static std::vector<NamedUnit> listedUnits(const QString& file, const ProjectFiles::Listing& listing,
                                              FileKind kind);
    // The name the rows of a main program file (.dpr, .lpr, .dpk) take when
    // it has no heading: its file's name. Empty for a unit.
    static QString programName(const QString& path);
    // A program's search paths, from the .lpi or .dproj of the same name
    // beside it, when there is one.
    static void addSiblingSearchPaths(const QString& file, ProjectFiles::Listing& listing);
    // The units read and skimmed on worker threads, which end with it; the
    // units they use are added to `used`.
    void harvestUnits(const std::vector<NamedUnit>& units, const HarvestChoices& choices,
                      std::vector<NamedUnit>& used);
    // The units of `used` found by `search` that were not harvested yet;
    // the others are remembered as not found.
    std::vector<NamedUnit> unitsToFollow(const std::vector<NamedUnit>& used, SourceSearch& search);

    IUserPrompts& m_prompts;
    UnitHarvester& m_harvester;
    TraceLog& m_trace;
    bool m_cancelled = false;
    QSet<QString> m_harvested; // paths of the current project's units, and names tried
    int m_progressDone = 0;
    HarvestReport::Project m_project;
};

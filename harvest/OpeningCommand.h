#pragma once

#include "harvest/HarvestChoices.h"

#include <QString>

#include <optional>

class IUserPrompts;
class SettingsLocation;
class IdentifierTable;
class ProjectReader;
class TraceLog;
class UnitHarvester;

// The opening command: a file chosen (or named), harvested as a project or a
// unit, its rows placed in the table's ordering.
class OpeningCommand
{
public:
    OpeningCommand(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table,
                   TraceLog& trace, UnitHarvester& harvester, ProjectReader& projects);
    // The open dialog, then openFile; false when no file was chosen.
    bool runOpen(const OpeningChoices& choices = {});
    // Empties the trace, harvests the file and applies the ordering. The
    // choices are resolved once, here, into those of every unit harvested
    // (the settings' Codificacao read afresh unless an encoding is given).
    // Throws QuorvelError when a file that exists cannot be read; rows
    // stored before stay.
    void openFile(const QString& file, const OpeningChoices& choices = {});
    // True when the user cancelled the last opening: nothing else of the
    // command runs.
    bool cancelled() const;
    // The rows the last openFile stored; -1 when its file does not exist.
    int rowsFound() const { return m_rowsFound; }
    // Tells the user that a command found no marked comment at all, with a
    // reminder of the markers and where the README explains them.
    void remindOfTheMarkers();

private:
    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    IdentifierTable& m_table;
    TraceLog& m_trace;
    UnitHarvester& m_harvester;
    ProjectReader& m_projects;
    int m_rowsFound = 0;
};

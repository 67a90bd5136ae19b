#pragma once

#include "database/TableDialogue.h"
#include "harvest/OpeningCommand.h"
#include "harvest/ProjectReader.h"
#include "harvest/TraceLog.h"
#include "harvest/UnitHarvester.h"
#include "output/Document.h"
#include "output/HtmlCommand.h"
#include "settings/SettingsLocation.h"
#include "table/IdentifierTable.h"

class IUserPrompts;

// The composition root of one working session: one of each subsystem, each
// handed the others it works with, once. QuorvelCore owns one and offers
// the window and batch mode their commands; tests build one and drive a
// subsystem directly. The parts are declared in the order they are built.
class Session
{
public:
    explicit Session(IUserPrompts& prompts);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Novo's first step: the table and the document emptied.
    void clearForNew();

    SettingsLocation settings;
    IdentifierTable identifiers;
    TraceLog traceLog;
    UnitHarvester harvester;
    ProjectReader projects;
    OpeningCommand opening;
    TableDialogue tables;
    Document document;
    HtmlCommand html;
};

#include "harvest/OpeningCommand.h"

#include "common/UserPrompts.h"
#include "harvest/ProjectFiles.h"
#include "harvest/ProjectReader.h"
#include "harvest/TraceLog.h"
#include "harvest/UnitHarvester.h"
#include "settings/IniFile.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsLocation.h"
#include "table/IdentifierTable.h"

#include <QScopeGuard>

using namespace Qt::Literals::StringLiterals;

namespace {

// Collects the rows of one opening and places them all at its end, also when
// an error ends the opening half-way.
class BulkAppend
{
public:
    explicit BulkAppend(IdentifierTable& table) : m_table(table) { m_table.beginBulkAppend(); }
    ~BulkAppend() { m_table.endBulkAppend(); }
    BulkAppend(const BulkAppend&) = delete;
    BulkAppend& operator=(const BulkAppend&) = delete;

private:
    IdentifierTable& m_table;
};

} // namespace

OpeningCommand::OpeningCommand(IUserPrompts& prompts, const SettingsLocation& settings,
                               IdentifierTable& table, TraceLog& trace, UnitHarvester& harvester,
                               ProjectReader& projects)
    : m_prompts(prompts), m_settings(settings), m_table(table), m_trace(trace), m_harvester(harvester),
      m_projects(projects)
{}

void OpeningCommand::runOpen(const OpeningChoices& choices)
{
    const std::optional<QString> file =
        m_prompts.chooseFileToOpen(u"Projeto a ser documentado ..."_s, ProjectFiles::openFilters());
    if (file)
        openFile(*file, choices);
}

bool OpeningCommand::cancelled() const
{
    return m_projects.cancelled();
}

void OpeningCommand::openFile(const QString& file, const OpeningChoices& choices)
{
    // The progress of a project ends however the opening ends, and only once
    // its rows are placed, which takes a while on a large table.
    const auto endProgress = qScopeGuard([this] { m_prompts.reportProgress(1, 1, QString()); });
    m_trace.clear();
    const HarvestChoices harvest{
        choices.encoding.value_or(DocumentationOptions::read(IniFile(m_settings.settingsFile())).encoding),
        choices.trace, choices.readEveryToken};
    {
        BulkAppend bulk(m_table);
        // A project's extension (in any letter case) makes it one; anything
        // else is a unit.
        if (ProjectFiles::kindOf(file) == FileKind::Unit)
            m_harvester.harvestUnitFile(file, harvest);
        else
            m_projects.openProject(file, harvest);
    }
    m_table.applyColumnOrder();
}

#include "harvest/OpeningCommand.h"

#include "common/UserPrompts.h"
#include "harvest/ProjectFiles.h"
#include "harvest/ProjectReader.h"
#include "harvest/SourceText.h"
#include "harvest/TraceLog.h"
#include "harvest/UnitHarvester.h"
#include "settings/IniFile.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsLocation.h"
#include "table/IdentifierTable.h"

#include <QFileInfo>
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

bool OpeningCommand::runOpen(const OpeningChoices& choices)
{
    const std::optional<QString> file =
        m_prompts.chooseFileToOpen(u"Projeto a ser documentado ..."_s, ProjectFiles::openFilters());
    if (!file)
        return false;
    openFile(*file, choices);
    return true;
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
    const int before = m_table.rowCount();
    m_rowsFound = 0;
    m_trace.clear();
    m_harvester.forgetFolderListings();
    const HarvestChoices harvest{
        choices.encoding.value_or(DocumentationOptions::read(IniFile(m_settings.settingsFile())).encoding),
        choices.trace,
        choices.readEveryToken,
        {}};
    {
        BulkAppend bulk(m_table);
        // A project's extension (in any letter case) makes it one; anything
        // else is a unit.
        HarvestReport::Project project;
        if (ProjectFiles::kindOf(file) == FileKind::Unit) {
            m_harvester.harvestUnitFile(file, harvest);
            project.title = m_harvester.unitName().trimmed();
        } else {
            m_projects.openProject(file, harvest);
            project = m_projects.project();
        }
        // The first file opened into an empty table names the documentation.
        if (before == 0) {
            if (project.title.isEmpty())
                project.title = QFileInfo(file).completeBaseName();
            m_harvester.report().project = project;
        }
    }
    m_table.applyColumnOrder();
    m_rowsFound = SourceText::fileExists(file) ? m_table.rowCount() - before : -1;
}

void OpeningCommand::remindOfTheMarkers()
{
    m_prompts.ask(Question{Topic::NothingMarked,
                           u"Nenhum comentário marcado para a documentação foi encontrado. Marque-os com //? "
                           u"(ajuda geral), //@ (rotina), //# (tabela MySQL), //* e //+ (texto); o README "
                           u"explica como, em \"Documenting your project\"."_s,
                           {Answer::Ok},
                           Answer::Ok,
                           {},
                           0,
                           {}});
}

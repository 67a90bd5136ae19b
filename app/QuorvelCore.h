#pragma once

#include "app/Session.h"
#include "harvest/DocumentationCheck.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class IUserPrompts;

// What the main window and the batch mode ask of a working session: its
// commands and the state they show. Each call forwards to the subsystem of
// the Session that owns it; the facade keeps no logic of its own.
class QuorvelCore
{
public:
    explicit QuorvelCore(IUserPrompts& prompts);
    QuorvelCore(const QuorvelCore&) = delete;
    QuorvelCore& operator=(const QuorvelCore&) = delete;

    // Where the settings and the site live.
    SettingsLocation& settings() { return m_session.settings; }
    QString settingsFile() const { return m_session.settings.settingsFile(); }
    void setSettingsFile(const QString& file) { m_session.settings.setSettingsFile(file); }
    void setProgramFolder(const QString& folder) { m_session.settings.setProgramFolder(folder); }

    // Opening files (Abrir, Novo, the command line, a drop), each as
    // `choices` say: the window traces and reads as the settings say; batch
    // mode builds its own from the command line.
    void setOpeningChoices(const OpeningChoices& choices) { m_openingChoices = choices; }
    void openFile(const QString& file) { m_session.opening.openFile(file, m_openingChoices); }
    bool openingCancelled() const { return m_session.opening.cancelled(); }
    int rowsFound() const { return m_session.opening.rowsFound(); }
    void remindOfTheMarkers() { m_session.opening.remindOfTheMarkers(); }
    bool runOpen() { return m_session.opening.runOpen(m_openingChoices); }
    // What the openings of this session read, for a summary.
    const HarvestReport& harvestReport() const { return m_session.harvester.report(); }
    // The routines the harvested units offer that no //@ block documents.
    std::vector<DocumentationCheck::Undocumented> undocumentedRoutines() const
    {
        return DocumentationCheck::check(m_session.harvester.report(), m_session.identifiers);
    }
    // Empties the table and the document, then runs Abrir. `cleared` runs in
    // between, so that a window shows the empty document while the open
    // dialog is up and the new files are read.
    bool runNew(const std::function<void()>& cleared = {});
    // How the //# blocks of the next openings are answered, without a dialog.
    using TableAnswer = TableDialogue::TableAnswer;
    void answerTables(TableAnswer answer, const std::optional<QString>& password = std::nullopt)
    {
        m_session.tables.answerTables(answer, password);
    }

    // The identifier table and its grid.
    IdentifierTable& identifiers() { return m_session.identifiers; }
    const IdentifierTable& identifiers() const { return m_session.identifiers; }
    void setColumnOrder(const QList<int>& columns);
    void gridTitleClicked();
    void gridColumnMoved(const QList<int>& columns);
    // A click on a cell: its value as text becomes the only line of the
    // hidden cell memo.
    void gridCellClicked(int place, int column);
    const QString& cellText() const { return m_cellText; }

    // The hidden diagnostic views: the trace and the last table description.
    TraceLog& traceLog() { return m_session.traceLog; }
    TableDescriptionModel& tableDescription() { return m_session.tables.tableDescription(); }

    // The rich-text document.
    const QStringList& documentLines() const { return m_session.document.documentLines(); }
    void buildDocument() { m_session.document.buildDocument(); }
    int documentRevision() const { return m_session.document.documentRevision(); }
    std::optional<QString> runSave() { return m_session.document.runSave(); }

    // The HTML help site.
    using SiteIdentity = HtmlCommand::SiteIdentity;
    SiteIdentity siteIdentity() const { return m_session.html.siteIdentity(); }
    bool runHtml() { return m_session.html.runHtml(); }
    bool writeSite(const QString& application, const QString& version, const QString& folder)
    {
        return m_session.html.writeSite(application, version, folder);
    }
    void setSiteOverrides(HtmlCommand::Overrides overrides)
    {
        m_session.html.setOverrides(std::move(overrides));
    }
    // The page a site written now into `folder` opens with.
    QString siteStartPage(const QString& folder) const
    {
        return HtmlCommand::startPage(folder, m_session.html.style());
    }

private:
    Session m_session;
    OpeningChoices m_openingChoices;
    QString m_cellText;
};

#pragma once

#include "database/TableDialogue.h"
#include "harvest/OpeningCommand.h"
#include "harvest/ProjectReader.h"
#include "harvest/TraceLog.h"
#include "harvest/UnitHarvester.h"
#include "output/Document.h"
#include "output/HtmlCommand.h"
#include "settings/SettingsLocation.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class IUserPrompts;
class IdentifierTable;

// The working session behind the main window and the batch mode: one of each
// subsystem, wired together, and the names the windows' users know for their
// state and commands. Every call forwards to the subsystem that owns it; the
// facade itself keeps no logic.
class QuorvelCore
{
public:
    explicit QuorvelCore(IUserPrompts& prompts);
    ~QuorvelCore();
    QuorvelCore(const QuorvelCore&) = delete;
    QuorvelCore& operator=(const QuorvelCore&) = delete;

    // The subsystems.
    UnitHarvester& harvester() { return m_harvester; }
    TableDialogue& tables() { return m_tables; }
    Document& document() { return m_document; }
    SettingsLocation& settings() { return m_settings; }

    // Lexer. `position` is 0-based.
    int nextToken(const QString& text, qsizetype& position)
    {
        return m_harvester.lexer().nextToken(text, position);
    }

    // Harvest and opening commands (harvest/).
    void harvestUnitFile(const QString& file) { m_harvester.harvestUnitFile(file); }
    void harvestBytes(QByteArrayView bytes, const QString& file) { m_harvester.harvestBytes(bytes, file); }
    void openProject(const QString& file) { m_projects.openProject(file); }
    QStringList unitsOfSourceProject(QByteArrayView bytes) { return m_projects.unitsOfSourceProject(bytes); }
    void openFile(const QString& file) { m_opening.openFile(file); }
    bool openingCancelled() const { return m_opening.cancelled(); }
    void runOpen() { m_opening.runOpen(); }
    // Reads every source as `encoding` says instead of as the settings do.
    void setEncoding(std::optional<Encoding> encoding) { m_opening.setEncoding(encoding); }
    // Empties the table and the document, then runs Abrir. `cleared` runs in
    // between, so that a window shows the empty document while the open
    // dialog is up and the new files are read.
    void runNew(const std::function<void()>& cleared = {});

    // Identifier table and its grid (table/).
    IdentifierTable& identifiers() { return *m_identifiers; }
    const IdentifierTable& identifiers() const { return *m_identifiers; }
    void setColumnOrder(const QList<int>& columns);
    const QList<int>& columnOrder() const;
    void gridTitleClicked();
    void gridColumnMoved(const QList<int>& columns);
    // A click on a cell: its value as text becomes the only line of cellText.
    void gridCellClicked(int place, int column);
    const QString& cellText() const { return m_cellText; }

    // The rich-text document (output/).
    const QStringList& documentLines() const { return m_document.documentLines(); }
    void buildDocument() { m_document.buildDocument(); }
    int documentRevision() const { return m_document.documentRevision(); }
    std::optional<QString> runSave() { return m_document.runSave(); }
    static QString withRtfExtension(const QString& name) { return Document::withRtfExtension(name); }

    // The table dialogue (database/).
    void configureDriver() { m_tables.configureDriver(); }
    void configureConnection(const QList<ConnectionParameter>& parameters)
    {
        m_tables.configureConnection(parameters);
    }
    QList<ConnectionParameter> savedConnectionParameters() const
    {
        return m_tables.savedConnectionParameters();
    }
    MySqlConnection& SQLConnection() { return m_tables.SQLConnection(); }
    TableDescriptionModel& tableDescription() { return m_tables.tableDescription(); }
    using TableAnswer = TableDialogue::TableAnswer;
    void answerTables(TableAnswer answer, const std::optional<QString>& password = std::nullopt)
    {
        m_tables.answerTables(answer, password);
    }

    // The hidden trace memo and how the harvest reads.
    TraceLog& traceLog() { return m_traceLog; }
    void setTraceEnabled(bool enabled) { m_harvester.setTraceEnabled(enabled); }
    void setReadEveryToken(bool every) { m_harvester.setReadEveryToken(every); }

    // The settings files and the program's folder (settings/).
    QString settingsFile() const { return m_settings.settingsFile(); }
    QString siteSettingsFile() const { return m_settings.siteSettingsFile(); }
    void setSettingsFile(const QString& file) { m_settings.setSettingsFile(file); }
    QString programFolder() const { return m_settings.programFolder(); }
    void setProgramFolder(const QString& folder) { m_settings.setProgramFolder(folder); }

    // The HTML help site (output/).
    using SiteIdentity = HtmlCommand::SiteIdentity;
    SiteIdentity siteIdentity() const { return m_html.siteIdentity(); }
    bool runHtml() { return m_html.runHtml(); }
    bool writeSite(const QString& application, const QString& version, const QString& folder)
    {
        return m_html.writeSite(application, version, folder);
    }

    // Working state, read-only from outside.
    QString tokenText() const { return m_harvester.lexer().tokenText(); }
    int tokenCode() const { return m_harvester.lexer().tokenCode(); }
    int currentLine() const { return m_harvester.lexer().currentLine(); }
    QString unitName() const { return m_harvester.unitName(); }
    const QString& currentIdentifier() const { return m_harvester.currentIdentifier(); }
    const QString& currentName() const { return m_harvester.currentName(); }
    QString currentType() const { return m_harvester.currentType(); }
    const QString& currentHelp() const { return m_harvester.currentHelp(); }
    const QString& tableName() const { return m_harvester.tableName(); }
    bool ignoreOrphanWarnings() const { return m_harvester.ignoreOrphanWarnings(); }
    bool connectionConfigured() const { return m_tables.connectionConfigured(); }
    bool yesToAll() const { return m_tables.yesToAll(); }
    bool noToAll() const { return m_tables.noToAll(); }

    IUserPrompts& prompts() { return m_prompts; }

private:
    IUserPrompts& m_prompts;
    SettingsLocation m_settings;
    std::unique_ptr<IdentifierTable> m_identifiers;
    TraceLog m_traceLog;
    UnitHarvester m_harvester;
    ProjectReader m_projects;
    OpeningCommand m_opening;
    TableDialogue m_tables;
    Document m_document;
    HtmlCommand m_html;
    QString m_cellText;
};

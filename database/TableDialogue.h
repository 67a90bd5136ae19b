#pragma once

#include "common/UserPrompts.h"
#include "harvest/TableComments.h"

#include <QList>

#include <memory>
#include <optional>

class MySqlConnection;
class SettingsLocation;
class TableDescriptionModel;

// The //# table dialogue: asks whether to describe each table, shows the
// connection dialog, describes the table on the server and appends the
// description to its notes. It owns the connection, the last description and
// the standing answers, which hold until the program ends.
class TableDialogue : public ITableComments
{
public:
    TableDialogue(IUserPrompts& prompts, const SettingsLocation& settings);
    ~TableDialogue() override;
    TableDialogue(const TableDialogue&) = delete;
    TableDialogue& operator=(const TableDialogue&) = delete;

    TableRow describeTable(const TableBlock& block) override;

    // The connection dialog, and the hand-over of its rows to the connection.
    void configureDriver();
    void configureConnection(const QList<ConnectionParameter>& parameters);
    // The connection rows as the settings file holds them, with their defaults.
    QList<ConnectionParameter> savedConnectionParameters() const;

    // Answers the dialogue for the whole run, without asking (batch mode):
    // none stores every table without description; all describes every table
    // with the saved connection rows (and `password`, when given).
    enum class TableAnswer
    {
        NoTables,
        AllTables
    };
    void answerTables(TableAnswer answer, const std::optional<QString>& password = std::nullopt);

    MySqlConnection& SQLConnection() { return *m_SQLConnection; }
    TableDescriptionModel& tableDescription() { return *m_tableDescription; }
    bool connectionConfigured() const { return m_connectionConfigured; }
    bool yesToAll() const { return m_yesToAll; }
    bool noToAll() const { return m_noToAll; }

private:
    TableRow withoutDescription(const TableBlock& block) const;
    TableRow describeOrWarn(const TableBlock& block);
    // The row with the table's description appended to its notes when the
    // server gives it; `described` tells whether it did.
    TableRow describeTableRow(const TableBlock& block, bool& described);
    void warnTable(const TableBlock& block, const QString& text);

    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    std::unique_ptr<MySqlConnection> m_SQLConnection;
    std::unique_ptr<TableDescriptionModel> m_tableDescription;
    bool m_connectionConfigured = false;
    bool m_yesToAll = false;
    bool m_noToAll = false;
};

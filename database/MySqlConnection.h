#pragma once

#include "common/QuorvelError.h"
#include "common/UserPrompts.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A database error: every failure to connect, to query or to read a result.
// The table documentation turns it into its messages; other errors end the
// command.
class DatabaseError : public QuorvelError
{
public:
    using QuorvelError::QuorvelError;
};

// The connection to the MySQL (or MariaDB) server, through Qt's MySQL driver.
// It takes the five parameter lines DriverName, HostName (optionally
// "host:port"), Database, User_Name and Password, connects when opened, and
// reports every failure as DatabaseError.
class MySqlConnection
{
public:
    MySqlConnection();
    ~MySqlConnection();
    MySqlConnection(const MySqlConnection&) = delete;
    MySqlConnection& operator=(const MySqlConnection&) = delete;

    // The driver name: setting the same name again keeps the parameters;
    // another name forgets them.
    void setDriverName(const QString& name);
    const QString& driverName() const { return m_driverName; }
    void setLoginPrompt(bool on) { m_loginPrompt = on; }

    // Replaces the parameter list.
    void setParams(const QList<ConnectionParameter>& params);
    const QList<ConnectionParameter>& params() const { return m_params; }
    QString param(const QString& key) const;

    // No-op when already open.
    void open();
    void close();
    bool isOpen() const;

    // The rows of "describe <table>", each the six columns Field, Type, Null,
    // Key, Default and Extra as text (a null value is empty). The name goes to
    // the server as a quoted identifier, never as SQL text.
    QList<QStringList> describe(const QString& table);

    // `db.table` -> `db`.`table`, blanks at both ends trimmed and backquotes
    // doubled. Throws DatabaseError for an empty name.
    static QString quoteIdentifier(const QString& name);

private:
    QString m_connectionName;
    QString m_driverName;
    bool m_loginPrompt = false;
    QList<ConnectionParameter> m_params;
};

#include "database/MySqlConnection.h"

#include "database/TableDescription.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

using namespace Qt::Literals::StringLiterals;

namespace {

QString describeError(const QSqlError& error)
{
    return error.text().trimmed().isEmpty() ? u"erro de banco de dados"_s : error.text().trimmed();
}

} // namespace

MySqlConnection::MySqlConnection()
    : m_connectionName(u"quorvel-"_s % QUuid::createUuid().toString(QUuid::WithoutBraces))
{}

MySqlConnection::~MySqlConnection()
{
    close();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

void MySqlConnection::setDriverName(const QString& name)
{
    if (name == m_driverName)
        return;
    m_driverName = name;
    m_params.clear();
}

void MySqlConnection::setParams(const QList<ConnectionParameter>& params)
{
    m_params = params;
}

QString MySqlConnection::param(const QString& key) const
{
    for (const ConnectionParameter& p : m_params) {
        if (p.first == key)
            return p.second;
    }
    return {};
}

bool MySqlConnection::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) &&
           QSqlDatabase::database(m_connectionName, false).isOpen();
}

void MySqlConnection::open()
{
    if (isOpen())
        return;
    if (!QSqlDatabase::isDriverAvailable(u"QMYSQL"_s))
        throw DatabaseError(u"O driver MySQL do Qt não está instalado."_s);
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(u"QMYSQL"_s, m_connectionName);
    QString host = param(u"HostName"_s).trimmed();
    int port = -1;
    const qsizetype colon = host.lastIndexOf(u':');
    if (colon > 0) {
        bool ok = false;
        const int p = host.sliced(colon + 1).toInt(&ok);
        if (ok) {
            port = p;
            host.truncate(colon);
        }
    }
    db.setHostName(host);
    db.setPort(port);
    db.setDatabaseName(param(u"Database"_s));
    db.setUserName(param(u"User_Name"_s));
    db.setPassword(param(u"Password"_s));
    db.setConnectOptions(u"MYSQL_OPT_CONNECT_TIMEOUT=5;MYSQL_OPT_READ_TIMEOUT=30"_s);
    if (!db.open())
        throw DatabaseError(describeError(db.lastError()));
}

void MySqlConnection::close()
{
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::database(m_connectionName, false).close();
}

QString MySqlConnection::quoteIdentifier(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw DatabaseError(u"Nome de tabela vazio."_s);
    QStringList parts;
    for (QString part : trimmed.split(u'.'))
        parts.append(u'`' % part.replace(u"`"_s, u"``"_s) % u'`');
    return parts.join(u'.');
}

QList<QStringList> MySqlConnection::describe(const QString& table)
{
    const QString statement = u"describe "_s % quoteIdentifier(table);
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw DatabaseError(describeError(query.lastError()));
    const QSqlRecord record = query.record();
    QList<int> columns;
    for (const QString& name : describeColumns()) {
        const int index = record.indexOf(name);
        if (index < 0)
            throw DatabaseError(u"O resultado não tem a coluna "_s % name % u'.');
        columns.append(index);
    }
    QList<QStringList> rows;
    while (query.next()) {
        QStringList row;
        for (int index : columns)
            row.append(query.isNull(index) ? QString() : query.value(index).toString());
        rows.append(row);
    }
    if (query.lastError().isValid())
        throw DatabaseError(describeError(query.lastError()));
    return rows;
}

#include "SqlConnection.h"

#include "PostgresCluster.h"

#include <QAtomicInteger>
#include <QSqlError>

#include <stdexcept>

namespace {

QString uniqueName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("bench-sql-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

SqlConnection::SqlConnection(const QString &sqliteFile, Access access)
    : m_name(uniqueName()), m_db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name))
{
    m_db.setDatabaseName(sqliteFile);
    if (access == Access::ReadOnly) {
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    }
    open(sqliteFile);
}

SqlConnection::SqlConnection(const PostgresCluster &cluster, const QString &database)
    : m_name(uniqueName()), m_db(QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name))
{
    m_db.setHostName(QStringLiteral("127.0.0.1"));
    m_db.setPort(cluster.port());
    m_db.setUserName(QStringLiteral("postgres"));
    m_db.setDatabaseName(database);
    open(cluster.url(database));
}

SqlConnection::~SqlConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void SqlConnection::open(const QString &what)
{
    if (!m_db.open()) {
        const QString error = m_db.lastError().text();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw std::runtime_error(QStringLiteral("cannot open %1: %2").arg(what, error).toStdString());
    }
}

#include "DatabaseLocation.h"

#include "Sql.h"
#include "TextFolding.h"

#include <QSqlError>
#include <QUrl>

#include <stdexcept>

DatabaseLocation DatabaseLocation::parse(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        throw std::invalid_argument("empty database location");
    }
    DatabaseLocation location;
    if (!text.startsWith(QLatin1String("postgresql://")) && !text.startsWith(QLatin1String("postgres://"))) {
        location.m_path = text;
        return location;
    }
    const QUrl url(text, QUrl::StrictMode);
    const QString database = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || database.isEmpty()) {
        throw std::invalid_argument("malformed PostgreSQL URL; expected postgresql://user@host:port/database");
    }
    location.m_postgres = true;
    location.m_host = url.host();
    location.m_port = url.port(5432);
    location.m_user = url.userName();
    location.m_password = url.password();
    location.m_database = database;
    return location;
}

QString DatabaseLocation::describe() const
{
    if (!m_postgres) {
        return QStringLiteral("sqlite:%1").arg(m_path);
    }
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(m_user, m_host).arg(m_port).arg(m_database);
}

QSqlDatabase DatabaseLocation::open(const QString &connectionName, int busyTimeoutMs) const
{
    QSqlDatabase db = QSqlDatabase::addDatabase(m_postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), connectionName);
    if (m_postgres) {
        db.setHostName(m_host);
        db.setPort(m_port);
        db.setUserName(m_user);
        db.setPassword(m_password);
        db.setDatabaseName(m_database);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    } else {
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    }
    if (!db.open()) {
        throw std::runtime_error(QStringLiteral("cannot open %1: %2").arg(describe(), db.lastError().text()).toStdString());
    }
    if (m_postgres) {
        // A lock wait longer than this is a stuck client; fail the call instead.
        Sql::run(db, QStringLiteral("SET lock_timeout = %1").arg(busyTimeoutMs));
    } else {
        Sql::run(db, QStringLiteral("PRAGMA journal_mode = WAL"));
        Sql::run(db, QStringLiteral("PRAGMA synchronous = NORMAL"));
        Sql::run(db, QStringLiteral("PRAGMA foreign_keys = ON"));
    }
    TextFolding::install(db);
    return db;
}

#include "SchemaMigrator.h"

#include "Sql.h"
#include "SqlTransaction.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <stdexcept>

namespace {

int versionOf(const QString &fileName)
{
    return fileName.section(QLatin1Char('_'), 0, 0).toInt();
}

} // namespace

SchemaMigrator::SchemaMigrator(const QSqlDatabase &db)
    : m_db(db)
{
}

QStringList SchemaMigrator::migrationFiles()
{
    QStringList files = QDir(QStringLiteral(":/migrations")).entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    return files;
}

QStringList SchemaMigrator::statementsOf(const QString &fileName)
{
    QFile file(QStringLiteral(":/migrations/") + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error(QStringLiteral("migration %1 not found").arg(fileName).toStdString());
    }
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--"))) {
            continue;
        }
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            current.chop(2);
            statements.append(current.trimmed());
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty()) {
        statements.append(current.trimmed());
    }
    return statements;
}

void SchemaMigrator::runFile(const QString &fileName)
{
    for (const QString &statement : statementsOf(fileName)) {
        try {
            Sql::run(m_db, statement);
        } catch (const std::exception &error) {
            throw std::runtime_error(QStringLiteral("migration %1: %2").arg(fileName, QString::fromUtf8(error.what())).toStdString());
        }
    }
}

QStringList SchemaMigrator::pending() const
{
    const QStringList tables = m_db.tables();
    const bool versioned = std::any_of(tables.cbegin(), tables.cend(), [](const QString &table) {
        return table.compare(QLatin1String("SCHEMAVERSION"), Qt::CaseInsensitive) == 0;
    });
    QSet<int> applied;
    if (versioned) {
        QSqlQuery seen = Sql::run(m_db, QStringLiteral("SELECT NRVERSAO FROM SCHEMAVERSION"));
        while (seen.next()) {
            applied.insert(seen.value(0).toInt());
        }
    }
    QStringList files;
    for (const QString &fileName : migrationFiles()) {
        if (!applied.contains(versionOf(fileName))) {
            files.append(fileName);
        }
    }
    return files;
}

QStringList SchemaMigrator::migrate()
{
    QStringList applied;
    Sql::run(m_db, QStringLiteral("CREATE TABLE IF NOT EXISTS SCHEMAVERSION ("
                                  "NRVERSAO INTEGER NOT NULL PRIMARY KEY, "
                                  "NMARQUIVO VARCHAR(100) NOT NULL, "
                                  "DTAPLICACAO VARCHAR(30) NOT NULL)"));
    for (const QString &fileName : migrationFiles()) {
        const int version = versionOf(fileName);
        SqlTransaction transaction(m_db);
        if (Sql::isPostgres(m_db)) {
            // Several servers may start at once on one database.
            Sql::run(m_db, QStringLiteral("LOCK TABLE SCHEMAVERSION IN EXCLUSIVE MODE"));
        }
        QSqlQuery seen = Sql::run(m_db, QStringLiteral("SELECT COUNT(*) FROM SCHEMAVERSION WHERE NRVERSAO = ?"), {version});
        if (seen.next() && seen.value(0).toInt() > 0) {
            continue;
        }
        runFile(fileName);
        Sql::run(m_db, QStringLiteral("INSERT INTO SCHEMAVERSION (NRVERSAO, NMARQUIVO, DTAPLICACAO) VALUES (?, ?, ?)"),
                 {version, fileName, QDateTime::currentDateTimeUtc().toString(Qt::ISODate)});
        transaction.commit();
        applied.append(fileName);
    }
    return applied;
}

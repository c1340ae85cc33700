#pragma once

#include <QSqlDatabase>
#include <QStringList>

// Brings a database to the current schema by applying, in name order, the
// migration files appserver/migrations/NNN_*.sql that it has not seen yet.
// Applied versions are recorded in SCHEMAVERSION; each file runs in its own
// transaction, so a failed migration leaves the previous version intact.
class SchemaMigrator final {
public:
    explicit SchemaMigrator(const QSqlDatabase &db);

    // Throws std::runtime_error naming the file and statement that failed.
    void migrate();
    // Runs one migration file without recording it (the client's local
    // database only carries the reference tables). Throws like migrate().
    void runFile(const QString &fileName);

    static QStringList migrationFiles(); // "001_reference_tables.sql", ...
    static QStringList statementsOf(const QString &fileName);

private:
    QSqlDatabase m_db;
};

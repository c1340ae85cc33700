#pragma once

#include <QSqlDatabase>
#include <QStringList>

// Brings a database to the current schema by applying, in name order, the
// migration files appserver/migrations/NNN_*.sql that it has not seen yet.
// Applied versions are recorded in SCHEMAVERSION; each file runs in its own
// transaction, so a failed migration leaves the previous version intact.
//
// Applying is the database owner's business: it creates tables and locks
// SCHEMAVERSION. Reading what is pending needs only SELECT on SCHEMAVERSION,
// so a serving role without CREATE can tell a current schema from one it
// must not serve.
class SchemaMigrator final {
public:
    explicit SchemaMigrator(const QSqlDatabase &db);

    // Applies the pending files and returns their names, in the order
    // applied (empty when none was pending). Throws std::runtime_error naming
    // the file and statement that failed; the files before it stay applied.
    QStringList migrate();
    // The files not applied yet, in name order; all of them on a database
    // without SCHEMAVERSION. Throws std::runtime_error when SCHEMAVERSION
    // exists but cannot be read.
    QStringList pending() const;
    // Runs one migration file without recording it (the client's local
    // database only carries the reference tables). Throws like migrate().
    void runFile(const QString &fileName);

    static QStringList migrationFiles(); // "001_reference_tables.sql", ...
    static QStringList statementsOf(const QString &fileName);

private:
    QSqlDatabase m_db;
};

#pragma once

#include <QString>

// Demo databases made by the server's own seeding command. Seeding a
// million quotes takes a minute or more, so SQLite databases are kept in the
// benchmark data folder and reused by later runs.
namespace SeededDatabase {
// The cached SQLite file holding `quotes` demo quotes (seed value 1),
// seeded on first use. A seed that fails or is interrupted leaves no cached
// file behind, so a half-filled database is never measured. Throws
// std::runtime_error with the server's output when seeding fails.
QString sqliteFile(int quotes);
// The database a cached PostgreSQL cluster holds its quotes in.
inline const QString postgresDatabase = QStringLiteral("bench");
// The folder of a kept PostgreSQL cluster (see PostgresCluster) whose
// database postgresDatabase holds `quotes` demo quotes (seed value 1),
// made on first use (a million quotes take minutes) and reused by later
// runs; like the SQLite files, a seed that fails or is interrupted leaves
// no cached cluster behind. Throws std::runtime_error when it cannot be made.
QString postgresCluster(int quotes);
// Seeds `location` (a SQLite file or a postgresql:// URL) with `quotes`
// demo quotes. Throws std::runtime_error with the server's output on failure.
void seed(const QString &location, int quotes);
// Copies a SQLite database (checkpointed, so the main file is complete) to
// `target`, replacing it. Throws std::runtime_error when the copy fails.
void copySqlite(const QString &source, const QString &target);
} // namespace SeededDatabase

#pragma once

#include "PostgresCluster.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// One storage engine for the integration tests: a small seeded database
// made once, and a fresh copy of it for every test so tests never see each
// other's changes.
class TestBackend final {
public:
    static constexpr int seededQuotes = 200;

    explicit TestBackend(const QString &driver); // "sqlite" or "postgres"

    // Seeds the template; false with skipReason() set when the engine is
    // not installed, or error() set when preparing it failed.
    bool prepare();
    QString skipReason() const { return m_skipReason; }
    QString error() const { return m_error; }

    // The location (file or URL) of a fresh copy of the seeded database;
    // empty on failure (see error()).
    QString freshDatabase();
    // A database of its own seeded with `quotes` quotes, for the tests that
    // need more than the template's; empty on failure (see error()).
    QString seededDatabase(int quotes);
    // A direct connection for arranging and checking rows.
    QSqlDatabase direct(const QString &location);
    void closeDirect();

private:
    QString m_driver;
    QTemporaryDir m_dir;
    std::unique_ptr<PostgresCluster> m_cluster;
    QString m_template;
    QString m_skipReason;
    QString m_error;
    int m_copies = 0;
    QStringList m_directNames;
};

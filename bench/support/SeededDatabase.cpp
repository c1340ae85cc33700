#include "SeededDatabase.h"

#include "AppServerProcess.h"
#include "BenchPaths.h"
#include "PostgresCluster.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

// Folds the write-ahead log into the main file, so the file alone is the
// whole database and can be renamed or copied.
void checkpoint(const QString &file)
{
    const QString name = QStringLiteral("bench-checkpoint");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open()) {
            fail(QStringLiteral("cannot open %1: %2").arg(file, db.lastError().text()));
        }
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"))) {
            fail(QStringLiteral("cannot checkpoint %1: %2").arg(file, query.lastError().text()));
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void removeSqlite(const QString &file)
{
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile::remove(file + suffix);
    }
}

} // namespace

namespace SeededDatabase {

void seed(const QString &location, int quotes)
{
    QString output;
    if (!AppServerProcess::seed(location, quotes, {}, &output, AppServerProcess::NoTimeLimit)) {
        fail(QStringLiteral("seeding %1 quotes failed: %2").arg(quotes).arg(output));
    }
}

QString sqliteFile(int quotes)
{
    const QString file = QDir(BenchPaths::dataDir()).filePath(QStringLiteral("sqlite-%1.db").arg(quotes));
    if (QFile::exists(file)) {
        return file;
    }
    const QString partial = file + QStringLiteral(".partial");
    removeSqlite(partial);
    std::fprintf(stderr, "seeding %d quotes into %s ...\n", quotes, qPrintable(file));
    QElapsedTimer timer;
    timer.start();
    try {
        seed(partial, quotes);
        checkpoint(partial);
    } catch (...) {
        removeSqlite(partial);
        throw;
    }
    QFile::remove(partial + QStringLiteral("-wal"));
    QFile::remove(partial + QStringLiteral("-shm"));
    if (!QFile::rename(partial, file)) {
        fail(QStringLiteral("cannot move the seeded database to %1").arg(file));
    }
    std::fprintf(stderr, "seeded %d quotes in %.1f s\n", quotes, double(timer.elapsed()) / 1000.0);
    return file;
}

QString postgresCluster(int quotes)
{
    const QString folder = QDir(BenchPaths::dataDir()).filePath(QStringLiteral("postgres-%1").arg(quotes));
    if (QFileInfo::exists(folder + QStringLiteral("/data/PG_VERSION"))) {
        return folder;
    }
    const QString partial = folder + QStringLiteral(".partial");
    QDir(partial).removeRecursively();
    std::fprintf(stderr, "seeding %d quotes into a PostgreSQL cluster in %s ...\n", quotes, qPrintable(folder));
    QElapsedTimer timer;
    timer.start();
    try {
        PostgresCluster cluster(partial);
        cluster.start();
        cluster.createDatabase(postgresDatabase);
        seed(cluster.url(postgresDatabase), quotes);
    } catch (...) {
        QDir(partial).removeRecursively();
        throw;
    }
    if (!QDir().rename(partial, folder)) {
        fail(QStringLiteral("cannot move the seeded cluster to %1").arg(folder));
    }
    std::fprintf(stderr, "seeded %d quotes in %.1f s\n", quotes, double(timer.elapsed()) / 1000.0);
    return folder;
}

void copySqlite(const QString &source, const QString &target)
{
    checkpoint(source);
    removeSqlite(target);
    if (!QFile::copy(source, target)) {
        fail(QStringLiteral("cannot copy %1 to %2").arg(source, target));
    }
}

} // namespace SeededDatabase

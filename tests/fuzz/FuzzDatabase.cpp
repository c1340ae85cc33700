#include "FuzzDatabase.h"

#include "DatabaseLocation.h"
#include "DemoSeeder.h"
#include "FuzzFailure.h"
#include "SchemaMigrator.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace {

const QString seededName = QStringLiteral("seeded.db");
const QString workName = QStringLiteral("work.db");
const QString connectionName = QStringLiteral("fuzz-session");

} // namespace

FuzzDatabase::FuzzDatabase()
{
    if (!m_dir.isValid()) {
        throw std::runtime_error("no temporary folder for the fuzz database");
    }
    {
        QSqlDatabase db = DatabaseLocation::parse(path(seededName)).open(QStringLiteral("fuzz-seed"));
        SchemaMigrator(db).migrate();
        DemoSeeder(1).fillServer(db, 200);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fuzz-seed"));
    openCopy();
}

FuzzDatabase::~FuzzDatabase()
{
    close();
}

QString FuzzDatabase::path(const QString &name) const
{
    return m_dir.filePath(name);
}

void FuzzDatabase::openCopy()
{
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile::remove(path(workName + suffix));
    }
    if (!QFile::copy(path(seededName), path(workName))) {
        throw std::runtime_error("cannot copy the seeded fuzz database");
    }
    m_db = DatabaseLocation::parse(path(workName)).open(connectionName);
}

void FuzzDatabase::close()
{
    if (!m_db.isValid()) {
        return;
    }
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
}

bool FuzzDatabase::changedAnything() const
{
    QSqlQuery changes(m_db);
    if (!changes.exec(QStringLiteral("SELECT total_changes()")) || !changes.next()) {
        fuzzFailure(QStringLiteral("the fuzz database cannot be read after an input"), changes.lastError().text().toUtf8());
    }
    return changes.value(0).toLongLong() > 0;
}

void FuzzDatabase::afterInput()
{
    // SQLite refuses BEGIN inside a transaction.
    if (!m_db.transaction()) {
        fuzzFailure(QStringLiteral("a call left a transaction open"), m_db.lastError().text().toUtf8());
    }
    m_db.rollback();
    if (changedAnything()) {
        close();
        openCopy();
    }
}

#include "SqlTransaction.h"

#include "Sql.h"

#include <QSqlQuery>

SqlTransaction::SqlTransaction(const QSqlDatabase &db)
    : m_db(db)
{
    Sql::run(m_db, Sql::isPostgres(m_db) ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
    m_open = true;
}

SqlTransaction::~SqlTransaction()
{
    if (m_open) {
        QSqlQuery rollback(m_db);
        rollback.exec(QStringLiteral("ROLLBACK"));
    }
}

void SqlTransaction::commit()
{
    m_open = false;
    try {
        Sql::run(m_db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery rollback(m_db);
        rollback.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

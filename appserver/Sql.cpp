#include "Sql.h"

#include <QSqlDriver>
#include <QSqlError>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QSqlError &error, const QString &statement)
{
    throw std::runtime_error(QStringLiteral("%1 [%2]").arg(error.text(), statement.simplified().left(200)).toStdString());
}

} // namespace

namespace Sql {

QSqlQuery prepare(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(statement)) {
        fail(query.lastError(), statement);
    }
    return query;
}

void exec(QSqlQuery &query)
{
    if (!query.exec()) {
        fail(query.lastError(), query.lastQuery());
    }
}

QSqlQuery run(const QSqlDatabase &db, const QString &statement, const QVariantList &values)
{
    if (values.isEmpty()) {
        // PostgreSQL cannot prepare BEGIN, SET, LOCK or CREATE; run them as they are.
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(statement)) {
            fail(query.lastError(), statement);
        }
        return query;
    }
    QSqlQuery query = prepare(db, statement);
    for (const QVariant &value : values) {
        query.addBindValue(value);
    }
    exec(query);
    return query;
}

bool isPostgres(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

bool answers(const QSqlDatabase &db)
{
    QSqlQuery probe(db);
    return probe.exec(QStringLiteral("SELECT 1")) && probe.next();
}

QVariant text(const QVariant &value)
{
    if (value.isNull()) {
        return {};
    }
    return value.toString();
}

} // namespace Sql

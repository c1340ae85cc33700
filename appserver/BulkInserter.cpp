#include "BulkInserter.h"

#include "Sql.h"

#include <stdexcept>

BulkInserter::BulkInserter(const QSqlDatabase &db, const QString &table, const QStringList &columns, int rowsPerStatement)
    : m_db(db), m_table(table), m_columns(columns), m_rowsPerStatement(rowsPerStatement), m_full(db)
{
}

QString BulkInserter::statement(int rows) const
{
    const QString one = QStringLiteral("(") + QStringList(m_columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QStringLiteral(")");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(m_table, m_columns.join(QLatin1Char(',')), QStringList(rows, one).join(QLatin1Char(',')));
}

void BulkInserter::add(const QVariantList &row)
{
    if (row.size() != m_columns.size()) {
        throw std::logic_error("row width differs from the column list");
    }
    m_pending.append(row);
    ++m_count;
    if (m_pending.size() == qsizetype(m_rowsPerStatement) * m_columns.size()) {
        if (!m_prepared) {
            m_full = Sql::prepare(m_db, statement(m_rowsPerStatement));
            m_prepared = true;
        }
        write(m_full);
    }
}

void BulkInserter::finish()
{
    if (m_pending.isEmpty()) {
        return;
    }
    QSqlQuery last = Sql::prepare(m_db, statement(int(m_pending.size() / m_columns.size())));
    write(last);
}

void BulkInserter::write(QSqlQuery &query)
{
    for (int i = 0; i < m_pending.size(); ++i) {
        query.bindValue(i, m_pending.at(i));
    }
    Sql::exec(query);
    m_pending.clear();
}

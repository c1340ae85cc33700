#include "SqlTransaction.h"

#include "NoticeHub.h"
#include "Sql.h"

#include <QSqlQuery>

#include <stdexcept>

SqlTransaction::SqlTransaction(const QSqlDatabase &db, const NoticeSource &notices)
    : m_db(db), m_notices(notices)
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

void SqlTransaction::announce(const QuoteKey &key, const QString &what, const QString &operatorCode)
{
    if (!m_notices.hub) {
        return;
    }
    QSqlQuery stored = Sql::run(m_db, QStringLiteral(
        "SELECT IDSITUORCEVE, CDJUSTEXCHIS FROM ORCAEVENTO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
        {key.branch, key.number, key.sequence});
    stored.next();
    const QuoteNotice notice{key, what, stored.value(0).toString(), stored.value(1).toString(), operatorCode, m_notices.origin};
    m_announced.removeIf([&key](const QuoteNotice &earlier) {
        return earlier.key.branch == key.branch && earlier.key.number == key.number && earlier.key.sequence == key.sequence;
    });
    m_announced.append(notice);
}

void SqlTransaction::commit()
{
    // A client that gave up on the answer (its connection lost, or the
    // server frozen past its patience) has read the quote back elsewhere
    // and told its operator what it found: committing now would make that
    // untrue. The destructor rolls back.
    if (m_notices.clientStillThere && !m_notices.clientStillThere()) {
        throw std::runtime_error("o cliente desistiu da resposta antes da confirmação; nada foi gravado");
    }
    m_open = false;
    const bool postgres = Sql::isPostgres(m_db);
    try {
        if (postgres) {
            for (const QuoteNotice &notice : std::as_const(m_announced)) {
                Sql::run(m_db, QStringLiteral("SELECT pg_notify(?, ?)"),
                         {QString::fromLatin1(QuoteNotice::channel), QString::fromUtf8(notice.toPayload())});
            }
        }
        Sql::run(m_db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery rollback(m_db);
        rollback.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    if (!postgres && !m_announced.isEmpty()) {
        m_notices.hub->publish(m_announced);
    }
}

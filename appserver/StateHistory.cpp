#include "StateHistory.h"

#include "DayCount.h"
#include "Sql.h"

#include <QDateTime>

namespace StateHistory {

void append(const QSqlDatabase &db, const QuoteKey &key, const QString &fromState, const QString &toState,
            const QString &reason, const QString &operatorCode)
{
    QSqlQuery last = Sql::run(db, QStringLiteral(
        "SELECT COALESCE(MAX(NRHISTSITU), 0) FROM HISTSITUORCA "
        "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"), {key.branch, key.number, key.sequence});
    const int next = last.next() ? last.value(0).toInt() + 1 : 1;
    Sql::run(db, QStringLiteral(
        "INSERT INTO HISTSITUORCA (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRHISTSITU, DTHRHISTSITU, "
        "IDSITUANTORC, IDSITUORCEVE, CDJUSTEXCHIS, CDOPERADOR) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {key.branch, key.number, key.sequence, next, DayCount::fromDateTime(QDateTime::currentDateTime()),
         fromState, toState, reason.isEmpty() ? QVariant() : QVariant(reason), operatorCode});
}

} // namespace StateHistory

#include "StateHistory.h"

#include "DayCount.h"
#include "QuoteLines.h"
#include "Sql.h"

#include <QDateTime>

namespace StateHistory {

FieldDef operatorField()
{
    return FieldDef{QStringLiteral("CDOPERADOR"), FieldType::Text, 12};
}

void append(const QSqlDatabase &db, const QuoteKey &key, const QString &fromState, const QString &toState,
            const QString &reason, const QString &operatorCode)
{
    const int next = QuoteLines::next(db, QStringLiteral("HISTSITUORCA"), QStringLiteral("NRHISTSITU"), key);
    Sql::run(db, QStringLiteral(
        "INSERT INTO HISTSITUORCA (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRHISTSITU, DTHRHISTSITU, "
        "IDSITUANTORC, IDSITUORCEVE, CDJUSTEXCHIS, CDOPERADOR) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {key.branch, key.number, key.sequence, next, DayCount::fromDateTime(QDateTime::currentDateTime()),
         fromState, toState, reason.isEmpty() ? QVariant() : QVariant(reason), operatorCode});
}

} // namespace StateHistory

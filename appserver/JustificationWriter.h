#pragma once

#include "DataPacket.h"
#include "NoticeSource.h"
#include "QuoteKey.h"

#include <QSqlDatabase>

// SetObs: stores the justification text of cancelled or postponed quotes. One
// current justification per quote version, the one of its withdrawal under
// way; the one it replaces (or a deleted one, or the one of a withdrawal ended
// by a re-enable) is kept in the justification history. Every change, delete
// included, needs the quote cancelled or postponed, locked for the rest of the
// transaction. An insert where one already exists, or an update or delete of a
// justification that changed since it was read, is another operator's work and
// refuses the whole delta. A connection that proved to be an operator records
// that operator (WriteOperator). Each quote whose justification changed is
// announced (SqlTransaction::announce) as a change of "justification".
class JustificationWriter final {
public:
    JustificationWriter(const QSqlDatabase &db, const QString &authenticatedOperator, const NoticeSource &notices);

    // One transaction; returns the number of changes applied. Throws
    // Refusal (nothing stored) or std::runtime_error (database failure,
    // nothing stored).
    int apply(const ChangeDelta &delta);

    // Moves the quote's current justification into its history, in the
    // caller's transaction: a re-enable ends the withdrawal it justified,
    // and the next withdrawal starts without one.
    static void retire(const QSqlDatabase &db, const QuoteKey &key);

private:
    QSqlDatabase m_db;
    QString m_operator;
    NoticeSource m_notices;
};

#pragma once

#include "DataPacket.h"

#include <QSqlDatabase>

// SetObs: stores the justification text of cancelled or postponed quotes.
// One current justification per quote version; the one it replaces (or a
// deleted one) is kept in the justification history. Every change, delete
// included, needs the quote cancelled or postponed, locked for the rest of
// the transaction. An insert where one already exists, or an update or
// delete of a justification that changed since it was read, is another
// operator's work and refuses the whole delta. A connection that proved to
// be an operator records that operator (WriteOperator).
class JustificationWriter final {
public:
    JustificationWriter(const QSqlDatabase &db, const QString &authenticatedOperator);

    // One transaction; returns the number of changes applied. Throws
    // Refusal (nothing stored) or std::runtime_error (database failure,
    // nothing stored).
    int apply(const ChangeDelta &delta);

private:
    QSqlDatabase m_db;
    QString m_operator;
};

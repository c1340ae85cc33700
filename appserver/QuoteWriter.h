#pragma once

#include "DataPacket.h"
#include "NoticeSource.h"

#include <QSqlDatabase>

// SetOrcamento: stores the cancellations and postponements of the screen.
// The only change accepted is a quote going from Pendente ("1") or
// Aprovado ("2") to Cancelado ("8") or Adiado ("9") with a registered
// reason and the operator; the state it replaced is kept for re-enabling
// and a history row is written. A connection that proved to be an operator
// records that operator (WriteOperator). Each quote changed is announced
// (SqlTransaction::announce) as a change of "state".
class QuoteWriter final {
public:
    QuoteWriter(const QSqlDatabase &db, const QString &authenticatedOperator, const NoticeSource &notices);

    // Applies the whole delta in one transaction and returns how many quotes
    // changed. Throws Refusal (nothing stored) for any other kind of change
    // or when another operator changed a quote after it was read; throws
    // std::runtime_error on a database failure (nothing stored either).
    int apply(const ChangeDelta &delta);

private:
    QSqlDatabase m_db;
    QString m_operator;
    NoticeSource m_notices;
};

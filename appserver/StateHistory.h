#pragma once

#include "DataPacket.h"
#include "QuoteKey.h"

#include <QSqlDatabase>

// The audit trail of quote states: who moved which quote from which state
// to which, when, and for what reason. Rows are only ever added, inside the
// transaction that changes the state.
namespace StateHistory {
// The column the operator of a state change is recorded in.
FieldDef operatorField();
// Throws std::runtime_error on a database failure.
void append(const QSqlDatabase &db, const QuoteKey &key, const QString &fromState, const QString &toState,
            const QString &reason, const QString &operatorCode);
} // namespace StateHistory

#pragma once

#include "DataPacket.h"

#include <QString>

// Who a write is recorded under. A connection that proved to be an operator
// (`authenticated`) writes as that operator only: the client may name it or
// name nobody, and naming another is refused. On a server without operators
// (`authenticated` empty) the operator the client names is taken as given.
namespace WriteOperator {

// The operator to record in `field`. Throws Refusal when `named` is another
// operator than `authenticated`, or the operator breaks the field's rules
// (FieldRules).
QString resolve(const QString &authenticated, const QString &named, const FieldDef &field);

} // namespace WriteOperator

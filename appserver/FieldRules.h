#pragma once

#include "DataPacket.h"

#include <QString>
#include <QVariant>

// What the server stores in a field of its own layouts (PacketLayouts),
// checked before any value reaches SQL: SQLite would keep anything, and
// PostgreSQL would fail the whole call with a database error instead of
// telling the operator which field is wrong.
namespace FieldRules {

// Codes, numbers and indicators (the schema names them CD..., NR...,
// ID...) never hold a control character; names and texts may hold line
// breaks and tabs, never a NUL.
bool isCode(const QString &fieldName);

// Throws Refusal naming the field when `value` cannot be stored in `field`:
// a text longer than the field's size (in characters), a NUL anywhere, a
// control character in a code.
void check(const FieldDef &field, const QVariant &value);

// "texto", "data e hora"...: how the operator reads a field type.
QString typeName(FieldType type);

} // namespace FieldRules

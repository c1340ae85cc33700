#pragma once

#include "DataPacket.h"

#include <QSqlQuery>

// The field lists of the packets the screen loads, in the order its record
// lists declare them; a packet whose order differed would load values into
// the wrong columns.
namespace PacketLayouts {
QList<FieldDef> quoteFields();         // the quote list, IDCHECK first
QList<FieldDef> itemFields();          // the items, without the calculated total
QList<FieldDef> justificationFields(); // TXOBSJUSTORC first
QList<FieldDef> reasonFields();
QList<FieldDef> parameterFields();
QList<FieldDef> hallBlockerFields();    // the bookings that hold a hall
// A quote's history: kind ("I" creation, "S" state change, "J" a
// justification text), when, from and to state, reason, operator, text.
QList<FieldDef> historyFields();

// Reads every row of an executed query whose columns are the packet's
// fields from `firstStored` on; the fields before it travel empty.
// Throws std::runtime_error when a value does not fit its field's type.
DataPacket read(QSqlQuery &query, const QList<FieldDef> &fields, int firstStored = 0);
} // namespace PacketLayouts

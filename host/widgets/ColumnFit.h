#pragma once

#include <QString>

class Field;
class QTableView;

// How wide a column of a table must be to show its title and the values its
// field usually holds whole, in the fonts the table paints them with.
namespace ColumnFit {

// The widest text a field usually shows: a code (a text of up to 10
// characters) at its full size, a date with its time, a total in the
// millions through its display format; empty for longer texts and plain
// numbers.
QString usualValue(const Field &field);

// `characters` average characters of the table's font, plus the cell's
// margins.
int textWidth(const QTableView &table, int characters);

// `text` in the table's font, plus the cell's margins.
int valueWidth(const QTableView &table, const QString &text);

// The title plus its header margins, or the usual value of `field` (none
// when null), whichever is wider, plus the cell's margins.
int readableWidth(const QTableView &table, const QString &title, const Field *field);

} // namespace ColumnFit

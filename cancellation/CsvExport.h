#pragma once

#include <QList>
#include <QString>

#include <functional>

class QIODevice;
class RecordList;

// The quotes a screen lists, written as a spreadsheet file: UTF-8 with a
// byte-order mark (so spreadsheets take the accents for what they are), ";"
// between fields, a decimal comma, dates as dd/mm/aaaa hh:mm, each value as
// the grid shows it (states as words). After the list, separated by an
// empty line, two more sections count the records by state and by reason.
namespace CsvExport {

struct Column {
    QString fieldName;
    QString title;
};

// Writes every record of `list` in `columns` order, then the counts by the
// display text of `stateField` and of `reasonField`. `stillBusy`, when
// given, runs every thousand records (the caller's busy indicator). Throws
// std::runtime_error when the device refuses a write.
void write(const RecordList &list, const QList<Column> &columns, const QString &stateField, const QString &reasonField,
           QIODevice &out, const std::function<void()> &stillBusy = {});

// One field as the file holds it: between double quotes, the quotes
// doubled, when it holds ";", a quote or a line break.
QString quoted(const QString &text);

} // namespace CsvExport

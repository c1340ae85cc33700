#pragma once

#include "ExportRequest.h"

#include <functional>

class QIODevice;
class RecordList;

// The listed quotes as a CSV file: UTF-8 with a byte-order mark (so
// spreadsheets take the accents for what they are), ";" between fields, a
// field between double quotes (its quotes doubled) when it holds ";", a
// quote or a line break. Texts as the grid shows them (states as words),
// numbers with a decimal comma, dates as the grid shows them (dd/mm/aaaa,
// with hh:mm only when the time of day is not midnight, or the field's
// display format). After the list, each after an empty line, the counts by
// state and by reason (code and name).
namespace CsvExport {

// Writes every record of `list` in the request's column order, then the
// counts. `stillBusy`, when given, runs every thousand records (the
// caller's busy indicator). Throws std::runtime_error when the device
// refuses a write or a field of the request is not in `list`.
void write(const RecordList &list, const ExportRequest &request, QIODevice &out,
           const std::function<void()> &stillBusy = {});

} // namespace CsvExport

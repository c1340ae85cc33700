#pragma once

#include "ExportRequest.h"

#include <functional>

class QIODevice;
class RecordList;

// The listed quotes as a spreadsheet workbook (.xlsx) of two sheets.
// "Orçamentos": the grid's titles in a bold first row that stays in place
// and carries a filter, then one row a quote: texts as the grid shows them
// and as text (codes keep their leading zeros), numbers as numbers in the
// field's display format ("#,##0.00" when it has none), dates as dates in
// dd/mm/aaaa, with hh:mm where the grid shows a time; columns as wide as
// their longest value. "Contagens": the quotes counted by state, then by
// reason with its code (as text) and name.
namespace XlsxExport {

// A sheet's rows after its title row.
constexpr int maxQuotes = 1'048'575;

// Writes the workbook of `list` to `out`. `stillBusy`, when given, runs
// every thousand records (the caller's busy indicator). Throws
// std::runtime_error, in words for the operator, when the list has more
// than maxQuotes quotes, a field of the request is not in `list`, the
// library cannot write the workbook or the device refuses a write.
void write(const RecordList &list, const ExportRequest &request, QIODevice &out,
           const std::function<void()> &stillBusy = {});

} // namespace XlsxExport

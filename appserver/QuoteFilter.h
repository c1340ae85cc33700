#pragma once

#include "QuoteListing.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The SQL a listing asks for.
namespace QuoteFilter {

// The most codes one list criterion (sellers, clients, event types, service
// types, states) may name. The filter dialog ticks codes one by one in a
// lookup of the local tables, so a real list holds tens of codes, a few
// thousand at the very most; a list this long is still matched in well
// under a second.
constexpr qsizetype maxCodesPerList = 100000;

// Throws Refusal naming the criterion when an applied list names more than
// maxCodesPerList codes. Counts without splitting, so even a list of tens of
// megabytes is refused at once and without the memory its codes would take.
void checkListSizes(const QuoteListing &listing);

// Appends the SQL conditions (with "?" placeholders) and their values.
// Ranges are inclusive, a date range covers whole days, an empty bound is
// open; lists and states match any of their "_"-separated codes (bound as
// one value that the database splits itself, so matching stays linear in
// the list's length); title and
// new-client name match as substrings, both sides folded as TextFolding
// says for the engine of `db`.
void appendConditions(const QuoteListing &listing, const QSqlDatabase &db, QStringList &conditions,
                      QVariantList &values);

QStringList splitCodes(const QString &joined); // empty entries dropped

} // namespace QuoteFilter

#pragma once

#include "QuoteListing.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The SQL a listing asks for.
namespace QuoteFilter {

// Appends the SQL conditions (with "?" placeholders) and their values.
// Ranges are inclusive, a date range covers whole days, an empty bound is
// open; lists and states match any of their "_"-separated codes; title and
// new-client name match as substrings, both sides folded as TextFolding
// says for the engine of `db`.
void appendConditions(const QuoteListing &listing, const QSqlDatabase &db, QStringList &conditions,
                      QVariantList &values);

QStringList splitCodes(const QString &joined); // empty entries dropped

} // namespace QuoteFilter

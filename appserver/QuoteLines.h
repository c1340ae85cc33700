#pragma once

#include "QuoteKey.h"

#include <QSqlDatabase>
#include <QString>

// Tables that number their lines per quote (the state history, the
// justification history).
namespace QuoteLines {

// The number the quote's next line in `table` takes: one past the highest
// `numberColumn` stored for it, 1 for its first. Run it inside the write's
// transaction. Throws std::runtime_error on a database failure.
int next(const QSqlDatabase &db, const QString &table, const QString &numberColumn, const QuoteKey &key);

} // namespace QuoteLines

#include "QuoteLines.h"

#include "Sql.h"

namespace QuoteLines {

int next(const QSqlDatabase &db, const QString &table, const QString &numberColumn, const QuoteKey &key)
{
    QSqlQuery last = Sql::run(db, QStringLiteral("SELECT COALESCE(MAX(%1), 0) FROM %2 "
                                                 "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?")
                                      .arg(numberColumn, table),
                              {key.branch, key.number, key.sequence});
    return last.next() ? last.value(0).toInt() + 1 : 1;
}

} // namespace QuoteLines

#pragma once

#include <QSqlDatabase>
#include <QString>

// How the title and new-client criteria compare texts: the typed text and the
// stored column are both brought to Unicode upper case, so "são" finds
// "São Paulo" and "CONCEIÇÃO" finds "Conceição" on either engine. SQL's own
// UPPER cannot do it: SQLite's folds ASCII letters only, and PostgreSQL's
// follows the database's locale (ASCII only under "C"). Accents still count:
// "Sao" does not find "São".
namespace TextFolding {

// The folding the server applies to a typed text.
QString fold(const QString &text);

// Makes the folding available to SQL on a freshly opened connection: on
// SQLite it registers the function FOLD(text), which applies fold() above;
// on PostgreSQL it checks that the ICU collation the folding uses exists.
// Throws std::runtime_error when it cannot.
void install(const QSqlDatabase &db);

// `column` folded in SQL, for the engine of `db`. Only the rows of the branch
// pass through it, so the branch index still narrows the listing first.
QString foldedColumn(const QSqlDatabase &db, const QString &column);

} // namespace TextFolding

#include "TextFolding.h"

#include "Sql.h"
#include "SqliteHandle.h"

#include <sqlite3.h>

#include <stdexcept>

namespace {

// ICU's root locale: Unicode's default case mapping, as QString::toUpper.
const QString icuCollation = QStringLiteral("und-x-icu");

void foldFunction(sqlite3_context *context, int /*argc*/, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QByteArray folded = TextFolding::fold(QString::fromUtf8(text, sqlite3_value_bytes(argv[0]))).toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

} // namespace

namespace TextFolding {

QString fold(const QString &text)
{
    return text.toUpper();
}

void install(const QSqlDatabase &db)
{
    if (Sql::isPostgres(db)) {
        QSqlQuery found = Sql::run(db, QStringLiteral("SELECT 1 FROM pg_collation WHERE collname = ?"), {icuCollation});
        if (!found.next()) {
            throw std::runtime_error("PostgreSQL without ICU collations: title and client searches cannot fold accented letters");
        }
        return;
    }
    if (sqlite3_create_function_v2(SqliteHandle::of(db), "FOLD", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, foldFunction,
                                   nullptr, nullptr, nullptr)
        != SQLITE_OK) {
        throw std::runtime_error("cannot register the SQL function FOLD on the SQLite connection");
    }
}

QString foldedColumn(const QSqlDatabase &db, const QString &column)
{
    if (Sql::isPostgres(db)) {
        return QStringLiteral("UPPER(%1 COLLATE \"%2\")").arg(column, icuCollation);
    }
    return QStringLiteral("FOLD(%1)").arg(column);
}

} // namespace TextFolding

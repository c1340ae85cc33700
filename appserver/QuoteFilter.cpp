#include "QuoteFilter.h"

#include "Refusal.h"
#include "Sql.h"
#include "TextFolding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <cmath>

namespace {

const QChar separator = QLatin1Char('_');

bool applied(const QString &flag)
{
    return flag != QuoteListing::all;
}

void textRange(QStringList &conditions, QVariantList &values, const QString &column, const QuoteListing::TextRange &range)
{
    if (!applied(range.all)) {
        return;
    }
    if (!range.from.isEmpty()) {
        conditions << column + QStringLiteral(" >= ?");
        values << range.from;
    }
    if (!range.to.isEmpty()) {
        conditions << column + QStringLiteral(" <= ?");
        values << range.to;
    }
}

void dateRange(QStringList &conditions, QVariantList &values, const QString &column, const QuoteListing::DateRange &range)
{
    if (!applied(range.all)) {
        return;
    }
    // The operator picks days; a quote at 21:00 on the last day is inside.
    if (range.from != 0) {
        conditions << column + QStringLiteral(" >= ?");
        values << std::floor(range.from);
    }
    if (range.to != 0) {
        conditions << column + QStringLiteral(" < ?");
        values << std::floor(range.to) + 1;
    }
}

// The codes a criterion names, as the column they match, what the operator
// calls the criterion, and the joined codes; only the applied ones.
struct AppliedList {
    QString column;
    QString label;
    const QString *joined;
};

QList<AppliedList> appliedLists(const QuoteListing &listing)
{
    const std::tuple<const char *, const char *, const QuoteListing::CodeList *> lists[] = {
        {"CDVENDEDOR", "Vendedor", &listing.seller},
        {"CDCLIENTE", "Cliente", &listing.client},
        {"CDTIPOEVENTO", "Tipo de evento", &listing.eventType},
        {"CDTPSERVEVEN", "Tipo de serviço", &listing.serviceType},
    };
    QList<AppliedList> found;
    for (const auto &[column, label, list] : lists) {
        if (applied(list->all)) {
            found.append({QLatin1String(column), QString::fromUtf8(label), &list->list});
        }
    }
    // "1_2_" and "_1_2_" both name Pendente and Aprovado.
    if (applied(listing.allStates)) {
        found.append({QStringLiteral("IDSITUORCEVE"), QStringLiteral("Situação"), &listing.states});
    }
    return found;
}

qsizetype countCodes(const QString &joined)
{
    qsizetype count = 0;
    QChar previous = separator;
    for (const QChar c : joined) {
        count += c != separator && previous == separator ? 1 : 0;
        previous = c;
    }
    return count;
}

// One bound value however long the list: the database splits it and
// matches every row against the set it makes (a hash on PostgreSQL, an
// index on SQLite), instead of a statement with one placeholder per code.
void codeList(const QSqlDatabase &db, QStringList &conditions, QVariantList &values, const QString &column, const QString &joined)
{
    const QStringList codes = QuoteFilter::splitCodes(joined);
    if (codes.isEmpty()) {
        conditions << QStringLiteral("1 = 0");
        return;
    }
    if (Sql::isPostgres(db)) {
        // Codes never hold the separator, so splitting again gives them back.
        conditions << column + QStringLiteral(" = ANY(string_to_array(?, '_'))");
        values << codes.join(separator);
    } else {
        conditions << column + QStringLiteral(" IN (SELECT value FROM json_each(?))");
        values << QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(codes)).toJson(QJsonDocument::Compact));
    }
}

void substring(QStringList &conditions, QVariantList &values, const QString &foldedColumn, const QString &text,
               const QString &flag)
{
    if (!applied(flag)) {
        return;
    }
    QString pattern = TextFolding::fold(text);
    pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    pattern.replace(QLatin1Char('%'), QLatin1String("\\%"));
    pattern.replace(QLatin1Char('_'), QLatin1String("\\_"));
    conditions << foldedColumn + QStringLiteral(" LIKE ? ESCAPE '\\'");
    values << QStringLiteral("%") + pattern + QStringLiteral("%");
}

} // namespace

namespace QuoteFilter {

void appendConditions(const QuoteListing &listing, const QSqlDatabase &db, QStringList &conditions, QVariantList &values)
{
    textRange(conditions, values, QStringLiteral("NRORCAEVENTO"), listing.number);
    dateRange(conditions, values, QStringLiteral("DTINCLORCEVE"), listing.quoteDate);
    dateRange(conditions, values, QStringLiteral("DTVALIORCEVE"), listing.validity);
    dateRange(conditions, values, QStringLiteral("DTEVENTO"), listing.eventDate);
    for (const AppliedList &list : appliedLists(listing)) {
        codeList(db, conditions, values, list.column, *list.joined);
    }
    substring(conditions, values, TextFolding::foldedColumn(db, QStringLiteral("DSTITUORCEVE")), listing.title, listing.allTitles);
    substring(conditions, values, TextFolding::foldedColumn(db, QStringLiteral("NMCLIEORCEVE")), listing.newClient, listing.allNewClients);
}

void checkListSizes(const QuoteListing &listing)
{
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    for (const AppliedList &list : appliedLists(listing)) {
        const qsizetype count = countCodes(*list.joined);
        if (count > maxCodesPerList) {
            throw Refusal(QStringLiteral("A lista de %1 do filtro tem %2 códigos; o limite é %3 por lista.")
                              .arg(list.label, brazil.toString(count), brazil.toString(maxCodesPerList)));
        }
    }
}

QStringList splitCodes(const QString &joined)
{
    return joined.split(separator, Qt::SkipEmptyParts);
}

} // namespace QuoteFilter

#include "QuoteFilter.h"

#include "TextFolding.h"


#include <cmath>

namespace {



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

void codeList(QStringList &conditions, QVariantList &values, const QString &column, const QString &joined)
{
    const QStringList codes = QuoteFilter::splitCodes(joined);
    if (codes.isEmpty()) {
        conditions << QStringLiteral("1 = 0");
        return;
    }
    QStringList marks;
    for (const QString &code : codes) {
        marks << QStringLiteral("?");
        values << code;
    }
    conditions << QStringLiteral("%1 IN (%2)").arg(column, marks.join(QLatin1Char(',')));
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
    const std::pair<QString, const QuoteListing::CodeList *> lists[] = {
        {QStringLiteral("CDVENDEDOR"), &listing.seller},
        {QStringLiteral("CDCLIENTE"), &listing.client},
        {QStringLiteral("CDTIPOEVENTO"), &listing.eventType},
        {QStringLiteral("CDTPSERVEVEN"), &listing.serviceType},
    };
    for (const auto &[column, list] : lists) {
        if (applied(list->all)) {
            codeList(conditions, values, column, list->list);
        }
    }
    if (applied(listing.allStates)) {
        // "1_2_" and "_1_2_" both name Pendente and Aprovado.
        codeList(conditions, values, QStringLiteral("IDSITUORCEVE"), listing.states);
    }
    substring(conditions, values, TextFolding::foldedColumn(db, QStringLiteral("DSTITUORCEVE")), listing.title, listing.allTitles);
    substring(conditions, values, TextFolding::foldedColumn(db, QStringLiteral("NMCLIEORCEVE")), listing.newClient, listing.allNewClients);
}

QStringList splitCodes(const QString &joined)
{
    return joined.split(QLatin1Char('_'), Qt::SkipEmptyParts);
}

} // namespace QuoteFilter

#include "QuoteFilter.h"

#include "RpcError.h"
#include "TextFolding.h"

#include <QJsonValue>

#include <cmath>

namespace {

const QString allFlag = QStringLiteral("T");

bool applied(const QString &flag)
{
    return flag != allFlag;
}

class ParamReader final {
public:
    explicit ParamReader(const QJsonArray &params)
        : m_params(params)
    {
    }

    QString text()
    {
        const QJsonValue value = m_params.at(m_next);
        ++m_next;
        if (value.isNull()) {
            return {};
        }
        if (!value.isString()) {
            throw RpcError(RpcError::InvalidParams, QStringLiteral("argumento %1 deveria ser um texto").arg(m_next - 1));
        }
        return value.toString();
    }

    double dateTime()
    {
        const QJsonValue value = m_params.at(m_next);
        ++m_next;
        if (value.isNull()) {
            return 0;
        }
        if (!value.isDouble() || !std::isfinite(value.toDouble())) {
            throw RpcError(RpcError::InvalidParams, QStringLiteral("argumento %1 deveria ser uma data (número de dias)").arg(m_next - 1));
        }
        return value.toDouble();
    }

private:
    const QJsonArray &m_params;
    int m_next = 1;
};

void textRange(QStringList &conditions, QVariantList &values, const QString &column, const QuoteFilter::TextRange &range)
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

void dateRange(QStringList &conditions, QVariantList &values, const QString &column, const QuoteFilter::DateRange &range)
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

QuoteFilter QuoteFilter::fromParams(const QJsonArray &params)
{
    ParamReader read(params);
    QuoteFilter filter;
    filter.number.from = read.text();
    filter.number.to = read.text();
    filter.number.all = read.text();
    for (DateRange *range : {&filter.quoteDate, &filter.validity, &filter.eventDate}) {
        range->from = read.dateTime();
        range->to = read.dateTime();
        range->all = read.text();
    }
    for (CodeList *list : {&filter.seller, &filter.client, &filter.eventType, &filter.serviceType}) {
        list->list = read.text();
        list->all = read.text();
    }
    filter.states = read.text();
    filter.allStates = read.text();
    filter.title = read.text();
    filter.allTitles = read.text();
    filter.newClient = read.text();
    filter.allNewClients = read.text();
    return filter;
}

QJsonArray QuoteFilter::toJson() const
{
    QJsonArray json{number.from, number.to, number.all};
    for (const DateRange *range : {&quoteDate, &validity, &eventDate}) {
        json << range->from << range->to << range->all;
    }
    for (const CodeList *list : {&seller, &client, &eventType, &serviceType}) {
        json << list->list << list->all;
    }
    json << states << allStates << title << allTitles << newClient << allNewClients;
    return json;
}

void QuoteFilter::appendConditions(const QSqlDatabase &db, QStringList &conditions, QVariantList &values) const
{
    textRange(conditions, values, QStringLiteral("NRORCAEVENTO"), number);
    dateRange(conditions, values, QStringLiteral("DTINCLORCEVE"), quoteDate);
    dateRange(conditions, values, QStringLiteral("DTVALIORCEVE"), validity);
    dateRange(conditions, values, QStringLiteral("DTEVENTO"), eventDate);
    const std::pair<QString, const CodeList *> lists[] = {
        {QStringLiteral("CDVENDEDOR"), &seller},
        {QStringLiteral("CDCLIENTE"), &client},
        {QStringLiteral("CDTIPOEVENTO"), &eventType},
        {QStringLiteral("CDTPSERVEVEN"), &serviceType},
    };
    for (const auto &[column, list] : lists) {
        if (applied(list->all)) {
            codeList(conditions, values, column, list->list);
        }
    }
    if (applied(allStates)) {
        // "1_2_" and "_1_2_" both name Pendente and Aprovado.
        codeList(conditions, values, QStringLiteral("IDSITUORCEVE"), states);
    }
    substring(conditions, values, TextFolding::foldedColumn(db, QStringLiteral("DSTITUORCEVE")), title, allTitles);
    substring(conditions, values, TextFolding::foldedColumn(db, QStringLiteral("NMCLIEORCEVE")), newClient, allNewClients);
}

QStringList QuoteFilter::splitCodes(const QString &joined)
{
    return joined.split(QLatin1Char('_'), Qt::SkipEmptyParts);
}

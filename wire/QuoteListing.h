#pragma once

#include "QuoteStates.h"

#include <QJsonArray>
#include <QString>

// The 26 filter values GetOrcamento takes after the branch. Their order on
// the wire is written once, in forEach(); the client, the server, the tests
// and the benchmarks all go through it.
//
// A flag "T" switches its criterion off; anything else applies it with the
// values beside it. A default-made listing is the one a new cancellation
// screen starts with: every criterion off but the states, pending and
// approved.
struct QuoteListing {
    static inline const QString all = QStringLiteral("T");

    struct TextRange {
        QString from, to, all = QuoteListing::all;
    };
    struct DateRange {
        double from = 0, to = 0; // day counts; 0 = open bound
        QString all = QuoteListing::all;
    };
    struct CodeList {
        QString list, all = QuoteListing::all; // codes joined by "_"
    };

    TextRange number;
    DateRange quoteDate, validity, eventDate;
    CodeList seller, client, eventType, serviceType;
    QString states = QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved + QLatin1Char('_');
    QString allStates;
    QString title, allTitles = all;
    QString newClient, allNewClients = all;

    // Calls `visit` with each of the 26 values, by reference, in wire order:
    // a QString& for a text, a double& for a date-time.
    template<typename Visitor>
    void forEach(Visitor &&visit)
    {
        visit(number.from), visit(number.to), visit(number.all);
        for (DateRange *range : {&quoteDate, &validity, &eventDate}) {
            visit(range->from), visit(range->to), visit(range->all);
        }
        for (CodeList *list : {&seller, &client, &eventType, &serviceType}) {
            visit(list->list), visit(list->all);
        }
        visit(states), visit(allStates), visit(title), visit(allTitles), visit(newClient), visit(allNewClients);
    }

    // The 26 values as they travel (texts as strings, date-times as numbers).
    QJsonArray toJson() const;
    // All 27 arguments of GetOrcamento: the branch, then the 26 values.
    QJsonArray arguments(const QString &branch) const;
    // Reads the values from params[first], params[first + 1], ... A text
    // must be a string or null, a date-time a finite number or null (null is
    // the empty value). Throws std::invalid_argument naming the first
    // argument of the wrong kind by its position in `params`.
    static QuoteListing fromJson(const QJsonArray &params, int first = 1);
};

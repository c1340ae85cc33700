#pragma once

#include <QJsonArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The 26 filter values that GetOrcamento receives after the branch, in the
// order they travel. A flag "T" switches its criterion off; anything else
// applies it with the values beside it.
struct QuoteFilter {
    struct TextRange {
        QString from, to, all;
    };
    struct DateRange {
        double from = 0, to = 0; // day counts; 0 = open bound
        QString all;
    };
    struct CodeList {
        QString list, all; // codes joined by "_"
    };

    TextRange number;
    DateRange quoteDate, validity, eventDate;
    CodeList seller, client, eventType, serviceType;
    QString states, allStates;
    QString title, allTitles;
    QString newClient, allNewClients;

    // Reads params[1..26]; throws RpcError(InvalidParams) naming the first
    // argument of the wrong kind (a text must be a string or null, a
    // date-time a number or null).
    static QuoteFilter fromParams(const QJsonArray &params);
    // The same 26 values, as they go back in the call's refs.
    QJsonArray toJson() const;

    // Appends the SQL conditions (with "?" placeholders) and their values.
    // Ranges are inclusive, a date range covers whole days, an empty bound
    // is open; lists and states match any of their "_"-separated codes;
    // title and new-client name match as substrings, both sides folded as
    // TextFolding says for the engine of `db`.
    void appendConditions(const QSqlDatabase &db, QStringList &conditions, QVariantList &values) const;

    static QStringList splitCodes(const QString &joined); // empty entries dropped
};

#pragma once

#include "DemoReference.h"

#include <QSqlDatabase>

// Fills a database with a realistic demo business, the same for the same
// seed value: the reference tables, and quotes spread over the ten branches
// in all four states with items, hall bookings, state history and some
// justifications. Hall bookings of pending and approved quotes respect the
// halls' daily limits and never share a day and hour.
class DemoSeeder final {
public:
    explicit DemoSeeder(quint32 seedValue);

    // Replaces every business row of a server database (schema already
    // migrated) with `quoteCount` quotes, in one transaction. Throws
    // std::runtime_error on a database failure; the database then keeps
    // what it had.
    void fillServer(const QSqlDatabase &db, int quoteCount);
    // Creates the lookup tables in the client's local SQLite database when
    // missing and replaces their rows. Throws like fillServer().
    void fillLocal(const QSqlDatabase &db);

private:
    void replaceTables(const QSqlDatabase &db, const QList<DemoReference::Table> &tables);
    void fillQuotes(const QSqlDatabase &db, int quoteCount);

    quint32 m_seedValue;
    DemoReference m_reference;
};

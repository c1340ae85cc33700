#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The reference rows of the demo business: branches, sellers, clients and
// their addresses, places, products, event and service types, reasons,
// price bases and halls. Generated from the seed value alone, so the
// server's and the client's databases always get the same rows.
class DemoReference final {
public:
    struct Table {
        QString name;
        QStringList columns;
        QList<QVariantList> rows;
    };
    struct Hall {
        QString branch, code;
        int dailyLimit = 0; // 0: no limit set up
    };
    struct Client {
        QString code, tradeName;
    };
    struct Product {
        QString code, unit;
        double price = 0;
        bool perGuest = false;
    };

    explicit DemoReference(quint32 seedValue);

    // What the client's lookups read (FILIAL ... TIPOSERVEVEN), in an order
    // that satisfies the foreign keys.
    const QList<Table> &lookupTables() const { return m_lookup; }
    // What only the server keeps (reasons, price bases, parameters, halls).
    const QList<Table> &serverTables() const { return m_server; }

    QStringList branches;
    QStringList sellers;
    QList<Client> clients;
    QList<Product> products;
    QList<std::pair<QString, QString>> eventTypes;   // code, name
    QList<std::pair<QString, QString>> serviceTypes; // code, name
    QList<std::pair<QString, QString>> priceBases;   // code, description
    QStringList reasons;
    QList<Hall> halls;

private:
    QList<Table> m_lookup;
    QList<Table> m_server;
};

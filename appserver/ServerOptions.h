#pragma once

#include <QString>
#include <QStringList>

// The command line of `appserver`: serving (--listen) or seeding (--seed).
struct ServerOptions {
    QString database;
    QString listenHost = QStringLiteral("127.0.0.1");
    quint16 listenPort = 0;
    bool listen = false;
    int seedQuotes = -1; // >= 0 when seeding
    QString localDatabase;
    quint32 seedValue = 1;
    qint64 maxLineLength = 64 * 1024 * 1024;
    int busyTimeoutMs = 5000;

    bool seeding() const { return seedQuotes >= 0; }

    // Throws std::invalid_argument with a usage message for a bad line.
    static ServerOptions parse(const QStringList &arguments);
};

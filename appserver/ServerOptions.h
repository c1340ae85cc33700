#pragma once

#include <QString>
#include <QStringList>

// The command line of `appserver`: serving (--listen), seeding (--seed),
// adding an operator (--add-operator) or migrating the schema (--migrate).
struct ServerOptions {
    QString database;
    QString listenHost = QStringLiteral("127.0.0.1");
    quint16 listenPort = 0;
    bool listen = false;
    int seedQuotes = -1; // >= 0 when seeding
    QString localDatabase;
    quint32 seedValue = 1;
    // The largest legitimate request is a justification of a few pages or a
    // listing with long code lists: a few hundred kilobytes.
    qint64 maxLineLength = 4 * 1024 * 1024;
    // What unfinished lines may hold in all: sixteen lines of the limit at
    // once, where a legitimate client sends its line at once.
    qint64 maxPartialLines = 64 * 1024 * 1024;
    int busyTimeoutMs = 5000;
    int maxConnections = 256;
    int maxConnectionsPerAddress = 32;
    int maxUnauthenticated = 32;           // connections without an accepted connect yet
    int maxUnauthenticatedPerAddress = 8;  // of those, from one address
    int maxConnectionsPerOperator = 16;
    // Database connections open at once, shared by all client connections:
    // four servers on one PostgreSQL of the default 100 connections leave
    // it room for its own tools.
    int databaseConnections = 20;
    int handshakeTimeoutMs = 10 * 1000;    // TLS and connect
    int idleTimeoutMs = 60 * 60 * 1000;    // the client reconnects by itself at its next call
    int lineTimeoutMs = 30 * 1000;         // from a line's first byte to its newline
    int stallTimeoutMs = 30 * 1000;        // a client that takes no byte of its answer
    int statementTimeoutMs = 60 * 1000;
    int shutdownTimeoutMs = 10 * 1000;
    QString tlsCertificate;
    QString tlsKey;
    QString addOperator;
    bool migrating = false;
    // Off: connect answers null to a client asking for change notices and
    // no write announces anything (the baseline of bench_notices).
    bool notices = true;

    bool seeding() const { return seedQuotes >= 0; }
    bool addingOperator() const { return !addOperator.isEmpty(); }
    bool tls() const { return !tlsCertificate.isEmpty(); }

    // Throws std::invalid_argument with a usage message for a bad line.
    static ServerOptions parse(const QStringList &arguments);
};

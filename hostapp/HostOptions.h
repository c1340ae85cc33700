#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How the host client was asked to run: the operator's login data, where the
// application server and the local database are, and what to open. Command
// line options override the ini file; the ini file overrides the defaults.
// The ini is the one --config names, else an installed client's site ini
// (/etc/eventos/cliente.ini) when present. The modules folder is an installed
// client's (/usr/lib/<triplet>/eventos-cliente/modulos) when present, else
// the executable's own folder (the build tree).
struct HostOptions {
    // The first application server; `servers` lists it and the others that
    // serve the same database, "host:port" each, in the order to try them.
    QString serverHost = QStringLiteral("127.0.0.1");
    int serverPort = 7400;
    QStringList servers;
    // TLS with the servers: unless the ini or --tls say otherwise, off when
    // all are on loopback (the demo's and the tests' own), on otherwise.
    bool tls = false;
    // Seconds a call waits without a byte from the server before it leaves
    // that server behind; unset: the connection's own default.
    std::optional<int> idleTimeout;
    QString localDb;
    QString modulesDir;
    QString operatorCode = QStringLiteral("OPER");
    QString branch = QStringLiteral("0001");
    bool fixedBranch = false;
    QString productMask = QStringLiteral("99.999.9999;_");
    QString open;        // a module to open at start, e.g. "Pkg_cxl04100"
    QString screenshot;  // save the main window to this PNG once settled, then exit
};

// Reads the options; throws std::runtime_error with a Portuguese message on a
// malformed value (e.g. a port that is not a number).
HostOptions ParseHostOptions(const QStringList &arguments);

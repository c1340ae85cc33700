#pragma once

#include "CorvaneNotifier.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The operator's login data as the host client hands it to the modules, and
// the refresh of the host's cached tables.
namespace Corvane {

struct LoginData {
    QString operador;     // operator code
    QString filiProc;     // the operator's current branch code
    QString nomeFiliProc; // that branch's name
    bool moduFili = false; // the branch is fixed for the modules
    QString webURL;       // application server address (the first of webServers)
    int webPort = 0;      // application server port
    QStringList webServers; // every server of the database, "host:port" each, in the order to try them
    bool webTLS = false;  // talk to the server over TLS
    std::optional<int> webIdleTimeout; // ms a call waits without a byte from the server; unset: the connection's default
    QString webFingerprint; // SHA-256 fingerprint the first server's certificate must have; empty: the system's verification
    QHash<QString, QString> webFingerprints; // the same by "host:port", for every server
    QString senha;        // the operator's password, asked at start; kept in memory only, never stored
    QHash<int, QString> pictures; // edit masks by code kind (0 = product code)
};

// Replaces the login data; the host client calls it after the login.
void SetLogin(const LoginData &login);
const LoginData &Login();

QString Operador();
QString FiliProc();
QString NomeFiliProc();
bool ModuFili();
QString WebURL();
int WebPort();
bool WebTLS();
// The longest a screen's call waits without a byte from its server before
// leaving that server behind, in milliseconds: the client's option, else
// the connection's own default.
int WebIdleTimeout();
QString WebFingerprint();
// The servers to try, "host:port" each: webServers, or the one of webURL and
// webPort when no list was given.
QStringList WebServers();
// The fingerprint trusted for one server; empty when none was.
QString WebFingerprint(const QString &host, int port);
QString Senha();
// The edit mask (input-mask syntax) of a code kind; empty when the host
// knows no mask for it, meaning the code is shown as stored.
QString DBPict(int kind);

// Tells the host that the named tables changed on the server, so its cached
// copies are stale. When the local database (`dtmDBGeral`) is open, each
// table is recorded with the refresh time (ISO 8601, local time) in
// LOCALCACHE(TABLENAME TEXT PRIMARY KEY, DTREFRESH TEXT), created when
// absent; then notifier() emits localCacheRefreshed(tables) so the host can
// reload them. An empty list does nothing. Throws std::runtime_error with
// the driver's text when the local database refuses the write (nothing is
// announced then).
void AtualizaLocalCache(const QStringList &tables);

// The object that announces cache refreshes; lives as long as the library.
CorvaneNotifier *notifier();

} // namespace Corvane

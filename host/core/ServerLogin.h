#pragma once

#include "Corvane.h"

class ServerTrust;

// The host's first contact with the application server, before any screen
// opens: it learns what the server asks of this client and gets it from the
// operator once, so the screens' own connections go through unasked.
namespace ServerLogin {

// Connects to each of login's servers in turn (webServers, or webURL and
// webPort alone) as `serverName`, with login's TLS flag and each server's
// fingerprint (webFingerprints, the one `trust` remembers for it, empty when
// it was never met), and answers what comes back; the password is settled by
// the first server that takes it or wants none, the certificate by each:
// - a certificate not trusted, of a server never met: its fingerprint is
//   shown and the operator asked whether to trust it; trusted, `trust`
//   remembers it and the connection is tried again;
// - a certificate other than the one remembered: an error box says so
//   (only the administrator can settle a changed certificate);
// - the server asks for the operator's password, or refuses the one given:
//   the password window, three times at most, then an error box;
// - anything else (the server not reachable, say) is left to the screens,
//   which report it when they connect.
// Returns false when the host must not go on: the operator declined a
// certificate or the password, or a server refused either. Otherwise
// `login` holds the password and the fingerprints the screens will use.
bool Probe(Corvane::LoginData &login, ServerTrust &trust, const QString &serverName);

} // namespace ServerLogin

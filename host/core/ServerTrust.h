#pragma once

#include <QString>

class QSettings;

// The application servers whose certificates the operator chose to trust,
// each by its "HOST:PORT" with the SHA-256 fingerprint accepted, kept in the
// host's settings so the question comes once per server. Only the operator
// at the first meeting decides; a server whose fingerprint changes is not
// taken again from the client.
class ServerTrust final {
public:
    explicit ServerTrust(QSettings &settings);

    // The fingerprint accepted for the server; empty when it was never met.
    QString fingerprint(const QString &host, int port) const;
    void trust(const QString &host, int port, const QString &fingerprint);

private:
    static QString key(const QString &host, int port);

    QSettings &m_settings;
};

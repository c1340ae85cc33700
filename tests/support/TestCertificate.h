#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// A self-signed certificate and its key, made for one test run by the
// `openssl` command in a temporary folder, with the SHA-256 fingerprint as
// openssl itself prints it: the client's own reading is checked against
// another's. Each one made is a new certificate.
class TestCertificate final {
public:
    TestCertificate();

    // Empty when the pair was made; otherwise why not.
    QString error() const { return m_error; }
    QSslCertificate certificate() const { return m_certificate; }
    QSslKey key() const { return m_key; }
    // Upper-case hex pairs joined by ':'.
    QString fingerprint() const { return m_fingerprint; }

private:
    QSslCertificate m_certificate;
    QSslKey m_key;
    QString m_fingerprint;
    QString m_error;
};

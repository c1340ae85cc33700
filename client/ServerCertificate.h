#pragma once

#include <QList>
#include <QString>

class QSslCertificate;
class QSslError;

// How the client names and judges the application server's certificate.
namespace ServerCertificate {

// The certificate's SHA-256 fingerprint as the operator compares it with
// the one the administrator gives: upper-case hex pairs joined by ':'.
QString Fingerprint(const QSslCertificate &certificate);

// Whether the certificate has the fingerprint `expected`, written as above
// or in any case, with or without separators (':' or blanks); an empty or
// malformed `expected` matches no certificate.
bool HasFingerprint(const QSslCertificate &certificate, const QString &expected);

// Why the system's verification refused the certificate, for a sentence
// such as "o certificado do servidor não é confiável: autoassinado".
QString DistrustReason(const QList<QSslError> &errors);

} // namespace ServerCertificate

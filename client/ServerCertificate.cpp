#include "ServerCertificate.h"

#include <QCryptographicHash>
#include <QSslCertificate>
#include <QSslError>

namespace {

QByteArray digest(const QSslCertificate &certificate)
{
    return certificate.digest(QCryptographicHash::Sha256);
}

// The reasons in the order they are told, each with the errors it stands
// for; several errors of one kind name it once.
struct Reason {
    QString text;
    QList<QSslError::SslError> errors;
};

const QList<Reason> &reasons()
{
    static const QList<Reason> table{
        {QStringLiteral("autoassinado"),
         {QSslError::SelfSignedCertificate, QSslError::SelfSignedCertificateInChain}},
        {QStringLiteral("de emissor desconhecido"),
         {QSslError::UnableToGetIssuerCertificate, QSslError::UnableToGetLocalIssuerCertificate,
          QSslError::UnableToVerifyFirstCertificate, QSslError::CertificateUntrusted}},
        {QStringLiteral("emitido para outro endereço"), {QSslError::HostNameMismatch}},
        {QStringLiteral("vencido"), {QSslError::CertificateExpired}},
        {QStringLiteral("ainda não válido"), {QSslError::CertificateNotYetValid}},
        {QStringLiteral("revogado"), {QSslError::CertificateRevoked, QSslError::CertificateBlacklisted}},
    };
    return table;
}

} // namespace

namespace ServerCertificate {

QString Fingerprint(const QSslCertificate &certificate)
{
    return QString::fromLatin1(digest(certificate).toHex(':').toUpper());
}

bool HasFingerprint(const QSslCertificate &certificate, const QString &expected)
{
    QString hex = expected;
    hex.remove(QLatin1Char(':')).remove(QLatin1Char(' '));
    return !certificate.isNull()
           && hex.compare(QString::fromLatin1(digest(certificate).toHex()), Qt::CaseInsensitive) == 0;
}

QString DistrustReason(const QList<QSslError> &errors)
{
    QStringList told;
    for (const Reason &reason : reasons()) {
        for (const QSslError &error : errors) {
            if (reason.errors.contains(error.error())) {
                told << reason.text;
                break;
            }
        }
    }
    return told.isEmpty() ? QStringLiteral("não verificado") : told.join(QStringLiteral(", "));
}

} // namespace ServerCertificate

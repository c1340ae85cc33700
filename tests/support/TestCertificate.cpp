#include "TestCertificate.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// Runs openssl with `arguments`; its standard output, or the reason it
// failed in `error`.
QByteArray openssl(const QStringList &arguments, QString &error)
{
    QProcess process;
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("openssl %1: %2 %3")
                    .arg(arguments.first(), process.errorString(), QString::fromLocal8Bit(process.readAllStandardError()));
        return {};
    }
    return process.readAllStandardOutput();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TestCertificate::TestCertificate()
{
    QTemporaryDir dir;
    const QString certificateFile = dir.filePath(QStringLiteral("servidor.pem"));
    const QString keyFile = dir.filePath(QStringLiteral("servidor.key"));
    // An elliptic-curve key: made in milliseconds, where RSA takes long.
    openssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
             QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
             QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=servidor-teste"),
             QStringLiteral("-keyout"), keyFile, QStringLiteral("-out"), certificateFile},
            m_error);
    if (!m_error.isEmpty()) {
        return;
    }
    const QByteArray printed = openssl({QStringLiteral("x509"), QStringLiteral("-in"), certificateFile, QStringLiteral("-noout"),
                                        QStringLiteral("-fingerprint"), QStringLiteral("-sha256")},
                                       m_error);
    // "sha256 Fingerprint=AB:CD:..." (the label's case varies between versions).
    m_fingerprint = QString::fromLatin1(printed.mid(printed.indexOf('=') + 1).trimmed()).toUpper();
    m_certificate = QSslCertificate(contents(certificateFile), QSsl::Pem);
    m_key = QSslKey(contents(keyFile), QSsl::Ec, QSsl::Pem);
    if (m_error.isEmpty() && (m_certificate.isNull() || m_key.isNull() || m_fingerprint.size() != 95)) {
        m_error = QStringLiteral("openssl gave a certificate Qt cannot read");
    }
}

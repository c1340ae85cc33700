#include "ServerTrust.h"

#include <QSettings>

ServerTrust::ServerTrust(QSettings &settings)
    : m_settings(settings)
{
}

QString ServerTrust::key(const QString &host, int port)
{
    return QStringLiteral("servidoresConfiaveis/%1:%2").arg(host.toLower()).arg(port);
}

QString ServerTrust::fingerprint(const QString &host, int port) const
{
    return m_settings.value(key(host, port)).toString();
}

void ServerTrust::trust(const QString &host, int port, const QString &fingerprint)
{
    m_settings.setValue(key(host, port), fingerprint);
    m_settings.sync();
}

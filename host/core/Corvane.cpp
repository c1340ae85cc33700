#include "Corvane.h"

#include "TNetConnection.h"
#include "TdtmDBGeral.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace {

Corvane::LoginData &loginData()
{
    static Corvane::LoginData login;
    return login;
}

void execOrThrow(QSqlQuery &query)
{
    if (!query.exec()) {
        throw std::runtime_error(query.lastError().text().toStdString());
    }
}

void recordRefresh(const QStringList &tables)
{
    QSqlQuery query(dtmDBGeral->database());
    query.prepare(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS LOCALCACHE (TABLENAME TEXT PRIMARY KEY, DTREFRESH TEXT)"));
    execOrThrow(query);
    const QString now = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
    query.prepare(QStringLiteral(
        "INSERT OR REPLACE INTO LOCALCACHE (TABLENAME, DTREFRESH) VALUES (?, ?)"));
    for (const QString &table : tables) {
        query.bindValue(0, table);
        query.bindValue(1, now);
        execOrThrow(query);
    }
}

} // namespace

namespace Corvane {

void SetLogin(const LoginData &login)
{
    loginData() = login;
}

const LoginData &Login()
{
    return loginData();
}

QString Operador()
{
    return loginData().operador;
}

QString FiliProc()
{
    return loginData().filiProc;
}

QString NomeFiliProc()
{
    return loginData().nomeFiliProc;
}

bool ModuFili()
{
    return loginData().moduFili;
}

QString WebURL()
{
    return loginData().webURL;
}

int WebPort()
{
    return loginData().webPort;
}

bool WebTLS()
{
    return loginData().webTLS;
}

int WebIdleTimeout()
{
    return loginData().webIdleTimeout.value_or(TNetConnection::DefaultIdleTimeout);
}

QString WebFingerprint()
{
    return loginData().webFingerprint;
}

QStringList WebServers()
{
    const LoginData &login = loginData();
    if (!login.webServers.isEmpty()) {
        return login.webServers;
    }
    return {QStringLiteral("%1:%2").arg(login.webURL).arg(login.webPort)};
}

QString WebFingerprint(const QString &host, int port)
{
    const LoginData &login = loginData();
    const QString address = QStringLiteral("%1:%2").arg(host).arg(port);
    if (login.webFingerprints.contains(address)) {
        return login.webFingerprints.value(address);
    }
    return host == login.webURL && port == login.webPort ? login.webFingerprint : QString();
}

QString Senha()
{
    return loginData().senha;
}

QString DBPict(int kind)
{
    return loginData().pictures.value(kind);
}

void AtualizaLocalCache(const QStringList &tables)
{
    if (tables.isEmpty()) {
        return;
    }
    if (dtmDBGeral && dtmDBGeral->isOpen()) {
        recordRefresh(tables);
    }
    emit notifier()->localCacheRefreshed(tables);
}

CorvaneNotifier *notifier()
{
    static CorvaneNotifier announcer;
    return &announcer;
}

} // namespace Corvane

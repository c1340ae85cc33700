#include "Corvane.h"

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

QString WebFingerprint()
{
    return loginData().webFingerprint;
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

#include "ServerLogin.h"

#include "HostDialogs.h"
#include "ServerTrust.h"
#include "TNetConnection.h"

namespace {

constexpr int passwordAttempts = 3;

QString firstServer(const Corvane::LoginData &login)
{
    return QStringLiteral("%1:%2").arg(login.webURL).arg(login.webPort);
}

bool operatorTrusts(const QString &server, const QString &offered)
{
    const QString text = QStringLiteral("Primeira conexão com o servidor %1.\n\n"
                                        "Impressão digital SHA-256 do certificado do servidor:\n%2\n\n"
                                        "Confira-a com o administrador do sistema. Confiar neste servidor?")
                             .arg(server, offered);
    return HostDialogs::current().ask(HostDialogs::Icon::Question, QStringLiteral("Servidor de aplicação"), text,
                                      {QStringLiteral("Sim"), QStringLiteral("Não")})
           == 0;
}

void reportChangedCertificate(const QString &server, const QString &trusted, const QString &offered)
{
    const QString text = QStringLiteral("O certificado do servidor %1 mudou: a impressão digital SHA-256 apresentada "
                                        "não é a que foi confiada.\n\nConfiada:\n%2\n\nApresentada:\n%3\n\n"
                                        "A conexão foi recusada e o sistema será encerrado; procure o administrador.")
                             .arg(server, trusted, offered);
    HostDialogs::current().showMessage(HostDialogs::Icon::Error, QStringLiteral("Servidor de aplicação"), text);
}

void reportPasswordRefused(const Corvane::LoginData &login, const QString &server)
{
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Error, QStringLiteral("Servidor de aplicação"),
        QStringLiteral("O servidor %1 recusou o operador %2 ou a senha %3 vezes. O sistema será encerrado.")
            .arg(server, login.operador, QString::number(passwordAttempts)));
}

QString askPassword(const Corvane::LoginData &login, const QString &server, int attempt, bool afterRefusal)
{
    const QString whose = QStringLiteral("Senha do operador %1:").arg(login.operador);
    const QString text = afterRefusal ? QStringLiteral("Operador ou senha inválidos (tentativa %1 de %2).\n%3")
                                            .arg(QString::number(attempt), QString::number(passwordAttempts), whose)
                                      : whose;
    return HostDialogs::current().askPassword(QStringLiteral("Servidor %1").arg(server), text);
}

enum class Outcome { Accepted, NotSettled, Stop };

// One server: its certificate trusted or refused, and, unless another server
// settled it already, the password.
Outcome probeServer(Corvane::LoginData &login, ServerTrust &trust, const QString &serverName, const QString &server,
                    bool passwordSettled)
{
    const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
    const QString host = server.left(colon);
    const int port = server.mid(colon + 1).toInt();
    TNetConnection connection;
    connection.SetServerName(serverName);
    connection.SetHost(host);
    connection.SetPort(port);
    connection.SetTls(login.webTLS);
    connection.SetOperator(login.operador);
    if (!login.webFingerprints.contains(server) && server == firstServer(login)) {
        login.webFingerprints.insert(server, login.webFingerprint);
    }
    QString &fingerprint = login.webFingerprints[server];
    int attempts = 0;
    for (;;) {
        connection.SetServerFingerprint(fingerprint);
        connection.SetPassword(login.senha);
        connection.Connect();
        if (connection.Connected()) {
            return Outcome::Accepted;
        }
        const QString offered = connection.OfferedFingerprint();
        if (!offered.isEmpty()) {
            // A certificate other than the trusted one is not the
            // operator's to accept: it may be someone else's server.
            if (!fingerprint.isEmpty()) {
                reportChangedCertificate(server, fingerprint, offered);
                return Outcome::Stop;
            }
            if (!operatorTrusts(server, offered)) {
                return Outcome::Stop;
            }
            trust.trust(host, port, offered);
            fingerprint = offered;
            if (server == firstServer(login)) {
                login.webFingerprint = offered;
            }
            continue;
        }
        const int code = connection.LastErrorCode();
        const bool passwordRefused = code == TNetConnection::OperatorRefused && !login.senha.isEmpty();
        if (passwordSettled || (code != TNetConnection::OperatorRequired && !passwordRefused)) {
            return Outcome::NotSettled; // out of reach or failing otherwise: the screens report it when they connect
        }
        if (attempts == passwordAttempts) {
            reportPasswordRefused(login, server);
            return Outcome::Stop;
        }
        login.senha = askPassword(login, server, ++attempts, passwordRefused);
        if (login.senha.isEmpty()) {
            return Outcome::Stop;
        }
    }
}

} // namespace

namespace ServerLogin {

bool Probe(Corvane::LoginData &login, ServerTrust &trust, const QString &serverName)
{
    const QStringList servers = login.webServers.isEmpty() ? QStringList{firstServer(login)} : login.webServers;
    bool passwordSettled = false;
    for (const QString &server : servers) {
        switch (probeServer(login, trust, serverName, server, passwordSettled)) {
        case Outcome::Stop:
            return false;
        case Outcome::Accepted:
            passwordSettled = true;
            break;
        case Outcome::NotSettled:
            break;
        }
    }
    return true;
}

} // namespace ServerLogin

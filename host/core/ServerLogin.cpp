#include "ServerLogin.h"

#include "HostDialogs.h"
#include "ServerTrust.h"
#include "TNetConnection.h"

namespace {

constexpr int passwordAttempts = 3;

QString address(const Corvane::LoginData &login)
{
    return QStringLiteral("%1:%2").arg(login.webURL).arg(login.webPort);
}

bool operatorTrusts(const Corvane::LoginData &login, const QString &offered)
{
    const QString text = QStringLiteral("Primeira conexão com o servidor %1.\n\n"
                                        "Impressão digital SHA-256 do certificado do servidor:\n%2\n\n"
                                        "Confira-a com o administrador do sistema. Confiar neste servidor?")
                             .arg(address(login), offered);
    return HostDialogs::current().ask(HostDialogs::Icon::Question, QStringLiteral("Servidor de aplicação"), text,
                                      {QStringLiteral("Sim"), QStringLiteral("Não")})
           == 0;
}

void reportChangedCertificate(const Corvane::LoginData &login, const QString &offered)
{
    const QString text = QStringLiteral("O certificado do servidor %1 mudou: a impressão digital SHA-256 apresentada "
                                        "não é a que foi confiada.\n\nConfiada:\n%2\n\nApresentada:\n%3\n\n"
                                        "A conexão foi recusada e o sistema será encerrado; procure o administrador.")
                             .arg(address(login), login.webFingerprint, offered);
    HostDialogs::current().showMessage(HostDialogs::Icon::Error, QStringLiteral("Servidor de aplicação"), text);
}

void reportPasswordRefused(const Corvane::LoginData &login)
{
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Error, QStringLiteral("Servidor de aplicação"),
        QStringLiteral("O servidor %1 recusou o operador %2 ou a senha %3 vezes. O sistema será encerrado.")
            .arg(address(login), login.operador, QString::number(passwordAttempts)));
}

QString askPassword(const Corvane::LoginData &login, int attempt, bool afterRefusal)
{
    const QString whose = QStringLiteral("Senha do operador %1:").arg(login.operador);
    const QString text = afterRefusal ? QStringLiteral("Operador ou senha inválidos (tentativa %1 de %2).\n%3")
                                            .arg(QString::number(attempt), QString::number(passwordAttempts), whose)
                                      : whose;
    return HostDialogs::current().askPassword(QStringLiteral("Servidor %1").arg(address(login)), text);
}

} // namespace

namespace ServerLogin {

bool Probe(Corvane::LoginData &login, ServerTrust &trust, const QString &serverName)
{
    TNetConnection connection;
    connection.SetServerName(serverName);
    connection.SetHost(login.webURL);
    connection.SetPort(login.webPort);
    connection.SetTls(login.webTLS);
    connection.SetOperator(login.operador);
    int attempts = 0;
    for (;;) {
        connection.SetServerFingerprint(login.webFingerprint);
        connection.SetPassword(login.senha);
        connection.Connect();
        if (connection.Connected()) {
            return true;
        }
        const QString offered = connection.OfferedFingerprint();
        if (!offered.isEmpty()) {
            // A certificate other than the trusted one is not the
            // operator's to accept: it may be someone else's server.
            if (!login.webFingerprint.isEmpty()) {
                reportChangedCertificate(login, offered);
                return false;
            }
            if (!operatorTrusts(login, offered)) {
                return false;
            }
            trust.trust(login.webURL, login.webPort, offered);
            login.webFingerprint = offered;
            continue;
        }
        const int code = connection.LastErrorCode();
        const bool passwordRefused = code == TNetConnection::OperatorRefused && !login.senha.isEmpty();
        if (code != TNetConnection::OperatorRequired && !passwordRefused) {
            return true; // out of reach or failing otherwise: the screens report it when they connect
        }
        if (attempts == passwordAttempts) {
            reportPasswordRefused(login);
            return false;
        }
        login.senha = askPassword(login, ++attempts, passwordRefused);
        if (login.senha.isEmpty()) {
            return false;
        }
    }
}

} // namespace ServerLogin

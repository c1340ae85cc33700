#include "HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QSettings>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

[[noreturn]] void refuse(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

int parsePort(const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port <= 0 || port > 65535) {
        refuse(QStringLiteral("Porta do servidor inválida: \"%1\".").arg(text));
    }
    return port;
}

// Whole seconds; an hour is already far past any call's own time limit.
int parseIdleTimeout(const QString &text)
{
    bool ok = false;
    const int seconds = text.trimmed().toInt(&ok);
    if (!ok || seconds < 1 || seconds > 3600) {
        refuse(QStringLiteral("Tempo sem resposta do servidor inválido: \"%1\" (de 1 a 3600 segundos).").arg(text));
    }
    return seconds;
}

// "HOST:PORT,HOST:PORT...": the servers of one database, the first tried
// first; a "HOST" alone keeps the port already chosen.
void applyServers(HostOptions &options, const QString &list)
{
    QStringList servers;
    for (const QString &entry : list.split(QLatin1Char(','))) {
        const QString server = entry.trimmed();
        const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
        const QString host = colon < 0 ? server : server.left(colon);
        const int port = colon < 0 ? options.serverPort : parsePort(server.mid(colon + 1));
        if (host.isEmpty()) {
            refuse(QStringLiteral("Endereço do servidor inválido: \"%1\".").arg(server));
        }
        if (servers.isEmpty()) {
            options.serverHost = host;
            options.serverPort = port;
        }
        servers.append(QStringLiteral("%1:%2").arg(host).arg(port));
    }
    options.servers = servers;
}

bool isLoopback(const QString &server)
{
    const QString host = server.left(server.lastIndexOf(QLatin1Char(':')));
    return host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

void applyIni(HostOptions &options, std::optional<bool> &tls, const QString &file)
{
    if (!QFileInfo::exists(file)) {
        refuse(QStringLiteral("Arquivo de configuração não encontrado: %1").arg(file));
    }
    QSettings ini(file, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        refuse(QStringLiteral("Arquivo de configuração ilegível: %1").arg(file));
    }
    const QString folder = QFileInfo(file).absolutePath();
    const auto path = [&](const QString &value) { return QDir(folder).absoluteFilePath(value); };
    if (ini.contains("servidor/endereco")) {
        // Unquoted, the ini's commas already split the list.
        applyServers(options, ini.value("servidor/endereco").toStringList().join(QLatin1Char(',')));
    }
    if (ini.contains("servidor/tls")) {
        tls = ini.value("servidor/tls").toBool();
    }
    if (ini.contains("servidor/tempoSemResposta")) {
        options.idleTimeout = parseIdleTimeout(ini.value("servidor/tempoSemResposta").toString());
    }
    if (ini.contains("local/banco")) {
        options.localDb = path(ini.value("local/banco").toString());
    }
    if (ini.contains("local/modulos")) {
        options.modulesDir = path(ini.value("local/modulos").toString());
    }
    options.operatorCode = ini.value("login/operador", options.operatorCode).toString();
    options.branch = ini.value("login/filial", options.branch).toString();
    options.fixedBranch = ini.value("login/filialFixa", options.fixedBranch).toBool();
    options.productMask = ini.value("mascaras/produto", options.productMask).toString();
}

// A place of the installed client (its modules, the site's ini), relative to
// the executable's folder: /usr/bin installed, any root unpacked alike.
QString besideTheExecutable(const char *relative)
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QString::fromUtf8(relative)));
}

} // namespace

HostOptions ParseHostOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Cliente de gestão de eventos"));
    parser.addHelpOption();
    const QCommandLineOption config("config", "Arquivo .ini de configuração.", "FILE.ini");
    const QCommandLineOption server("server", "Servidores de aplicação do mesmo banco, na ordem de tentar.", "HOST:PORT,...");
    const QCommandLineOption tlsOption("tls", "Usa TLS com o servidor (sem ela, TLS só fora de loopback, salvo servidor/tls no .ini).");
    const QCommandLineOption idleTimeout("idle-timeout", "Segundos sem nada do servidor numa chamada até deixá-lo pelo próximo (padrão 10).",
                                         "SECONDS");
    const QCommandLineOption localDb("local-db", "Banco de dados local (SQLite).", "PATH");
    const QCommandLineOption modules("modules", "Pasta dos módulos.", "DIR");
    const QCommandLineOption operatorCode("operator", "Código do operador.", "CODE");
    const QCommandLineOption branch("branch", "Filial do operador.", "CODE");
    const QCommandLineOption fixedBranch("fixed-branch", "Filial fixa para os módulos.");
    const QCommandLineOption productMask("product-mask", "Máscara do código de produto.", "MASK");
    const QCommandLineOption open("open", "Módulo a abrir ao iniciar.", "MODULE");
    const QCommandLineOption screenshot("screenshot", "Salva a janela em PNG e sai.", "FILE.png");
    parser.addOptions({config, server, tlsOption, idleTimeout, localDb, modules, operatorCode, branch, fixedBranch,
                       productMask, open, screenshot});
    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
    }
    if (parser.isSet("help")) {
        parser.showHelp(0);
    }

    HostOptions options;
    std::optional<bool> tls;
    const QString installedModules = besideTheExecutable(HOSTAPP_INSTALLED_MODULES);
    options.modulesDir = QFileInfo(installedModules).isDir() ? installedModules : QCoreApplication::applicationDirPath();
    options.localDb = QDir::current().absoluteFilePath(QStringLiteral("local.db"));
    const QString siteIni = besideTheExecutable(HOSTAPP_SITE_INI);
    if (parser.isSet(config)) {
        applyIni(options, tls, parser.value(config));
    } else if (QFileInfo::exists(siteIni)) {
        applyIni(options, tls, siteIni);
    }
    if (parser.isSet(server)) {
        applyServers(options, parser.value(server));
    }
    if (options.servers.isEmpty()) {
        options.servers = {QStringLiteral("%1:%2").arg(options.serverHost).arg(options.serverPort)};
    }
    if (parser.isSet(idleTimeout)) {
        options.idleTimeout = parseIdleTimeout(parser.value(idleTimeout));
    }
    if (parser.isSet(localDb)) {
        options.localDb = QDir::current().absoluteFilePath(parser.value(localDb));
    }
    if (parser.isSet(modules)) {
        options.modulesDir = QDir::current().absoluteFilePath(parser.value(modules));
    }
    if (parser.isSet(operatorCode)) {
        options.operatorCode = parser.value(operatorCode);
    }
    if (parser.isSet(branch)) {
        options.branch = parser.value(branch);
    }
    if (parser.isSet(fixedBranch)) {
        options.fixedBranch = true;
    }
    if (parser.isSet(productMask)) {
        options.productMask = parser.value(productMask);
    }
    if (parser.isSet(tlsOption)) {
        tls = true;
    }
    options.tls = tls.value_or(!std::all_of(options.servers.cbegin(), options.servers.cend(), isLoopback));
    options.open = parser.value(open);
    options.screenshot = parser.value(screenshot);
    return options;
}

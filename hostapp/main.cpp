#include "Corvane.h"
#include "HostApplication.h"
#include "HostDialogs.h"
#include "HostGuard.h"
#include "HostLocale.h"
#include "HostMdi.h"
#include "HostOptions.h"
#include "MainWindow.h"
#include "ModuleLoader.h"
#include "QtHostDialogs.h"
#include "ServerLogin.h"
#include "ServerTrust.h"
#include "TdtmDBGeral.h"

#include <QSettings>
#include <QSqlQuery>
#include <QTimer>

#include <exception>

namespace {

// The remote data module the host's first contact asks for: the
// application server that hosts it is the one every module of this client
// talks to.
const QString probedServerName = QStringLiteral("CXL04100.rdmCancelamento");

QString branchName(const QString &branch)
{
    QSqlQuery query(dtmDBGeral->database());
    query.prepare(QStringLiteral("SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = :CDFILIAL"));
    query.bindValue(QStringLiteral(":CDFILIAL"), branch);
    // A local database not yet filled simply has no name for the branch.
    if (query.exec() && query.next()) {
        return query.value(0).toString();
    }
    return {};
}

Corvane::LoginData loginFrom(const HostOptions &options, const ServerTrust &trust)
{
    Corvane::LoginData login;
    login.operador = options.operatorCode;
    login.filiProc = options.branch;
    login.nomeFiliProc = branchName(options.branch);
    login.moduFili = options.fixedBranch;
    login.webURL = options.serverHost;
    login.webPort = options.serverPort;
    login.webServers = options.servers;
    login.webTLS = options.tls;
    if (options.idleTimeout) {
        login.webIdleTimeout = *options.idleTimeout * 1000;
    }
    login.webFingerprint = trust.fingerprint(options.serverHost, options.serverPort);
    for (const QString &server : options.servers) {
        const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
        login.webFingerprints.insert(server, trust.fingerprint(server.left(colon), server.mid(colon + 1).toInt()));
    }
    login.pictures.insert(0, options.productMask);
    return login;
}

// Saves the main window once the opened screen has settled, then quits;
// the exit code tells a smoke check whether the screen opened and was saved.
void scheduleScreenshot(MainWindow &window, const QString &file, const bool &opened)
{
    QTimer::singleShot(1200, &window, [&window, file, &opened] {
        const bool saved = window.grab().save(file, "PNG");
        if (!saved) {
            HostGuard::report(std::runtime_error(
                QStringLiteral("Não foi possível salvar %1.").arg(file).toStdString()));
        }
        window.closeAllScreens();
        QCoreApplication::exit(saved && opened ? 0 : 1);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    HostApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("GestaoEventos"));
    QCoreApplication::setApplicationName(QStringLiteral("hostapp"));
    HostLocale::Install();
    QtHostDialogs dialogs;
    HostDialogs::install(&dialogs);

    HostOptions options;
    TdtmDBGeral localDatabase;
    try {
        options = ParseHostOptions(QCoreApplication::arguments());
        // A screenshot run is unattended: failures go to standard error and
        // must never wait for someone to close a box.
        if (!options.screenshot.isEmpty()) {
            HostDialogs::install(nullptr);
        }
        localDatabase.open(options.localDb);
        dtmDBGeral = &localDatabase;
        // The user's own settings keep the certificates trusted; the
        // password stays in memory.
        QSettings settings;
        ServerTrust trust(settings);
        Corvane::LoginData login = loginFrom(options, trust);
        // Nobody answers the server's questions in a screenshot run: what the
        // server refuses, the screen reports.
        if (options.screenshot.isEmpty() && !ServerLogin::Probe(login, trust, probedServerName)) {
            return 1;
        }
        Corvane::SetLogin(login);
    } catch (const std::exception &failure) {
        HostGuard::report(failure);
        return 2;
    }

    ModuleLoader loader;
    const QStringList failures = loader.startAll(options.modulesDir);
    MainWindow window(loader);
    HostMdi::SetArea(window.mdiArea());
    // Screenshots keep the designed size, whatever the user's last one was.
    if (options.screenshot.isEmpty()) {
        window.showAsLeft();
    } else {
        window.show();
    }
    for (const QString &failure : failures) {
        HostGuard::report(std::runtime_error(failure.toStdString()));
    }
    bool opened = failures.isEmpty();
    if (!options.open.isEmpty()) {
        QTimer::singleShot(0, &window, [&loader, &options, &opened] {
            opened = HostGuard::run([&] { loader.open(options.open); }) && opened;
        });
    }
    if (!options.screenshot.isEmpty()) {
        scheduleScreenshot(window, options.screenshot, opened);
    }

    const int result = app.exec();
    window.closeAllScreens();
    loader.stopAll();
    dtmDBGeral = nullptr;
    HostDialogs::install(nullptr);
    return result;
}

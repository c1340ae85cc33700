#pragma once

#include "AppServerProcess.h"
#include "ScriptedDialogs.h"
#include "TdtmDBGeral.h"

#include <QJsonObject>
#include <QMdiArea>
#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

class TfrmCancelamento;

// What every test of the cancellation screen stands on: a real `appserver`
// serving a seeded temporary database on a free loopback port, the client's
// local database seeded alongside it, the operator's login pointing at that
// server, a document area to open the screen in and the scripted dialogs.
class CancelamentoFixture final {
public:
    CancelamentoFixture();
    ~CancelamentoFixture();

    // Seeds both databases and starts the server; false with the reason.
    // The server's storage is a temporary SQLite file, or the (empty)
    // database at `serverLocation` (a PostgreSQL URL).
    bool start(QString *error, const QString &serverLocation = QString());
    quint16 port() const { return m_server.port(); }
    qint64 serverProcessId() const { return m_server.processId(); }
    QString serverDatabase() const;
    // A direct connection to the server's storage, for checking what it
    // stored; open, or throws std::runtime_error.
    QSqlDatabase serverSql();
    // Everything the server wrote on standard error so far, one line per
    // call: "TIMESTAMP PEER METHOD MS ms OUTCOME". A line reaches the test
    // only when its event loop runs, so wait for one with QTRY_VERIFY.
    QString serverLog();
    // Stops the server, as when it goes down under the screen.
    void stopServer();
    // Changes the server's quote parameter (IDORIGPRUNITORE) in its storage.
    bool setOrigemPreco(const QString &origin, QString *error);

    // The operator's login: branch "0001" of the seeded data; `fixed` fixes
    // it for the module; `port` 0 points at the running server, or at the
    // servers of setServers().
    void login(bool fixed, quint16 port = 0);
    // Points the open screen at the server on `port` from its next call on,
    // as when the one it used goes away: the login names that server alone
    // and the screen's connection is closed.
    void moveScreenTo(quint16 port);
    // Every login from now on names these servers ("host:port"), in order.
    void setServers(const QStringList &servers) { m_servers = servers; }
    // How long every login from now on lets a call wait without a byte.
    void setIdleTimeout(int milliseconds) { m_idleTimeout = milliseconds; }

    // Opens the screen as the host does and lets its first activation run;
    // nullptr when the document area could not be made the active window.
    TfrmCancelamento *openScreen();
    // Logs in on branch "0001", opens the screen and lists the branch's
    // quotes as leaving the branch does, without the filter dialog; nullptr
    // when the screen could not open.
    TfrmCancelamento *openAndList();
    void closeScreen();

    // Another operator, on a client of their own talking to the server on
    // `port`, cancels or postpones (`state`) a quote of branch "0001" with
    // reason "0006"; throws std::runtime_error when the server refuses.
    static void withdrawAsAnotherOperator(quint16 port, const QString &number, const QString &sequence, const QString &state);

    // A quote packet in the list's field order with one quote per state.
    static QJsonObject quotePacket(const QStringList &states);
    // An item packet with one item of the given values.
    static QJsonObject itemPacket(double quantity, double price, double discount, double surcharge);

    QMdiArea area;
    ScriptedDialogs dialogs;

private:
    QTemporaryDir m_dir;
    QString m_serverLocation;
    QStringList m_servers;
    std::optional<int> m_idleTimeout;
    AppServerProcess m_server;
    TdtmDBGeral m_localDatabase;
};

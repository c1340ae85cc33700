#include "AppServerProcess.h"
#include "TNetConnection.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// The process's state letter in /proc ('T' once stopped).
char stateOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return '?';
    }
    const QByteArray line = stat.readAll();
    const qsizetype afterName = line.lastIndexOf(')');
    return afterName < 0 ? '?' : line.at(afterName + 2);
}

} // namespace

// Two real servers, each on a database seeded alike, and a connection that
// knows both, when the first one dies (SIGKILL) idle or during a call.
class TestNetConnectionFailover final : public QObject {
    Q_OBJECT
private slots:
    void theSecondServerTakesOver_data()
    {
        QTest::addColumn<QString>("loss");
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("onSecond"); // how often the method reached the second server
        QTest::newRow("first address closed") << "closed" << "GetMotivo" << 2;
        QTest::newRow("first killed while idle") << "idle" << "GetMotivo" << 2;
        QTest::newRow("read: sent again on the second") << "call" << "GetMotivo" << 2;
        QTest::newRow("write: lost, never sent again") << "call" << "SetOrcamento" << 0;
    }

    void theSecondServerTakesOver()
    {
        QFETCH(QString, loss);
        QFETCH(QString, method);
        QTemporaryDir dir;
        AppServerProcess servers[2];
        QStringList addresses;
        for (AppServerProcess &server : servers) {
            const QString database = dir.filePath(QStringLiteral("db%1.sqlite").arg(addresses.size()));
            QVERIFY(AppServerProcess::seed(database, 20) && server.start(database));
            addresses << QStringLiteral("127.0.0.1:%1").arg(server.port());
        }
        if (loss == QLatin1String("closed")) {
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost);
            addresses[0] = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
        }
        TNetConnection connection;
        connection.SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
        connection.SetReadMethods({QStringLiteral("GetMotivo")});
        connection.SetServers(addresses);
        // A loaded machine may be slow to answer the first connect: it must
        // not move the connection to the second server before the loss.
        connection.SetConnectTimeout(60000);
        QSignalSpy reconnected(&connection, &TNetConnection::Reconnected);
        connection.Connect();
        QCOMPARE(connection.CurrentServer(), addresses[loss == QLatin1String("closed") ? 1 : 0]);
        const qint64 pid = servers[0].processId();
        if (loss == QLatin1String("idle")) {
            ::kill(pid, SIGKILL);
            QVERIFY(reconnected.wait());
        } else if (loss == QLatin1String("call")) {
            ::kill(pid, SIGSTOP); // the request goes out, no answer comes, and the wait kills it
            // Stopped for sure before the request leaves: a thread of the
            // server still running could otherwise answer it.
            QTRY_VERIFY(stateOf(pid) == 'T');
            TNetConnection::SetWaitHook([pid] { ::kill(pid, SIGKILL); });
        }
        const QList<TNetArg> args{QString(), QStringLiteral("T")};
        bool lost = false;
        try {
            connection.Call(method, args);
        } catch (const TNetConnection::ConnectionLost &) {
            lost = true;
        } catch (const std::exception &other) {
            TNetConnection::SetWaitHook({});
            QFAIL(other.what());
        }
        TNetConnection::SetWaitHook({});
        QCOMPARE(lost, method == QLatin1String("SetOrcamento"));
        QCOMPARE(connection.Call(QStringLiteral("GetMotivo"), args).toObject().value(QStringLiteral("ok")), QJsonValue(true));
        QCOMPARE(connection.CurrentServer(), addresses[1]);
        QCoreApplication::processEvents(); // what a call has to tell waits for the event loop
        QCOMPARE(reconnected, loss == QLatin1String("closed") ? QList<QVariantList>{} : QList<QVariantList>{{addresses[1]}});
        servers[1].stop();
        QTEST(int(servers[1].log().count(method)), "onSecond");
    }
};

QTEST_GUILESS_MAIN(TestNetConnectionFailover)
#include "tst_netconnection_failover.moc"

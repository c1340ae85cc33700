#include "AppServerProcess.h"
#include "TNetConnection.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

// Two real application servers, each on its own copy of one seeded database,
// and a connection that knows both: what becomes of it when the first one
// dies (SIGKILL) idle or in the middle of a call.
class TestNetConnectionFailover final : public QObject {
    Q_OBJECT

private:
    static QString addressOf(quint16 port) { return QStringLiteral("127.0.0.1:%1").arg(port); }

    // Stops the first server before the call goes out and kills it while
    // the call waits for its answer.
    void killFirstDuringTheNextCall()
    {
        const qint64 pid = m_first->processId();
        ::kill(pid, SIGSTOP);
        TNetConnection::SetWaitHook([pid, killed = false]() mutable {
            if (!std::exchange(killed, true)) {
                ::kill(pid, SIGKILL);
            }
        });
    }

    QTemporaryDir m_dir;
    std::unique_ptr<AppServerProcess> m_first;
    std::unique_ptr<AppServerProcess> m_second;
    TNetConnection m_connection;
    int m_run = 0;

private slots:
    void initTestCase()
    {
        QString output;
        QVERIFY2(AppServerProcess::seed(m_dir.filePath(QStringLiteral("seeded.sqlite")), 20, {}, &output), qPrintable(output));
    }

    void init()
    {
        for (auto *server : {&m_first, &m_second}) {
            const QString copy = m_dir.filePath(QStringLiteral("db%1.sqlite").arg(++m_run));
            QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("seeded.sqlite")), copy));
            *server = std::make_unique<AppServerProcess>();
            QVERIFY2((*server)->start(copy), qPrintable((*server)->error()));
        }
        m_connection.Disconnect();
        m_connection.SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
        m_connection.SetServers({addressOf(m_first->port()), addressOf(m_second->port())});
        m_connection.SetReadMethods({QStringLiteral("GetMotivo")});
    }

    void cleanup()
    {
        TNetConnection::SetWaitHook({});
    }

    void theSecondServerTakesOver_data()
    {
        QTest::addColumn<QString>("loss");
        QTest::newRow("first address closed") << "closed";
        QTest::newRow("first killed while idle") << "idle";
        QTest::newRow("first killed during a read") << "read";
    }

    void theSecondServerTakesOver()
    {
        QFETCH(QString, loss);
        if (loss == QLatin1String("closed")) {
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost);
            m_connection.SetServers({addressOf(closed.serverPort()), addressOf(m_second->port())});
        }
        QSignalSpy reconnected(&m_connection, &TNetConnection::Reconnected);
        m_connection.Connect();
        if (loss == QLatin1String("idle")) {
            ::kill(m_first->processId(), SIGKILL);
            QVERIFY(reconnected.wait());
        } else if (loss == QLatin1String("read")) {
            killFirstDuringTheNextCall();
        }
        QString code;
        QString all = QStringLiteral("T");
        const QJsonValue answer = m_connection.Call(QStringLiteral("GetMotivo"), {TNetArg::textRef(code), TNetArg::textRef(all)});
        QCOMPARE(answer.toObject().value(QStringLiteral("ok")), QJsonValue(true));
        QCOMPARE(m_connection.CurrentServer(), addressOf(m_second->port()));
        QCoreApplication::processEvents(); // what the call had to tell waits for the event loop
        QCOMPARE(reconnected.count(), loss == QLatin1String("closed") ? 0 : 1);
        QCOMPARE(reconnected.value(0).value(0).toString(), loss == QLatin1String("closed") ? QString() : addressOf(m_second->port()));
    }

    void aWriteWhoseConnectionDropsIsNeverSentAgain()
    {
        m_connection.Connect();
        killFirstDuringTheNextCall();
        QVERIFY_THROWS_EXCEPTION(TNetConnection::ConnectionLost,
                                 m_connection.Call(QStringLiteral("SetOrcamento"), {TNetArg::text(QStringLiteral("delta"))}));
        TNetConnection::SetWaitHook({});
        QString code;
        QString all = QStringLiteral("T");
        m_connection.Call(QStringLiteral("GetMotivo"), {TNetArg::textRef(code), TNetArg::textRef(all)});
        QCOMPARE(m_connection.CurrentServer(), addressOf(m_second->port()));
        m_second->stop();
        const QString log = m_second->log();
        QVERIFY2(log.contains(QStringLiteral("GetMotivo")) && !log.contains(QStringLiteral("SetOrcamento")), qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestNetConnectionFailover)
#include "tst_netconnection_failover.moc"

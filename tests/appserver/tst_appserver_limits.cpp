// The server under abuse: floods of sockets, clients that never read, a
// standard error nobody drains, strangers without a password.
#include "AppServerProcess.h"
#include "JsonLineClient.h"
#include "QuoteListing.h"
#include "TNetConnection.h"
#include "TestBackend.h"
#include "TestCertificate.h"

#include <QFile>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

const QString serverName = QStringLiteral("CXL04100.rdmCancelamento");

qint64 residentKilobytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

int errorCodeOf(const QJsonObject &answer)
{
    return answer.value(QStringLiteral("error")).toObject().value(QStringLiteral("code")).toInt();
}

QJsonArray credentials(const QString &code, const QString &password)
{
    return {serverName, QJsonObject{{QStringLiteral("operator"), code}, {QStringLiteral("password"), password}}};
}

// Runs appserver to the end with `arguments`, feeding `input`; its exit code
// and what it printed.
int runAppServer(const QStringList &arguments, const QByteArray &input, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(APPSERVER_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) {
        process.kill();
        return -1;
    }
    *output = QString::fromUtf8(process.readAll());
    return process.exitCode();
}

// The request line listing branch 0001's quotes in every state.
QByteArray everyStateListing(int id)
{
    QuoteListing everyState;
    everyState.states.clear();
    everyState.allStates = QuoteListing::all;
    return QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                     {QStringLiteral("id"), id},
                                     {QStringLiteral("method"), QStringLiteral("GetOrcamento")},
                                     {QStringLiteral("params"), everyState.arguments(QStringLiteral("0001"))}})
               .toJson(QJsonDocument::Compact)
           + '\n';
}

} // namespace

class TestAppServerLimits final : public QObject {
    Q_OBJECT

private:
    TestBackend m_sqlite{QStringLiteral("sqlite")};
    TestBackend m_postgres{QStringLiteral("postgres")};
    QTemporaryDir m_dir;

    // The server's TLS options for `certificate`, written into the test's folder.
    QStringList tlsOptions(const TestCertificate &certificate, const QString &name)
    {
        QFile cert(m_dir.filePath(name + QStringLiteral("-cert.pem")));
        QFile key(m_dir.filePath(name + QStringLiteral("-key.pem")));
        if (!cert.open(QIODevice::WriteOnly) || !key.open(QIODevice::WriteOnly)) {
            return {};
        }
        cert.write(certificate.certificate().toPem());
        key.write(certificate.key().toPem());
        return {QStringLiteral("--tls-cert"), cert.fileName(), QStringLiteral("--tls-key"), key.fileName()};
    }

    bool startServer(AppServerProcess &server, const QStringList &arguments = {})
    {
        const QString database = m_sqlite.freshDatabase();
        if (database.isEmpty() || !server.start(database, arguments)) {
            qWarning("%s %s", qPrintable(m_sqlite.error()), qPrintable(server.error()));
            return false;
        }
        return true;
    }

    // A server whose one operator is MARIA, password "senha-secreta".
    bool startWithMaria(AppServerProcess &server, const QStringList &arguments = {})
    {
        const QString database = m_sqlite.freshDatabase();
        QString output;
        const QStringList adding{QStringLiteral("--db"), database, QStringLiteral("--add-operator"), QStringLiteral("MARIA")};
        if (runAppServer(adding, "senha-secreta\nsenha-secreta\n", &output) != 0 || !server.start(database, arguments)) {
            qWarning("%s %s", qPrintable(output), qPrintable(server.error()));
            return false;
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_sqlite.prepare(), qPrintable(m_sqlite.error()));
        // The flood below opens thousands of sockets from this process.
        rlimit files{};
        ::getrlimit(RLIMIT_NOFILE, &files);
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }

    void floodOfSocketsIsRefusedAndServingGoesOn()
    {
        AppServerProcess server;
        server.setOpenFileLimit(256);
        // Admitted sockets must stay for the whole flood, however slowly a busy
        // machine accepts: one let go early would admit a later one.
        QVERIFY(startServer(server, {QStringLiteral("--max-connections-per-address"), QStringLiteral("100000"),
                                     QStringLiteral("--handshake-timeout"), QStringLiteral("60")}));
        std::vector<std::unique_ptr<QTcpSocket>> flood;
        for (int i = 0; i < 2000; ++i) {
            flood.push_back(std::make_unique<QTcpSocket>());
            flood.back()->connectToHost(QStringLiteral("127.0.0.1"), server.port());
        }
        const auto refused = [&flood] {
            return std::count_if(flood.cbegin(), flood.cend(), [](const auto &socket) {
                return socket->peek(4096).contains("\"code\":-32006");
            });
        };
        // A busy machine takes its time over two thousand accepts.
        QTRY_VERIFY_WITH_TIMEOUT(refused() > 1000, 30000);
        flood.clear();
        // Their places come free as they close; then a client who speaks is served.
        const auto served = [&server] {
            JsonLineClient client;
            return client.openSession(server.port()) && client.checked(QStringLiteral("GetParamOrca"), {}).value(QStringLiteral("ok")).toBool();
        };
        QTRY_VERIFY_WITH_TIMEOUT(served(), 10000);
        QVERIFY(server.isRunning());
    }

    void databaseConnectionsAreBoundedByThePool()
    {
        if (!m_postgres.prepare()) {
            QSKIP(qPrintable(m_postgres.skipReason().isEmpty() ? m_postgres.error() : m_postgres.skipReason()));
        }
        const QString database = m_postgres.freshDatabase();
        AppServerProcess server;
        QVERIFY2(server.start(database, {QStringLiteral("--max-connections-per-address"), QStringLiteral("1000"),
                                         QStringLiteral("--max-unauthenticated"), QStringLiteral("1000"),
                                         QStringLiteral("--max-db-connections"), QStringLiteral("4")}),
                 qPrintable(server.error()));
        QSqlDatabase direct = m_postgres.direct(database);
        const auto backends = [&direct] {
            QSqlQuery query(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database()"), direct);
            return query.next() ? query.value(0).toInt() : -1;
        };
        const int before = backends();
        // More silent sockets, then more idle clients that logged in and
        // made a call, than the cluster takes connections.
        std::vector<std::unique_ptr<JsonLineClient>> clients;
        for (int i = 0; i < 150; ++i) {
            clients.push_back(std::make_unique<JsonLineClient>());
            QVERIFY(clients.back()->open(server.port()));
        }
        QTest::qWait(500);
        QCOMPARE(backends(), before);
        clients.clear();
        for (int i = 0; i < 120; ++i) {
            clients.push_back(std::make_unique<JsonLineClient>());
            QVERIFY(clients.back()->openSession(server.port()));
            QVERIFY(clients.back()->checked(QStringLiteral("GetParamOrca"), {}).value(QStringLiteral("ok")).toBool());
        }
        QVERIFY2(backends() <= before + 4, qPrintable(QString::number(backends() - before)));
        direct = QSqlDatabase();
        m_postgres.closeDirect();
    }

    void aListingStopsAtTheCallsDeadlineWhileOthersWaitForThePool_data()
    {
        QTest::addColumn<bool>("postgres");
        QTest::newRow("sqlite") << false;
        QTest::newRow("postgres") << true;
    }

    void aListingStopsAtTheCallsDeadlineWhileOthersWaitForThePool()
    {
        QFETCH(bool, postgres);
        TestBackend &backend = postgres ? m_postgres : m_sqlite;
        if (!backend.prepare()) {
            QSKIP(qPrintable(backend.skipReason().isEmpty() ? backend.error() : backend.skipReason()));
        }
        // A branch of 2,000 quotes: each listing is some 700 kB.
        const QString database = backend.seededDatabase(20000);
        QVERIFY2(!database.isEmpty(), qPrintable(backend.error()));
        AppServerProcess server;
        QVERIFY2(server.start(database, {QStringLiteral("--statement-timeout"), QStringLiteral("1"), QStringLiteral("--max-db-connections"),
                                         QStringLiteral("1"), QStringLiteral("--busy-timeout"), QStringLiteral("300")}),
                 qPrintable(server.error()));
        JsonLineClient slow;
        JsonLineClient other;
        QVERIFY(slow.openSession(server.port()));
        QVERIFY(other.openSession(server.port()));
        // The slow client takes nothing for two seconds (left to grow, the
        // system's buffers would take every listing at once); a listing waits
        // for it holding the server's one database connection.
        slow.socket().setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 64 * 1024);
        slow.socket().setReadBufferSize(1);
        const int listings = 30;
        for (int id = 1; id <= listings; ++id) {
            slow.sendRaw(everyStateListing(id));
        }
        QTest::qWait(500);
        const QJsonObject busy = other.call(QStringLiteral("GetParamOrca"), {});
        QCOMPARE(errorCodeOf(busy), -32006);
        QVERIFY(busy.value(QStringLiteral("error")).toObject().value(QStringLiteral("message")).toString().contains(QStringLiteral("conexões com o banco de dados")));
        QTest::qWait(1500);
        slow.socket().setReadBufferSize(0);
        // Every answer is a whole line; the one running past its second says so.
        int stopped = 0;
        for (int id = 1; id <= listings; ++id) {
            const QJsonObject value = slow.readAnswer(30000).value(QStringLiteral("result")).toObject().value(QStringLiteral("value")).toObject();
            QVERIFY2(value.value(QStringLiteral("ok")).isBool(), qPrintable(QString::number(id)));
            if (!value.value(QStringLiteral("ok")).toBool()) {
                ++stopped;
                QVERIFY(value.value(QStringLiteral("message")).toString().contains(QStringLiteral("passou do limite de 1 s")));
            }
        }
        QVERIFY(stopped >= 1);
        QVERIFY(other.checked(QStringLiteral("GetParamOrca"), {}).value(QStringLiteral("ok")).toBool());
    }

    void clientThatNeverReadsDoesNotGrowTheServer()
    {
        AppServerProcess server;
        QVERIFY(startServer(server, {QStringLiteral("--stall-timeout"), QStringLiteral("1")}));
        JsonLineClient greedy;
        QVERIFY(greedy.openSession(server.port()));
        // A client that really takes nothing: Qt would read into its own buffer.
        greedy.socket().setReadBufferSize(1);
        const qint64 before = residentKilobytes(server.processId());
        const QByteArray request = everyStateListing(1);
        QByteArray requests;
        for (int call = 0; call < 5000; ++call) {
            requests += request;
        }
        greedy.sendRaw(requests);
        QTest::qWait(3000);
        const qint64 growth = residentKilobytes(server.processId()) - before;
        // Unbounded, the answers alone would take tens of megabytes.
        QVERIFY2(growth < 8 * 1024, qPrintable(QStringLiteral("%1 KiB").arg(growth)));
        // Dropped after the stall time, not kept until the idle timeout.
        greedy.socket().setReadBufferSize(0);
        greedy.socket().readAll();
        QTRY_VERIFY(!greedy.isConnected());
        JsonLineClient other;
        QVERIFY(other.openSession(server.port()));
        QVERIFY(other.checked(QStringLiteral("GetParamOrca"), {}).value(QStringLiteral("ok")).toBool());
    }

    void unfinishedLineIsBounded_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("not finished in time") << QStringList{QStringLiteral("--line-timeout"), QStringLiteral("1")} << QByteArray();
        QTest::newRow("beyond the budget") << QStringList{QStringLiteral("--max-partial-lines"), QStringLiteral("100000")} << QByteArray("\"code\":-32006");
    }

    void unfinishedLineIsBounded()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, answer);
        AppServerProcess server;
        QVERIFY(startServer(server, arguments));
        JsonLineClient client;
        QVERIFY(client.openSession(server.port()));
        client.sendRaw(QByteArray(100001, ' ')); // read whole: nothing unread resets the connection
        QVERIFY(client.readLine(5000).contains(answer));
        QTRY_VERIFY(!client.isConnected());
    }

    void blockedStandardErrorDoesNotBlockCalls()
    {
        AppServerProcess server;
        server.blockStandardError();
        QVERIFY(startServer(server));
        JsonLineClient client;
        QVERIFY(client.openSession(server.port()));
        // Each call logs a line: far more than the pipe holds.
        for (int call = 0; call < 3000; ++call) {
            const QJsonObject answer = client.call(QStringLiteral("GetParamOrca"), {});
            QVERIFY2(answer.contains(QStringLiteral("result")), qPrintable(QStringLiteral("call %1 unanswered").arg(call)));
        }
    }

    void operatorsNeedTheirPassword_data()
    {
        QTest::addColumn<QJsonArray>("params");
        QTest::addColumn<int>("error");
        QTest::newRow("no credentials") << QJsonArray{serverName} << -32004;
        QTest::newRow("not an object") << QJsonArray{serverName, QStringLiteral("MARIA")} << -32004;
        QTest::newRow("wrong password") << credentials(QStringLiteral("MARIA"), QStringLiteral("senha-errada")) << -32005;
        QTest::newRow("unknown operator") << credentials(QStringLiteral("JOSE"), QStringLiteral("senha-secreta")) << -32005;
        QTest::newRow("right password") << credentials(QStringLiteral("MARIA"), QStringLiteral("senha-secreta")) << 0;
    }

    void operatorsNeedTheirPassword()
    {
        QFETCH(QJsonArray, params);
        QFETCH(int, error);
        AppServerProcess server;
        QVERIFY(startWithMaria(server));
        JsonLineClient client;
        QVERIFY(client.open(server.port()));
        const QJsonObject answer = client.call(QStringLiteral("connect"), params);
        QCOMPARE(errorCodeOf(answer), error);
        if (error != 0) {
            // A refused connect ends the connection: no second guess on it.
            QTRY_VERIFY(!client.isConnected());
            return;
        }
        QVERIFY(client.checked(QStringLiteral("GetParamOrca"), {}).value(QStringLiteral("ok")).toBool());
    }

    // Each attempt: the source address, "+" for the right password or "-"
    // for a wrong one, and the outcome: ok, refused, or "wait" (refused at
    // once, unchecked).
    void guessingIsSlowedByAddressAndOperator_data()
    {
        QTest::addColumn<QStringList>("attempts");
        QTest::newRow("three free, then the address waits")
            << QStringList{"127.0.0.2- refused", "127.0.0.2- refused", "127.0.0.2- refused", "127.0.0.2+ wait"};
        QTest::newRow("a right password forgets")
            << QStringList{"127.0.0.2- refused", "127.0.0.2- refused", "127.0.0.2+ ok", "127.0.0.2- refused",
                           "127.0.0.2- refused", "127.0.0.2- refused"};
        QTest::newRow("many addresses at one operator, the owner elsewhere")
            << QStringList{"127.0.0.2- refused", "127.0.0.3- refused", "127.0.0.4- refused", "127.0.0.3- refused",
                           "127.0.0.4- wait", "127.0.0.5+ ok"};
    }

    void guessingIsSlowedByAddressAndOperator()
    {
        QFETCH(QStringList, attempts);
        AppServerProcess server;
        QVERIFY(startWithMaria(server));
        for (const QString &attempt : attempts) {
            JsonLineClient client;
            QVERIFY(client.open(server.port(), attempt.section(QLatin1Char(' '), 0, 0).chopped(1)));
            const bool right = attempt.section(QLatin1Char(' '), 0, 0).endsWith(QLatin1Char('+'));
            const QJsonObject answer = client.call(
                QStringLiteral("connect"), credentials(QStringLiteral("MARIA"), right ? QStringLiteral("senha-secreta") : QStringLiteral("errada")));
            const QString message = answer.value(QStringLiteral("error")).toObject().value(QStringLiteral("message")).toString();
            const QString outcome = answer.contains(QStringLiteral("result")) ? QStringLiteral("ok")
                                    : message.contains(QStringLiteral("tente de novo")) ? QStringLiteral("wait")
                                                                                         : QStringLiteral("refused");
            QCOMPARE(attempt.section(QLatin1Char(' '), 0, 0) + QLatin1Char(' ') + outcome, attempt);
        }
    }

    // Connections without an accepted connect fill a class of their own, so
    // they never take the slots of operators who have logged in, and one
    // address holds a share of it only; one operator holds a bounded number.
    // Each step: "wait" (a socket that says nothing), "login", or "relogin"
    // (connect again on the last login's socket, which counts nothing
    // twice), from the source address 127.0.0.N, and the error code it
    // meets (0: none).
    void classesOfConnectionsHaveCapsOfTheirOwn()
    {
        AppServerProcess server;
        QVERIFY(startWithMaria(server, {QStringLiteral("--max-unauthenticated"), QStringLiteral("4"),
                                        QStringLiteral("--max-connections-per-operator"), QStringLiteral("2")}));
        std::vector<std::unique_ptr<JsonLineClient>> open;
        QStringList met;
        const QStringList steps{"wait 1", "wait 1", "login 2", "relogin 2", "login 3", "login 4",
                                "wait 5", "wait 6", "wait 7", "wait 8"};
        for (const QString &step : steps) {
            const QString what = step.section(QLatin1Char(' '), 0, 0);
            const bool again = what == QLatin1String("relogin");
            if (!again) {
                QVERIFY(open.emplace_back(std::make_unique<JsonLineClient>())
                            ->open(server.port(), QStringLiteral("127.0.0.") + step.section(QLatin1Char(' '), 1)));
            }
            JsonLineClient &client = *open.back();
            const QJsonObject answer = what != QLatin1String("wait")
                ? client.call(QStringLiteral("connect"), credentials(QStringLiteral("MARIA"), QStringLiteral("senha-secreta")))
                : QJsonDocument::fromJson(client.readLine(300)).object();
            met << step + QLatin1Char(' ') + QString::number(errorCodeOf(answer));
            if (errorCodeOf(answer) != 0 && !again) {
                QTRY_VERIFY(!client.isConnected());
            }
        }
        QCOMPARE(met, (QStringList{"wait 1 0", "wait 1 -32006", "login 2 0", "relogin 2 -32600", "login 3 0",
                                   "login 4 -32006", "wait 5 0", "wait 6 0", "wait 7 0", "wait 8 -32006"}));
    }

    void addingAnOperatorAsksThePasswordTwice()
    {
        QString output;
        QCOMPARE(runAppServer({QStringLiteral("--db"), m_sqlite.freshDatabase(), QStringLiteral("--add-operator"), QStringLiteral("MARIA")},
                              "senha-secreta\noutra-senha\n", &output),
                 2);
        QVERIFY2(output.contains(QStringLiteral("diferentes")), qPrintable(output));
    }

    void offLoopbackStartNeedsTlsAndOperators_data()
    {
        QTest::addColumn<bool>("tls");
        QTest::addColumn<QString>("missing");
        QTest::newRow("neither") << false << QStringLiteral("falta o TLS");
        QTest::newRow("no operators") << true << QStringLiteral("não há operadores");
    }

    void offLoopbackStartNeedsTlsAndOperators()
    {
        QFETCH(bool, tls);
        QFETCH(QString, missing);
        QStringList arguments{QStringLiteral("--db"), m_sqlite.freshDatabase(), QStringLiteral("--listen"), QStringLiteral("0.0.0.0:0")};
        if (tls) {
            const TestCertificate certificate;
            QVERIFY2(certificate.error().isEmpty(), qPrintable(certificate.error()));
            arguments << tlsOptions(certificate, QStringLiteral("refused"));
        }
        QString output;
        QCOMPARE(runAppServer(arguments, {}, &output), 2);
        QVERIFY2(output.contains(missing), qPrintable(output));
    }

    void tlsClientIsServedAndAPlainOneIsNot()
    {
        const TestCertificate certificate;
        QVERIFY2(certificate.error().isEmpty(), qPrintable(certificate.error()));
        AppServerProcess server;
        QVERIFY(startServer(server, tlsOptions(certificate, QStringLiteral("served")) + QStringList{QStringLiteral("--handshake-timeout"), QStringLiteral("1")}));

        QSslSocket tls;
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        tls.connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.port());
        QVERIFY2(tls.waitForEncrypted(5000), qPrintable(tls.errorString()));
        QCOMPARE(tls.peerCertificate(), certificate.certificate());
        tls.write(R"({"jsonrpc":"2.0","id":1,"method":"connect","params":["CXL04100.rdmCancelamento"]})" "\n");
        QTRY_VERIFY(tls.canReadLine());
        QVERIFY(QJsonDocument::fromJson(tls.readLine()).object().contains(QStringLiteral("result")));

        // The product's own client, with the certificate pinned and a password.
        TNetConnection connection;
        connection.SetServerName(serverName);
        connection.SetPort(server.port());
        connection.SetTls(true);
        connection.SetServerFingerprint(certificate.fingerprint());
        connection.SetThrowException(true);
        connection.Connect();
        QVERIFY(connection.Call(QStringLiteral("GetParamOrca")).toObject().value(QStringLiteral("ok")).toBool());

        JsonLineClient plain;
        QVERIFY(plain.open(server.port()));
        const QJsonObject answer = plain.call(QStringLiteral("connect"), {serverName});
        QVERIFY(!answer.contains(QStringLiteral("result")));
        QTRY_VERIFY_WITH_TIMEOUT(!plain.isConnected(), 5000);
    }
};

QTEST_GUILESS_MAIN(TestAppServerLimits)
#include "tst_appserver_limits.moc"

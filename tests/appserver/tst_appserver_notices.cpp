#include "AppServerProcess.h"
#include "JsonLineClient.h"
#include "QuoteListing.h"
#include "QuoteStates.h"
#include "Sql.h"
#include "TestBackend.h"

#include <QJsonDocument>
#include <QTest>

#include <memory>
#include <vector>

// Change notices through real servers and raw lines: who hears a write, what
// it says, and that it never comes for a write that did not commit nor
// inside an answer. On PostgreSQL every test runs two servers on one
// database, listeners on the second, writers on the first.
namespace {

const QString moduleName = QStringLiteral("CXL04100.rdmCancelamento");

struct Listed {
    QJsonArray fields;
    QList<QJsonArray> rows;
    QString text(int row, const char *field) const
    {
        for (int i = 0; i < fields.size(); ++i) {
            if (fields.at(i).toObject().value("name").toString() == QLatin1String(field)) {
                return rows.at(row).at(i).toString();
            }
        }
        return {};
    }
};

Listed list(JsonLineClient &client, const QString &branch)
{
    const QJsonObject data = client.checked("GetOrcamento", QuoteListing().arguments(branch)).value("data").toObject();
    Listed listed{data.value("fields").toArray(), {}};
    for (const QJsonValue &row : data.value("rows").toArray()) {
        listed.rows << row.toArray();
    }
    return listed;
}

// Cancels a listed quote the way the screen does, in one delta with the
// cancellation of `badRow` for an unknown reason when given; the quote's
// number, or empty when refused.
QString cancel(JsonLineClient &client, const QString &branch, int row, const QString &reason = QStringLiteral("0002"), int badRow = -1)
{
    const Listed listed = list(client, branch);
    QJsonArray changes;
    for (const auto &[at, code] : {std::pair{row, reason}, std::pair{badRow, QStringLiteral("0999")}}) {
        QJsonArray changed = listed.rows.value(at);
        const QStringList names{"IDSITUORCEVE", "CDJUSTEXCHIS", "CDOPEJUSTORC"};
        const QStringList values{QuoteState::Cancelled, code, "MSOUZA"};
        for (int i = 0; i < listed.fields.size() && at >= 0; ++i) {
            const qsizetype name = names.indexOf(listed.fields.at(i).toObject().value("name").toString());
            if (name >= 0) {
                changed[i] = values.at(name);
            }
        }
        if (at >= 0) {
            changes.append(QJsonObject{{"op", "update"}, {"old", listed.rows.at(at)}, {"new", changed}});
        }
    }
    const QJsonObject delta{{"fields", listed.fields}, {"changes", changes}};
    return client.checked("SetOrcamento", {delta}).value("ok").toBool() ? listed.text(row, "NRORCAEVENTO") : QString();
}

QStringList drivers()
{
    return qEnvironmentVariable("APPSERVER_TEST_DRIVERS", QStringLiteral("sqlite")).split(',', Qt::SkipEmptyParts);
}

} // namespace

#define START_SERVERS()                                                                                   \
    QFETCH(QString, driver);                                                                              \
    TestBackend &backend = backendFor(driver);                                                            \
    if (!backend.prepare()) {                                                                             \
        if (!backend.skipReason().isEmpty()) {                                                            \
            QSKIP(qPrintable(backend.skipReason()));                                                      \
        }                                                                                                 \
        QFAIL(qPrintable(backend.error()));                                                               \
    }                                                                                                     \
    m_location = backend.freshDatabase();                                                                 \
    for (int i = 0; i < (driver == "postgres" ? 2 : 1); ++i) {                                            \
        m_servers.push_back(std::make_unique<AppServerProcess>());                                        \
        QVERIFY2(m_servers.back()->start(m_location), qPrintable(m_servers.back()->error()));             \
    }                                                                                                     \
    JsonLineClient writer, listener;                                                                      \
    QVERIFY(session(writer, m_servers.front()->port(), true).isObject());                                 \
    QVERIFY(session(listener, m_servers.back()->port(), true).isObject())

class TestAppServerNotices final : public QObject {
    Q_OBJECT

    TestBackend &backendFor(const QString &driver)
    {
        auto &slot = m_backends[driver];
        if (!slot) {
            slot = std::make_shared<TestBackend>(driver);
        }
        return *slot;
    }

    static QJsonValue session(JsonLineClient &client, quint16 port, bool notices)
    {
        if (!client.open(port)) {
            return {};
        }
        const QJsonArray params = notices ? QJsonArray{moduleName, QJsonObject{{"notices", true}}} : QJsonArray{moduleName};
        return client.call("connect", params).value("result").toObject().value("value");
    }

    static QJsonObject nextNotice(JsonLineClient &client)
    {
        const QJsonObject line = client.readAnswer();
        return line.value("method") == QJsonValue("quoteChanged") && !line.contains("id") ? line.value("params").toObject() : QJsonObject{};
    }

    static void addDrivers()
    {
        QTest::addColumn<QString>("driver");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver)) << driver;
        }
    }

    QMap<QString, std::shared_ptr<TestBackend>> m_backends;
    std::vector<std::unique_ptr<AppServerProcess>> m_servers;
    QString m_location;

private slots:
    void cleanup()
    {
        m_servers.clear();
        for (const auto &backend : std::as_const(m_backends)) {
            backend->closeDirect();
        }
    }

    // A later write on the branch the listener listed proves, by being the
    // first notice it reads, that the first write told it nothing.
    void aCancellationReachesTheListenersOfItsBranchOnly_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<bool>("writesItself");
        QTest::addColumn<bool>("hearsTheFirst");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver + "/listener of the branch")) << driver << true << "0001" << false << true;
            QTest::newRow(qPrintable(driver + "/did not ask")) << driver << false << "0001" << false << false;
            QTest::newRow(qPrintable(driver + "/listed another branch")) << driver << true << "0002" << false << false;
            QTest::newRow(qPrintable(driver + "/made the write")) << driver << true << "0001" << true << false;
        }
    }
    void aCancellationReachesTheListenersOfItsBranchOnly()
    {
        QFETCH(bool, asks);
        QFETCH(QString, listed);
        QFETCH(bool, writesItself);
        QFETCH(bool, hearsTheFirst);
        START_SERVERS();
        JsonLineClient other;
        QCOMPARE(session(other, m_servers.back()->port(), asks), asks ? QJsonValue(QJsonObject{{"notices", true}}) : QJsonValue());
        list(other, listed);
        const QString first = cancel(writesItself ? other : writer, "0001", 0);
        const QString marker = cancel(writer, listed, 1);
        QVERIFY(!first.isEmpty() && !marker.isEmpty());
        if (!asks) {
            QVERIFY(other.call("GetMotivo", {"0002", ""}).contains("result"));
            return;
        }
        const QJsonObject notice = nextNotice(other);
        QCOMPARE(notice.value("number").toString(), hearsTheFirst ? first : marker);
        QCOMPARE(notice.value("branch").toString(), hearsTheFirst ? "0001" : listed);
        QCOMPARE(notice.value("what").toString(), "state");
        QCOMPARE(notice.value("state").toString(), QuoteState::Cancelled);
        QCOMPARE(notice.value("reason").toString(), "0002");
        QCOMPARE(notice.value("operator").toString(), "MSOUZA");
        QVERIFY(!notice.contains("origin"));
    }

    void eachWriteSaysWhatChanged_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("state");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver + "/SetObs")) << driver << "SetObs" << "justification" << QuoteState::Cancelled;
            QTest::newRow(qPrintable(driver + "/SetAnterior")) << driver << "SetAnterior" << "state" << QString();
            QTest::newRow(qPrintable(driver + "/setAgendaSalao")) << driver << "setAgendaSalao" << "hall" << QuoteState::Cancelled;
        }
    }
    void eachWriteSaysWhatChanged()
    {
        QFETCH(QString, method);
        QFETCH(QString, what);
        QFETCH(QString, state);
        START_SERVERS();
        // Without a hall the re-enable depends on nobody else's booking.
        Sql::run(backend.direct(m_location), "UPDATE ORCAEVENTO SET CDSALAOEVEN = NULL WHERE CDFILIAL = '0003'");
        const Listed before = list(listener, "0003");
        const QString previous = before.text(0, "IDSITUORCEVE"), sequence = before.text(0, "NRSEQORCAEVE");
        const QString number = cancel(writer, "0003", 0);
        QCOMPARE(nextNotice(listener).value("number").toString(), number);
        const QJsonArray fields = writer.checked("GetItemOrc", {"0003", number, sequence}).value("data").toArray().at(1).toObject().value("fields").toArray();
        const QJsonArray note{QString::fromLatin1(QByteArray("Cliente desistiu.").toBase64()), "0003", number, sequence, 46300.0, "MSOUZA"};
        const QMap<QString, QJsonArray> params{
            {"SetObs", {QJsonObject{{"fields", fields}, {"changes", QJsonArray{QJsonObject{{"op", "insert"}, {"new", note}}}}}}},
            {"SetAnterior", {number, "0003", sequence, "MSOUZA", ""}},
            {"setAgendaSalao", {"0003", number, sequence, "C"}}};
        QVERIFY(writer.call(method, params.value(method)).contains("result"));
        const QJsonObject notice = nextNotice(listener);
        QCOMPARE(notice.value("what").toString(), what);
        QCOMPARE(notice.value("number").toString(), number);
        QCOMPARE(notice.value("state").toString(), state.isEmpty() ? previous : state);
        QCOMPARE(notice.value("reason"), state.isEmpty() ? QJsonValue() : QJsonValue("0002"));
    }

    void aWriteThatDoesNotCommitAnnouncesNothing_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("refusal");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver + "/unknown reason")) << driver << "unknown reason";
            QTest::newRow(qPrintable(driver + "/second row refused")) << driver << "second row refused";
        }
    }
    void aWriteThatDoesNotCommitAnnouncesNothing()
    {
        QFETCH(QString, refusal);
        START_SERVERS();
        list(listener, "0004");
        // The second row is refused after the first one was written: the whole delta rolls back.
        QVERIFY(refusal == "unknown reason" ? cancel(writer, "0004", 0, "0999").isEmpty() : cancel(writer, "0004", 0, "0002", 1).isEmpty());
        const QString committed = cancel(writer, "0004", 2);
        QVERIFY(!committed.isEmpty());
        QCOMPARE(nextNotice(listener).value("number").toString(), committed);
    }

    void aNoticeWaitsForTheAnswerUnderWay_data() { addDrivers(); }
    void aNoticeWaitsForTheAnswerUnderWay()
    {
        START_SERVERS();
        // A listing far larger than the sockets' buffers: it is still being
        // sent while the listener reads nothing.
        QSqlDatabase db = backend.direct(m_location);
        Sql::run(db, "BEGIN");
        QSqlQuery insert = Sql::prepare(db, "INSERT INTO ORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, IDSITUORCEVE, DSTITUORCEVE) VALUES ('0005', ?, '01', '1', ?)");
        for (int i = 0; i < 60000; ++i) {
            insert.addBindValue(QStringLiteral("9%1").arg(i, 9, 10, QLatin1Char('0')));
            insert.addBindValue(QString(100, QLatin1Char('x')));
            Sql::exec(insert);
        }
        Sql::run(db, "COMMIT");
        list(listener, "0001");
        listener.sendRaw(R"({"jsonrpc":"2.0","id":"big","method":"GetOrcamento","params":)" +
                         QJsonDocument(QuoteListing().arguments("0005")).toJson(QJsonDocument::Compact) + "}\n");
        QVERIFY(listener.socket().waitForReadyRead(10000));
        const QString number = cancel(writer, "0001", 0);
        QVERIFY(!number.isEmpty());
        const QJsonObject answer = listener.readAnswer(60000);
        QCOMPARE(answer.value("id").toString(), "big");
        QVERIFY(answer.value("result").toObject().value("value").toObject().value("ok").toBool());
        QCOMPARE(nextNotice(listener).value("number").toString(), number);
    }

    void withoutNoticesConnectSaysSo()
    {
        const auto server = std::make_unique<AppServerProcess>();
        TestBackend &backend = backendFor("sqlite");
        QVERIFY2(backend.prepare(), qPrintable(backend.error()));
        QVERIFY2(server->start(backend.freshDatabase(), {"--no-notices"}), qPrintable(server->error()));
        JsonLineClient client;
        QCOMPARE(session(client, server->port(), true), QJsonValue());
    }
};

QTEST_GUILESS_MAIN(TestAppServerNotices)
#include "tst_appserver_notices.moc"

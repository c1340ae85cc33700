#include "AppServerProcess.h"
#include "JsonLineClient.h"
#include "QuotePacket.h"
#include "QuoteListing.h"
#include "QuoteStates.h"
#include "Sql.h"
#include "TestBackend.h"

#include <QJsonDocument>
#include <QTest>

#include <map>
#include <memory>
#include <vector>

// Change notices through real servers and raw lines: who hears a write, what it says, never for
// a write that did not commit nor inside an answer. On PostgreSQL every test runs two servers
// on one database, listeners on the second, writers on the first.
namespace {

const QString moduleName = QStringLiteral("CXL04100.rdmCancelamento");

Packet list(JsonLineClient &client, const QString &branch)
{
    return listQuotes(client, QuoteListing().arguments(branch));
}

// Cancels a listed quote the way the screen does, in one delta with the
// cancellation of `badRow` for an unknown reason when given; the quote's
// number, or empty when refused.
QString cancel(JsonLineClient &client, const QString &branch, int row, const QString &reason = QStringLiteral("0002"), int badRow = -1)
{
    const Packet listed = list(client, branch);
    QJsonObject delta = updateDelta(listed, row, cancellation(QuoteState::Cancelled, reason, "MSOUZA"));
    if (badRow >= 0) {
        QJsonArray changes = delta.value("changes").toArray();
        changes.append(updateDelta(listed, badRow, cancellation(QuoteState::Cancelled, "0999", "MSOUZA")).value("changes").toArray().at(0));
        delta.insert("changes", changes);
    }
    return client.checked("SetOrcamento", {delta}).value("ok").toBool() ? listed.text(row, "NRORCAEVENTO") : QString();
}

} // namespace

#define START_SERVERS(args)                                                                                 \
    QFETCH(QString, driver);                                                                              \
    TestBackend &backend = m_backends.try_emplace(driver, driver).first->second;                          \
    const bool prepared = backend.prepare();                                                              \
    if (!prepared && !backend.skipReason().isEmpty()) {                                                   \
        QSKIP(qPrintable(backend.skipReason()));                                                          \
    }                                                                                                     \
    QVERIFY2(prepared, qPrintable(backend.error()));                                                      \
    m_location = backend.freshDatabase();                                                                 \
    for (int i = 0; i < (driver == "postgres" ? 2 : 1); ++i) {                                            \
        m_servers.push_back(std::make_unique<AppServerProcess>());                                        \
        QVERIFY2(m_servers.back()->start(m_location, args), qPrintable(m_servers.back()->error()));             \
    }                                                                                                     \
    JsonLineClient writer, listener;                                                                      \
    session(writer, m_servers.front()->port(), true);                                                     \
    QVERIFY(session(listener, m_servers.back()->port(), true).isObject() || args.contains("--no-notices"))

class TestAppServerNotices final : public QObject {
    Q_OBJECT

    static QJsonValue session(JsonLineClient &client, quint16 port, bool notices)
    {
        const QJsonArray params = notices ? QJsonArray{moduleName, QJsonObject{{"notices", true}}} : QJsonArray{moduleName};
        return client.open(port) ? client.call("connect", params).value("result").toObject().value("value") : QJsonValue();
    }

    static QJsonObject nextNotice(JsonLineClient &client) { return client.readNotice().value("params").toObject(); }

    std::map<QString, TestBackend> m_backends;
    std::vector<std::unique_ptr<AppServerProcess>> m_servers;
    QString m_location;

private slots:
    void cleanup()
    {
        m_servers.clear();
        for (auto &[driver, backend] : m_backends) {
            backend.closeDirect();
        }
    }

    // A later write on the branch the listener listed proves, by being the
    // first notice it reads, that the first write told it nothing.
    void aCancellationReachesTheListenersOfItsBranchOnly_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QStringList>("serverArgs");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<bool>("writesItself");
        QTest::addColumn<bool>("hearsTheFirst");
        QTest::addColumn<QString>("before"); // what the listener did first: a refused listing of 0001, or 64 branches
        for (const QString &driver : drivers()) {
            const QStringList off{"--no-notices"};
            QTest::newRow(qPrintable(driver + "/listener of the branch")) << driver << QStringList() << true << "0001" << false << true << "";
            QTest::newRow(qPrintable(driver + "/did not ask")) << driver << QStringList() << false << "0001" << false << false << "";
            QTest::newRow(qPrintable(driver + "/server without notices")) << driver << off << true << "0001" << false << false << "";
            QTest::newRow(qPrintable(driver + "/listed another branch")) << driver << QStringList() << true << "0002" << false << false << "";
            QTest::newRow(qPrintable(driver + "/made the write")) << driver << QStringList() << true << "0001" << true << false << "";
            QTest::newRow(qPrintable(driver + "/its listing refused")) << driver << QStringList() << true << "0002" << false << false << "refused";
            QTest::newRow(qPrintable(driver + "/past its branches")) << driver << QStringList() << true << "0002" << false << false << "cap";
        }
    }
    void aCancellationReachesTheListenersOfItsBranchOnly()
    {
        QFETCH(QStringList, serverArgs);
        QFETCH(bool, asks);
        QFETCH(QString, listed);
        QFETCH(bool, writesItself);
        QFETCH(bool, hearsTheFirst);
        QFETCH(QString, before);
        START_SERVERS(serverArgs);
        JsonLineClient other;
        const bool hears = asks && serverArgs.isEmpty();
        QCOMPARE(session(other, m_servers.back()->port(), asks), hears ? QJsonValue(QJsonObject{{"notices", true}}) : QJsonValue());
        list(other, listed);
        if (before == QLatin1String("refused")) {
            QuoteListing tooMany;
            QStringList codes;
            for (int i = 0; i <= 100000; ++i) {
                codes << QString::number(i);
            }
            tooMany.client = {codes.join(QLatin1Char('_')), QString()};
            QCOMPARE(other.checked("GetOrcamento", tooMany.arguments("0001")).value("ok").toBool(), false);
        } else if (before == QLatin1String("cap")) {
            for (int i = 1; i < 64; ++i) {
                list(other, QStringLiteral("Z%1").arg(i, 3, 10, QLatin1Char('0')));
            }
            list(other, "0001");
        }
        const QString first = cancel(writesItself ? other : writer, "0001", 0);
        const QString marker = cancel(writer, listed, 1);
        QVERIFY(!first.isEmpty() && !marker.isEmpty());
        if (!hears) {
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
        START_SERVERS(QStringList());
        // Without a hall the re-enable depends on nobody else's booking.
        Sql::run(backend.direct(m_location), "UPDATE ORCAEVENTO SET CDSALAOEVEN = NULL WHERE CDFILIAL = '0003'");
        const Packet before = list(listener, "0003");
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
        START_SERVERS(QStringList());
        list(listener, "0004");
        // The second row is refused after the first one was written: the whole delta rolls back.
        QVERIFY(refusal == "unknown reason" ? cancel(writer, "0004", 0, "0999").isEmpty() : cancel(writer, "0004", 0, "0002", 1).isEmpty());
        const QString committed = cancel(writer, "0004", 2);
        QVERIFY(!committed.isEmpty());
        QCOMPARE(nextNotice(listener).value("number").toString(), committed);
    }

    void aNoticeWaitsForTheAnswerUnderWay_data()
    {
        QTest::addColumn<QString>("driver");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver)) << driver;
        }
    }
    void aNoticeWaitsForTheAnswerUnderWay()
    {
        START_SERVERS(QStringList());
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
};

QTEST_GUILESS_MAIN(TestAppServerNotices)
#include "tst_appserver_notices.moc"

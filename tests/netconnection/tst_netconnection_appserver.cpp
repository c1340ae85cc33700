#include "AppServerProcess.h"
#include "QuoteListing.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "TNetConnection.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The client's connection against the real application server, started on a
// free loopback port over a freshly seeded temporary database.
class TestNetConnectionAppServer final : public QObject {
    Q_OBJECT

private:
    // The default filter of a new screen, as the quote listing hands it over.
    // What the host's result check yields for an accepted answer.
    static QJsonValue accepted(const QJsonValue &answer)
    {
        const QJsonObject object = answer.toObject();
        if (object.value(QStringLiteral("ok")) != QJsonValue(true)) {
            qWarning() << "refused:" << object.value(QStringLiteral("message")).toString();
            return QJsonValue(QJsonValue::Undefined);
        }
        return object.value(QStringLiteral("data"));
    }

    std::unique_ptr<TNetConnection> openConnection()
    {
        auto connection = std::make_unique<TNetConnection>();
        connection->SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
        connection->SetThrowException(true);
        const quint16 port = m_server.port();
        connection->BeforeConnect = [port](TNetConnection &net) { net.SetPort(port); };
        connection->Connect();
        return connection;
    }

    QTemporaryDir m_dir;
    AppServerProcess m_server;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString database = m_dir.filePath(QStringLiteral("db.sqlite"));
        QString output;
        QVERIFY2(AppServerProcess::seed(database, 50, {QStringLiteral("--local-db"), m_dir.filePath(QStringLiteral("local.db"))}, &output),
                 qPrintable(output));
        QVERIFY2(m_server.start(database), qPrintable(m_server.error()));
    }

    void cleanupTestCase()
    {
        m_server.stop();
    }

    void reasonLookupLoadsEveryReason()
    {
        auto connection = openConnection();
        QVERIFY(connection->Connected());
        QString code;
        QString all = QStringLiteral("T");
        RecordList cdsMotivo(QStringLiteral("cdsMotivo"));
        cdsMotivo.addField(QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4);
        cdsMotivo.addField(QStringLiteral("DSJUSTEXCHIS"), FieldType::Text, 40);
        ServerAnswer::LoadPacket(cdsMotivo, accepted(connection->Call(QStringLiteral("GetMotivo"),
                                                                      {TNetArg::textRef(code), TNetArg::textRef(all)})));
        QVERIFY(cdsMotivo.recordCount() > 0);
        QString previous;
        for (int row = 0; row < cdsMotivo.recordCount(); ++row) {
            const QString reason = cdsMotivo.valueAt(row, 0).toString();
            QVERIFY2(reason > previous, "reasons come in code order");
            QVERIFY(!cdsMotivo.valueAt(row, 1).toString().isEmpty());
            previous = reason;
        }
        QCOMPARE(code, QString());
        QCOMPARE(all, QStringLiteral("T"));
    }

    void defaultFilterListsTheBranchsPendingAndApprovedQuotes()
    {
        auto connection = openConnection();
        QuoteListing filter;
        RecordList cdsOrcamento(QStringLiteral("cdsOrcamento"));
        ServerAnswer::LoadPacket(cdsOrcamento, accepted(connection->Call(QStringLiteral("GetOrcamento"), TNetArg::listing(QStringLiteral("0001"), filter))));
        QVERIFY(cdsOrcamento.recordCount() > 0);
        QCOMPARE(cdsOrcamento.field(0).name(), QStringLiteral("IDCHECK"));
        QCOMPARE(cdsOrcamento.field(1).name(), QStringLiteral("NRORCAEVENTO"));
        const Field &state = cdsOrcamento.fieldByName(QStringLiteral("IDSITUORCEVE"));
        const Field &branch = cdsOrcamento.fieldByName(QStringLiteral("CDFILIAL"));
        for (cdsOrcamento.first(); !cdsOrcamento.eof(); cdsOrcamento.next()) {
            QCOMPARE(branch.asString(), QStringLiteral("0001"));
            QVERIFY2(state.asString() == QuoteState::Pending || state.asString() == QuoteState::Approved,
                     qPrintable(state.asString()));
        }
        QCOMPARE(filter.states, QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved + QLatin1Char('_'));
        QCOMPARE(filter.number.all, QStringLiteral("T"));
        QCOMPARE(filter.eventDate.from, 0.0);
    }

    void cancellingAQuoteSendsTheListsDelta()
    {
        auto connection = openConnection();
        QString code;
        QString all = QStringLiteral("T");
        RecordList cdsMotivo(QStringLiteral("cdsMotivo"));
        ServerAnswer::LoadPacket(cdsMotivo, accepted(connection->Call(QStringLiteral("GetMotivo"),
                                                                      {TNetArg::textRef(code), TNetArg::textRef(all)})));
        QuoteListing filter;
        RecordList cdsOrcamento(QStringLiteral("cdsOrcamento"));
        ServerAnswer::LoadPacket(cdsOrcamento, accepted(connection->Call(QStringLiteral("GetOrcamento"), TNetArg::listing(QStringLiteral("0001"), filter))));
        QVERIFY(!cdsOrcamento.isEmpty());
        const QString number = cdsOrcamento.fieldByName(QStringLiteral("NRORCAEVENTO")).asString();
        const QString sequence = cdsOrcamento.fieldByName(QStringLiteral("NRSEQORCAEVE")).asString();
        cdsOrcamento.edit();
        cdsOrcamento.fieldByName(QStringLiteral("IDSITUORCEVE")).setAsString(QuoteState::Cancelled);
        cdsOrcamento.fieldByName(QStringLiteral("CDJUSTEXCHIS")).setAsString(cdsMotivo.valueAt(0, 0).toString());
        cdsOrcamento.fieldByName(QStringLiteral("CDOPEJUSTORC")).setAsString(QStringLiteral("OPERADOR"));
        cdsOrcamento.post();
        const QJsonObject answer = connection->Call(QStringLiteral("SetOrcamento"), {TNetArg::deltaOf(cdsOrcamento)}).toObject();
        QVERIFY2(answer.value(QStringLiteral("ok")) == QJsonValue(true), qPrintable(answer.value(QStringLiteral("message")).toString()));

        QuoteListing cancelled;
        cancelled.states = QuoteState::Cancelled + QLatin1Char('_');
        RecordList after(QStringLiteral("cdsOrcamento"));
        ServerAnswer::LoadPacket(after, accepted(connection->Call(QStringLiteral("GetOrcamento"), TNetArg::listing(QStringLiteral("0001"), cancelled))));
        bool found = false;
        for (int row = 0; row < after.recordCount(); ++row) {
            after.moveTo(row);
            found = found || (after.fieldByName(QStringLiteral("NRORCAEVENTO")).asString() == number
                              && after.fieldByName(QStringLiteral("NRSEQORCAEVE")).asString() == sequence);
        }
        QVERIFY(found);
    }

    void wrongArgumentCountComesBackAsTheServersError()
    {
        auto connection = openConnection();
        try {
            connection->Call(QStringLiteral("GetMotivo"), {QStringLiteral("0001")});
            QFAIL("the server accepted a call with a missing argument");
        } catch (const std::runtime_error &error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QStringLiteral("O servidor de aplicação recusou a chamada GetMotivo: GetMotivo espera 2 argumento(s), recebeu 1."));
        }
        QVERIFY(connection->Connected());
    }
};

QTEST_GUILESS_MAIN(TestNetConnectionAppServer)
#include "tst_netconnection_appserver.moc"

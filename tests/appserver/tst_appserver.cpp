#include "AnswerStream.h"
#include "AppServerProcess.h"
#include "JsonLineClient.h"
#include "PostgresRows.h"
#include "QuotePacket.h"
#include "QuoteListing.h"
#include "QuoteReader.h"
#include "QuoteStates.h"
#include "Sql.h"
#include "TaxIds.h"
#include "TestBackend.h"
#include "WireCodec.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QLocale>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

namespace {

const QString moduleName = QStringLiteral("CXL04100.rdmCancelamento");
const QString databaseFailure = QStringLiteral("falha no banco de dados do servidor; o erro foi registrado no log do servidor");

const QStringList quoteFieldOrder{
    "IDCHECK", "NRORCAEVENTO", "NRSEQORCAEVE", "NMCLIEORCEVE", "NMFANTCLIE", "IDSITUORCEVE", "CDTPSERVEVEN", "NMTPSERVEVEN",
    "CDTIPOEVENTO", "NMTIPOEVENTO", "CDFILIAL", "QTCONVORCEVE", "DSPRECOBASE", "CDPRECOBASE", "CDVENDEDOR", "CDCLIENTE",
    "DSTITUORCEVE", "CDJUSTEXCHIS", "DTEVENTO", "DTVALIORCEVE", "DTINCLORCEVE", "CDOPEJUSTORC"};

// The listing of a freshly opened screen, and one of every state.
QJsonArray defaultFilter(const QString &branch)
{
    return QuoteListing().arguments(branch);
}

QuoteListing everyQuote()
{
    QuoteListing listing;
    listing.states.clear();
    listing.allStates = QuoteListing::all;
    return listing;
}

QJsonArray everyQuoteFilter(const QString &branch)
{
    return everyQuote().arguments(branch);
}

QByteArray requestLine(int id, const QString &method, const QJsonArray &params)
{
    const QJsonObject request{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}};
    return QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray listingRequest(int id, const QString &branch)
{
    return requestLine(id, "GetOrcamento", defaultFilter(branch));
}

QString base64(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

QJsonObject deltaOf(const QJsonArray &fields, const QJsonObject &change)
{
    return QJsonObject{{"fields", fields}, {"changes", QJsonArray{change}}};
}

int errorCode(const QJsonObject &answer)
{
    return answer.value("error").toObject().value("code").toInt();
}

} // namespace

#define START_SERVER(...)                                                                                  \
    QFETCH(QString, driver);                                                                               \
    TestBackend &backend = backendFor(driver);                                                             \
    if (!backend.prepare()) {                                                                              \
        if (!backend.skipReason().isEmpty()) {                                                             \
            QSKIP(qPrintable(backend.skipReason()));                                                       \
        }                                                                                                  \
        QFAIL(qPrintable(backend.error()));                                                                \
    }                                                                                                      \
    m_location = backend.freshDatabase();                                                                  \
    QVERIFY2(!m_location.isEmpty(), qPrintable(backend.error()));                                          \
    m_server = std::make_unique<AppServerProcess>();                                                       \
    QVERIFY2(m_server->start(m_location, QStringList{__VA_ARGS__}), qPrintable(m_server->error()));        \
    JsonLineClient client;                                                                                 \
    QVERIFY(client.openSession(m_server->port()))

class TestAppServer final : public QObject {
    Q_OBJECT

private:
    TestBackend &backendFor(const QString &driver)
    {
        auto &slot = m_backends[driver];
        if (!slot) {
            slot = std::make_shared<TestBackend>(driver);
        }
        return *slot;
    }

    // Two cancelled quotes of one branch's hall, moved to one day at two
    // hours, in a hall that takes one event a day with nothing booked then.
    struct HallOfOne {
        QString branch;
        QString hall;
        double day = 0;
        QList<QPair<QString, QString>> quotes; // number, sequence
        QStringList hours{"12:00", "19:00"};
    };
    bool hallOfOne(const QSqlDatabase &db, HallOfOne *setup)
    {
        QSqlQuery pick = Sql::run(db, "SELECT CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDSALAOEVEN, DTEVENTO FROM ORCAEVENTO "
                                      "WHERE IDSITUORCEVE IN ('8','9') AND IDSITUANTORC IN ('1','2') AND CDSALAOEVEN IS NOT NULL "
                                      "ORDER BY CDFILIAL, NRORCAEVENTO");
        if (!pick.next()) {
            return false;
        }
        setup->branch = pick.value(0).toString();
        setup->hall = pick.value(3).toString();
        setup->day = std::floor(pick.value(4).toDouble());
        setup->quotes = {{pick.value(1).toString(), pick.value(2).toString()}};
        while (pick.next() && pick.value(0).toString() != setup->branch) {
        }
        if (!pick.isValid() || pick.value(0).toString() != setup->branch) {
            return false;
        }
        setup->quotes.append({pick.value(1).toString(), pick.value(2).toString()});
        Sql::run(db, "DELETE FROM AGENDASALAO WHERE CDFILIAL = ? AND CDSALAOEVEN = ? AND DTEVENTO = ?", {setup->branch, setup->hall, setup->day});
        Sql::run(db, "UPDATE SALAOEVEN SET QTLIMAGENDIA = 1 WHERE CDFILIAL = ? AND CDSALAOEVEN = ?", {setup->branch, setup->hall});
        for (int i = 0; i < 2; ++i) {
            Sql::run(db, "UPDATE ORCAEVENTO SET CDSALAOEVEN = ?, DTEVENTO = ?, HREVENTO = ? WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?",
                     {setup->hall, setup->day + 0.5, setup->hours.at(i), setup->branch, setup->quotes.at(i).first, setup->quotes.at(i).second});
        }
        return true;
    }

    QSqlDatabase direct()
    {
        return backendFor(QTest::currentDataTag() ? QString::fromLatin1(QTest::currentDataTag()).section('/', 0, 0) : QString())
            .direct(m_location);
    }

    QString storedState(const QString &branch, const QString &number, const QString &sequence)
    {
        QSqlQuery query = Sql::run(direct(), "SELECT IDSITUORCEVE FROM ORCAEVENTO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?",
                                   {branch, number, sequence});
        return query.next() ? query.value(0).toString() : QString();
    }

    int scalar(const QString &statement, const QVariantList &values = {})
    {
        QSqlQuery query = Sql::run(direct(), statement, values);
        return query.next() ? query.value(0).toInt() : -1;
    }

    static void addDrivers()
    {
        QTest::addColumn<QString>("driver");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver)) << driver;
        }
    }

    // Quotes enough for a listing of several chunks, with the texts and
    // numbers a list carries: quotes, backslashes, control characters,
    // accents, four-byte letters, nulls, day counts with hours.
    void addLongQuotes(const QString &branch, int count)
    {
        QSqlDatabase db = direct();
        Sql::run(db, "BEGIN");
        QSqlQuery insert = Sql::prepare(db, "INSERT INTO ORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NMCLIEORCEVE, NMFANTCLIE, "
                                            "IDSITUORCEVE, NMTPSERVEVEN, QTCONVORCEVE, DSTITUORCEVE, DTEVENTO, DTVALIORCEVE, DTINCLORCEVE) "
                                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const QVariant noText(QMetaType::fromType<QString>());
        const QVariant noNumber(QMetaType::fromType<double>());
        for (int i = 0; i < count; ++i) {
            const QVariantList values{
                branch,
                QStringLiteral("9%1").arg(i, 9, 10, QLatin1Char('0')),
                "01",
                QStringLiteral("Cliente \"%1\" \\ São João").arg(i),
                i % 5 == 0 ? noText : QString::fromUtf8("Festa \xF0\x9F\x8E\x89 Conceição %1").arg(i),
                i % 2 == 0 ? QuoteState::Pending : QuoteState::Approved,
                QStringLiteral("linha\nnova\ttab\x01 %1").arg(i),
                i % 7 == 0 ? noNumber : i * 1.25 + 0.1,
                QString::fromUtf8("Título com acentuação: ação, pão, coração — € ≤ ≥ %1").arg(i),
                46000 + i / 24.0,
                46100.0 + i,
                i % 3 == 0 ? noNumber : 45000.5,
            };
            for (int v = 0; v < values.size(); ++v) {
                insert.bindValue(v, values.at(v));
            }
            Sql::exec(insert);
        }
        Sql::run(db, "COMMIT");
    }

    // Adds an operator to the database being served, as its administrator
    // would (the password typed twice).
    bool addOperator(const QString &code, const QString &password)
    {
        QProcess adding;
        adding.start(QStringLiteral(APPSERVER_EXECUTABLE), {"--db", m_location, "--add-operator", code});
        adding.write((password + "\n" + password + "\n").toUtf8());
        adding.closeWriteChannel();
        return adding.waitForFinished(30000) && adding.exitStatus() == QProcess::NormalExit && adding.exitCode() == 0;
    }

    QMap<QString, std::shared_ptr<TestBackend>> m_backends;
    std::unique_ptr<AppServerProcess> m_server;
    QString m_location;

private slots:
    void cleanup()
    {
        m_server.reset();
        for (const auto &backend : std::as_const(m_backends)) {
            backend->closeDirect();
        }
    }

    void cleanupTestCase() { m_backends.clear(); }

    void connectNamesTheModuleBeforeAnyCall_data() { addDrivers(); }
    void connectNamesTheModuleBeforeAnyCall()
    {
        START_SERVER();
        JsonLineClient fresh;
        QVERIFY(fresh.open(m_server->port()));
        QCOMPARE(errorCode(fresh.call("GetMotivo", {"0001", ""})), -32001);
        QCOMPARE(errorCode(fresh.call("connect", {"CXL04100.rdmOutro"})), -32002);
        QCOMPARE(errorCode(fresh.call("GetParamOrca", {})), -32001);
        const QJsonObject connected = fresh.call("connect", {moduleName});
        QVERIFY(connected.value("result").toObject().contains("value"));
        QCOMPARE(fresh.checked("GetParamOrca", {}).value("ok").toBool(), true);
    }

    void defaultListingGivesPendingAndApprovedOfOneBranchInOrder_data() { addDrivers(); }
    void defaultListingGivesPendingAndApprovedOfOneBranchInOrder()
    {
        START_SERVER();
        const QJsonObject result = client.call("GetOrcamento", defaultFilter("0003")).value("result").toObject();
        QVERIFY(result.value("value").toObject().value("ok").toBool());
        const Packet packet(result.value("value").toObject().value("data").toObject());
        QCOMPARE(packet.fields, quoteFieldOrder);
        QVERIFY(!packet.rows.isEmpty());
        QCOMPARE(packet.rows.size(), scalar("SELECT COUNT(*) FROM ORCAEVENTO WHERE CDFILIAL = '0003' AND IDSITUORCEVE IN ('1','2')"));
        QString previous;
        for (int i = 0; i < packet.rows.size(); ++i) {
            QCOMPARE(packet.text(i, "CDFILIAL"), QStringLiteral("0003"));
            QVERIFY(packet.text(i, "IDSITUORCEVE") == QuoteState::Pending || packet.text(i, "IDSITUORCEVE") == QuoteState::Approved);
            const QString key = packet.text(i, "NRORCAEVENTO") + packet.text(i, "NRSEQORCAEVE");
            QVERIFY2(key > previous, qPrintable(key));
            previous = key;
            QVERIFY(packet.at(i, "DTEVENTO").isDouble());
            QVERIFY(packet.at(i, "IDCHECK").isNull());
        }
        // Every by-reference argument comes back, keyed by its position.
        const QJsonObject refs = result.value("refs").toObject();
        QCOMPARE(refs.size(), 26);
        for (int i = 1; i <= 26; ++i) {
            QCOMPARE(refs.value(QString::number(i)), defaultFilter("0003").at(i));
        }
    }

    void listingCriteria_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QJsonArray>("filter");
        QTest::addColumn<QString>("predicate");
        for (const QString &driver : drivers()) {
            using Change = std::function<void(QuoteListing &)>;
            auto row = [&](const char *name, const Change &change, const QString &predicate) {
                QuoteListing filter = everyQuote();
                change(filter);
                QTest::newRow(qPrintable(driver + "/" + name)) << driver << filter.arguments("0002") << predicate;
            };
            auto states = [](const char *codes) { return [codes](QuoteListing &l) { l.states = codes, l.allStates = ""; }; };
            auto title = [](const char *text, const char *flag) { return [=](QuoteListing &l) { l.title = text, l.allTitles = flag; }; };
            row("states with leading underscore", states("_1_2_"), "state in 12");
            row("states without leading underscore", states("1_2_"), "state in 12");
            row("cancelled only", states("8_"), "state in 8");
            row("postponed and approved", states("2_9_"), "state in 29");
            row("number range inclusive", [](QuoteListing &l) { l.number = {"0000000003", "0000000005", ""}; }, "number 3..5");
            row("sellers list", [](QuoteListing &l) { l.seller = {"0001_0002_0003_0004_0005_0006_0007_0008_0009_0010", ""}; },
                "seller <= 0010");
            row("event types list", [](QuoteListing &l) { l.eventType = {"001_002", ""}; }, "event type in 001 002");
            row("service types list", [](QuoteListing &l) { l.serviceType = {"003_", ""}; }, "service type 003");
            row("title in lower case", title("DE ", ""), "title contains de");
            row("title flag T ignores the text", title("zzzz", "T"), "all");
            row("quote in title is only text", title("' OR '1'='1", ""), "none");
            row("percent sign is only text", title("%", ""), "none");
            row("new client name", [](QuoteListing &l) { l.newClient = "A", l.allNewClients = ""; }, "new client contains a");
            row("empty list with flag applied", [](QuoteListing &l) { l.client = {"", ""}; }, "none");
        }
    }
    void listingCriteria()
    {
        QFETCH(QJsonArray, filter);
        QFETCH(QString, predicate);
        START_SERVER();
        const Packet all = listQuotes(client, everyQuoteFilter("0002"));
        const Packet chosen = listQuotes(client, filter);
        const std::function<bool(const Packet &, int)> passes = [&](const Packet &p, int i) {
            if (predicate == "all") {
                return true;
            }
            if (predicate == "none") {
                return false;
            }
            if (predicate.startsWith("state in ")) {
                return predicate.mid(9).contains(p.text(i, "IDSITUORCEVE"));
            }
            if (predicate == "number 3..5") {
                return p.text(i, "NRORCAEVENTO") >= "0000000003" && p.text(i, "NRORCAEVENTO") <= "0000000005";
            }
            if (predicate == "seller <= 0010") {
                return p.text(i, "CDVENDEDOR") <= "0010";
            }
            if (predicate == "event type in 001 002") {
                return p.text(i, "CDTIPOEVENTO") == "001" || p.text(i, "CDTIPOEVENTO") == "002";
            }
            if (predicate == "service type 003") {
                return p.text(i, "CDTPSERVEVEN") == "003";
            }
            if (predicate == "title contains de") {
                return p.text(i, "DSTITUORCEVE").contains("de ", Qt::CaseInsensitive);
            }
            return p.text(i, "NMCLIEORCEVE").contains("a", Qt::CaseInsensitive);
        };
        int expected = 0;
        for (int i = 0; i < all.rows.size(); ++i) {
            expected += passes(all, i) ? 1 : 0;
        }
        for (int i = 0; i < chosen.rows.size(); ++i) {
            QVERIFY2(passes(chosen, i), qPrintable(chosen.text(i, "NRORCAEVENTO")));
        }
        QCOMPARE(chosen.rows.size(), expected);
        if (predicate != "none") {
            QVERIFY(expected > 0);
        }
    }

    void accentedTextMatchesWhateverItsCase_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("column");

        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        for (const QString &driver : drivers()) {
            auto row = [&](const char *name, const char *column, const char *typed, bool found) {
                QTest::newRow(qPrintable(driver + "/" + name)) << driver << column << typed << found;
            };
            row("title in lower case", "DSTITUORCEVE", "são", true);
            row("title as stored", "DSTITUORCEVE", "São Paulo", true);
            row("new client in upper case", "NMCLIEORCEVE", "CONCEIÇÃO", true);
            row("new client mixed", "NMCLIEORCEVE", "joão da conceição", true);
            row("accents still count", "NMCLIEORCEVE", "CONCEICAO", false);
        }
    }
    void accentedTextMatchesWhateverItsCase()
    {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(bool, found);
        START_SERVER();
        const QString stored = column == "DSTITUORCEVE" ? "Casamento em São Paulo" : "João da Conceição";
        Sql::run(direct(), QStringLiteral("UPDATE ORCAEVENTO SET %1 = ? WHERE CDFILIAL = '0002' AND NRORCAEVENTO = "
                                          "(SELECT MIN(NRORCAEVENTO) FROM ORCAEVENTO WHERE CDFILIAL = '0002')").arg(column),
                 {stored});
        QuoteListing filter = everyQuote();
        if (column == "DSTITUORCEVE") {
            filter.title = typed, filter.allTitles = "";
        } else {
            filter.newClient = typed, filter.allNewClients = "";
        }
        const Packet chosen = listQuotes(client, filter.arguments("0002"));
        bool storedFound = false;
        for (int i = 0; i < chosen.rows.size(); ++i) {
            QVERIFY(chosen.text(i, column).toUpper().contains(typed.toUpper()));
            storedFound = storedFound || chosen.text(i, column) == stored;
        }
        QCOMPARE(storedFound, found);
    }

    void dateRangesCoverWholeDays_data() { addDrivers(); }
    void dateRangesCoverWholeDays()
    {
        START_SERVER();
        const Packet all = listQuotes(client, everyQuoteFilter("0001"));
        QVERIFY(!all.rows.isEmpty());
        const double eventAt = all.at(0, "DTEVENTO").toDouble();
        QVERIFY(eventAt != std::floor(eventAt)); // the event has an hour
        QuoteListing filter = everyQuote();
        filter.eventDate = {std::floor(eventAt), std::floor(eventAt), ""};
        const Packet sameDay = listQuotes(client, filter.arguments("0001"));
        QVERIFY(sameDay.find(all.text(0, "NRORCAEVENTO"), all.text(0, "NRSEQORCAEVE")) >= 0);
        for (int i = 0; i < sameDay.rows.size(); ++i) {
            QCOMPARE(std::floor(sameDay.at(i, "DTEVENTO").toDouble()), std::floor(eventAt));
        }
        const double createdAt = all.at(0, "DTINCLORCEVE").toDouble();
        filter = everyQuote();
        filter.quoteDate = {std::floor(createdAt) - 1, std::floor(createdAt) - 1, ""};
        QCOMPARE(listQuotes(client, filter.arguments("0001")).find(all.text(0, "NRORCAEVENTO"), all.text(0, "NRSEQORCAEVE")), -1);
    }

    void aListingIsTheLineQtWouldWrite_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("branch");
        QTest::addColumn<QJsonArray>("filter");
        QTest::addColumn<int>("minRows");
        QTest::addColumn<int>("maxRows");
        QTest::addColumn<int>("longQuotes");
        for (const QString &driver : drivers()) {
            using Change = std::function<void(QuoteListing &)>;
            auto row = [&](const char *name, const QString &branch, int minRows, int maxRows, const Change &change, int longQuotes = 1500) {
                QuoteListing listing = everyQuote();
                change(listing);
                QTest::newRow(qPrintable(driver + "/" + name)) << driver << branch << listing.toJson() << minRows << maxRows << longQuotes;
            };
            // PostgreSQL's rows come in batches, several to a query: a list
            // that ends on either edge, or one row past it.
            auto firstLongQuotes = [](int rows) {
                return Change([rows](QuoteListing &l) { l.number = {"9000000000", QStringLiteral("9%1").arg(rows - 1, 9, 10, QLatin1Char('0')), ""}; });
            };
            const int batch = PostgresRows::batchRows, query = PostgresRows::batchRows * PostgresRows::fetchesPerQuery;
            row("one batch exactly", "0007", batch, batch, firstLongQuotes(batch), batch + 1);
            row("one query's batches exactly", "0007", query, query, firstLongQuotes(query), query + 1);
            row("one row past a query's batches", "0007", query + 1, query + 1, firstLongQuotes(query + 1), query + 1);
            QStringList codes;
            for (int seller = 1; seller <= 40; ++seller) {
                codes << QStringLiteral("%1").arg(seller, 4, 10, QLatin1Char('0'));
            }
            const QString sellers = codes.join('_');
            row("several chunks", "0007", 751, 3000, [](QuoteListing &l) { l = QuoteListing(); });
            row("every criterion", "0002", 1, 200, [=](QuoteListing &l) {
                l.number = {"0000000001", "0000000150", ""};
                l.quoteDate = {1, 80000, ""}, l.validity = {1, 80000, ""}, l.eventDate = {1, 80000, ""};
                l.seller = {sellers, ""}, l.eventType = {"001_002_003_004_005_006_007_008_009", ""};
                l.serviceType = {"001_002_003_004_005_006_007_008_009", ""};
                l.states = "1_2_8_9_", l.allStates = "", l.title = "a", l.allTitles = "", l.newClient = "A", l.allNewClients = "";
            });
            row("empty result", "0007", 0, 0, [](QuoteListing &l) { l.title = "zzzz", l.allTitles = ""; });
            row("one row", "0007", 1, 1, [](QuoteListing &l) { l.number = {"9000000003", "9000000003", ""}; });
            row("long code list", "0002", 1, 200, [=](QuoteListing &l) {
                l.seller = {sellers + QStringLiteral("_X123").repeated(20000), ""};
            });
            row("accents folded", "0007", 1500, 1500, [](QuoteListing &l) { l.title = "AÇÃO, PÃO", l.allTitles = ""; });
        }
    }
    void aListingIsTheLineQtWouldWrite()
    {
        QFETCH(QString, branch);
        QFETCH(QJsonArray, filter);
        QFETCH(int, minRows);
        QFETCH(int, maxRows);
        QFETCH(int, longQuotes);
        START_SERVER();
        addLongQuotes("0007", longQuotes);
        const QuoteListing listing = QuoteListing::fromJson(filter, 0);
        const DataPacket stored = QuoteReader(direct()).quotes(branch, listing);
        QVERIFY2(stored.rows.size() >= minRows && stored.rows.size() <= maxRows, qPrintable(QString::number(stored.rows.size())));
        QJsonObject refs;
        for (int i = 0; i < filter.size(); ++i) {
            refs.insert(QString::number(i + 1), filter.at(i));
        }
        const QJsonObject expected{{"jsonrpc", "2.0"},
                                   {"id", 41},
                                   {"result", QJsonObject{{"refs", refs},
                                                          {"value", QJsonObject{{"ok", true}, {"data", WireCodec::encodePacket(stored)}}}}}};
        client.sendRaw(requestLine(41, "GetOrcamento", listing.arguments(branch)));
        QCOMPARE(client.readLine(), QJsonDocument(expected).toJson(QJsonDocument::Compact));
        QTRY_VERIFY(m_server->log().contains(QRegularExpression(QStringLiteral(" GetOrcamento \\d+ ms ok, %1 orçamento").arg(stored.rows.size()))));
    }

    void aListingThatFailsEndsItsAnswerOrTheConnection_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<bool>("atTheFirstRow");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver + "/at the first row")) << driver << true;
            QTest::newRow(qPrintable(driver + "/after a chunk left")) << driver << false;
        }
    }
    void aListingThatFailsEndsItsAnswerOrTheConnection()
    {
        QFETCH(bool, atTheFirstRow);
        if (!QString::fromLatin1(QTest::currentDataTag()).startsWith("sqlite")) {
            QSKIP("the failing row is made with a SQLite view");
        }
        START_SERVER();
        addLongQuotes("0007", 1500);
        const Packet listed = listQuotes(client, defaultFilter("0007"));
        const QString failing = listed.text(atTheFirstRow ? 0 : int(listed.rows.size()) - 1, "NRORCAEVENTO");
        // SQLite cannot compute that row's title: abs() of the smallest
        // integer overflows.
        Sql::run(direct(), "ALTER TABLE ORCAEVENTO RENAME TO ORCAEVENTO_LINHAS");
        Sql::run(direct(), QStringLiteral("CREATE VIEW ORCAEVENTO AS SELECT CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NMCLIEORCEVE, "
                                          "NMFANTCLIE, IDSITUORCEVE, CDTPSERVEVEN, NMTPSERVEVEN, CDTIPOEVENTO, NMTIPOEVENTO, QTCONVORCEVE, "
                                          "DSPRECOBASE, CDPRECOBASE, CDVENDEDOR, CDCLIENTE, CASE WHEN NRORCAEVENTO = '%1' "
                                          "THEN abs(9 - length(NRORCAEVENTO) - 9223372036854775807) ELSE DSTITUORCEVE END AS DSTITUORCEVE, "
                                          "CDJUSTEXCHIS, DTEVENTO, DTVALIORCEVE, DTINCLORCEVE, CDOPEJUSTORC FROM ORCAEVENTO_LINHAS")
                               .arg(failing));
        client.sendRaw(listingRequest(42, "0007"));
        if (atTheFirstRow) {
            // Nothing had left: the usual error, and the connection goes on.
            // What failed goes to the server's log, never to the client.
            const QJsonObject answer = client.readAnswer();
            QCOMPARE(errorCode(answer), -32000);
            QCOMPARE(answer.value("error").toObject().value("message").toString(), databaseFailure);
            QCOMPARE(answer.value("id").toInt(), 42);
            QTRY_VERIFY(m_server->log().contains(QRegularExpression(" GetOrcamento \\d+ ms erro -32000: integer overflow \\[SELECT ")));
            QVERIFY(client.checked("GetMotivo", {"0001", ""}).value("ok").toBool());
            return;
        }
        // Part of the line had left: no end of it, no second answer on it.
        QVERIFY(client.readLine().isEmpty());
        QTRY_VERIFY(!client.isConnected());
        QVERIFY(client.unread().startsWith(R"({"id":42,"jsonrpc":"2.0","result":{"refs":{)"));
        QVERIFY(client.unread().size() >= AnswerStream::chunkBytes);
        QVERIFY(!client.unread().contains('\n'));
        QTRY_VERIFY(m_server->log().contains(QRegularExpression(" GetOrcamento \\d+ ms erro -32000 depois de enviada parte da resposta")));
    }

    void aListingPastTheStatementTimeoutEndsItsPacketMidStream_data() { addDrivers(); }
    void aListingPastTheStatementTimeoutEndsItsPacketMidStream()
    {
        if (!QString::fromLatin1(QTest::currentDataTag()).startsWith("postgres")) {
            QSKIP("the slow last row is made with PostgreSQL's pg_sleep");
        }
        START_SERVER("--statement-timeout", "1");
        // More rows than a batch, so that some leave before the last one.
        addLongQuotes("0007", PostgresRows::batchRows);
        const Packet listed = listQuotes(client, defaultFilter("0007"));
        // Rows leave in order while the last one waits past the timeout: the
        // view's own order spares the listing its sort, so the pause comes
        // after the fetches before it have been sent.
        Sql::run(direct(), "ALTER TABLE ORCAEVENTO RENAME TO ORCAEVENTO_LINHAS");
        Sql::run(direct(), "CREATE FUNCTION DEVAGAR(T VARCHAR, PAUSA BOOLEAN) RETURNS VARCHAR LANGUAGE sql VOLATILE AS "
                           "$$ SELECT pg_sleep(CASE WHEN PAUSA THEN 5 ELSE 0 END); SELECT T $$");
        Sql::run(direct(), QStringLiteral("CREATE VIEW ORCAEVENTO AS SELECT CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NMCLIEORCEVE, "
                                          "NMFANTCLIE, IDSITUORCEVE, CDTPSERVEVEN, NMTPSERVEVEN, CDTIPOEVENTO, NMTIPOEVENTO, QTCONVORCEVE, "
                                          "DSPRECOBASE, CDPRECOBASE, CDVENDEDOR, CDCLIENTE, DEVAGAR(DSTITUORCEVE, NRORCAEVENTO = '%1') "
                                          "AS DSTITUORCEVE, CDJUSTEXCHIS, DTEVENTO, DTVALIORCEVE, DTINCLORCEVE, CDOPEJUSTORC FROM ORCAEVENTO_LINHAS "
                                          "ORDER BY CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE")
                               .arg(listed.text(int(listed.rows.size()) - 1, "NRORCAEVENTO")));
        const QJsonObject value = client.checked("GetOrcamento", defaultFilter("0007"));
        QCOMPARE(value.value("ok").toBool(), false);
        QVERIFY(value.value("message").toString().contains("passou do limite de 1 s"));
        const Packet sent(value.value("data").toObject());
        QVERIFY(!sent.rows.isEmpty() && sent.rows.size() < listed.rows.size());
        const int last = int(sent.rows.size()) - 1;
        QCOMPARE(sent.text(last, "NRORCAEVENTO"), listed.text(last, "NRORCAEVENTO"));
        QVERIFY(client.checked("GetMotivo", {"0001", ""}).value("ok").toBool());
    }

    void itemsAndJustificationOfOneQuote_data() { addDrivers(); }
    void itemsAndJustificationOfOneQuote()
    {
        START_SERVER();
        QSqlQuery noted = Sql::run(direct(), "SELECT CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, TXOBSJUSTORC FROM OBSJUSTORCA ORDER BY 1, 2, 3");
        QVERIFY(noted.next());
        const QJsonArray key{noted.value(0).toString(), noted.value(1).toString(), noted.value(2).toString()};
        const QJsonObject answer = client.checked("GetItemOrc", key);
        QVERIFY(answer.value("ok").toBool());
        const QJsonArray pair = answer.value("data").toArray();
        QCOMPARE(pair.size(), 2);
        const Packet items(pair.at(0).toObject());
        QCOMPARE(items.fields, (QStringList{"CDFILIAL", "NRORCAEVENTO", "NRITEMORCEVE", "CDPRODUTO", "IDITOREVPROD", "NROPCAITOREV",
                                            "CDGRTOTAPROD", "CDARVPROD", "NMPRODUTO", "QTITEMORCEVE", "SGUNIDADE", "VRITEMORCEVE",
                                            "VRACREITOREV", "VRDESCITOREV"}));
        QCOMPARE(items.rows.size(), scalar("SELECT COUNT(*) FROM ITEMORCAEVEN WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?",
                                           {key[0].toString(), key[1].toString(), key[2].toString()}));
        QVERIFY(!items.text(0, "NMPRODUTO").isEmpty());
        const Packet note(pair.at(1).toObject());
        QCOMPARE(note.fields, (QStringList{"TXOBSJUSTORC", "CDFILIAL", "NRORCAEVENTO", "NRSEQORCAEVE", "DTHRHISTORCA", "CDOPERADOR"}));
        QCOMPARE(note.rows.size(), 1);
        QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(note.text(0, "TXOBSJUSTORC").toLatin1())), noted.value(3).toString());

        const QJsonArray nothing = client.checked("GetItemOrc", {"", "", ""}).value("data").toArray();
        QCOMPARE(Packet(nothing.at(0).toObject()).rows.size(), 0);
        QCOMPARE(Packet(nothing.at(1).toObject()).rows.size(), 0);
    }

    void reasonsOneOrAll_data() { addDrivers(); }
    void reasonsOneOrAll()
    {
        START_SERVER();
        const Packet one(client.checked("GetMotivo", {"0003", ""}).value("data").toObject());
        QCOMPARE(one.fields, (QStringList{"CDJUSTEXCHIS", "DSJUSTEXCHIS"}));
        QCOMPARE(one.rows.size(), 1);
        QCOMPARE(one.text(0, "CDJUSTEXCHIS"), QStringLiteral("0003"));
        const Packet all(client.checked("GetMotivo", {"", "T"}).value("data").toObject());
        QCOMPARE(all.rows.size(), 10);
        for (int i = 1; i < all.rows.size(); ++i) {
            QVERIFY(all.text(i - 1, "CDJUSTEXCHIS") < all.text(i, "CDJUSTEXCHIS"));
        }
        QCOMPARE(Packet(client.checked("GetMotivo", {"9999", ""}).value("data").toObject()).rows.size(), 0);
        const Packet parameters(client.checked("GetParamOrca", {}).value("data").toObject());
        QCOMPARE(parameters.fields, QStringList{"IDORIGPRUNITORE"});
        QCOMPARE(parameters.rows.size(), 1);
    }

    void cancellingStoresStateReasonAndHistory_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("newState");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver + "/cancel")) << driver << QuoteState::Cancelled;
            QTest::newRow(qPrintable(driver + "/postpone")) << driver << QuoteState::Postponed;
        }
    }
    void cancellingStoresStateReasonAndHistory()
    {
        QFETCH(QString, newState);
        START_SERVER();
        const Packet before = listQuotes(client, defaultFilter("0001"));
        const QString number = before.text(0, "NRORCAEVENTO");
        const QString sequence = before.text(0, "NRSEQORCAEVE");
        const QString oldState = before.text(0, "IDSITUORCEVE");
        const QJsonObject answer = client.checked("SetOrcamento", {updateDelta(before, 0, cancellation(newState, "0002", "MSOUZA"))});
        QVERIFY2(answer.value("ok").toBool(), qPrintable(answer.value("message").toString()));

        QuoteListing closedFilter = everyQuote();
        closedFilter.number = {number, number, ""};
        const Packet after = listQuotes(client, closedFilter.arguments("0001"));
        const int row = after.find(number, sequence);
        QVERIFY(row >= 0);
        QCOMPARE(after.text(row, "IDSITUORCEVE"), newState);
        QCOMPARE(after.text(row, "CDJUSTEXCHIS"), QStringLiteral("0002"));
        QCOMPARE(after.text(row, "CDOPEJUSTORC"), QStringLiteral("MSOUZA"));
        QCOMPARE(client.call("getSituAnterior", {number, "0001", sequence}).value("result").toObject().value("value").toString(), oldState);
        QCOMPARE(scalar("SELECT COUNT(*) FROM HISTSITUORCA WHERE CDFILIAL = '0001' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? "
                        "AND IDSITUANTORC = ? AND IDSITUORCEVE = ? AND CDOPERADOR = 'MSOUZA'", {number, sequence, oldState, newState}), 1);
    }

    void changesTheScreenDoesNotMakeAreRefused_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("change");
        for (const QString &driver : drivers()) {
            for (const char *change : {"unknown reason", "no operator", "pending to approved", "title", "insert", "delete", "unknown field"}) {
                QTest::newRow(qPrintable(driver + "/" + change)) << driver << QString::fromLatin1(change);
            }
        }
    }
    void changesTheScreenDoesNotMakeAreRefused()
    {
        QFETCH(QString, change);
        START_SERVER();
        const Packet before = listQuotes(client, defaultFilter("0004"));
        const QString number = before.text(0, "NRORCAEVENTO");
        const QString sequence = before.text(0, "NRSEQORCAEVE");
        const QString oldState = before.text(0, "IDSITUORCEVE");
        QJsonObject delta;
        if (change == "unknown reason") {
            delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0999", "MSOUZA"));
        } else if (change == "no operator") {
            delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", ""));
        } else if (change == "pending to approved") {
            delta = updateDelta(before, 0, cancellation(oldState == QuoteState::Pending ? QuoteState::Approved : QuoteState::Pending, "0001", "MSOUZA"));
        } else if (change == "title") {
            auto changes = cancellation(QuoteState::Cancelled, "0001", "MSOUZA");
            changes.insert("DSTITUORCEVE", "Outro título");
            delta = updateDelta(before, 0, changes);
        } else if (change == "insert" || change == "delete") {
            delta = QJsonObject{{"fields", before.fieldDefs},
                                {"changes", QJsonArray{QJsonObject{{"op", change}, {change == "insert" ? "new" : "old", before.rows.at(0)}}}}};
        } else {
            QJsonArray fields = before.fieldDefs;
            fields[3] = QJsonObject{{"name", "VRTOTAL"}, {"type", "text"}, {"size", 50}};
            delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"));
            delta["fields"] = fields;
        }
        const QJsonObject answer = client.checked("SetOrcamento", {delta});
        QCOMPARE(answer.value("ok").toBool(), false);
        QVERIFY(!answer.value("message").toString().isEmpty());
        QCOMPARE(storedState("0004", number, sequence), oldState);
    }

    void twoOperatorsChangingOneQuoteOneWins_data() { addDrivers(); }
    void twoOperatorsChangingOneQuoteOneWins()
    {
        START_SERVER();
        JsonLineClient other;
        QVERIFY(other.openSession(m_server->port()));
        const Packet seenByFirst = listQuotes(client, defaultFilter("0005"));
        const Packet seenBySecond = listQuotes(other, defaultFilter("0005"));
        const QString number = seenByFirst.text(0, "NRORCAEVENTO");
        const QString sequence = seenByFirst.text(0, "NRSEQORCAEVE");
        QVERIFY(client.checked("SetOrcamento", {updateDelta(seenByFirst, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"))}).value("ok").toBool());
        const QJsonObject late = other.checked("SetOrcamento", {updateDelta(seenBySecond, 0, cancellation(QuoteState::Postponed, "0006", "JSILVA"))});
        QCOMPARE(late.value("ok").toBool(), false);
        QVERIFY2(late.value("message").toString().contains(number), qPrintable(late.value("message").toString()));
        QCOMPARE(storedState("0005", number, sequence), QuoteState::Cancelled);
        QCOMPARE(scalar("SELECT COUNT(*) FROM HISTSITUORCA WHERE CDFILIAL = '0005' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?", {number, sequence}), 1);
        QCOMPARE(scalar("SELECT COUNT(*) FROM ORCAEVENTO WHERE CDFILIAL = '0005' AND NRORCAEVENTO = ? AND CDOPEJUSTORC = 'MSOUZA'", {number}), 1);
    }

    void aRefusedRowUndoesTheWholeDelta_data() { addDrivers(); }
    void aRefusedRowUndoesTheWholeDelta()
    {
        START_SERVER();
        const Packet before = listQuotes(client, defaultFilter("0006"));
        QVERIFY(before.rows.size() >= 2);
        QJsonObject delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"));
        QJsonArray changes = delta.value("changes").toArray();
        changes.append(updateDelta(before, 1, cancellation(QuoteState::Cancelled, "0888", "MSOUZA")).value("changes").toArray().at(0));
        delta["changes"] = changes;
        QCOMPARE(client.checked("SetOrcamento", {delta}).value("ok").toBool(), false);
        QCOMPARE(storedState("0006", before.text(0, "NRORCAEVENTO"), before.text(0, "NRSEQORCAEVE")), before.text(0, "IDSITUORCEVE"));
    }

    void writesBreakingTheServersLayoutAreRefused_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("write");
        QTest::addColumn<QString>("refusal");
        for (const QString &driver : drivers()) {
            auto row = [&](const char *write, const char *refusal) {
                QTest::newRow(qPrintable(driver + "/" + write)) << driver << QString::fromLatin1(write) << QString::fromUtf8(refusal);
            };
            row("operator of 100,000 characters", "O campo CDOPEJUSTORC aceita no máximo 12 caracteres; o valor enviado tem 100000.");
            row("NUL in the reason", "O campo CDJUSTEXCHIS contém um caractere nulo.");
            row("control character in the operator", "O campo CDOPEJUSTORC contém caracteres de controle.");
            row("branch code too long", "O campo CDFILIAL aceita no máximo 4 caracteres");
            row("text sent for a date", "O campo DTEVENTO de orçamento é data e hora, não texto.");
            row("more changes than a call takes", "O pacote tem 1001 alterações; o servidor aceita no máximo 1000 por chamada.");
            row("justification dated with a text", "O campo DTHRHISTORCA de justificativa é data e hora, não texto.");
            row("justification with a NUL", "O campo TXOBSJUSTORC contém um caractere nulo.");
            row("justification operator too long", "O campo CDOPERADOR aceita no máximo 10 caracteres");
        }
    }
    void writesBreakingTheServersLayoutAreRefused()
    {
        QFETCH(QString, write);
        QFETCH(QString, refusal);
        START_SERVER();
        const Packet before = listQuotes(client, defaultFilter("0004"));
        const QString number = before.text(0, "NRORCAEVENTO");
        const QString sequence = before.text(0, "NRSEQORCAEVE");
        QJsonObject delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"));
        QString method = "SetOrcamento";
        QString stateAfter = before.text(0, "IDSITUORCEVE");
        const auto setValue = [&delta](int field, const QJsonValue &value) {
            QJsonArray changes = delta.value("changes").toArray();
            QJsonObject change = changes.at(0).toObject();
            for (const char *side : {"old", "new"}) {
                QJsonArray row = change.value(side).toArray();
                row[field] = value;
                change[side] = row;
            }
            changes[0] = change;
            delta["changes"] = changes;
        };
        if (write.startsWith("justification")) {
            QVERIFY(client.checked("SetOrcamento", {delta}).value("ok").toBool());
            stateAfter = QuoteState::Cancelled;
            method = "SetObs";
            QJsonArray fields = client.checked("GetItemOrc", {"0004", number, sequence}).value("data").toArray().at(1).toObject().value("fields").toArray();
            QJsonArray note{base64("Cliente desistiu."), "0004", number, sequence, 46300.0, "MSOUZA"};
            if (write.contains("dated")) {
                fields[4] = QJsonObject{{"name", "DTHRHISTORCA"}, {"type", "text"}, {"size", 10}};
                note[4] = "ontem";
            } else if (write.contains("NUL")) {
                note[0] = base64(QByteArray("linha\0fim", 9));
            } else {
                note[5] = "OPERADOR123";
            }
            delta = deltaOf(fields, QJsonObject{{"op", "insert"}, {"new", note}});
        } else if (write.startsWith("operator")) {
            delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", QString(100000, 'M')));
        } else if (write.contains("NUL")) {
            delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, QStringLiteral("00") + QChar::Null + "1", "MSOUZA"));
        } else if (write.startsWith("control")) {
            delta = updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", "MS\u001bOUZA"));
        } else if (write.startsWith("branch")) {
            setValue(quoteFieldOrder.indexOf("CDFILIAL"), "00040");
        } else if (write.startsWith("text")) {
            QJsonArray fields = delta.value("fields").toArray();
            fields[quoteFieldOrder.indexOf("DTEVENTO")] = QJsonObject{{"name", "DTEVENTO"}, {"type", "text"}, {"size", 10}};
            delta["fields"] = fields;
            setValue(quoteFieldOrder.indexOf("DTEVENTO"), "amanhã");
        } else {
            QJsonArray changes = delta.value("changes").toArray();
            while (changes.size() <= 1000) {
                changes.append(changes.at(0));
            }
            delta["changes"] = changes;
        }
        const QJsonObject answer = client.checked(method, {delta});
        QCOMPARE(answer.value("ok").toBool(), false);
        QVERIFY2(answer.value("message").toString().startsWith(refusal), qPrintable(answer.value("message").toString()));
        QCOMPARE(storedState("0004", number, sequence), stateAfter);
        QCOMPARE(scalar("SELECT COUNT(*) FROM OBSJUSTORCA WHERE CDFILIAL = '0004' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?",
                        {number, sequence}), 0);
        QCOMPARE(scalar("SELECT COUNT(*) FROM HISTSITUORCA WHERE CDFILIAL = '0004' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?",
                        {number, sequence}), stateAfter == QuoteState::Cancelled ? 1 : 0);
    }

    void aJustificationIsDeletedOnlyAsItWasSeen_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("deletion");
        QTest::addColumn<bool>("accepted");
        for (const QString &driver : drivers()) {
            auto row = [&](const char *deletion, bool accepted) {
                QTest::newRow(qPrintable(driver + "/" + deletion)) << driver << QString::fromLatin1(deletion) << accepted;
            };
            row("with every original value", true);
            row("with its keys only", false);
            row("with a text changed since", false);
            row("of a quote re-enabled since", false);
        }
    }
    void aJustificationIsDeletedOnlyAsItWasSeen()
    {
        QFETCH(QString, deletion);
        QFETCH(bool, accepted);
        START_SERVER();
        const Packet quotes = listQuotes(client, defaultFilter("0007"));
        const QString number = quotes.text(0, "NRORCAEVENTO");
        const QString sequence = quotes.text(0, "NRSEQORCAEVE");
        QVERIFY(client.checked("SetOrcamento", {updateDelta(quotes, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"))}).value("ok").toBool());
        const QJsonArray fields = client.checked("GetItemOrc", {"0007", number, sequence}).value("data").toArray().at(1).toObject().value("fields").toArray();
        const QJsonArray note{base64("Evento transferido."), "0007", number, sequence, 46300.0, "MSOUZA"};
        QVERIFY(client.checked("SetObs", {deltaOf(fields, QJsonObject{{"op", "insert"}, {"new", note}})}).value("ok").toBool());
        const Packet stored(client.checked("GetItemOrc", {"0007", number, sequence}).value("data").toArray().at(1).toObject());
        QJsonArray deletedFields = stored.fieldDefs;
        QJsonArray original = stored.rows.at(0);
        if (deletion.contains("keys")) {
            deletedFields = QJsonArray{fields.at(1), fields.at(2), fields.at(3)};
            original = QJsonArray{"0007", number, sequence};
        } else if (deletion.contains("changed")) {
            original[0] = base64("Outro texto.");
        } else if (deletion.contains("re-enabled")) {
            Sql::run(direct(), "UPDATE ORCAEVENTO SET IDSITUORCEVE = '1' WHERE CDFILIAL = '0007' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?",
                     {number, sequence});
        }
        const QJsonObject answer = client.checked("SetObs", {deltaOf(deletedFields, QJsonObject{{"op", "delete"}, {"old", original}})});
        QVERIFY2(answer.value("ok").toBool() == accepted, qPrintable(answer.value("message").toString()));
        if (!accepted) {
            QVERIFY2(answer.value("message").toString().contains(number), qPrintable(answer.value("message").toString()));
        }
        QCOMPARE(scalar("SELECT COUNT(*) FROM OBSJUSTORCA WHERE CDFILIAL = '0007' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?",
                        {number, sequence}), accepted ? 0 : 1);
        QCOMPARE(scalar("SELECT COUNT(*) FROM HISTOBSJUSTORCA WHERE CDFILIAL = '0007' AND NRORCAEVENTO = ? AND TXOBSJUSTORC = 'Evento transferido.'",
                        {number}), accepted ? 1 : 0);
    }

    void longCodeListsAreMatchedOrRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<int>("codes");
        QTest::addColumn<bool>("accepted");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver + "/100,000 codes")) << driver << 100000 << true;
            QTest::newRow(qPrintable(driver + "/100,001 codes")) << driver << 100001 << false;
            QTest::newRow(qPrintable(driver + "/ten megabytes of codes")) << driver << 1100000 << false;
        }
    }
    void longCodeListsAreMatchedOrRefusedAtOnce()
    {
        QFETCH(int, codes);
        QFETCH(bool, accepted);
        START_SERVER("--max-line", "16777216");
        // The branch's own clients among codes no quote has.
        const Packet all = listQuotes(client, defaultFilter("0002"));
        QStringList clients;
        int listed = 0;
        for (int i = 0; i < all.rows.size(); ++i) {
            if (!all.text(i, "CDCLIENTE").isEmpty()) {
                clients << all.text(i, "CDCLIENTE");
                ++listed;
            }
        }
        clients.removeDuplicates();
        QString joined = clients.join('_');
        joined += QStringLiteral("_X1234567").repeated(codes - clients.size());
        QuoteListing filter;
        filter.client = {joined, ""};
        QElapsedTimer timer;
        timer.start();
        const QJsonObject answer = client.checked("GetOrcamento", filter.arguments("0002"));
        const qint64 elapsed = timer.elapsed();
        if (accepted) {
            QVERIFY2(answer.value("ok").toBool(), qPrintable(answer.value("message").toString()));
            const Packet chosen(answer.value("data").toObject());
            QCOMPARE(chosen.rows.size(), listed);
        } else {
            QCOMPARE(answer.value("ok").toBool(), false);
            QCOMPARE(answer.value("message").toString(), QStringLiteral("A lista de Cliente do filtro tem %1 códigos; o limite é 100.000 por lista.")
                                                             .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(codes)));
        }
        // Linear: a second or so even for the debug build on a busy machine.
        QVERIFY2(elapsed < 5000, qPrintable(QString::number(elapsed)));
    }

    void writesRecordTheOperatorTheConnectionProved_data() { addDrivers(); }
    void writesRecordTheOperatorTheConnectionProved()
    {
        START_SERVER();
        const QString tooLong = QStringLiteral("O código de operador tem 11 caracteres; o servidor registra códigos de no máximo 10.");
        QCOMPARE(client.checked("SetOrcamento", {updateDelta(listQuotes(client, defaultFilter("0006")), 0, cancellation(QuoteState::Cancelled, "0001", "MARIA.SOUZA"))}).value("message").toString(), tooLong);
        QVERIFY(addOperator("MARIA", "segredo-da-maria"));
        QVERIFY(!addOperator("MARIA.SOUZA", "segredo-da-maria"));
        JsonLineClient longCode;
        QVERIFY(longCode.open(m_server->port()));
        QCOMPARE(longCode.call("connect", {moduleName, QJsonObject{{"operator", "MARIA.SOUZA"}, {"password", "segredo-da-maria"}}}).value("error").toObject().value("message").toString(), tooLong);
        JsonLineClient maria;
        QVERIFY(maria.open(m_server->port()));
        QVERIFY(maria.call("connect", {moduleName, QJsonObject{{"operator", "MARIA"}, {"password", "segredo-da-maria"}}}).contains("result"));
        const QString refusal = QStringLiteral("Esta conexão é do operador MARIA; a alteração não pode ser gravada em nome de JSILVA.");
        const Packet before = listQuotes(maria, defaultFilter("0006"));
        const QString number = before.text(0, "NRORCAEVENTO");
        const QString sequence = before.text(0, "NRSEQORCAEVE");
        const QVariantList key{number, sequence};

        const QJsonObject another = maria.checked("SetOrcamento", {updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", "JSILVA"))});
        QCOMPARE(another.value("message").toString(), refusal);
        QCOMPARE(storedState("0006", number, sequence), before.text(0, "IDSITUORCEVE"));
        // Naming nobody writes as the connection's operator.
        QVERIFY(maria.checked("SetOrcamento", {updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", ""))}).value("ok").toBool());
        QCOMPARE(scalar("SELECT COUNT(*) FROM ORCAEVENTO WHERE CDFILIAL = '0006' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? "
                        "AND CDOPEJUSTORC = 'MARIA'", key), 1);
        QCOMPARE(scalar("SELECT COUNT(*) FROM HISTSITUORCA WHERE CDFILIAL = '0006' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? "
                        "AND CDOPERADOR = 'MARIA'", key), 1);

        const QJsonArray fields = maria.checked("GetItemOrc", {"0006", number, sequence}).value("data").toArray().at(1).toObject().value("fields").toArray();
        QJsonArray note{base64("Cliente mudou a data."), "0006", number, sequence, 46300.0, "JSILVA"};
        QCOMPARE(maria.checked("SetObs", {deltaOf(fields, QJsonObject{{"op", "insert"}, {"new", note}})}).value("message").toString(), refusal);
        note[5] = QJsonValue();
        QVERIFY(maria.checked("SetObs", {deltaOf(fields, QJsonObject{{"op", "insert"}, {"new", note}})}).value("ok").toBool());
        QCOMPARE(scalar("SELECT COUNT(*) FROM OBSJUSTORCA WHERE CDFILIAL = '0006' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? "
                        "AND CDOPERADOR = 'MARIA'", key), 1);

        // Without a hall the re-enable depends on nobody else's booking.
        Sql::run(direct(), "UPDATE ORCAEVENTO SET CDSALAOEVEN = NULL WHERE CDFILIAL = '0006' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?", key);
        QCOMPARE(maria.checked("SetAnterior", {number, "0006", sequence, "JSILVA", ""}).value("message").toString(), refusal);
        QCOMPARE(storedState("0006", number, sequence), QuoteState::Cancelled);
        QVERIFY(maria.checked("SetAnterior", {number, "0006", sequence, "MARIA", ""}).value("ok").toBool());
        QCOMPARE(scalar("SELECT COUNT(*) FROM HISTSITUORCA WHERE CDFILIAL = '0006' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? "
                        "AND IDSITUANTORC = '8' AND CDOPERADOR = 'MARIA'", key), 1);
    }

    void justificationInsertUpdateAndConflict_data() { addDrivers(); }
    void justificationInsertUpdateAndConflict()
    {
        START_SERVER();
        const Packet quotes = listQuotes(client, defaultFilter("0007"));
        const QString number = quotes.text(0, "NRORCAEVENTO");
        const QString sequence = quotes.text(0, "NRSEQORCAEVE");
        const QJsonArray emptyPair = client.checked("GetItemOrc", {"0007", number, sequence}).value("data").toArray();
        const QJsonArray fields = emptyPair.at(1).toObject().value("fields").toArray();
        const QJsonArray note{QString::fromLatin1(QStringLiteral("Cliente desistiu; ligar em março.").toUtf8().toBase64()), "0007", number,
                              sequence, 46300.0, "MSOUZA"};
        const QJsonObject insert{{"fields", fields}, {"changes", QJsonArray{QJsonObject{{"op", "insert"}, {"new", note}}}}};
        // Only a cancelled or postponed quote takes a justification.
        QCOMPARE(client.checked("SetObs", {insert}).value("ok").toBool(), false);
        QVERIFY(client.checked("SetOrcamento", {updateDelta(quotes, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"))}).value("ok").toBool());
        QVERIFY(client.checked("SetObs", {insert}).value("ok").toBool());
        QCOMPARE(client.checked("SetObs", {insert}).value("ok").toBool(), false);

        const Packet stored(client.checked("GetItemOrc", {"0007", number, sequence}).value("data").toArray().at(1).toObject());
        QCOMPARE(stored.rows.size(), 1);
        QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(stored.text(0, "TXOBSJUSTORC").toLatin1())), QStringLiteral("Cliente desistiu; ligar em março."));
        QJsonArray edited = stored.rows.at(0);
        edited[0] = QString::fromLatin1(QByteArray("Novo texto").toBase64());
        const QJsonObject update{{"fields", fields}, {"changes", QJsonArray{QJsonObject{{"op", "update"}, {"old", stored.rows.at(0)}, {"new", edited}}}}};
        QVERIFY(client.checked("SetObs", {update}).value("ok").toBool());
        const QJsonObject stale = client.checked("SetObs", {update});
        QCOMPARE(stale.value("ok").toBool(), false);
        QVERIFY(stale.value("message").toString().contains(number));
        QCOMPARE(scalar("SELECT COUNT(*) FROM OBSJUSTORCA WHERE CDFILIAL = '0007' AND NRORCAEVENTO = ? AND TXOBSJUSTORC = 'Novo texto'", {number}), 1);
        // The replaced text is kept; the refused one left no trace.
        QSqlQuery kept = Sql::run(direct(), "SELECT NRHISTOBS, TXOBSJUSTORC, CDOPERADOR FROM HISTOBSJUSTORCA "
                                            "WHERE CDFILIAL = '0007' AND NRORCAEVENTO = ?", {number});
        QVERIFY(kept.next());
        QCOMPARE(kept.value(0).toInt(), 1);
        QCOMPARE(kept.value(1).toString(), QStringLiteral("Cliente desistiu; ligar em março."));
        QCOMPARE(kept.value(2).toString(), QStringLiteral("MSOUZA"));
        QVERIFY(!kept.next());
    }

    void hallAnswers_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("rivalState");
        for (const QString &driver : drivers()) {
            QTest::newRow(qPrintable(driver + "/free")) << driver << "free" << "OK" << QuoteState::Pending;
            QTest::newRow(qPrintable(driver + "/limit reached")) << driver << "limit reached" << "ACIMA_LIMITE" << QuoteState::Pending;
            QTest::newRow(qPrintable(driver + "/no limit set up")) << driver << "no limit" << "N_LIMITE_DEF" << QuoteState::Pending;
            QTest::newRow(qPrintable(driver + "/same day and hour")) << driver << "same hour" << "DTA_HRA_MARC" << QuoteState::Pending;
            QTest::newRow(qPrintable(driver + "/limit reached by a quote in state 3")) << driver << "limit reached" << "ACIMA_LIMITE" << "3";
            QTest::newRow(qPrintable(driver + "/same hour as a quote in state 6")) << driver << "same hour" << "DTA_HRA_MARC" << "6";
        }
    }
    void hallAnswers()
    {
        QFETCH(QString, situation);
        QFETCH(QString, expected);
        QFETCH(QString, rivalState);
        START_SERVER();
        QSqlDatabase db = direct();
        // A cancelled quote of a hall with a limit, and a pending quote of
        // the same branch to compete with it.
        QSqlQuery pick = Sql::run(db, "SELECT O.CDFILIAL, O.NRORCAEVENTO, O.NRSEQORCAEVE, O.CDSALAOEVEN, O.DTEVENTO, O.HREVENTO, O.IDSITUANTORC "
                                      "FROM ORCAEVENTO O WHERE O.IDSITUORCEVE = '8' AND O.CDSALAOEVEN IN ('S01','S02','S03') "
                                      "ORDER BY O.CDFILIAL, O.NRORCAEVENTO");
        QVERIFY(pick.next());
        const QString branch = pick.value(0).toString(), number = pick.value(1).toString(), sequence = pick.value(2).toString();
        const QString hall = pick.value(3).toString(), hour = pick.value(5).toString(), previous = pick.value(6).toString();
        const double day = std::floor(pick.value(4).toDouble());
        QSqlQuery rival = Sql::run(db, "SELECT NRORCAEVENTO, NRSEQORCAEVE FROM ORCAEVENTO WHERE CDFILIAL = ? AND IDSITUORCEVE = '1' ORDER BY NRORCAEVENTO", {branch});
        QVERIFY(rival.next());
        const QString rivalNumber = rival.value(0).toString(), rivalSequence = rival.value(1).toString();
        Sql::run(db, "UPDATE ORCAEVENTO SET IDSITUORCEVE = ? WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?", {rivalState, branch, rivalNumber, rivalSequence});
        Sql::run(db, "DELETE FROM AGENDASALAO WHERE CDFILIAL = ? AND CDSALAOEVEN = ? AND DTEVENTO = ? AND NRORCAEVENTO <> ?", {branch, hall, day, number});
        Sql::run(db, "DELETE FROM AGENDASALAO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?", {branch, rivalNumber, rivalSequence});
        Sql::run(db, "UPDATE SALAOEVEN SET QTLIMAGENDIA = ? WHERE CDFILIAL = ? AND CDSALAOEVEN = ?",
                 {situation == "no limit" ? QVariant(QMetaType::fromType<int>()) : QVariant(situation == "limit reached" ? 1 : 5), branch, hall});
        if (situation == "limit reached" || situation == "same hour") {
            Sql::run(db, "INSERT INTO AGENDASALAO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDSALAOEVEN, DTEVENTO, HREVENTO, IDSITAGENSAL) VALUES (?, ?, ?, ?, ?, ?, 'R')",
                     {branch, rivalNumber, rivalSequence, hall, day, situation == "same hour" ? hour : QStringLiteral("07:00")});
        }
        const QString answer = client.call("getVerifSalao", {branch, number, sequence}).value("result").toObject().value("value").toString();
        // The rival is named exactly when a booking is to blame.
        const Packet blockers(client.checked("getBloqueioSalao", {branch, number, sequence}).value("data").toObject());
        QCOMPARE(blockers.rows.size(), expected == "ACIMA_LIMITE" || expected == "DTA_HRA_MARC" ? 1 : 0);
        if (!blockers.rows.isEmpty()) {
            QCOMPARE(blockers.text(0, "NRORCAEVENTO"), rivalNumber);
            QCOMPARE(blockers.text(0, "HREVENTO"), situation == "same hour" ? hour : QStringLiteral("07:00"));
            QVERIFY(!blockers.text(0, "NMFANTCLIE").isEmpty());
        }
        if (expected == "OK") {
            QCOMPARE(answer, QStringLiteral("OK"));
        } else {
            QCOMPARE(answer.left(12), expected);
            QCOMPARE(answer.size(), 16);
            QCOMPARE(answer.mid(13), hall);
        }
        const QJsonObject result = client.call("SetAnterior", {number, branch, sequence, "MSOUZA", "?"}).value("result").toObject();
        const QJsonObject restored = result.value("value").toObject();
        if (expected == "OK") {
            QVERIFY2(restored.value("ok").toBool(), qPrintable(restored.value("message").toString()));
            QCOMPARE(result.value("refs").toObject().value("4").toString(), previous);
            QCOMPARE(storedState(branch, number, sequence), previous);
            QCOMPARE(scalar("SELECT COUNT(*) FROM AGENDASALAO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? AND IDSITAGENSAL = ?",
                            {branch, number, sequence, previous == QuoteState::Approved ? "A" : "R"}), 1);
            QCOMPARE(scalar("SELECT COUNT(*) FROM HISTSITUORCA WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? AND IDSITUANTORC = '8' AND IDSITUORCEVE = ?",
                            {branch, number, sequence, previous}), 1);
        } else {
            QCOMPARE(restored.value("ok").toBool(), false);
            QVERIFY(restored.value("message").toString().contains(hall));
            QCOMPARE(storedState(branch, number, sequence), QuoteState::Cancelled);
        }
    }

    void reEnablingOnlyAppliesToCancelledOrPostponed_data() { addDrivers(); }
    void reEnablingOnlyAppliesToCancelledOrPostponed()
    {
        START_SERVER();
        const Packet open = listQuotes(client, defaultFilter("0008"));
        const QString number = open.text(0, "NRORCAEVENTO");
        const QString sequence = open.text(0, "NRSEQORCAEVE");
        QCOMPARE(client.call("getSituAnterior", {number, "0008", sequence}).value("result").toObject().value("value").toString(), QString());
        const QJsonObject refused = client.checked("SetAnterior", {number, "0008", sequence, "MSOUZA", QuoteState::Pending});
        QCOMPARE(refused.value("ok").toBool(), false);
        QCOMPARE(storedState("0008", number, sequence), open.text(0, "IDSITUORCEVE"));
        QCOMPARE(client.call("getSituAnterior", {"0000099999", "0008", "01"}).value("result").toObject().value("value").toString(), QString());
        QCOMPARE(client.checked("SetAnterior", {"0000099999", "0008", "01", "MSOUZA", ""}).value("ok").toBool(), false);
        const QString unknown = client.call("getVerifSalao", {"0008", "0000099999", "01"}).value("result").toObject().value("value").toString();
        QVERIFY(unknown != "OK" && unknown.contains("0000099999"));
    }

    void twoReEnablesForTheLastPlaceOneWins_data() { addDrivers(); }
    void twoReEnablesForTheLastPlaceOneWins()
    {
        START_SERVER();
        JsonLineClient other;
        QVERIFY(other.openSession(m_server->port()));
        QSqlDatabase db = direct();
        // Two cancelled quotes of one hall, one day, two hours; nothing else
        // is booked then.
        HallOfOne setup;
        QVERIFY(hallOfOne(db, &setup));
        const auto &[branch, hall, day, quotes, hours] = setup;
        JsonLineClient *clients[] = {&client, &other};
        // Both see the hall free, then both write.
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(clients[i]->call("getVerifSalao", {branch, quotes.at(i).first, quotes.at(i).second}).value("result").toObject().value("value").toString(),
                     QStringLiteral("OK"));
        }
        int winners = 0;
        QString loserMessage;
        for (int i = 0; i < 2; ++i) {
            const QJsonObject outcome = clients[i]->checked("SetAnterior", {quotes.at(i).first, branch, quotes.at(i).second, "MSOUZA", ""});
            winners += outcome.value("ok").toBool() ? 1 : 0;
            loserMessage += outcome.value("message").toString();
        }
        QCOMPARE(winners, 1);
        QCOMPARE(loserMessage, QStringLiteral("Limite de agendamentos para o salão %1 foi atingido. Operação bloqueada.").arg(hall));
        QCOMPARE(scalar("SELECT COUNT(*) FROM AGENDASALAO WHERE CDFILIAL = ? AND CDSALAOEVEN = ? AND DTEVENTO = ? AND IDSITAGENSAL <> 'C'",
                        {branch, hall, day}), 1);
        QCOMPARE(scalar("SELECT COUNT(*) FROM ORCAEVENTO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? AND IDSITUORCEVE IN ('8','9')",
                        {branch, quotes.at(1).first, quotes.at(1).second}), 1);
    }

    void aReleaseCannotUndoTheReEnableItRacesWith_data() { addDrivers(); }
    void aReleaseCannotUndoTheReEnableItRacesWith()
    {
        if (!QString::fromLatin1(QTest::currentDataTag()).startsWith("postgres")) {
            QSKIP("SQLite lets one writer in at a time: the race needs PostgreSQL's row locks");
        }
        START_SERVER("--busy-timeout", "30000");
        JsonLineClient reEnabler, releaser;
        QVERIFY(reEnabler.openSession(m_server->port()));
        QVERIFY(releaser.openSession(m_server->port()));
        QSqlDatabase db = direct();
        // The first still holds its booking: its "C" has not arrived yet.
        HallOfOne setup;
        QVERIFY(hallOfOne(db, &setup));
        const auto &[branch, hall, day, quotes, hours] = setup;
        Sql::run(db, "INSERT INTO AGENDASALAO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDSALAOEVEN, DTEVENTO, HREVENTO, IDSITAGENSAL) "
                     "VALUES (?, ?, ?, ?, ?, ?, 'R')", {branch, quotes.at(0).first, quotes.at(0).second, hall, day, hours.at(0)});
        // A third transaction holds the state history: the re-enable stops
        // at its last write, with the quote live again and booked, not yet
        // committed. The "C" sent then waits for it.
        QSqlDatabase third = direct();
        Sql::run(third, "BEGIN");
        Sql::run(third, "LOCK TABLE HISTSITUORCA IN SHARE MODE");
        QSqlDatabase watch = direct();
        const auto waiting = [&watch] {
            QSqlQuery query = Sql::run(watch, "SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() AND wait_event_type = 'Lock'");
            return query.next() ? query.value(0).toInt() : -1;
        };
        reEnabler.sendRaw(requestLine(50, "SetAnterior", {quotes.at(0).first, branch, quotes.at(0).second, "MSOUZA", ""}));
        QTRY_COMPARE(waiting(), 1);
        releaser.sendRaw(requestLine(51, "setAgendaSalao", {branch, quotes.at(0).first, quotes.at(0).second, "C"}));
        QTRY_COMPARE(waiting(), 2);
        Sql::run(third, "ROLLBACK");
        const QJsonObject reEnabled = reEnabler.readAnswer().value("result").toObject().value("value").toObject();
        QVERIFY2(reEnabled.value("ok").toBool(), qPrintable(reEnabled.value("message").toString()));
        // The quote the "C" was meant for is live again: nothing to release.
        QCOMPARE(errorCode(releaser.readAnswer()), -32003);
        // So the hall stays full and the other quote cannot take it.
        const QJsonObject second = client.checked("SetAnterior", {quotes.at(1).first, branch, quotes.at(1).second, "MSOUZA", ""});
        QCOMPARE(second.value("ok").toBool(), false);
        QCOMPARE(scalar("SELECT COUNT(*) FROM AGENDASALAO A JOIN ORCAEVENTO O ON O.CDFILIAL = A.CDFILIAL AND O.NRORCAEVENTO = A.NRORCAEVENTO "
                        "AND O.NRSEQORCAEVE = A.NRSEQORCAEVE WHERE A.CDFILIAL = ? AND A.CDSALAOEVEN = ? AND A.DTEVENTO = ? "
                        "AND A.IDSITAGENSAL <> 'C' AND O.IDSITUORCEVE IN ('1','2')", {branch, hall, day}), 1);
    }

    void hallScheduleLetters_data() { addDrivers(); }
    void hallScheduleLetters()
    {
        START_SERVER();
        QSqlQuery pick = Sql::run(direct(), "SELECT O.NRORCAEVENTO, O.NRSEQORCAEVE, O.IDSITUORCEVE FROM ORCAEVENTO O JOIN AGENDASALAO A "
                                            "ON A.CDFILIAL = O.CDFILIAL AND A.NRORCAEVENTO = O.NRORCAEVENTO AND A.NRSEQORCAEVE = O.NRSEQORCAEVE "
                                            "WHERE O.CDFILIAL = '0009' AND O.IDSITUORCEVE IN ('1','2') AND A.IDSITAGENSAL <> 'C' ORDER BY 1");
        QVERIFY(pick.next());
        const QString number = pick.value(0).toString(), sequence = pick.value(1).toString(), state = pick.value(2).toString();
        QCOMPARE(errorCode(client.call("setAgendaSalao", {"0009", number, sequence, "C"})), -32003);
        QCOMPARE(errorCode(client.call("setAgendaSalao", {"0009", number, sequence, "X"})), -32602);
        QCOMPARE(errorCode(client.call("setAgendaSalao", {"0009", "0000099999", "01", "C"})), -32003);
        const QString letter = state == QuoteState::Approved ? "A" : "R";
        const QJsonObject same = client.call("setAgendaSalao", {"0009", number, sequence, letter});
        QVERIFY(same.contains("result"));
        QCOMPARE(same.value("result").toObject().value("value"), QJsonValue());

        QuoteListing filter;
        filter.number = {number, number, ""};
        const Packet quote = listQuotes(client, filter.arguments("0009"));
        const int row = quote.find(number, sequence);
        QVERIFY(client.checked("SetOrcamento", {updateDelta(quote, row, cancellation(QuoteState::Postponed, "0006", "MSOUZA"))}).value("ok").toBool());
        QVERIFY(client.call("setAgendaSalao", {"0009", number, sequence, "C"}).contains("result"));
        QCOMPARE(scalar("SELECT COUNT(*) FROM AGENDASALAO WHERE CDFILIAL = '0009' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? AND IDSITAGENSAL = 'C'",
                        {number, sequence}), 1);
        QCOMPARE(client.call("getVerifSalao", {"0009", number, sequence}).value("result").toObject().value("value").toString(), QStringLiteral("OK"));
    }

    void badInputGetsItsErrorAndTheConnectionGoesOn_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("id"); // the answer's, where the row names it
        struct Case { const char *name; QByteArray line; int code; QByteArray id = {}; };
        const QList<Case> cases{
            {"malformed JSON", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"GetMotivo\",\"params\":[\"0001\",", -32700},
            {"not JSON at all", "GET / HTTP/1.1", -32700},
            {"array instead of object", "[1,2,3]", -32600},
            {"no jsonrpc member", "{\"id\":5,\"method\":\"GetMotivo\",\"params\":[\"0001\",\"\"]}", -32600},
            {"no id", "{\"jsonrpc\":\"2.0\",\"method\":\"GetMotivo\",\"params\":[\"0001\",\"\"]}", -32600},
            {"method not a string", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":7,\"params\":[]}", -32600},
            {"unknown method", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"DropTables\",\"params\":[]}", -32601},
            {"too few arguments", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"GetMotivo\",\"params\":[\"0001\"]}", -32602},
            {"too many arguments", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"GetParamOrca\",\"params\":[\"x\"]}", -32602},
            {"number for a text", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"GetMotivo\",\"params\":[1,\"\"]}", -32602},
            {"text for a date", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"GetOrcamento\",\"params\":[\"0001\",\"\",\"\",\"T\",\"ontem\",0,\"T\",0,0,\"T\",0,0,\"T\",\"\",\"T\",\"\",\"T\",\"\",\"T\",\"\",\"T\",\"1_2_\",\"\",\"\",\"T\",\"\",\"T\"]}", -32602},
            {"params as an object", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"GetMotivo\",\"params\":{\"a\":1}}", -32602},
            {"delta of the wrong shape", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"SetOrcamento\",\"params\":[{\"fields\":[{\"name\":\"X\",\"type\":\"nada\",\"size\":1}],\"changes\":[]}]}", -32602},
            {"text instead of a delta", "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"SetObs\",\"params\":[\"delta\"]}", -32602},
            {"id twice", R"({"jsonrpc":"2.0","id":5,"id":6,"method":"GetMotivo","params":["0001",""]})", -32600, "null"},
            {"id beyond a double", R"({"jsonrpc":"2.0","id":12345678901234567890123,"method":"Nada"})", -32600, "null"},
            {"id a double rounds", R"({"jsonrpc":"2.0","id":9007199254740993,"method":"Nada"})", -32600, "null"},
            {"id a double holds beyond 64 bits", R"({"jsonrpc":"2.0","id":18446744073709551616,"method":"Nada"})", -32600, "null"},
            {"id with a fraction", R"({"jsonrpc":"2.0","id":1.5,"method":"Nada"})", -32600, "null"},
            {"id with an exponent", R"({"jsonrpc":"2.0","id":1e2,"method":"Nada"})", -32600, "null"},
            {"id a double holds", R"({"jsonrpc":"2.0","id":-1152921504606846976,"method":"Nada"})", -32601, "-1152921504606846976"},
            {"JSON, not a request", "true", -32600, "null"},
            {"lone surrogate escape", R"("\ud800")", -32600, "null"},
            {"257 levels", QByteArray(257, '[') + QByteArray(257, ']'), -32700, "null"},
            {"control character in a text", "[\"a\x01\"]", -32700, "null"},
            {"escape \\a", R"({"jsonrpc":"2.0","id":5,"method":"GetMotivo","params":["0001","\a"]})", -32700, "null"},
            {"escape \\x", R"(["\x0001"])", -32700, "null"},
            {"4.", "[4.]", -32700, "null"},
            {".5e1", "[.5e1]", -32700, "null"},
            {"bare minus", "[-]", -32700, "null"},
            {"leading zero", "[01]", -32700, "null"},
            {"exponent without digits", "[1e]", -32700, "null"},
            {"byte order mark", "\xef\xbb\xbf{}", -32700, "null"},
            {"trailing garbage", "{} x", -32700, "null"},
        };
        for (const QString &driver : drivers()) {
            for (const auto &[name, line, code, id] : cases) {
                QTest::newRow(qPrintable(driver + "/" + name)) << driver << line << code << id;
            }
        }
    }
    void badInputGetsItsErrorAndTheConnectionGoesOn()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, code);
        QFETCH(QByteArray, id);
        START_SERVER();
        client.sendRaw(line + '\n');
        const QByteArray answerLine = client.readLine();
        const QJsonObject answer = QJsonDocument::fromJson(answerLine).object();
        QCOMPARE(errorCode(answer), code);
        QVERIFY(!answer.value("error").toObject().value("message").toString().isEmpty());
        QVERIFY2(id.isEmpty() || answerLine.contains(",\"id\":" + id + ","), answerLine.constData());
        QCOMPARE(client.checked("GetMotivo", {"0001", ""}).value("ok").toBool(), true);
    }

    void oversizedLineIsAnsweredAndSkipped_data() { addDrivers(); }
    void oversizedLineIsAnsweredAndSkipped()
    {
        START_SERVER("--max-line", "4096");
        const QByteArray huge = "{\"jsonrpc\":\"2.0\",\"id\":9,\"method\":\"GetMotivo\",\"params\":[\"" + QByteArray(20000, 'x') + "\",\"\"]}";
        client.sendRaw(huge.left(3000));
        client.sendRaw(huge.mid(3000) + '\n');
        QCOMPARE(errorCode(client.readAnswer()), -32600);
        QCOMPARE(client.checked("GetMotivo", {"0002", ""}).value("ok").toBool(), true);
        // A line of exactly the limit still goes through.
        QJsonObject request{{"jsonrpc", "2.0"}, {"id", 10}, {"method", "GetMotivo"}, {"params", QJsonArray{"", ""}}};
        const int room = 4096 - int(QJsonDocument(request).toJson(QJsonDocument::Compact).size());
        request["params"] = QJsonArray{QString(room, QLatin1Char('y')), ""};
        QCOMPARE(QJsonDocument(request).toJson(QJsonDocument::Compact).size(), 4096);
        client.sendRaw(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        QCOMPARE(client.readAnswer().value("id").toInt(), 10);
    }

    void messagesSplitOrJoinedInWritesAreAnsweredInOrder_data() { addDrivers(); }
    void messagesSplitOrJoinedInWritesAreAnsweredInOrder()
    {
        START_SERVER();
        const QByteArray first = "{\"jsonrpc\":\"2.0\",\"id\":\"a\",\"method\":\"GetMotivo\",\"params\":[\"0001\",\"\"]}"
                                 "\n";
        const QByteArray second = "{\"jsonrpc\":\"2.0\",\"id\":\"b\",\"method\":\"GetParamOrca\",\"params\":[]}"
                                  "\n";
        const QByteArray third = "{\"jsonrpc\":\"2.0\",\"id\":\"c\",\"method\":\"GetMotivo\",\"params\":[\"\",\"T\"]}"
                                 "\n";
        client.sendRaw(first.left(10));
        QTest::qWait(50);
        client.sendRaw(first.mid(10, 20));
        QTest::qWait(50);
        client.sendRaw(first.mid(30) + second + third.left(5));
        client.sendRaw(third.mid(5));
        QCOMPARE(client.readAnswer().value("id").toString(), QStringLiteral("a"));
        QCOMPARE(client.readAnswer().value("id").toString(), QStringLiteral("b"));
        const QJsonObject last = client.readAnswer();
        QCOMPARE(last.value("id").toString(), QStringLiteral("c"));
        QCOMPARE(last.value("result").toObject().value("value").toObject().value("data").toObject().value("rows").toArray().size(), 10);
    }

    void clientVanishingMidRequestChangesNothing_data() { addDrivers(); }
    void clientVanishingMidRequestChangesNothing()
    {
        START_SERVER();
        const Packet before = listQuotes(client, defaultFilter("0010"));
        const QJsonObject request{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "SetOrcamento"},
                                  {"params", QJsonArray{updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"))}}};
        const QByteArray line = QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n';
        JsonLineClient leaving;
        QVERIFY(leaving.openSession(m_server->port()));
        leaving.sendRaw(line.left(line.size() / 2));
        leaving.abort();
        JsonLineClient impatient;
        QVERIFY(impatient.openSession(m_server->port()));
        impatient.sendRaw("{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"GetOrcamento\",\"params\":[\"0010\",\"\",\"\",\"T\",0,0,\"T\",0,0,\"T\",0,0,\"T\",\"\",\"T\",\"\",\"T\",\"\",\"T\",\"\",\"T\",\"\",\"T\",\"\",\"T\",\"\",\"T\"]}"
                          "\n");
        impatient.abort();
        // A whole write whose client gives up while another transaction holds
        // the quote: once free, the server stores nothing that nobody awaits.
        QSqlDatabase holder = direct();
        const bool postgres = Sql::isPostgres(holder);
        Sql::run(holder, postgres ? "BEGIN" : "BEGIN IMMEDIATE");
        if (postgres) {
            Sql::run(holder, "SELECT 1 FROM ORCAEVENTO WHERE CDFILIAL = '0010' FOR UPDATE");
        }
        JsonLineClient givingUp;
        QVERIFY(givingUp.openSession(m_server->port()));
        givingUp.sendRaw(line);
        QTest::qWait(300);
        givingUp.abort();
        QTest::qWait(100);
        Sql::run(holder, "COMMIT");
        QTest::qWait(300);
        QCOMPARE(storedState("0010", before.text(0, "NRORCAEVENTO"), before.text(0, "NRSEQORCAEVE")), before.text(0, "IDSITUORCEVE"));
        QCOMPARE(listQuotes(client, defaultFilter("0010")).rows.size(), before.rows.size());
    }

    void seedingIsDeterministicAndFillsTheLocalDatabase()
    {
        if (!drivers().contains("sqlite")) {
            QSKIP("the seeding checks run with the SQLite suite");
        }
        QTemporaryDir dir;
        const QString first = dir.filePath("first.db"), second = dir.filePath("second.db"), other = dir.filePath("other.db");
        const QString local = dir.filePath("local.db");
        QString output;
        QVERIFY2(AppServerProcess::seed(first, 60, {"--seed-value", "7", "--local-db", local}, &output), qPrintable(output));
        QVERIFY2(AppServerProcess::seed(second, 60, {"--seed-value", "7"}, &output), qPrintable(output));
        QVERIFY2(AppServerProcess::seed(other, 60, {"--seed-value", "8"}, &output), qPrintable(output));
        TestBackend backend("sqlite");
        const auto dump = [&](const QString &location, const QString &statement) {
            QStringList rows;
            QSqlQuery query = Sql::run(backend.direct(location), statement);
            while (query.next()) {
                QStringList values;
                for (int i = 0; i < query.record().count(); ++i) {
                    values << query.value(i).toString();
                }
                rows << values.join('|');
            }
            return rows;
        };
        const QString quotes = "SELECT * FROM ORCAEVENTO ORDER BY CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE";
        const QStringList firstQuotes = dump(first, quotes);
        QCOMPARE(firstQuotes.size(), 60);
        QCOMPARE(dump(second, quotes), firstQuotes);
        QVERIFY(dump(other, quotes) != firstQuotes);
        QCOMPARE(dump(first, "SELECT IDSITUORCEVE FROM ORCAEVENTO GROUP BY IDSITUORCEVE ORDER BY 1"), (QStringList{QuoteState::Pending, QuoteState::Approved, QuoteState::Cancelled, QuoteState::Postponed}));
        for (const char *table : {"FILIAL", "VENDEDOR", "CLIENTE", "ENDECLIE", "PAIS", "MUNICIPIO", "PRODUTO", "TIPOEVENTO", "TIPOSERVEVEN"}) {
            const QString all = QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(QLatin1String(table));
            QVERIFY(!dump(local, all).isEmpty());
            QCOMPARE(dump(local, all), dump(first, all));
        }
        QCOMPARE(dump(first, "SELECT CDFILIAL FROM FILIAL").size(), 10);
        {
            QSqlQuery clients = Sql::run(backend.direct(local), "SELECT IDTPIJURCLIE, NRINSJURCLIE FROM CLIENTE");
            while (clients.next()) {
                const QString number = clients.value(1).toString();
                QVERIFY2(clients.value(0).toString() == "J" ? TaxIds::isValidCnpj(number) : TaxIds::isValidCpf(number), qPrintable(number));
            }
        }
        backend.closeDirect();
    }

    void aDatabaseConnectionTheServerLostIsReplaced_data() { addDrivers(); }
    void aDatabaseConnectionTheServerLostIsReplaced()
    {
        if (!QString::fromLatin1(QTest::currentDataTag()).startsWith("postgres")) {
            QSKIP("a SQLite file has no server to end the connection");
        }
        START_SERVER();
        const Packet before = listQuotes(client, defaultFilter("0003"));
        QSqlDatabase admin = direct();
        const QString servers = "FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()";
        Sql::run(admin, "SELECT pg_terminate_backend(pid) " + servers);
        QTRY_VERIFY([&] {
            QSqlQuery left = Sql::run(admin, "SELECT COUNT(*) " + servers);
            return left.next() && left.value(0).toInt() == 0;
        }());
        // The call that finds the connection gone fails without the driver's
        // words; the next one runs on a new connection.
        const QJsonObject lost = client.call("GetMotivo", {"0001", ""});
        QCOMPARE(errorCode(lost), -32000);
        QCOMPARE(lost.value("error").toObject().value("message").toString(), databaseFailure);
        QVERIFY(client.checked("GetMotivo", {"0001", ""}).value("ok").toBool());
        QVERIFY(client.checked("SetOrcamento", {updateDelta(before, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"))}).value("ok").toBool());
        QCOMPARE(storedState("0003", before.text(0, "NRORCAEVENTO"), before.text(0, "NRSEQORCAEVE")), QuoteState::Cancelled);
        QTRY_VERIFY(m_server->log().contains("conexão com o banco de dados perdida"));
    }

    // A quote cancelled, re-enabled and postponed reads back as its creation,
    // three state changes and both texts, in the order they were written.
    void historyOfAQuoteInOrder_data() { addDrivers(); }
    void historyOfAQuoteInOrder()
    {
        START_SERVER();
        const Packet listed = listQuotes(client, defaultFilter("0004"));
        const QString number = listed.text(0, "NRORCAEVENTO");
        const QString sequence = listed.text(0, "NRSEQORCAEVE");
        const QString created = listed.text(0, "IDSITUORCEVE");
        const QVariantList key{"0004", number, sequence};
        // No hall to book again: the re-enable must not depend on the day's calendar.
        Sql::run(direct(), "UPDATE ORCAEVENTO SET CDSALAOEVEN = NULL WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?", key);
        Sql::run(direct(), "DELETE FROM AGENDASALAO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?", key);
        auto history = [&] { return Packet(client.checked("GetHistorico", {"0004", number, sequence}).value("data").toObject()); };
        const Packet untouched = history();
        QCOMPARE(untouched.rows.size(), 1);
        QCOMPARE(untouched.text(0, "IDTIPOHIST"), QStringLiteral("I"));
        QCOMPARE(untouched.text(0, "IDSITUORCEVE"), created);
        QCOMPARE(untouched.at(0, "DTHRHISTORCA").toDouble(), listed.at(0, "DTINCLORCEVE").toDouble());

        const QString first = QStringLiteral("Cliente desistiu; \"sem verba\" — ligará em março.");
        const QString second = QStringLiteral("Adiado a pedido da noiva.");
        QVERIFY(client.checked("SetOrcamento", {updateDelta(listed, 0, cancellation(QuoteState::Cancelled, "0001", "MSOUZA"))}).value("ok").toBool());
        const QJsonArray fields = client.checked("GetItemOrc", {"0004", number, sequence}).value("data").toArray().at(1).toObject().value("fields").toArray();
        const QJsonArray written{base64(first.toUtf8()), "0004", number, sequence, 46300.0, "MSOUZA"};
        QVERIFY(client.checked("SetObs", {deltaOf(fields, {{"op", "insert"}, {"new", written}})}).value("ok").toBool());
        QVERIFY(client.checked("SetAnterior", {number, "0004", sequence, "JSILVA", ""}).value("ok").toBool());
        const auto justification = [&] { return Packet(client.checked("GetItemOrc", {"0004", number, sequence}).value("data").toArray().at(1).toObject()); };
        QCOMPARE(justification().rows.size(), 0);
        QuoteListing one = everyQuote();
        one.number = {number, number, ""};
        const Packet reopened = listQuotes(client, one.arguments("0004"));
        QVERIFY(client.checked("SetOrcamento", {updateDelta(reopened, reopened.find(number, sequence), cancellation(QuoteState::Postponed, "0003", "MARIA"))})
                    .value("ok").toBool());
        QJsonArray rewritten = written;
        rewritten[0] = base64(second.toUtf8());
        rewritten[5] = "MARIA";
        QVERIFY(client.checked("SetObs", {deltaOf(fields, {{"op", "insert"}, {"new", rewritten}})}).value("ok").toBool());
        // Re-enabled as an earlier server did it, keeping the text, then upgraded.
        Sql::run(direct(), "UPDATE ORCAEVENTO SET IDSITUORCEVE = ? WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?", QVariantList{created} + key);
        Sql::run(direct(), "DELETE FROM SCHEMAVERSION WHERE NRVERSAO = 6");
        m_server = std::make_unique<AppServerProcess>();
        client.abort();
        QVERIFY(m_server->start(m_location) && client.openSession(m_server->port()));
        QCOMPARE(justification().rows.size(), 0);

        auto reasonName = [&](const QString &code) {
            return Packet(client.checked("GetMotivo", {code, ""}).value("data").toObject()).text(0, "DSJUSTEXCHIS");
        };
        const Packet read = history();
        const QList<QStringList> expected{
            {"I", "", created, "", "", "", ""},
            {"S", created, QuoteState::Cancelled, "0001", reasonName("0001"), "MSOUZA", ""},
            {"J", "", "", "", "", "MSOUZA", first},
            {"S", QuoteState::Cancelled, created, "", "", "JSILVA", ""},
            {"S", created, QuoteState::Postponed, "0003", reasonName("0003"), "MARIA", ""},
            {"J", "", "", "", "", "MARIA", second},
        };
        QCOMPARE(read.rows.size(), expected.size());
        const QStringList columns{"IDTIPOHIST", "IDSITUANTORC", "IDSITUORCEVE", "CDJUSTEXCHIS", "DSJUSTEXCHIS", "CDOPERADOR"};
        for (int row = 0; row < expected.size(); ++row) {
            for (int column = 0; column < columns.size(); ++column) {
                QCOMPARE(read.text(row, columns.at(column)), expected.at(row).at(column));
            }
            QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(read.text(row, "TXOBSJUSTORC").toLatin1())), expected.at(row).at(6));
            // The creation is dated by the quote itself; the rest by the server's clock.
            if (row > 1) {
                QVERIFY2(read.at(row, "DTHRHISTORCA").toDouble() >= read.at(row - 1, "DTHRHISTORCA").toDouble(),
                         qPrintable(QStringLiteral("linha %1: %2 antes de %3").arg(row).arg(read.at(row, "DTHRHISTORCA").toDouble(), 0, 'f', 8)
                                        .arg(read.at(row - 1, "DTHRHISTORCA").toDouble(), 0, 'f', 8)));
            }
        }
        const QJsonObject unknown = client.checked("GetHistorico", {"0004", "9999999999", "01"});
        QCOMPARE(unknown.value("ok").toBool(), false);
        QCOMPARE(unknown.value("message").toString(), QStringLiteral("O orçamento 0004/9999999999-01 não existe."));
    }

    void everyCallIsLoggedAndSigtermStopsCleanly_data() { addDrivers(); }
    void everyCallIsLoggedAndSigtermStopsCleanly()
    {
        START_SERVER();
        QVERIFY(client.checked("GetMotivo", {"0001", ""}).value("ok").toBool());
        client.call("Nada", {});
        // The log is written by a thread of its own: its lines may trail the answers.
        QTRY_VERIFY(m_server->log().contains(QRegularExpression(" GetMotivo \\d+ ms ok")));
        QTRY_VERIFY(m_server->log().contains(QRegularExpression(" Nada \\d+ ms erro -32601")));
        QCOMPARE(m_server->stop(), 0);
    }
};

QTEST_GUILESS_MAIN(TestAppServer)
#include "tst_appserver.moc"

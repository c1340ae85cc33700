// The host's local database, its read-only queries, the cache refresh record
// and the login data handed to the modules.
#include "Corvane.h"
#include "TADOIBQuery.h"
#include "TdtmDBGeral.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <stdexcept>

namespace {

const QStringList branchQuery{
    "SELECT CDFILIAL, NMFILIAL",
    "FROM FILIAL",
    "WHERE CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T'",
    "ORDER BY CDFILIAL",
};

bool exec(const QString &sql)
{
    QSqlQuery query(dtmDBGeral->database());
    return query.exec(sql);
}

QStringList column(const RecordList &list, const QString &field)
{
    QStringList values;
    const int index = list.fieldByName(field).index();
    for (int row = 0; row < list.recordCount(); ++row) {
        values << list.valueAt(row, index).toString();
    }
    return values;
}

QString messageOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const std::runtime_error &failure) {
        return QString::fromUtf8(failure.what());
    }
    return QString();
}

} // namespace

class tst_LocalDb final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openingAMissingFileNamesThePath();
    void theBranchQueryBindsEveryPlaceOfAParameter_data();
    void theBranchQueryBindsEveryPlaceOfAParameter();
    void declaredFieldsKeepTheirLabelsAcrossReopening();
    void undeclaredFieldsComeFromTheColumns();
    void colonsInTextAndCastsAreNotParameters();
    void editingTheQueryIsRefused();
    void anSqlErrorCarriesTheDriversText();
    void aClosedDatabaseIsReportedBeforeRunning();
    void theCacheRefreshRecordsEachTableAndAnnouncesIt();
    void theCacheRefreshWithoutDatabaseOnlyAnnounces();
    void theLoginDataIsWhatTheHostSet();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TdtmDBGeral> m_database;
};

void tst_LocalDb::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    const QString path = m_folder->filePath("local.db");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_database = std::make_unique<TdtmDBGeral>();
    m_database->open(path);
    dtmDBGeral = m_database.get();
    QVERIFY(dtmDBGeral->isOpen());
    QVERIFY(exec("CREATE TABLE FILIAL (CDFILIAL VARCHAR(4) PRIMARY KEY, NMFILIAL VARCHAR(30), "
                 "VRLIMITE REAL, QTSALOES INTEGER)"));
    QVERIFY(exec("INSERT INTO FILIAL VALUES ('0002', 'Filial Centro', 1500.5, 3)"));
    QVERIFY(exec("INSERT INTO FILIAL VALUES ('0001', 'Matriz', NULL, 5)"));
    QVERIFY(exec("INSERT INTO FILIAL VALUES ('0010', 'Filial Praia: Sul', 0, 1)"));
}

void tst_LocalDb::cleanup()
{
    m_database.reset();
    QVERIFY(!dtmDBGeral);
    m_folder.reset();
}

void tst_LocalDb::openingAMissingFileNamesThePath()
{
    TdtmDBGeral other;
    const QString missing = m_folder->filePath("nao_existe.db");
    const QString message = messageOf([&] { other.open(missing); });
    QVERIFY2(message.contains(missing), qPrintable(message));
    QVERIFY(!other.isOpen());
}

void tst_LocalDb::theBranchQueryBindsEveryPlaceOfAParameter_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("all");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("one branch by code") << "0001" << "" << QStringList{"0001"};
    QTest::newRow("all branches in code order") << "" << "T" << QStringList({"0001", "0002", "0010"});
    QTest::newRow("unknown code") << "0099" << "" << QStringList();
}

void tst_LocalDb::theBranchQueryBindsEveryPlaceOfAParameter()
{
    QFETCH(QString, code);
    QFETCH(QString, all);
    QFETCH(QStringList, codes);
    TADOIBQuery qryFilial("qryFilial");
    qryFilial.SQL = branchQuery;
    qryFilial.ParamByName("P_CDFILIAL").setAsString(code);
    qryFilial.setParam(":P_TCDFILIAL", all);
    qryFilial.Open();
    QVERIFY(qryFilial.Active());
    QCOMPARE(column(qryFilial, "CDFILIAL"), codes);
    QCOMPARE(qryFilial.recNo(), codes.isEmpty() ? -1 : 0);
}

void tst_LocalDb::declaredFieldsKeepTheirLabelsAcrossReopening()
{
    TADOIBQuery qryFilial("qryFilial");
    qryFilial.setSql(branchQuery);
    qryFilial.addField("CDFILIAL", FieldType::Text, 4).setDisplayLabel("Código");
    qryFilial.addField("NMFILIAL", FieldType::Text, 30).setDisplayLabel("Nome");
    qryFilial.setParam("P_TCDFILIAL", "T");
    qryFilial.Open();
    QCOMPARE(qryFilial.recordCount(), 3);
    qryFilial.Close();
    QVERIFY(!qryFilial.Active());
    qryFilial.setParam("P_TCDFILIAL", "");
    qryFilial.setParam("P_CDFILIAL", "0010");
    qryFilial.Open();
    QCOMPARE(qryFilial.fieldByName("CDFILIAL").displayLabel(), QStringLiteral("Código"));
    QCOMPARE(qryFilial.fieldByName("NMFILIAL").displayLabel(), QStringLiteral("Nome"));
    QCOMPARE(qryFilial.fieldByName("NMFILIAL").asString(), QStringLiteral("Filial Praia: Sul"));
    QCOMPARE(qryFilial.ParamByName("p_cdfilial").asString(), QStringLiteral("0010"));

    // Open on an open query runs it again with the latest parameters.
    qryFilial.setParam("P_CDFILIAL", "0002");
    qryFilial.Open();
    QCOMPARE(qryFilial.fieldByName("NMFILIAL").asString(), QStringLiteral("Filial Centro"));
}

void tst_LocalDb::undeclaredFieldsComeFromTheColumns()
{
    TADOIBQuery query("qryValores");
    query.SQL = QStringList{"SELECT CDFILIAL, VRLIMITE, QTSALOES FROM FILIAL ORDER BY CDFILIAL"};
    query.Open();
    QCOMPARE(query.fieldCount(), 3);
    QCOMPARE(query.fieldByName("CDFILIAL").type(), FieldType::Text);
    QCOMPARE(query.fieldByName("CDFILIAL").size(), 4);
    QCOMPARE(query.fieldByName("VRLIMITE").type(), FieldType::Float);
    QCOMPARE(query.fieldByName("QTSALOES").type(), FieldType::Integer);
    QVERIFY(query.fieldByName("VRLIMITE").isNull());
    query.next();
    QCOMPARE(query.fieldByName("VRLIMITE").asFloat(), 1500.5);
    QCOMPARE(query.fieldByName("QTSALOES").asInteger(), 3);
}

void tst_LocalDb::colonsInTextAndCastsAreNotParameters()
{
    TADOIBQuery query("qryTexto");
    query.SQL = QStringList{"SELECT NMFILIAL, 'hora :10' AS HORA -- nota: :NAO",
                            "FROM FILIAL WHERE NMFILIAL LIKE :P_NOME /* :OUTRO */"};
    query.setParam("P_NOME", "%Praia:%");
    query.Open();
    QCOMPARE(column(query, "NMFILIAL"), QStringList{"Filial Praia: Sul"});
    QCOMPARE(query.fieldByName("HORA").asString(), QStringLiteral("hora :10"));
}

void tst_LocalDb::editingTheQueryIsRefused()
{
    TADOIBQuery qryFilial("qryFilial");
    qryFilial.SQL = branchQuery;
    qryFilial.setParam("P_TCDFILIAL", "T");
    qryFilial.Open();
    const QString readOnly = QStringLiteral("Consulta somente leitura.");
    QCOMPARE(messageOf([&] { qryFilial.edit(); }), readOnly);
    QCOMPARE(messageOf([&] { qryFilial.insert(); }), readOnly);
    QCOMPARE(messageOf([&] { qryFilial.append(); }), readOnly);
    QCOMPARE(messageOf([&] { qryFilial.remove(); }), readOnly);
    QCOMPARE(qryFilial.state(), RecordList::State::Browse);
    QCOMPARE(qryFilial.recordCount(), 3);
    QCOMPARE(qryFilial.changeCount(), 0);
}

void tst_LocalDb::anSqlErrorCarriesTheDriversText()
{
    TADOIBQuery query("qryErrada");
    query.SQL = QStringList{"SELECT CDFILIAL FROM FILIALX"};
    const QString message = messageOf([&] { query.Open(); });
    QVERIFY2(message.contains("no such table: FILIALX"), qPrintable(message));
    QVERIFY(!query.Active());
}

void tst_LocalDb::aClosedDatabaseIsReportedBeforeRunning()
{
    TADOIBQuery qryFilial("qryFilial");
    qryFilial.SQL = branchQuery;
    dtmDBGeral->close();
    QVERIFY(!dtmDBGeral->isOpen());
    QCOMPARE(messageOf([&] { qryFilial.Open(); }), QStringLiteral("Banco de dados local não está aberto."));
}

void tst_LocalDb::theCacheRefreshRecordsEachTableAndAnnouncesIt()
{
    QSignalSpy announced(Corvane::notifier(), &CorvaneNotifier::localCacheRefreshed);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    Corvane::AtualizaLocalCache({"ORCAEVENTO"});
    Corvane::AtualizaLocalCache({"OBSJUSTORCA", "ORCAEVENTO"});
    QCOMPARE(announced.size(), 2);
    QCOMPARE(announced.at(1).at(0).toStringList(), QStringList({"OBSJUSTORCA", "ORCAEVENTO"}));

    TADOIBQuery cache("qryCache");
    cache.SQL = QStringList{"SELECT TABLENAME, DTREFRESH FROM LOCALCACHE ORDER BY TABLENAME"};
    cache.Open();
    QCOMPARE(column(cache, "TABLENAME"), QStringList({"OBSJUSTORCA", "ORCAEVENTO"}));
    for (const QString &stamp : column(cache, "DTREFRESH")) {
        const QDateTime refreshed = QDateTime::fromString(stamp, Qt::ISODateWithMs);
        QVERIFY2(refreshed.isValid() && refreshed >= before, qPrintable(stamp));
    }

    Corvane::AtualizaLocalCache({});
    QCOMPARE(announced.size(), 2);
}

void tst_LocalDb::theCacheRefreshWithoutDatabaseOnlyAnnounces()
{
    dtmDBGeral = nullptr;
    QSignalSpy announced(Corvane::notifier(), &CorvaneNotifier::localCacheRefreshed);
    Corvane::AtualizaLocalCache({"ORCAEVENTO"});
    QCOMPARE(announced.size(), 1);
    dtmDBGeral = m_database.get();
    QSqlQuery query(dtmDBGeral->database());
    QVERIFY(!query.exec("SELECT * FROM LOCALCACHE"));
}

void tst_LocalDb::theLoginDataIsWhatTheHostSet()
{
    Corvane::LoginData login;
    login.operador = "OPER01";
    login.filiProc = "0001";
    login.nomeFiliProc = "Matriz";
    login.moduFili = true;
    login.webURL = "127.0.0.1";
    login.webPort = 4100;
    login.pictures.insert(0, "99.999.99;0");
    Corvane::SetLogin(login);
    QCOMPARE(Corvane::Operador(), QStringLiteral("OPER01"));
    QCOMPARE(Corvane::FiliProc(), QStringLiteral("0001"));
    QCOMPARE(Corvane::NomeFiliProc(), QStringLiteral("Matriz"));
    QVERIFY(Corvane::ModuFili());
    QCOMPARE(Corvane::WebURL(), QStringLiteral("127.0.0.1"));
    QCOMPARE(Corvane::WebPort(), 4100);
    QCOMPARE(Corvane::DBPict(0), QStringLiteral("99.999.99;0"));
    QCOMPARE(Corvane::DBPict(7), QString());
    QCOMPARE(Corvane::Login().filiProc, QStringLiteral("0001"));
}

QTEST_GUILESS_MAIN(tst_LocalDb)
#include "tst_localdb.moc"

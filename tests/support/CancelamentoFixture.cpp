#include "CancelamentoFixture.h"

#include "Cli_cxl04100.h"
#include "Consiste.h"
#include "Corvane.h"
#include "HostMdi.h"
#include "QuoteListing.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "TDBGrid.h"
#include "TNetConnection.h"
#include "TfrmCancelamento.h"

#include <QJsonArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QtTest>

#include <stdexcept>

namespace {

QJsonObject field(const char *name, const char *type, int size)
{
    return {{QStringLiteral("name"), QLatin1String(name)},
            {QStringLiteral("type"), QLatin1String(type)},
            {QStringLiteral("size"), size}};
}

} // namespace

CancelamentoFixture::CancelamentoFixture()
{
    area.resize(1000, 700);
}

CancelamentoFixture::~CancelamentoFixture()
{
    closeScreen();
    QSqlDatabase::removeDatabase(QStringLiteral("fixtureServerSql"));
    HostMdi::SetArea(nullptr);
    dtmDBGeral = nullptr;
}

QString CancelamentoFixture::serverDatabase() const
{
    return m_serverLocation;
}

QSqlDatabase CancelamentoFixture::serverSql()
{
    const QString name = QStringLiteral("fixtureServerSql");
    QSqlDatabase database = QSqlDatabase::database(name);
    if (database.isOpen()) {
        return database;
    }
    const QUrl url(m_serverLocation);
    if (url.scheme().startsWith(QLatin1String("postgres"))) {
        database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        database.setHostName(url.host());
        database.setPort(url.port(5432));
        database.setUserName(url.userName());
        database.setDatabaseName(url.path().mid(1));
    } else {
        database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setDatabaseName(m_serverLocation);
    }
    if (!database.open()) {
        throw std::runtime_error(database.lastError().text().toStdString());
    }
    return database;
}

bool CancelamentoFixture::start(QString *error, const QString &serverLocation)
{
    m_serverLocation = serverLocation.isEmpty() ? m_dir.filePath(QStringLiteral("srv.db")) : serverLocation;
    const QString localDatabase = m_dir.filePath(QStringLiteral("local.db"));
    QString output;
    if (!AppServerProcess::seed(serverDatabase(), 300, {QStringLiteral("--local-db"), localDatabase}, &output)) {
        *error = QStringLiteral("seeding failed: ") + output;
        return false;
    }
    if (!m_server.start(serverDatabase())) {
        *error = QStringLiteral("server did not start: ") + m_server.error();
        return false;
    }

    m_localDatabase.open(localDatabase);
    dtmDBGeral = &m_localDatabase;
    area.show();
    HostMdi::SetArea(&area);
    area.activateWindow();
    if (!QTest::qWaitForWindowActive(&area)) {
        *error = QStringLiteral("the document area never became active");
        return false;
    }
    return true;
}

QString CancelamentoFixture::serverLog()
{
    return m_server.log();
}

void CancelamentoFixture::stopServer()
{
    m_server.stop();
}

bool CancelamentoFixture::setOrigemPreco(const QString &origin, QString *error)
{
    QSqlQuery update(serverSql());
    update.prepare(QStringLiteral("UPDATE PARAMORCA SET IDORIGPRUNITORE = ?"));
    // An empty origin is stored as empty text, not as NULL.
    update.addBindValue(origin.isEmpty() ? QStringLiteral("") : origin);
    if (!update.exec()) {
        *error = update.lastError().text();
        return false;
    }
    return true;
}

void CancelamentoFixture::login(bool fixed, quint16 port)
{
    Corvane::LoginData login;
    login.operador = QStringLiteral("MSOUZA");
    login.filiProc = QStringLiteral("0001");
    login.nomeFiliProc = QStringLiteral("Matriz");
    login.moduFili = fixed;
    login.webURL = QStringLiteral("127.0.0.1");
    login.webPort = port == 0 ? m_server.port() : port;
    login.webServers = m_servers;
    login.webIdleTimeout = m_idleTimeout;
    Corvane::SetLogin(login);
}

void CancelamentoFixture::moveScreenTo(quint16 port)
{
    login(false, port);
    auto *connection = frmCancelamento->findChild<TNetConnection *>(QStringLiteral("netCancelamento"));
    connection->SetServers(Corvane::WebServers());
    connection->Disconnect();
}

TfrmCancelamento *CancelamentoFixture::openScreen()
{
    // A modal dialog of an earlier test may have left another window active.
    area.activateWindow();
    if (!QTest::qWaitForWindowActive(&area)) {
        return nullptr;
    }
    CriaCancelamento();
    QCoreApplication::processEvents();
    return frmCancelamento.data();
}

TfrmCancelamento *CancelamentoFixture::openAndList()
{
    login(false);
    TfrmCancelamento *screen = openScreen();
    if (screen) {
        boFiltro = false;
        screen->dbgPadrao->setFocus();
        QCoreApplication::processEvents();
    }
    return screen;
}

void CancelamentoFixture::closeScreen()
{
    if (frmCancelamento) {
        // A test may end with a quote still marked: closing drops it once
        // the operator says "Sim".
        const RecordList *list = frmCancelamento->listaPadrao();
        if (list && list->isEditing()) {
            dialogs.answerAsk(0);
        }
        frmCancelamento->Close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void CancelamentoFixture::withdrawAsAnotherOperator(quint16 port, const QString &number, const QString &sequence,
                                                    const QString &state)
{
    TNetConnection other;
    other.SetHost(QStringLiteral("127.0.0.1"));
    other.SetPort(port);
    other.SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
    QuoteListing thisOne;
    thisOne.number = {number, number, QString()};
    std::optional<PacketColumns> packet;
    Consiste::CheckResultServ(other.CallPacket(QStringLiteral("GetOrcamento"), TNetArg::listing(QStringLiteral("0001"), thisOne), packet),
                              true, 0);
    RecordList list(QStringLiteral("outro"));
    ServerAnswer::LoadPacket(list, std::move(packet));
    for (int row = 0; row < list.recordCount(); ++row) {
        if (list.valueAt(row, list.fieldByName(QStringLiteral("NRSEQORCAEVE")).index()).toString() == sequence) {
            list.moveTo(row);
        }
    }
    if (list.fieldByName(QStringLiteral("NRSEQORCAEVE")).asString() != sequence) {
        throw std::runtime_error("the quote is not open for another operator to withdraw");
    }
    list.edit();
    list.fieldByName(QStringLiteral("IDSITUORCEVE")).setAsString(state);
    list.fieldByName(QStringLiteral("CDJUSTEXCHIS")).setAsString(QStringLiteral("0006"));
    list.fieldByName(QStringLiteral("CDOPEJUSTORC")).setAsString(QStringLiteral("JSILVA"));
    list.post();
    Consiste::CheckResultServ(other.Call(QStringLiteral("SetOrcamento"), {TNetArg::deltaOf(list)}), true, 0);
}

QJsonObject CancelamentoFixture::quotePacket(const QStringList &states)
{
    const QJsonArray fields = {
        field("IDCHECK", "text", 1), field("NRORCAEVENTO", "text", 10), field("NRSEQORCAEVE", "text", 2),
        field("NMCLIEORCEVE", "text", 50), field("NMFANTCLIE", "text", 50), field("IDSITUORCEVE", "text", 1),
        field("CDTPSERVEVEN", "text", 3), field("NMTPSERVEVEN", "text", 30), field("CDTIPOEVENTO", "text", 3),
        field("NMTIPOEVENTO", "text", 30), field("CDFILIAL", "text", 4), field("QTCONVORCEVE", "float", 0),
        field("DSPRECOBASE", "text", 30), field("CDPRECOBASE", "text", 2), field("CDVENDEDOR", "text", 4),
        field("CDCLIENTE", "text", 21), field("DSTITUORCEVE", "text", 100), field("CDJUSTEXCHIS", "text", 4),
        field("DTEVENTO", "datetime", 0), field("DTVALIORCEVE", "datetime", 0), field("DTINCLORCEVE", "datetime", 0),
        field("CDOPEJUSTORC", "text", 12)};
    QJsonArray rows;
    int number = 9000;
    for (const QString &state : states) {
        ++number;
        rows.append(QJsonArray{QJsonValue(), QStringLiteral("000000%1").arg(number), QStringLiteral("01"),
                               QStringLiteral("Cliente %1").arg(number), QStringLiteral("Fantasia %1").arg(number),
                               state, QStringLiteral("001"), QStringLiteral("Jantar"), QStringLiteral("001"),
                               QStringLiteral("Casamento"), QStringLiteral("0001"), 120, QStringLiteral("Padrão"),
                               QStringLiteral("01"), QStringLiteral("0001"), QStringLiteral("00000001"),
                               QStringLiteral("Festa"), QJsonValue(), 46400.5, 46300, 46200, QJsonValue()});
    }
    return {{QStringLiteral("fields"), fields}, {QStringLiteral("rows"), rows}};
}

QJsonObject CancelamentoFixture::itemPacket(double quantity, double price, double discount, double surcharge)
{
    const QJsonArray fields = {
        field("CDFILIAL", "text", 4), field("NRORCAEVENTO", "text", 10), field("NRITEMORCEVE", "text", 10),
        field("CDPRODUTO", "text", 10), field("IDITOREVPROD", "text", 1), field("NROPCAITOREV", "text", 2),
        field("CDGRTOTAPROD", "text", 3), field("CDARVPROD", "text", 20), field("NMPRODUTO", "text", 50),
        field("QTITEMORCEVE", "float", 0), field("SGUNIDADE", "text", 10), field("VRITEMORCEVE", "float", 0),
        field("VRACREITOREV", "float", 0), field("VRDESCITOREV", "float", 0)};
    const QJsonArray row = {QStringLiteral("0001"), QStringLiteral("0000009001"), QStringLiteral("001"),
                            QStringLiteral("000007"), QStringLiteral("P"), QStringLiteral("01"), QStringLiteral("001"),
                            QStringLiteral("010020007"), QStringLiteral("Docinhos"), quantity, QStringLiteral("UN"),
                            price, surcharge, discount};
    return {{QStringLiteral("fields"), fields}, {QStringLiteral("rows"), QJsonArray{row}}};
}

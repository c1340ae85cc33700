// What other operators change reaches an open screen at once, and a server
// lost under the screen is replaced by the next one, against real servers.
#include "CancelamentoFixture.h"

#include "AppServerProcess.h"
#include "PostgresCluster.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ScreenParts.h"
#include "TDBGrid.h"
#include "TNetConnection.h"
#include "TfrmCancelamento.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSqlQuery>
#include <QStatusBar>
#include <QtTest>

#include <csignal>

namespace {

QString at(const RecordList &quotes, int row, const char *field)
{
    return quotes.valueAt(row, quotes.fieldByName(QLatin1String(field)).index()).toString();
}

} // namespace

class tst_CancelamentoAvisos : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void othersChangesShowAtOnce_data();
    void othersChangesShowAtOnce();
    void aLostServerIsReplacedAndAWriteNeverRepeated();

private:
    // Another operator withdraws the quote listed at `row`.
    void withdrawAsAnother(int row, const QString &state);

    PostgresCluster m_cluster;
    bool m_postgres = false;
    QString m_absent;
    CancelamentoFixture m_fixture;
    TfrmCancelamento *m_screen = nullptr;
    RecordList *m_quotes = nullptr;
};

void tst_CancelamentoAvisos::initTestCase()
{
    QString location;
    m_postgres = PostgresCluster::available(&m_absent);
    if (m_postgres) {
        m_cluster.start();
        m_cluster.createDatabase(QStringLiteral("avisos"));
        location = m_cluster.url(QStringLiteral("avisos"));
    }
    QString error;
    QVERIFY2(m_fixture.start(&error, location), qPrintable(error));
}

void tst_CancelamentoAvisos::init()
{
    m_screen = m_fixture.openAndList();
    QVERIFY(m_screen);
    m_quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QVERIFY2(m_quotes->recordCount() > 12, qPrintable(QString::number(m_quotes->recordCount())));
}

void tst_CancelamentoAvisos::cleanup()
{
    m_fixture.closeScreen();
    m_fixture.dialogs.clear();
    QVERIFY(m_fixture.dialogs.allAnswersUsed());
}

void tst_CancelamentoAvisos::withdrawAsAnother(int row, const QString &state)
{
    CancelamentoFixture::withdrawAsAnotherOperator(m_fixture.port(), at(*m_quotes, row, "NRORCAEVENTO"),
                                                   at(*m_quotes, row, "NRSEQORCAEVE"), state);
}

void tst_CancelamentoAvisos::othersChangesShowAtOnce_data()
{
    QTest::addColumn<int>("changed"); // rows below the current one; 0: the quote being edited
    QTest::addColumn<QString>("state");
    QTest::newRow("another listed quote, in place") << 4 << QuoteState::Cancelled;
    QTest::newRow("the quote being edited, told before confirming") << 0 << QuoteState::Postponed;
}

void tst_CancelamentoAvisos::othersChangesShowAtOnce()
{
    QFETCH(int, changed);
    QFETCH(QString, state);
    m_quotes->moveTo(6);
    m_screen->dbgPadrao->verticalScrollBar()->setValue(2);
    const int scrolled = m_screen->dbgPadrao->verticalScrollBar()->value();
    const QString current = at(*m_quotes, 6, "NRORCAEVENTO");
    if (changed == 0) {
        m_screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
        m_screen->dbgPadraoDblClick();
        QVERIFY(m_quotes->isEditing());
        part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0001"));
    }
    withdrawAsAnother(6 + changed, state);

    if (changed == 0) {
        // Told at once (who, and to what), the edit dropped once read.
        QTRY_VERIFY(!m_quotes->isEditing());
        const QString told = m_fixture.dialogs.lastText();
        QVERIFY2(told.contains(QStringLiteral("JSILVA")) && told.contains(QStringLiteral("Adiado")), qPrintable(told));
        QCOMPARE(m_quotes->changeCount(), 0);
        return;
    }
    QTRY_COMPARE(at(*m_quotes, 6 + changed, "IDSITUORCEVE"), state);
    QCOMPARE(m_quotes->recNo(), 6);
    QCOMPARE(at(*m_quotes, 6, "NRORCAEVENTO"), current);
    QCOMPARE(m_screen->dbgPadrao->verticalScrollBar()->value(), scrolled);
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
    const QString status = m_screen->stbPadrao->currentMessage();
    QVERIFY2(status.contains(QStringLiteral("1 alterado por outros operadores — F5 lista de novo")), qPrintable(status));
    m_screen->sbtVerificarClick(nullptr);
    QVERIFY(!m_screen->stbPadrao->currentMessage().contains(QStringLiteral("alterado")));
}

void tst_CancelamentoAvisos::aLostServerIsReplacedAndAWriteNeverRepeated()
{
    if (!m_postgres) {
        QSKIP(qPrintable(QStringLiteral("several servers share one database on PostgreSQL only: ") + m_absent));
    }
    AppServerProcess second, third;
    QVERIFY2(second.start(m_fixture.serverDatabase()), qPrintable(second.error()));
    QVERIFY2(third.start(m_fixture.serverDatabase()), qPrintable(third.error()));
    const auto address = [](quint16 port) { return QStringLiteral("127.0.0.1:%1").arg(port); };
    m_fixture.setServers({address(m_fixture.port()), address(second.port()), address(third.port())});
    m_fixture.closeScreen();
    m_screen = m_fixture.openAndList();
    m_quotes = part<RecordList>(m_screen, "cdsOrcamento");
    m_quotes->moveTo(8);
    const QString current = at(*m_quotes, 8, "NRORCAEVENTO");

    // The first server dies while the screen sits idle: the next one lists.
    ::kill(pid_t(m_fixture.serverProcessId()), SIGKILL);
    QTRY_VERIFY(second.log().contains(QStringLiteral("GetOrcamento")));
    QTRY_COMPARE(m_screen->Server(), address(second.port()));
    QCOMPARE(at(*m_quotes, m_quotes->recNo(), "NRORCAEVENTO"), current);

    // The second dies under a write held back by a lock: nothing is sent
    // again, the third reads the quote back and the operator is told.
    QSqlDatabase holder = m_fixture.serverSql();
    holder.transaction();
    QSqlQuery lock(holder);
    QVERIFY(lock.exec(QStringLiteral("SELECT * FROM ORCAEVENTO WHERE CDFILIAL = '0001' AND NRORCAEVENTO = '%1' FOR UPDATE")
                          .arg(current)));
    m_screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
    m_screen->dbgPadraoDblClick();
    part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0001"));
    TNetConnection::SetWaitHook([&second] { ::kill(pid_t(second.processId()), SIGKILL); });
    m_fixture.dialogs.answerAsk(0);
    m_screen->clickCommand(TfrmPadraoGrid::RecordCommand::Confirmar);
    TNetConnection::SetWaitHook({});
    holder.rollback();
    const QString told = m_fixture.dialogs.lastText();
    QVERIFY2(told.contains(QStringLiteral("não foi gravado")) && told.contains(QStringLiteral("Nada foi repetido")), qPrintable(told));
    QTRY_VERIFY(third.log().contains(QStringLiteral("GetOrcamento")));
    QVERIFY(!third.log().contains(QStringLiteral("SetOrcamento")));
    QVERIFY(!m_quotes->isEditing());
    QCOMPARE(m_quotes->changeCount(), 0);
}

QTEST_MAIN(tst_CancelamentoAvisos)
#include "tst_cancelamento_avisos.moc"

// The cancellation screen from its opening to the listed quotes: the first
// activation, the branch panel, the listing against the real server and the
// details loaded only while their page is shown.
#include "CancelamentoFixture.h"

#include "Cli_cxl04100.h"
#include "Corvane.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ScreenParts.h"
#include "ScriptedPeer.h"
#include "Showavi.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBMemo.h"
#include "TFiltro.h"
#include "TestCertificate.h"
#include "TfrmCancelamento.h"
#include "TfrmFiltroCancelamento.h"
#include "Cli_cxl04101.h"

#include <QAction>
#include <QFrame>
#include <QJsonArray>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>

#include <functional>
#include <QtTest>

class tst_CancelamentoAbertura final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void firstActivationWaitsInBranchCode();
    void fixedBranchListsAtOnceWithDefaultFilter();
    void branchCodeIsUpperCaseAndAtMostFourCharacters();
    void leavingBranchChecksCode_data();
    void leavingBranchChecksCode();
    void changingCodeEmptiesName();
    void enteringPanelClosesLists();
    void leavingPanelListsWithoutDialogWhenNotDue();
    void filterReachesServer_data();
    void filterReachesServer();
    void itemsLoadOnlyWhileTheirPageIsShown();
    void reasonLoadsOnReasonPage();
    void priceBaseLineFollowsParameter_data();
    void priceBaseLineFollowsParameter();
    void serverDownShowsErrorAndScreenStaysUsable();
    void lookupOffersEveryBranchAndFillsPick();
    void laterActivationOnlySetsDueFilter();
    void findWorksOnTheListOfThePageShown();
    void emptyListingOnItemsPageStillAsksItems();
    void fixedBranchWithServerDownRetriesFirstActivation();
    void leavingPanelOpensDueFilter_data();
    void leavingPanelOpensDueFilter();
    void filterButtonClearsDueFilterMenuDoesNot_data();
    void filterButtonClearsDueFilterMenuDoesNot();
    void failedItemsLoadShowsNoOtherQuotesItems();
    void connectsWithTheLoginsPasswordOverTls();

private:
    // Answers the filter dialog as soon as it shows.
    void whenDialogShows(const std::function<void(TfrmFiltroCancelamento &)> &answer);
    void leaveBranch(TfrmCancelamento *screen);
    QStringList column(const QString &fieldName) const;

    CancelamentoFixture m_fixture;
};

void tst_CancelamentoAbertura::initTestCase()
{
    QString error;
    QVERIFY2(m_fixture.start(&error), qPrintable(error));
}

void tst_CancelamentoAbertura::cleanup()
{
    m_fixture.closeScreen();
    m_fixture.dialogs.clear();
    boFiltro = false;
    QCOMPARE(Showavi::Depth(), 0);
}

void tst_CancelamentoAbertura::leaveBranch(TfrmCancelamento *screen)
{
    screen->dbgPadrao->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
}


QStringList tst_CancelamentoAbertura::column(const QString &fieldName) const
{
    RecordList *list = part<RecordList>(frmCancelamento, "cdsOrcamento");
    const int index = list->fieldByName(fieldName).index();
    QStringList values;
    for (int row = 0; row < list->recordCount(); ++row) {
        values << list->valueAt(row, index).toString();
    }
    return values;
}

void tst_CancelamentoAbertura::firstActivationWaitsInBranchCode()
{
    boFiltro = false;
    m_fixture.login(false);
    TfrmCancelamento *screen = m_fixture.openScreen();
    QVERIFY(screen);
    QCOMPARE(part<QLineEdit>(screen, "medCdFilial")->text(), QStringLiteral("0001"));
    QCOMPARE(part<QLineEdit>(screen, "edtNmFilial")->text(), QStringLiteral("Matriz"));
    QCOMPARE(QApplication::focusWidget(), part<QLineEdit>(screen, "medCdFilial"));
    QVERIFY(!screen->sbtIncluir->isEnabled());
    QVERIFY(!part<RecordList>(screen, "cdsOrcamento")->isActive());
    QVERIFY(part<RecordList>(screen, "cdsObs")->isActive());
    QVERIFY(part<RecordList>(screen, "cdsObs")->isEmpty());
    QVERIFY(!screen->PrimeiraAtivacao());
    QVERIFY(boFiltro);
    QVERIFY(part<QLineEdit>(screen, "medCdFilial")->isEnabled());
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
}

void tst_CancelamentoAbertura::fixedBranchListsAtOnceWithDefaultFilter()
{
    boFiltro = false;
    const qsizetype logged = m_fixture.serverLog().size();
    m_fixture.login(true);
    TfrmCancelamento *screen = m_fixture.openScreen();
    RecordList *quotes = part<RecordList>(screen, "cdsOrcamento");
    QVERIFY(quotes->isActive());
    QVERIFY(quotes->recordCount() > 0);
    // The server logged exactly that listing, with the rows the screen shows.
    const QRegularExpression listing(QStringLiteral("^\\S+ \\S+ GetOrcamento \\d+ ms ok, (\\d+) orçamento\\(s\\)$"),
                                     QRegularExpression::MultilineOption);
    QTRY_VERIFY(m_fixture.serverLog().mid(logged).contains(listing));
    QRegularExpressionMatchIterator calls = listing.globalMatch(m_fixture.serverLog().mid(logged));
    QCOMPARE(calls.next().captured(1).toInt(), quotes->recordCount());
    QVERIFY2(!calls.hasNext(), "the first activation lists once");
    QVERIFY(!part<QLineEdit>(screen, "medCdFilial")->isEnabled());
    QVERIFY(!part<TBtnPesquisa>(screen, "btnFilial")->isEnabled());
    QVERIFY(!screen->PrimeiraAtivacao());
    QVERIFY(boFiltro);
    for (const QString &state : column(QStringLiteral("IDSITUORCEVE"))) {
        QVERIFY2(state == QuoteState::Pending || state == QuoteState::Approved, qPrintable(state));
    }
    for (const QString &branch : column(QStringLiteral("CDFILIAL"))) {
        QCOMPARE(branch, QStringLiteral("0001"));
    }
    // The first listing sends the default filter, and the server hands every
    // value back unchanged into it.
    QCOMPARE(Filtro.IdSitu, QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved + QLatin1Char('_'));
    QCOMPARE(Filtro.TIdSitu, QString());
    for (const QString *flag : {&Filtro.NrOrcaEven.Todos, &Filtro.DtOrcamento.Todos, &Filtro.DtValidade.Todos,
                                &Filtro.DtEvento.Todos, &Filtro.Vendedor.Todos, &Filtro.Cliente.Todos,
                                &Filtro.TipoEven.Todos, &Filtro.TipoServ.Todos, &Filtro.TTitulo, &Filtro.TNovoClie}) {
        QCOMPARE(*flag, QStringLiteral("T"));
    }
    QCOMPARE(screen->dbgPadrao->selectedFieldName(), QStringLiteral("NRORCAEVENTO"));
    // The panel stays locked whatever the list does.
    quotes->edit();
    quotes->cancel();
    QVERIFY(!part<QLineEdit>(screen, "medCdFilial")->isEnabled());
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
}

void tst_CancelamentoAbertura::branchCodeIsUpperCaseAndAtMostFourCharacters()
{
    m_fixture.login(false);
    TfrmCancelamento *screen = m_fixture.openScreen();
    part<QLineEdit>(screen, "medCdFilial")->selectAll();
    QTest::keyClicks(part<QLineEdit>(screen, "medCdFilial"), QStringLiteral("ab1c9z"));
    QCOMPARE(part<QLineEdit>(screen, "medCdFilial")->text(), QStringLiteral("AB1C"));
}

void tst_CancelamentoAbertura::leavingBranchChecksCode_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString() << QStringLiteral("Filial deve ser informada.") << QString() << QString();
    QTest::newRow("unknown") << QStringLiteral("99") << QStringLiteral("Filial não cadastrada.")
                             << QStringLiteral("0099") << QString();
    QTest::newRow("short code is widened") << QStringLiteral("1") << QString() << QStringLiteral("0001")
                                           << QStringLiteral("*");
}

void tst_CancelamentoAbertura::leavingBranchChecksCode()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, code);
    QFETCH(QString, name);
    m_fixture.login(false);
    TfrmCancelamento *screen = m_fixture.openScreen();
    QLineEdit *medCdFilial = part<QLineEdit>(screen, "medCdFilial");
    boFiltro = false;
    medCdFilial->clear();
    QTest::keyClicks(medCdFilial, typed);
    leaveBranch(screen);
    QCOMPARE(medCdFilial->text().trimmed(), code);
    if (message.isEmpty()) {
        QVERIFY(m_fixture.dialogs.shown().isEmpty());
        QVERIFY(!part<QLineEdit>(screen, "edtNmFilial")->text().isEmpty());
        QVERIFY(part<RecordList>(screen, "cdsOrcamento")->isActive());
        QCOMPARE(QApplication::focusWidget(), screen->dbgPadrao);
    } else {
        QCOMPARE(m_fixture.dialogs.lastText(), message);
        QCOMPARE(part<QLineEdit>(screen, "edtNmFilial")->text(), name);
        QCOMPARE(QApplication::focusWidget(), medCdFilial);
        QVERIFY(!part<RecordList>(screen, "cdsOrcamento")->isActive());
    }
}

void tst_CancelamentoAbertura::changingCodeEmptiesName()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(!part<QLineEdit>(screen, "edtNmFilial")->text().isEmpty());
    part<QLineEdit>(screen, "medCdFilial")->setFocus();
    QCoreApplication::processEvents();
    part<QLineEdit>(screen, "medCdFilial")->end(false);
    QTest::keyClick(part<QLineEdit>(screen, "medCdFilial"), Qt::Key_Backspace);
    QVERIFY(part<QLineEdit>(screen, "edtNmFilial")->text().isEmpty());
}

void tst_CancelamentoAbertura::enteringPanelClosesLists()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    screen->mnuItensClick(nullptr);
    QVERIFY(part<RecordList>(screen, "cdsItemOrcaEven")->isActive());
    screen->mnuFolhaDadosClick(nullptr);
    part<QLineEdit>(screen, "medCdFilial")->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(!part<RecordList>(screen, "cdsOrcamento")->isActive());
    QVERIFY(!part<RecordList>(screen, "cdsItemOrcaEven")->isActive());
    QVERIFY(!part<RecordList>(screen, "cdsMotivo")->isActive());
    QVERIFY(!part<QFrame>(screen, "pnlMotivo")->isEnabled());
    QVERIFY(!part<TButtonFlat>(screen, "sbtFiltro")->isEnabled());
    QVERIFY(!part<QAction>(screen, "mnuFiltrar")->isEnabled());
    QVERIFY(!screen->sbtVerificar->isEnabled());
    QVERIFY(!screen->pgcPadrao->isPageEnabled(part<QWidget>(screen, "tshItens")));
    QVERIFY(!screen->pgcPadrao->isPageEnabled(part<QWidget>(screen, "tshMotivo")));
    QVERIFY(part<QAction>(screen, "mnuFolhaDados")->isEnabled());
    QVERIFY(!part<QAction>(screen, "mnuItens")->isEnabled());
    // Leaving again without a change lists again.
    boFiltro = false;
    leaveBranch(screen);
    QVERIFY(part<RecordList>(screen, "cdsOrcamento")->isActive());
}

void tst_CancelamentoAbertura::leavingPanelListsWithoutDialogWhenNotDue()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(part<RecordList>(screen, "cdsOrcamento")->recordCount() > 0);
    QVERIFY(boFiltro);
    QVERIFY(screen->pgcPadrao->isEnabled());
    QVERIFY(screen->sbtVerificar->isEnabled());
    QVERIFY(part<QAction>(screen, "mnuItens")->isEnabled());
    QVERIFY(part<QAction>(screen, "mnuFolhaDados")->isChecked());
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
}

void tst_CancelamentoAbertura::filterReachesServer_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::newRow("quote numbers") << QStringLiteral("numbers");
    QTest::newRow("event date") << QStringLiteral("event");
    QTest::newRow("validity date") << QStringLiteral("validity");
    QTest::newRow("quote date") << QStringLiteral("origin");
    QTest::newRow("seller") << QStringLiteral("seller");
    QTest::newRow("client") << QStringLiteral("client");
    QTest::newRow("event type") << QStringLiteral("eventType");
    QTest::newRow("service type") << QStringLiteral("serviceType");
    QTest::newRow("states") << QStringLiteral("states");
    QTest::newRow("title") << QStringLiteral("title");
}

// Each criterion, set alone, narrows the listing to the quotes that meet it:
// the server got each value at its place.
void tst_CancelamentoAbertura::filterReachesServer()
{
    QFETCH(QString, criterion);
    TfrmCancelamento *screen = m_fixture.openAndList();
    RecordList *list = part<RecordList>(screen, "cdsOrcamento");
    QVERIFY(list->recordCount() > 2);
    list->moveTo(1);
    const auto value = [list](const char *name) { return list->fieldByName(QLatin1String(name)).asString(); };
    const auto day = [list](const char *name) { return std::floor(list->fieldByName(QLatin1String(name)).asDateTime()); };
    const QString number = value("NRORCAEVENTO");
    QString field;
    QString expected;
    double expectedDay = 0;
    if (criterion == QLatin1String("numbers")) {
        Filtro.NrOrcaEven = {number, number, QString()};
        field = QStringLiteral("NRORCAEVENTO");
        expected = number;
    } else if (criterion == QLatin1String("event")) {
        expectedDay = day("DTEVENTO");
        Filtro.DtEvento.De = expectedDay;
        Filtro.DtEvento.Ate = expectedDay;
        Filtro.DtEvento.Todos.clear();
        field = QStringLiteral("DTEVENTO");
    } else if (criterion == QLatin1String("validity")) {
        expectedDay = day("DTVALIORCEVE");
        Filtro.DtValidade.De = expectedDay;
        Filtro.DtValidade.Ate = expectedDay;
        Filtro.DtValidade.Todos.clear();
        field = QStringLiteral("DTVALIORCEVE");
    } else if (criterion == QLatin1String("origin")) {
        expectedDay = day("DTINCLORCEVE");
        Filtro.DtOrcamento.De = expectedDay;
        Filtro.DtOrcamento.Ate = expectedDay;
        Filtro.DtOrcamento.Todos.clear();
        field = QStringLiteral("DTINCLORCEVE");
    } else if (criterion == QLatin1String("seller")) {
        field = QStringLiteral("CDVENDEDOR");
        expected = value("CDVENDEDOR");
        Filtro.Vendedor.Lista = expected + QLatin1Char('_');
        Filtro.Vendedor.Todos.clear();
    } else if (criterion == QLatin1String("client")) {
        field = QStringLiteral("CDCLIENTE");
        expected = value("CDCLIENTE");
        Filtro.Cliente.Lista = expected + QLatin1Char('_');
        Filtro.Cliente.Todos.clear();
    } else if (criterion == QLatin1String("eventType")) {
        field = QStringLiteral("CDTIPOEVENTO");
        expected = value("CDTIPOEVENTO");
        Filtro.TipoEven.Lista = expected + QLatin1Char('_');
        Filtro.TipoEven.Todos.clear();
    } else if (criterion == QLatin1String("serviceType")) {
        field = QStringLiteral("CDTPSERVEVEN");
        expected = value("CDTPSERVEVEN");
        Filtro.TipoServ.Lista = expected + QLatin1Char('_');
        Filtro.TipoServ.Todos.clear();
    } else if (criterion == QLatin1String("states")) {
        field = QStringLiteral("IDSITUORCEVE");
        expected = QuoteState::Approved;
        Filtro.IdSitu = QuoteState::Approved + QLatin1Char('_');
    } else {
        field = QStringLiteral("DSTITUORCEVE");
        expected = value("DSTITUORCEVE");
        Filtro.Titulo = expected;
        Filtro.TTitulo.clear();
    }
    const TFiltro sent = Filtro;
    const int before = list->recordCount();
    screen->clickCommand(TfrmPadraoGrid::RecordCommand::Verificar);
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
    QVERIFY(list->recordCount() > 0);
    QVERIFY(list->recordCount() < before);
    const int index = list->fieldByName(field).index();
    for (int row = 0; row < list->recordCount(); ++row) {
        if (expectedDay != 0) {
            QCOMPARE(std::floor(list->valueAt(row, index).toDouble()), expectedDay);
        } else {
            QCOMPARE(list->valueAt(row, index).toString(), expected);
        }
    }
    // Every by-reference value came back into the filter as it was sent.
    QCOMPARE(Filtro.NrOrcaEven.De, sent.NrOrcaEven.De);
    QCOMPARE(Filtro.DtEvento.De, sent.DtEvento.De);
    QCOMPARE(Filtro.Vendedor.Lista, sent.Vendedor.Lista);
    QCOMPARE(Filtro.IdSitu, sent.IdSitu);
    QCOMPARE(Filtro.Titulo, sent.Titulo);
}

void tst_CancelamentoAbertura::itemsLoadOnlyWhileTheirPageIsShown()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    RecordList *quotes = part<RecordList>(screen, "cdsOrcamento");
    RecordList *items = part<RecordList>(screen, "cdsItemOrcaEven");
    quotes->next();
    QVERIFY(!items->isActive());
    screen->pgcPadrao->SetActivePage(part<QWidget>(screen, "tshItens"));
    QVERIFY(items->isActive());
    QVERIFY(part<RecordList>(screen, "cdsObs")->isActive());
    QVERIFY(!part<RecordList>(screen, "cdsMotivo")->isActive());
    QVERIFY(part<QAction>(screen, "mnuItens")->isChecked());
    QVERIFY(!part<QAction>(screen, "mnuFolhaDados")->isChecked());
    const auto itemsBelongTo = [items](const QString &number) {
        for (int row = 0; row < items->recordCount(); ++row) {
            if (items->valueAt(row, 1).toString() != number) {
                return false;
            }
        }
        return items->recordCount() > 0;
    };
    QVERIFY(itemsBelongTo(quotes->fieldByName(QStringLiteral("NRORCAEVENTO")).asString()));
    quotes->next();
    QVERIFY(itemsBelongTo(quotes->fieldByName(QStringLiteral("NRORCAEVENTO")).asString()));
    // Back on the grid page, moving no longer fetches.
    const QString shown = items->valueAt(0, 1).toString();
    screen->mnuFolhaDadosClick(nullptr);
    quotes->next();
    QCOMPARE(items->valueAt(0, 1).toString(), shown);
}

void tst_CancelamentoAbertura::reasonLoadsOnReasonPage()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    Filtro.IdSitu = QuoteState::Cancelled + QLatin1Char('_');
    screen->clickCommand(TfrmPadraoGrid::RecordCommand::Verificar);
    RecordList *quotes = part<RecordList>(screen, "cdsOrcamento");
    QVERIFY(quotes->recordCount() > 0);
    const QString reason = quotes->fieldByName(QStringLiteral("CDJUSTEXCHIS")).asString();
    QVERIFY(!reason.isEmpty());
    QVERIFY(!part<RecordList>(screen, "cdsMotivo")->isActive());
    screen->mnuMotivoClick(nullptr);
    QVERIFY(part<QAction>(screen, "mnuMotivo")->isChecked());
    QVERIFY(part<RecordList>(screen, "cdsMotivo")->isActive());
    QCOMPARE(part<QLineEdit>(screen, "edtCdMotivo")->text(), reason);
    QVERIFY(!part<QLineEdit>(screen, "edtNmMotivo")->text().isEmpty());
    QVERIFY(part<RecordList>(screen, "cdsItemOrcaEven")->isActive());
}

void tst_CancelamentoAbertura::priceBaseLineFollowsParameter_data()
{
    QTest::addColumn<QString>("origin");
    QTest::addColumn<bool>("shown");
    QTest::newRow("contract") << QStringLiteral("C") << false;
    QTest::newRow("table") << QStringLiteral("T") << true;
    QTest::newRow("empty") << QString() << true;
}

void tst_CancelamentoAbertura::priceBaseLineFollowsParameter()
{
    QFETCH(QString, origin);
    QFETCH(bool, shown);
    QString error;
    QVERIFY2(m_fixture.setOrigemPreco(origin, &error), qPrintable(error));
    TfrmCancelamento *screen = m_fixture.openAndList();
    screen->mnuItensClick(nullptr);
    QCOMPARE(part<QFrame>(screen, "panPrecoBase")->isVisibleTo(screen), shown);
    QCOMPARE(part<QFrame>(screen, "panCabecalho")->height(), shown ? 100 : 68);
    QVERIFY(!part<TDBEdit>(screen, "dbePrecoBase")->isEnabled());
    QVERIFY2(m_fixture.setOrigemPreco(QStringLiteral("T"), &error), qPrintable(error));
}

void tst_CancelamentoAbertura::serverDownShowsErrorAndScreenStaysUsable()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 nobody = closed.serverPort();
    closed.close();
    m_fixture.login(false, nobody);
    TfrmCancelamento *screen = m_fixture.openScreen();
    boFiltro = false;
    leaveBranch(screen);
    QCOMPARE(m_fixture.dialogs.shown().size(), 1);
    QCOMPARE(m_fixture.dialogs.shown().first().icon, HostDialogs::Icon::Error);
    QVERIFY2(m_fixture.dialogs.lastText().contains(QString::number(nobody)),
             qPrintable(m_fixture.dialogs.lastText()));
    QCOMPARE(Showavi::Depth(), 0);
    QVERIFY(!part<RecordList>(screen, "cdsOrcamento")->isActive());
    // The operator can go back to the branch and try again.
    part<QLineEdit>(screen, "medCdFilial")->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), part<QLineEdit>(screen, "medCdFilial"));
    QVERIFY(part<QLineEdit>(screen, "medCdFilial")->isEnabled());
}

void tst_CancelamentoAbertura::fixedBranchWithServerDownRetriesFirstActivation()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 nobody = closed.serverPort();
    closed.close();
    m_fixture.login(true, nobody);
    TfrmCancelamento *screen = m_fixture.openScreen();
    QCOMPARE(m_fixture.dialogs.shown().size(), 1);
    QCOMPARE(m_fixture.dialogs.shown().first().icon, HostDialogs::Icon::Error);
    // The one-time steps did not run, so the next activation tries again.
    QVERIFY(screen->PrimeiraAtivacao());
    QVERIFY(!part<RecordList>(screen, "cdsObs")->isActive());
    QCOMPARE(Showavi::Depth(), 0);
}

void tst_CancelamentoAbertura::whenDialogShows(const std::function<void(TfrmFiltroCancelamento &)> &answer)
{
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [poll, answer] {
        if (frmFiltroCancelamento && frmFiltroCancelamento->isVisible()) {
            poll->stop();
            poll->deleteLater();
            answer(*frmFiltroCancelamento);
        }
    });
    poll->start(20);
}

void tst_CancelamentoAbertura::leavingPanelOpensDueFilter_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("cancelled") << false;
    QTest::newRow("confirmed") << true;
}

void tst_CancelamentoAbertura::leavingPanelOpensDueFilter()
{
    QFETCH(bool, confirm);
    m_fixture.login(false);
    TfrmCancelamento *screen = m_fixture.openScreen();
    QVERIFY(boFiltro);
    bool opened = false;
    whenDialogShows([&opened, confirm](TfrmFiltroCancelamento &dialog) {
        opened = true;
        if (confirm) {
            dialog.sbtConfirmaClick(nullptr);
        } else {
            dialog.sbtCancelClick(nullptr);
        }
    });
    leaveBranch(screen);
    QVERIFY(opened);
    QVERIFY(boFiltro);
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
    QCOMPARE(part<RecordList>(screen, "cdsOrcamento")->isActive(), confirm);
    // The dialog has just closed: the screen's window gets its focus back
    // where the exit step left it.
    if (confirm) {
        QVERIFY(part<RecordList>(screen, "cdsOrcamento")->recordCount() > 0);
        QCOMPARE(screen->focusWidget(), screen->dbgPadrao);
    } else {
        QCOMPARE(screen->focusWidget(), part<QLineEdit>(screen, "medCdFilial"));
    }
}

void tst_CancelamentoAbertura::filterButtonClearsDueFilterMenuDoesNot_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("button") << true;
    QTest::newRow("menu Ctrl+L") << false;
}

void tst_CancelamentoAbertura::filterButtonClearsDueFilterMenuDoesNot()
{
    QFETCH(bool, byButton);
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(part<TButtonFlat>(screen, "sbtFiltro")->isEnabled());
    QVERIFY(boFiltro);
    bool opened = false;
    whenDialogShows([&opened](TfrmFiltroCancelamento &dialog) {
        opened = true;
        dialog.sbtCancelClick(nullptr);
    });
    if (byButton) {
        part<TButtonFlat>(screen, "sbtFiltro")->click();
    } else {
        QTest::keyClick(screen->dbgPadrao, Qt::Key_L, Qt::ControlModifier);
    }
    QVERIFY(opened);
    QCOMPARE(boFiltro, !byButton);
}

void tst_CancelamentoAbertura::lookupOffersEveryBranchAndFillsPick()
{
    m_fixture.login(false);
    TfrmCancelamento *screen = m_fixture.openScreen();
    m_fixture.dialogs.answerPickOne(QStringLiteral("0002"));
    QVERIFY(part<TBtnPesquisa>(screen, "btnFilial")->execute());
    QCOMPARE(m_fixture.dialogs.pickTitles(), QStringList{QStringLiteral("Filial")});
    QVERIFY(part<RecordList>(screen, "qryFilial")->recordCount() > 2);
    QCOMPARE(part<RecordList>(screen, "qryFilial")->valueAt(0, 0).toString(), QStringLiteral("0001"));
    QCOMPARE(part<QLineEdit>(screen, "medCdFilial")->text(), QStringLiteral("0002"));
    QCOMPARE(part<QLineEdit>(screen, "edtNmFilial")->text(), QStringLiteral("Filial Campinas"));
    QVERIFY(screen->pgcPadrao->isEnabled());
}

void tst_CancelamentoAbertura::findWorksOnTheListOfThePageShown()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    RecordList *quotes = part<RecordList>(screen, "cdsOrcamento");
    const int number = quotes->fieldByName(QStringLiteral("NRORCAEVENTO")).index();
    const QString wanted = quotes->valueAt(quotes->recordCount() - 1, number).toString();
    int first = 0;
    while (quotes->valueAt(first, number).toString() != wanted) {
        ++first;
    }
    m_fixture.dialogs.answerFind(QStringLiteral("NRORCAEVENTO"), wanted);
    screen->clickCommand(TfrmPadraoGrid::RecordCommand::Procurar);
    QVERIFY(first > 0);
    QCOMPARE(quotes->recNo(), first);
    // On the reason page there is nothing to search: no find dialog is asked.
    screen->mnuMotivoClick(nullptr);
    screen->sbtProcurarClick(screen->sbtProcurar);
    QVERIFY(m_fixture.dialogs.allAnswersUsed());
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
}

void tst_CancelamentoAbertura::emptyListingOnItemsPageStillAsksItems()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    screen->mnuItensClick(nullptr);
    part<RecordList>(screen, "cdsItemOrcaEven")->close();
    Filtro.NrOrcaEven = {QStringLiteral("9999999999"), QStringLiteral("9999999999"), QString()};
    screen->clickCommand(TfrmPadraoGrid::RecordCommand::Verificar);
    QVERIFY(part<RecordList>(screen, "cdsOrcamento")->isEmpty());
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
    QVERIFY(part<RecordList>(screen, "cdsItemOrcaEven")->isActive());
    QVERIFY(part<RecordList>(screen, "cdsItemOrcaEven")->isEmpty());
    QVERIFY(part<TButtonFlat>(screen, "sbtFiltro")->isEnabled());
    QVERIFY(!screen->sbtVerificar->isEnabled());
}

void tst_CancelamentoAbertura::laterActivationOnlySetsDueFilter()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    RecordList *quotes = part<RecordList>(screen, "cdsOrcamento");
    quotes->moveTo(2);
    boFiltro = false;
    auto *other = m_fixture.area.addSubWindow(new QWidget);
    other->show();
    m_fixture.area.setActiveSubWindow(other);
    m_fixture.area.setActiveSubWindow(screen->subWindow());
    QCOMPARE(m_fixture.area.activeSubWindow(), screen->subWindow());
    QVERIFY(boFiltro);
    QVERIFY(!screen->PrimeiraAtivacao());
    // The list was not fetched again: the current quote is where it was.
    QCOMPARE(quotes->recNo(), 2);
    QCOMPARE(part<QLineEdit>(screen, "medCdFilial")->text(), QStringLiteral("0001"));
    delete other;
}

// Last: it stops the server.
void tst_CancelamentoAbertura::failedItemsLoadShowsNoOtherQuotesItems()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    screen->mnuItensClick(nullptr);
    QVERIFY(part<RecordList>(screen, "cdsItemOrcaEven")->recordCount() > 0);
    screen->mnuFolhaDadosClick(nullptr);
    part<RecordList>(screen, "cdsOrcamento")->next();
    m_fixture.stopServer();
    m_fixture.dialogs.clear();
    screen->mnuItensClick(nullptr);
    QCOMPARE(m_fixture.dialogs.shown().size(), 1);
    QCOMPARE(m_fixture.dialogs.shown().first().icon, HostDialogs::Icon::Error);
    QVERIFY(part<RecordList>(screen, "cdsItemOrcaEven")->isEmpty());
    QVERIFY(part<RecordList>(screen, "cdsObs")->isEmpty());
    QCOMPARE(part<TDBMemo>(screen, "dbmMotivo")->toPlainText(), QString());
}

void tst_CancelamentoAbertura::connectsWithTheLoginsPasswordOverTls()
{
    const TestCertificate certificate;
    QVERIFY2(certificate.error().isEmpty(), qPrintable(certificate.error()));
    ScriptedPeer peer(certificate);
    peer.requireOperator(QStringLiteral("MSOUZA"), QStringLiteral("s3nh@"));
    peer.replyResult(QJsonObject{{"ok", true}, {"data", CancelamentoFixture::quotePacket({QuoteState::Pending})}});
    m_fixture.login(true, peer.port());
    Corvane::LoginData login = Corvane::Login();
    login.webTLS = true;
    login.webFingerprint = certificate.fingerprint();
    login.senha = QStringLiteral("s3nh@");
    Corvane::SetLogin(login);
    boFiltro = false;
    TfrmCancelamento *screen = m_fixture.openScreen();
    QVERIFY(screen);

    QVERIFY2(m_fixture.dialogs.shown().isEmpty(), qPrintable(m_fixture.dialogs.lastText()));
    QCOMPARE(part<RecordList>(screen, "cdsOrcamento")->recordCount(), 1);
    QCOMPARE(peer.requests().first().value(QStringLiteral("params")).toArray().at(1),
             QJsonValue(QJsonObject{{"operator", "MSOUZA"}, {"password", "s3nh@"}, {"notices", true}}));
}

QTEST_MAIN(tst_CancelamentoAbertura)
#include "tst_cancelamento_abertura.moc"

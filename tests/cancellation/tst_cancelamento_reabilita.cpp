// Re-enabling a cancelled or postponed quote: the question, the hall check
// with its messages and the bookings to blame, what the server restores, and
// the failures after which nothing is left pending. Quotes are cancelled by
// the screen's own workflow first; answers no sound server gives come from a
// scripted one.
#include "CancelamentoFixture.h"

#include "Cli_cxl04100.h"
#include "Consiste.h"
#include "ModalAnswers.h"
#include "QtHostDialogs.h"
#include "RecordList.h"
#include "QuoteStates.h"
#include "ScreenParts.h"
#include "ScriptedPeer.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBGrid.h"
#include "TFiltro.h"
#include "TNetConnection.h"
#include "TfrmCancelamento.h"
#include "TfrmFiltroCancelamento.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <cmath>

namespace {

struct Cancelado {
    QString numero, sequencia, salao, hora;
    double dia = 0;
    QString anterior;
};

} // namespace

class tst_CancelamentoReabilita final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void answeringNoChangesNothing();
    void reEnableRestoresStateAndBooking_data();
    void reEnableRestoresStateAndBooking();
    void blockedHallIsReportedAndNothingWritten_data();
    void blockedHallIsReportedAndNothingWritten();
    void refusedSetAnteriorLeavesNothingPending();
    void unusualServerAnswers_data();
    void unusualServerAnswers();
    void serverGoneMidWay();
    void wholeReEnableByKeyboard();

private:
    // Cancels, through the screen, an open quote in `state` that books a
    // hall, then lists the cancelled and postponed quotes with it current.
    Cancelado cancela(const QString &state);
    void listaCancelados(const Cancelado &quote);
    // A change left in the list's log, as a mark not yet confirmed leaves one.
    void deixaAlteracaoPendente();
    // Opens the screen again over a scripted server, on a fixed branch whose
    // first listing answers `quotes`.
    void abreSobre(ScriptedPeer &peer, const QJsonObject &quotes);
    QString situacao(const Cancelado &quote);
    int conta(const QString &statement, const QVariantList &values);
    qsizetype logAtual();
    QStringList metodosDesde(qsizetype logged);
    void executa(const QString &statement, const QVariantList &values);

    CancelamentoFixture m_fixture;
    TfrmCancelamento *m_screen = nullptr;
};

void tst_CancelamentoReabilita::initTestCase()
{
    QString error;
    QVERIFY2(m_fixture.start(&error), qPrintable(error));
}

void tst_CancelamentoReabilita::init()
{
    m_screen = m_fixture.openAndList();
    QVERIFY(m_screen);
}

void tst_CancelamentoReabilita::cleanup()
{
    m_fixture.closeScreen();
    QVERIFY(m_fixture.dialogs.allAnswersUsed());
    m_fixture.dialogs.clear();
    QCOMPARE(Showavi::Depth(), 0);
}

void tst_CancelamentoReabilita::executa(const QString &statement, const QVariantList &values)
{
    QSqlQuery query(m_fixture.serverSql());
    query.prepare(statement);
    for (const QVariant &value : values) {
        query.addBindValue(value);
    }
    QVERIFY2(query.exec(), qPrintable(statement + QStringLiteral(": ") + query.lastError().text()));
}

int tst_CancelamentoReabilita::conta(const QString &statement, const QVariantList &values)
{
    QSqlQuery query(m_fixture.serverSql());
    query.prepare(statement);
    for (const QVariant &value : values) {
        query.addBindValue(value);
    }
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

QString tst_CancelamentoReabilita::situacao(const Cancelado &quote)
{
    QSqlQuery query(m_fixture.serverSql());
    query.prepare(QStringLiteral("SELECT IDSITUORCEVE FROM ORCAEVENTO WHERE CDFILIAL = '0001' AND NRORCAEVENTO = ? "
                                 "AND NRSEQORCAEVE = ?"));
    query.addBindValue(quote.numero);
    query.addBindValue(quote.sequencia);
    return query.exec() && query.next() ? query.value(0).toString() : QString();
}

qsizetype tst_CancelamentoReabilita::logAtual()
{
    // The server's lines reach the test as its event loop runs: wait until
    // every call made so far is in.
    qsizetype size = -1;
    while (size != m_fixture.serverLog().size()) {
        size = m_fixture.serverLog().size();
        QTest::qWait(60);
    }
    return size;
}

QStringList tst_CancelamentoReabilita::metodosDesde(qsizetype logged)
{
    logAtual();
    QStringList methods;
    const QStringList lines = m_fixture.serverLog().mid(logged).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        methods << line.section(QLatin1Char(' '), 2, 2);
    }
    return methods;
}

Cancelado tst_CancelamentoReabilita::cancela(const QString &state)
{
    QSqlQuery booked(m_fixture.serverSql());
    booked.exec(QStringLiteral("SELECT O.NRORCAEVENTO, O.NRSEQORCAEVE, O.CDSALAOEVEN, O.DTEVENTO, O.HREVENTO "
                               "FROM ORCAEVENTO O JOIN AGENDASALAO A ON A.CDFILIAL = O.CDFILIAL "
                               "AND A.NRORCAEVENTO = O.NRORCAEVENTO AND A.NRSEQORCAEVE = O.NRSEQORCAEVE "
                               "WHERE O.CDFILIAL = '0001' AND O.IDSITUORCEVE = '%1' AND A.IDSITAGENSAL <> 'C' "
                               "ORDER BY O.NRORCAEVENTO, O.NRSEQORCAEVE")
                    .arg(state));
    if (!booked.next()) {
        qFatal("no booked quote left in state %s", qPrintable(state));
    }
    const Cancelado quote{booked.value(0).toString(), booked.value(1).toString(), booked.value(2).toString(),
                          booked.value(4).toString(), std::floor(booked.value(3).toDouble()), state};
    // An open read would keep this connection on a snapshot the server's
    // writes make stale, and its own writes would be refused.
    booked.finish();
    ResetFiltro(Filtro);
    Filtro.NrOrcaEven = {quote.numero, quote.numero, QString()};
    m_screen->sbtVerificarClick(m_screen->sbtVerificar);
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    for (int row = 0; row < quotes->recordCount(); ++row) {
        if (quotes->valueAt(row, 2).toString() == quote.sequencia) {
            quotes->moveTo(row);
        }
    }
    m_screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
    m_screen->dbgPadraoDblClick();
    part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0001"));
    m_fixture.dialogs.answerAsk(0);
    m_screen->clickCommand(TfrmPadraoGrid::RecordCommand::Confirmar);
    if (m_fixture.dialogs.lastText() != QStringLiteral("Operação realizada com sucesso.")) {
        qFatal("the quote was not cancelled: %s", qPrintable(m_fixture.dialogs.lastText()));
    }
    m_fixture.dialogs.clear();
    // Nothing else holds the hall at that day and hour, and it has room.
    executa(QStringLiteral("UPDATE SALAOEVEN SET QTLIMAGENDIA = 99 WHERE CDFILIAL = '0001' AND CDSALAOEVEN = ?"),
            {quote.salao});
    executa(QStringLiteral("DELETE FROM AGENDASALAO WHERE CDFILIAL = '0001' AND CDSALAOEVEN = ? AND DTEVENTO = ? "
                           "AND HREVENTO = ? AND NOT (NRORCAEVENTO = ? AND NRSEQORCAEVE = ?)"),
            {quote.salao, quote.dia, quote.hora, quote.numero, quote.sequencia});
    listaCancelados(quote);
    return quote;
}

void tst_CancelamentoReabilita::listaCancelados(const Cancelado &quote)
{
    ResetFiltro(Filtro);
    Filtro.IdSitu = QLatin1Char('_') + QuoteState::Cancelled + QLatin1Char('_') + QuoteState::Postponed
                    + QLatin1Char('_');
    m_screen->sbtVerificarClick(m_screen->sbtVerificar);
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    for (int row = 0; row < quotes->recordCount(); ++row) {
        if (quotes->valueAt(row, 1).toString() == quote.numero && quotes->valueAt(row, 2).toString() == quote.sequencia) {
            quotes->moveTo(row);
        }
    }
}

void tst_CancelamentoReabilita::deixaAlteracaoPendente()
{
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    const RecordList::Event before = quotes->beforePost;
    const RecordList::Event after = quotes->afterPost;
    quotes->beforePost = nullptr;
    quotes->afterPost = nullptr;
    quotes->edit();
    quotes->fieldByName(QStringLiteral("CDOPEJUSTORC")).setAsString(QStringLiteral("MARCADO"));
    quotes->post();
    quotes->beforePost = before;
    quotes->afterPost = after;
    QCOMPARE(quotes->changeCount(), 1);
}

void tst_CancelamentoReabilita::abreSobre(ScriptedPeer &peer, const QJsonObject &quotes)
{
    m_fixture.closeScreen();
    peer.replyResult(QJsonObject{{"ok", true}, {"data", quotes}});
    m_fixture.login(true, peer.port());
    boFiltro = false;
    m_screen = m_fixture.openScreen();
    QVERIFY(m_screen);
    // A call the script did not foresee fails at once instead of waiting.
    part<TNetConnection>(m_screen, "netCancelamento")->SetCallTimeout(3000);
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->recordCount(), 1);
}

void tst_CancelamentoReabilita::answeringNoChangesNothing()
{
    const Cancelado quote = cancela(QuoteState::Approved);
    m_screen->mnuItensClick(nullptr);
    const qsizetype logged = logAtual();
    m_fixture.dialogs.answerAsk(1);
    QTest::keyClick(part<TDBGrid>(m_screen, "dbgItem"), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(m_fixture.dialogs.shownTexts(),
             QStringList{QStringLiteral("O orçamento selecionado será habilitado. Confirma operação?")});
    QCOMPARE(metodosDesde(logged), QStringList());
    QCOMPARE(m_screen->pgcPadrao->activePage(), part<QWidget>(m_screen, "tshItens"));
    QCOMPARE(situacao(quote), QuoteState::Cancelled);
}

void tst_CancelamentoReabilita::reEnableRestoresStateAndBooking_data()
{
    QTest::addColumn<QString>("anterior");
    QTest::addColumn<QString>("agenda");
    QTest::newRow("approved again, booked") << QuoteState::Approved << QStringLiteral("A");
    QTest::newRow("pending again, reserved") << QuoteState::Pending << QStringLiteral("R");
}

void tst_CancelamentoReabilita::reEnableRestoresStateAndBooking()
{
    QFETCH(QString, anterior);
    QFETCH(QString, agenda);
    const Cancelado quote = cancela(anterior);
    deixaAlteracaoPendente();
    const qsizetype logged = logAtual();
    m_fixture.dialogs.answerAsk(0);
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_H, Qt::ControlModifier);

    QCOMPARE(m_fixture.dialogs.shownTexts().last(), QStringLiteral("Operação realizada com sucesso."));
    QCOMPARE(metodosDesde(logged), (QStringList{"getSituAnterior", "getVerifSalao", "SetAnterior", "setAgendaSalao",
                                                "GetOrcamento"}));
    QCOMPARE(situacao(quote), anterior);
    QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM AGENDASALAO WHERE CDFILIAL = '0001' AND NRORCAEVENTO = ? "
                                  "AND NRSEQORCAEVE = ? AND IDSITAGENSAL = ?"),
                   {quote.numero, quote.sequencia, agenda}),
             1);
    // Listed again: the quote has left the list of cancelled ones, and the
    // unconfirmed mark went with the old list.
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QCOMPARE(quotes->changeCount(), 0);
    for (int row = 0; row < quotes->recordCount(); ++row) {
        QVERIFY(quotes->valueAt(row, 1).toString() != quote.numero || quotes->valueAt(row, 2).toString() != quote.sequencia);
        QVERIFY(quotes->valueAt(row, quotes->fieldByName(QStringLiteral("CDOPEJUSTORC")).index()).toString() != "MARCADO");
    }
}

void tst_CancelamentoReabilita::blockedHallIsReportedAndNothingWritten_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("mensagem");
    QTest::addColumn<bool>("nomeiaOutro");
    QTest::newRow("another operator took the last place")
        << "ACIMA_LIMITE" << "Limite de agendamentos para o salão %s foi atingido. Operação bloqueada." << true;
    QTest::newRow("no limit set up")
        << "N_LIMITE_DEF" << "Não há limite de agendamento parametrizado para o salão %s. Operação bloqueada." << false;
    QTest::newRow("same day and hour")
        << "DTA_HRA_MARC"
        << "O salão %s já possui evento(s) marcado(s) para a data e hora selecionada no orçamento. Operação bloqueada."
        << true;
}

void tst_CancelamentoReabilita::blockedHallIsReportedAndNothingWritten()
{
    QFETCH(QString, caso);
    QFETCH(QString, mensagem);
    QFETCH(bool, nomeiaOutro);
    const Cancelado rival = cancela(QuoteState::Pending);
    const Cancelado quote = cancela(QuoteState::Approved);
    // The rival moves to the quote's hall and day; only it may be booked there.
    executa(QStringLiteral("DELETE FROM AGENDASALAO WHERE CDFILIAL = '0001' AND CDSALAOEVEN = ? AND DTEVENTO = ? "
                           "AND NOT (NRORCAEVENTO = ? AND NRSEQORCAEVE = ?)"),
            {quote.salao, quote.dia, quote.numero, quote.sequencia});
    executa(QStringLiteral("UPDATE ORCAEVENTO SET CDSALAOEVEN = ?, DTEVENTO = ?, HREVENTO = ? WHERE CDFILIAL = '0001' "
                           "AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
            {quote.salao, quote.dia + 0.25, caso == "DTA_HRA_MARC" ? quote.hora : QStringLiteral("06:00"), rival.numero,
             rival.sequencia});
    executa(QStringLiteral("UPDATE AGENDASALAO SET CDSALAOEVEN = ?, DTEVENTO = ?, HREVENTO = (SELECT HREVENTO FROM "
                           "ORCAEVENTO O WHERE O.CDFILIAL = '0001' AND O.NRORCAEVENTO = ? AND O.NRSEQORCAEVE = ?) "
                           "WHERE CDFILIAL = '0001' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
            {quote.salao, quote.dia, rival.numero, rival.sequencia, rival.numero, rival.sequencia});
    executa(QStringLiteral("UPDATE SALAOEVEN SET QTLIMAGENDIA = ? WHERE CDFILIAL = '0001' AND CDSALAOEVEN = ?"),
            {caso == "N_LIMITE_DEF" ? QVariant(QMetaType::fromType<int>()) : QVariant(caso == "ACIMA_LIMITE" ? 1 : 5),
             quote.salao});
    // Another operator, on another client, re-enables the rival first.
    TNetConnection outro;
    outro.SetHost(QStringLiteral("127.0.0.1"));
    outro.SetPort(m_fixture.port());
    outro.SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
    QString anterior = QuoteState::Pending;
    if (caso != "N_LIMITE_DEF") {
        QVERIFY(Consiste::CheckResultServ(outro.Call(QStringLiteral("SetAnterior"),
                                                     {rival.numero, QStringLiteral("0001"), rival.sequencia,
                                                      QStringLiteral("JSILVA"), TNetArg::textRef(anterior)}),
                                          true, 0)
                    .isNull());
    }

    deixaAlteracaoPendente();
    const qsizetype logged = logAtual();
    m_fixture.dialogs.answerAsk(0);
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_H, Qt::ControlModifier);

    const ScriptedDialogs::Shown refusal = m_fixture.dialogs.shown().last();
    QCOMPARE(refusal.icon, HostDialogs::Icon::Error);
    QCOMPARE(refusal.text, QString(mensagem).replace(QStringLiteral("%s"), quote.salao));
    QCOMPARE(refusal.details.contains(rival.numero), nomeiaOutro);
    QVERIFY(!metodosDesde(logged).contains(QStringLiteral("SetAnterior")));
    QVERIFY(!metodosDesde(logged).contains(QStringLiteral("GetOrcamento")));
    QCOMPARE(situacao(quote), QuoteState::Cancelled);
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->changeCount(), 0);
    QCOMPARE(m_screen->pgcPadrao->activePage(), m_screen->tshPadrao);
}

void tst_CancelamentoReabilita::refusedSetAnteriorLeavesNothingPending()
{
    const Cancelado quote = cancela(QuoteState::Approved);
    // Someone re-enabled it meanwhile: the server has nothing left to restore.
    TNetConnection outro;
    outro.SetHost(QStringLiteral("127.0.0.1"));
    outro.SetPort(m_fixture.port());
    outro.SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
    QString anterior;
    Consiste::CheckResultServ(outro.Call(QStringLiteral("SetAnterior"), {quote.numero, QStringLiteral("0001"),
                                                                         quote.sequencia, QStringLiteral("JSILVA"),
                                                                         TNetArg::textRef(anterior)}),
                              true, 0);
    deixaAlteracaoPendente();
    const qsizetype logged = logAtual();
    m_fixture.dialogs.answerAsk(0);
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_H, Qt::ControlModifier);

    QVERIFY2(m_fixture.dialogs.lastText().contains(QStringLiteral("não está cancelado nem adiado")),
             qPrintable(m_fixture.dialogs.lastText()));
    QCOMPARE(metodosDesde(logged), (QStringList{"getSituAnterior", "getVerifSalao", "SetAnterior"}));
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->changeCount(), 0);
    QCOMPARE(m_screen->pgcPadrao->activePage(), m_screen->tshPadrao);
}

void tst_CancelamentoReabilita::unusualServerAnswers_data()
{
    QTest::addColumn<QString>("anterior");
    QTest::addColumn<QString>("salao");
    QTest::addColumn<QStringList>("chamadas");
    QTest::addColumn<QString>("mensagem");
    const QStringList restaurada{"getSituAnterior", "getVerifSalao", "SetAnterior", "GetOrcamento"};
    QTest::newRow("hall answer in lower case")
        << QuoteState::Approved << "ok" << QStringList{"getSituAnterior", "getVerifSalao"} << "ok";
    QTest::newRow("hall answer without a code")
        << QuoteState::Approved << "Salão em reforma" << QStringList{"getSituAnterior", "getVerifSalao"}
        << "Salão em reforma";
    QTest::newRow("no previous state: no booking letter") << "" << "OK" << restaurada
                                                          << "Operação realizada com sucesso.";
    QTest::newRow("unknown previous state: no booking letter") << "5" << "OK" << restaurada
                                                               << "Operação realizada com sucesso.";
    QTest::newRow("booking failed after the state came back")
        << QuoteState::Approved << "OK"
        << QStringList{"getSituAnterior", "getVerifSalao", "SetAnterior", "setAgendaSalao", "GetOrcamento"}
        << "O orçamento 0000009001 (seq. 01) já está habilitado como Aprovado, mas a agenda do salão não foi atualizada: ";
}

void tst_CancelamentoReabilita::unusualServerAnswers()
{
    QFETCH(QString, anterior);
    QFETCH(QString, salao);
    QFETCH(QStringList, chamadas);
    QFETCH(QString, mensagem);
    ScriptedPeer peer;
    const QJsonObject quotes = CancelamentoFixture::quotePacket({QuoteState::Cancelled});
    abreSobre(peer, quotes);
    peer.replyResult(anterior);
    peer.replyResult(salao);
    if (salao == QLatin1String("OK")) {
        peer.replyResult(QJsonObject{{"ok", true}, {"data", QJsonValue()}}, QJsonObject{{"4", anterior}});
        if (anterior == QuoteState::Approved) {
            peer.replyError(-32603, QStringLiteral("agenda indisponível"));
        }
        peer.replyResult(QJsonObject{{"ok", true}, {"data", quotes}});
    }
    m_fixture.dialogs.answerAsk(0);
    part<QAction>(m_screen, "mnuHabilita")->trigger();

    QStringList made;
    for (const QJsonObject &call : peer.calls()) {
        made << call.value(QStringLiteral("method")).toString();
    }
    QCOMPARE(made.mid(1), chamadas);
    QVERIFY2(m_fixture.dialogs.lastText().startsWith(mensagem), qPrintable(m_fixture.dialogs.lastText()));
    QCOMPARE(peer.calls().at(1).value(QStringLiteral("params")).toArray(),
             (QJsonArray{"0000009001", "0001", "01"}));
}

void tst_CancelamentoReabilita::serverGoneMidWay()
{
    ScriptedPeer peer;
    abreSobre(peer, CancelamentoFixture::quotePacket({QuoteState::Postponed}));
    deixaAlteracaoPendente();
    peer.replyResult(QuoteState::Approved);
    peer.closeOnNextRequest();
    m_fixture.dialogs.answerAsk(0);
    part<QAction>(m_screen, "mnuHabilita")->trigger();

    QCOMPARE(m_fixture.dialogs.shown().last().icon, HostDialogs::Icon::Error);
    QVERIFY2(m_fixture.dialogs.lastText().contains(QStringLiteral("getVerifSalao")),
             qPrintable(m_fixture.dialogs.lastText()));
    // The read cut off is asked once more, of the next server (here the
    // same one), before the failure is told.
    QCOMPARE(peer.calls().size(), 4);
    QCOMPARE(Showavi::Depth(), 0);
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->changeCount(), 0);
    QCOMPARE(m_screen->pgcPadrao->activePage(), m_screen->tshPadrao);
}

void tst_CancelamentoReabilita::wholeReEnableByKeyboard()
{
    const Cancelado quote = cancela(QuoteState::Approved);
    ResetFiltro(Filtro);
    m_screen->sbtVerificarClick(m_screen->sbtVerificar);
    m_screen->dbgPadrao->setFocus();
    QtHostDialogs real;
    HostDialogs::install(&real);
    ModalAnswers answers;
    const auto tecla = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    answers.then([&](QWidget &dialog) {
        // From the first field to "Cancelado" and "Adiado", ticked by Space.
        auto *filtro = qobject_cast<TfrmFiltroCancelamento *>(&dialog);
        for (int i = 0; i < 20 && QApplication::focusWidget() != filtro->chbCancelado; ++i) {
            tecla(Qt::Key_Tab);
        }
        tecla(Qt::Key_Space);
        tecla(Qt::Key_Tab);
        tecla(Qt::Key_Space);
        tecla(Qt::Key_F10);
    });
    answers.then([&](QWidget &) { tecla(Qt::Key_Return); }); // "Sim", the default
    answers.then([&](QWidget &) { tecla(Qt::Key_Return); }); // the success message
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(Filtro.IdSitu, QLatin1Char('_') + QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved
                                + QLatin1Char('_') + QuoteState::Cancelled + QLatin1Char('_') + QuoteState::Postponed
                                + QLatin1Char('_'));

    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QTRY_COMPARE(QApplication::focusWidget(), m_screen->dbgPadrao);
    const auto atual = [quotes] {
        return quotes->fieldByName(QStringLiteral("NRORCAEVENTO")).asString()
               + quotes->fieldByName(QStringLiteral("NRSEQORCAEVE")).asString();
    };
    // The listing kept the place the operator had: from the top, down to the quote.
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < quotes->recordCount() && atual() != quote.numero + quote.sequencia; ++i) {
        QTest::keyClick(m_screen->dbgPadrao, Qt::Key_Down);
    }
    QCOMPARE(quotes->fieldByName(QStringLiteral("NRSEQORCAEVE")).asString(), quote.sequencia);
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_H, Qt::ControlModifier);
    HostDialogs::install(&m_fixture.dialogs);

    QVERIFY(answers.allUsed());
    QCOMPARE(situacao(quote), QuoteState::Approved);
}

QTEST_MAIN(tst_CancelamentoReabilita)
#include "tst_cancelamento_reabilita.moc"

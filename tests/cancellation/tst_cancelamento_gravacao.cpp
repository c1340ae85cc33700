// Cancelling and postponing a marked quote against the real server: the
// reason, the operation question, what the server stores, the justification,
// dropping the edit, and the failures after which nothing may be lost.
#include "CancelamentoFixture.h"

#include "Cli_cxl04100.h"
#include "DayCount.h"
#include "LoopbackProxy.h"
#include "ModalAnswers.h"
#include "PostgresCluster.h"
#include "QuoteStates.h"
#include "ScreenParts.h"
#include "ScriptedPeer.h"
#include "QtHostDialogs.h"
#include "RecordList.h"
#include "Showavi.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBGrid.h"
#include "TDBMemo.h"
#include "TNetConnection.h"
#include "TfrmCancelamento.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {

struct Chave {
    QString numero;
    QString sequencia;
};

// What the server holds of one quote after an operation.
struct Gravado {
    QString situacao, motivo, operador;
    bool temJustificativa = false;
    QString justificativa, operadorJustificativa;
    double dataJustificativa = 0;
    int mudancas = 0;
    QString agenda;
};

} // namespace

class tst_CancelamentoGravacao final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cancelOrPostponeIsStored_data();
    void cancelOrPostponeIsStored();
    void goingBackStoresNothing_data();
    void goingBackStoresNothing();
    void reasonIsChecked_data();
    void reasonIsChecked();
    void reasonCodeTakesDigitsOnlyAndIsAdjusted();
    void lookupOffersEveryReason_data();
    void lookupOffersEveryReason();
    void justificationOnlyWhenItWasEdited_data();
    void justificationOnlyWhenItWasEdited();
    void cancelQuestion_data();
    void cancelQuestion();
    void markedQuoteStaysEditableAfterSwitchingWindows();
    void anotherOperatorFirstLeavesNothingPending();
    void justificationRefusedAfterTheStateWasStored();
    void aFailureAfterTheStateWasStoredNamesWhatFailed_data();
    void aFailureAfterTheStateWasStoredNamesWhatFailed();
    void deletingARowNeverDeletesTheQuote();
    void aMarkTheServerCannotServeIsDroppedByKeyboard();
    void wholeCancellationByKeyboard();
    void aFailingServerNeverMakesTheScreenSayWhatIsNotStored_data();
    void aFailingServerNeverMakesTheScreenSayWhatIsNotStored();
    void aReadCutOffIsAskedOfTheNextServer_data();
    void aReadCutOffIsAskedOfTheNextServer();

private:
    // Moves to a pending or approved quote of branch 0001 that books a hall
    // and marks it (double-click on its mark).
    Chave marca();
    Gravado gravado(const Chave &chave);
    void confirma();
    // The screen's servers from its next call on: a proxy of the server
    // (which the test makes fail), then the server itself; a call is left
    // behind after `silencioMaximo` ms without a byte.
    std::unique_ptr<LoopbackProxy> atrasDeUmProxy(int silencioMaximo);

    PostgresCluster m_cluster;
    CancelamentoFixture m_fixture;
    TfrmCancelamento *m_screen = nullptr;
};

void tst_CancelamentoGravacao::initTestCase()
{
    QString location;
    if (qEnvironmentVariable("CANCELAMENTO_DB") == QLatin1String("postgres")) {
        QString reason;
        if (!PostgresCluster::available(&reason)) {
            QSKIP(qPrintable(reason));
        }
        m_cluster.start();
        m_cluster.createDatabase(QStringLiteral("gravacao"));
        location = m_cluster.url(QStringLiteral("gravacao"));
    }
    QString error;
    QVERIFY2(m_fixture.start(&error, location), qPrintable(error));
}

void tst_CancelamentoGravacao::init()
{
    m_screen = m_fixture.openAndList();
    QVERIFY(m_screen);
    QVERIFY(part<RecordList>(m_screen, "cdsOrcamento")->recordCount() > 0);
}

void tst_CancelamentoGravacao::cleanup()
{
    m_fixture.closeScreen();
    m_fixture.dialogs.clear();
    QVERIFY(m_fixture.dialogs.allAnswersUsed());
    QCOMPARE(Showavi::Depth(), 0);
}

Chave tst_CancelamentoGravacao::marca()
{
    QSqlQuery booked(m_fixture.serverSql());
    booked.exec(QStringLiteral("SELECT O.NRORCAEVENTO, O.NRSEQORCAEVE FROM ORCAEVENTO O JOIN AGENDASALAO A "
                               "ON A.CDFILIAL = O.CDFILIAL AND A.NRORCAEVENTO = O.NRORCAEVENTO "
                               "AND A.NRSEQORCAEVE = O.NRSEQORCAEVE WHERE O.CDFILIAL = '0001' "
                               "AND O.IDSITUORCEVE IN ('1', '2') AND A.IDSITAGENSAL <> 'C' "
                               "ORDER BY O.NRORCAEVENTO, O.NRSEQORCAEVE"));
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    while (booked.next()) {
        for (int row = 0; row < quotes->recordCount(); ++row) {
            if (quotes->valueAt(row, 1).toString() == booked.value(0).toString()
                && quotes->valueAt(row, 2).toString() == booked.value(1).toString()) {
                quotes->moveTo(row);
                m_screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
                m_screen->dbgPadraoDblClick();
                return {booked.value(0).toString(), booked.value(1).toString()};
            }
        }
    }
    qFatal("no booked open quote left in branch 0001");
}

Gravado tst_CancelamentoGravacao::gravado(const Chave &chave)
{
    Gravado g;
    const QVariantList key{chave.numero, chave.sequencia};
    const auto row = [&](const QString &statement) {
        QSqlQuery query(m_fixture.serverSql());
        query.prepare(statement + QStringLiteral(" WHERE CDFILIAL = '0001' AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"));
        query.addBindValue(chave.numero);
        query.addBindValue(chave.sequencia);
        query.exec();
        return query;
    };
    QSqlQuery quote = row(QStringLiteral("SELECT IDSITUORCEVE, CDJUSTEXCHIS, CDOPEJUSTORC FROM ORCAEVENTO"));
    if (quote.next()) {
        g.situacao = quote.value(0).toString();
        g.motivo = quote.value(1).toString();
        g.operador = quote.value(2).toString();
    }
    QSqlQuery note = row(QStringLiteral("SELECT TXOBSJUSTORC, CDOPERADOR, DTHRHISTORCA FROM OBSJUSTORCA"));
    if (note.next()) {
        g.temJustificativa = true;
        g.justificativa = note.value(0).toString();
        g.operadorJustificativa = note.value(1).toString();
        g.dataJustificativa = note.value(2).toDouble();
    }
    QSqlQuery changes = row(QStringLiteral("SELECT COUNT(*) FROM HISTSITUORCA"));
    g.mudancas = changes.next() ? changes.value(0).toInt() : -1;
    QSqlQuery booking = row(QStringLiteral("SELECT IDSITAGENSAL FROM AGENDASALAO"));
    g.agenda = booking.next() ? booking.value(0).toString() : QString();
    return g;
}

void tst_CancelamentoGravacao::confirma()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
}

void tst_CancelamentoGravacao::cancelOrPostponeIsStored_data()
{
    QTest::addColumn<int>("botao");
    QTest::addColumn<QString>("situacao");
    QTest::newRow("Cancelar") << 0 << QuoteState::Cancelled;
    QTest::newRow("Adiar") << 1 << QuoteState::Postponed;
}

void tst_CancelamentoGravacao::cancelOrPostponeIsStored()
{
    QFETCH(int, botao);
    QFETCH(QString, situacao);
    const Chave chave = marca();
    const Gravado antes = gravado(chave);
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("3"));
    QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), part<TDBMemo>(m_screen, "dbmMotivo"));
    QCOMPARE(part<QLineEdit>(m_screen, "edtNmMotivo")->text(), QStringLiteral("Problemas financeiros do cliente"));
    QTest::keyClicks(part<TDBMemo>(m_screen, "dbmMotivo"), QStringLiteral("Cliente pediu por telefone."));
    m_fixture.dialogs.answerAsk(botao);
    confirma();

    const auto &shown = m_fixture.dialogs.shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).text, QStringLiteral("Escollha uma operação"));
    QCOMPARE(shown.at(0).buttons, (QStringList{"Cancelar", "Adiar", "Voltar"}));
    QCOMPARE(shown.at(1).text, QStringLiteral("Operação realizada com sucesso."));
    const Gravado depois = gravado(chave);
    QCOMPARE(depois.situacao, situacao);
    QCOMPARE(depois.motivo, QStringLiteral("0003"));
    QCOMPARE(depois.operador, QStringLiteral("MSOUZA"));
    QCOMPARE(depois.justificativa, QStringLiteral("Cliente pediu por telefone."));
    QCOMPARE(depois.operadorJustificativa, QStringLiteral("MSOUZA"));
    QCOMPARE(depois.dataJustificativa, DayCount::fromDate(QDate::currentDate()));
    QCOMPARE(depois.mudancas, antes.mudancas + 1);
    QCOMPARE(depois.agenda, QStringLiteral("C"));
    // Listed again with the default filter, the quote is gone from the list.
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QCOMPARE(quotes->state(), RecordList::State::Browse);
    QCOMPARE(quotes->changeCount(), 0);
    for (int row = 0; row < quotes->recordCount(); ++row) {
        QVERIFY(quotes->valueAt(row, 1).toString() != chave.numero || quotes->valueAt(row, 2).toString() != chave.sequencia);
    }
    QCOMPARE(part<QLineEdit>(m_screen, "edtCdMotivo")->text(), QString());
    QCOMPARE(m_screen->pgcPadrao->activePage(), m_screen->tshPadrao);
}

void tst_CancelamentoGravacao::goingBackStoresNothing_data()
{
    QTest::addColumn<int>("resposta");
    QTest::newRow("Voltar") << 2;
    QTest::newRow("dialog closed") << -1;
}

void tst_CancelamentoGravacao::goingBackStoresNothing()
{
    QFETCH(int, resposta);
    const Chave chave = marca();
    const Gravado antes = gravado(chave);
    part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0001"));
    m_fixture.dialogs.answerAsk(resposta);
    confirma();
    QCOMPARE(m_fixture.dialogs.shownTexts(), QStringList{QStringLiteral("Escollha uma operação")});
    QCOMPARE(gravado(chave).situacao, antes.situacao);
    QCOMPARE(gravado(chave).mudancas, antes.mudancas);
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QCOMPARE(quotes->state(), RecordList::State::Edit);
    QCOMPARE(quotes->fieldByName(QStringLiteral("CDOPEJUSTORC")).asString(), QStringLiteral("MSOUZA"));
    QCOMPARE(part<QLineEdit>(m_screen, "edtCdMotivo")->text(), QStringLiteral("0001"));
    QVERIFY(m_screen->sbtConfirmar->isEnabled());
}

void tst_CancelamentoGravacao::reasonIsChecked_data()
{
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<bool>("confirmando");
    QTest::addColumn<QString>("mensagem");
    const QString falta = QStringLiteral("Motivo deve ser informado.");
    const QString desconhecido = QStringLiteral("Motivo não cadastrado.");
    QTest::newRow("missing, confirming") << QString() << true << falta;
    QTest::newRow("missing, leaving") << QString() << false << falta;
    QTest::newRow("unknown, confirming") << QStringLiteral("999") << true << desconhecido;
    QTest::newRow("unknown, leaving") << QStringLiteral("999") << false << desconhecido;
}

void tst_CancelamentoGravacao::reasonIsChecked()
{
    QFETCH(QString, codigo);
    QFETCH(bool, confirmando);
    QFETCH(QString, mensagem);
    const Chave chave = marca();
    const Gravado antes = gravado(chave);
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), codigo);
    if (confirmando) {
        confirma();
    } else {
        QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
    }
    QCOMPARE(m_fixture.dialogs.shownTexts(), QStringList{mensagem});
    QCOMPARE(QApplication::focusWidget(), part<QLineEdit>(m_screen, "edtCdMotivo"));
    QCOMPARE(m_screen->pgcPadrao->activePage(), part<QWidget>(m_screen, "tshMotivo"));
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->state(), RecordList::State::Edit);
    QCOMPARE(gravado(chave).situacao, antes.situacao);
}

void tst_CancelamentoGravacao::reasonCodeTakesDigitsOnlyAndIsAdjusted()
{
    marca();
    QLineEdit *codigo = part<QLineEdit>(m_screen, "edtCdMotivo");
    QTest::keyClicks(codigo, QStringLiteral("a1-b2 "));
    for (const QString &otherScriptsDigit : {QStringLiteral("\u0663"), QStringLiteral("\uFF14")}) {
        QTest::sendKeyEvent(QTest::Click, codigo, Qt::Key_unknown, otherScriptsDigit, Qt::NoModifier);
    }
    QCOMPARE(codigo->text(), QStringLiteral("12"));
    QTest::keyClick(codigo, Qt::Key_Backspace);
    QCOMPARE(codigo->text(), QStringLiteral("1"));
    QTest::keyClick(codigo, Qt::Key_Tab);
    QCOMPARE(codigo->text(), QStringLiteral("0001"));
    QCOMPARE(part<QLineEdit>(m_screen, "edtNmMotivo")->text(), QStringLiteral("Desistência do cliente"));
}

void tst_CancelamentoGravacao::lookupOffersEveryReason_data()
{
    QTest::addColumn<QString>("escolha");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("nome");
    QTest::newRow("picked") << QStringLiteral("0007") << QStringLiteral("0007")
                            << QStringLiteral("Salão indisponível na data");
    QTest::newRow("nothing picked") << QString() << QString() << QStringLiteral("Orçamento vencido");
}

void tst_CancelamentoGravacao::lookupOffersEveryReason()
{
    QFETCH(QString, escolha);
    QFETCH(QString, codigo);
    QFETCH(QString, nome);
    marca();
    part<QLineEdit>(m_screen, "edtNmMotivo")->setText(QStringLiteral("Orçamento vencido"));
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("5"));
    m_fixture.dialogs.answerPickOne(escolha);
    QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_F9);
    QCOMPARE(m_fixture.dialogs.pickTitles().last(), QStringLiteral("Motivo"));
    QCOMPARE(part<RecordList>(m_screen, "cdsMotivo")->recordCount(), 10);
    QCOMPARE(part<QLineEdit>(m_screen, "edtCdMotivo")->text(), codigo);
    QCOMPARE(part<QLineEdit>(m_screen, "edtNmMotivo")->text(), nome);
    QCOMPARE(part<RecordList>(m_screen, "cdsObs")->isEditing(), !escolha.isEmpty());
}

void tst_CancelamentoGravacao::justificationOnlyWhenItWasEdited_data()
{
    QTest::addColumn<bool>("editada");
    QTest::newRow("never in edit: no SetObs") << false;
    QTest::newRow("left empty: stored empty") << true;
}

void tst_CancelamentoGravacao::justificationOnlyWhenItWasEdited()
{
    QFETCH(bool, editada);
    const Chave chave = marca();
    const qsizetype logged = m_fixture.serverLog().size();
    if (editada) {
        QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("0002"));
        QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
    } else {
        part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0002"));
    }
    m_fixture.dialogs.answerAsk(0);
    confirma();
    QCOMPARE(m_fixture.dialogs.lastText(), QStringLiteral("Operação realizada com sucesso."));
    const Gravado depois = gravado(chave);
    QCOMPARE(depois.situacao, QuoteState::Cancelled);
    QCOMPARE(depois.temJustificativa, editada);
    QCOMPARE(depois.justificativa, QString());
    QTRY_VERIFY(m_fixture.serverLog().mid(logged).contains(QStringLiteral("setAgendaSalao")));
    QCOMPARE(m_fixture.serverLog().mid(logged).contains(QStringLiteral("SetObs")), editada);
}

void tst_CancelamentoGravacao::cancelQuestion_data()
{
    QTest::addColumn<int>("resposta");
    QTest::addColumn<bool>("descartada");
    QTest::newRow("Não") << 1 << false;
    QTest::newRow("Sim") << 0 << true;
}

void tst_CancelamentoGravacao::cancelQuestion()
{
    QFETCH(int, resposta);
    QFETCH(bool, descartada);
    const Chave chave = marca();
    const Gravado antes = gravado(chave);
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("4"));
    QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
    QTest::keyClicks(part<TDBMemo>(m_screen, "dbmMotivo"), QStringLiteral("Rascunho"));
    m_fixture.dialogs.answerAsk(resposta);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

    QCOMPARE(m_fixture.dialogs.shownTexts(), QStringList{QStringLiteral("Deseja cancelar as alterações?")});
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QCOMPARE(quotes->state(), descartada ? RecordList::State::Browse : RecordList::State::Edit);
    QCOMPARE(part<RecordList>(m_screen, "cdsObs")->isEditing(), !descartada);
    QCOMPARE(boVd, !descartada);
    if (descartada) {
        QCOMPARE(quotes->changeCount(), 0);
        QCOMPARE(part<RecordList>(m_screen, "cdsObs")->changeCount(), 0);
        for (int row = 0; row < quotes->recordCount(); ++row) {
            if (quotes->valueAt(row, 1).toString() == chave.numero && quotes->valueAt(row, 2).toString() == chave.sequencia) {
                QCOMPARE(quotes->valueAt(row, 5).toString(), antes.situacao);
            }
        }
        QCOMPARE(part<QLineEdit>(m_screen, "edtCdMotivo")->text(), QString());
        QCOMPARE(QApplication::focusWidget(), m_screen->dbgPadrao);
        QCOMPARE(m_screen->dbgPadrao->selectedFieldName(), QStringLiteral("NRORCAEVENTO"));
    }
    QCOMPARE(gravado(chave).situacao, antes.situacao);
}

void tst_CancelamentoGravacao::markedQuoteStaysEditableAfterSwitchingWindows()
{
    marca();
    auto *other = m_fixture.area.addSubWindow(new QWidget);
    other->show();
    m_fixture.area.setActiveSubWindow(other);
    m_fixture.area.setActiveSubWindow(qobject_cast<QMdiSubWindow *>(m_screen->parentWidget()));
    m_screen->dbgPadraoEnter();
    QVERIFY(part<QLineEdit>(m_screen, "edtCdMotivo")->isEnabled());
    QVERIFY(part<TDBMemo>(m_screen, "dbmMotivo")->isEnabled());
    QVERIFY(m_screen->pgcPadrao->isPageEnabled(part<QWidget>(m_screen, "tshMotivo")));
    QVERIFY(!m_screen->pgcPadrao->isPageEnabled(m_screen->tshPadrao));
    QVERIFY(!part<TButtonFlat>(m_screen, "sbtHabilita")->isEnabled());
    delete other;
}

void tst_CancelamentoGravacao::anotherOperatorFirstLeavesNothingPending()
{
    const Chave chave = marca();
    // Another operator, on another client, postpones the same quote first.
    CancelamentoFixture::withdrawAsAnotherOperator(m_fixture.port(), chave.numero, chave.sequencia, QuoteState::Postponed);

    part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0001"));
    m_fixture.dialogs.answerAsk(0);
    confirma();
    const QString refusal = m_fixture.dialogs.lastText();
    QVERIFY2(refusal.contains(QStringLiteral("alterado por outro usuário")), qPrintable(refusal));
    QCOMPARE(m_fixture.dialogs.shown().last().icon, HostDialogs::Icon::Error);
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QCOMPARE(quotes->state(), RecordList::State::Browse);
    QCOMPARE(quotes->changeCount(), 0);
    QVERIFY(QuoteState::isOpen(quotes->fieldByName(QStringLiteral("IDSITUORCEVE")).asString()));
    const Gravado depois = gravado(chave);
    QCOMPARE(depois.situacao, QuoteState::Postponed);
    QCOMPARE(depois.operador, QStringLiteral("JSILVA"));
}

void tst_CancelamentoGravacao::justificationRefusedAfterTheStateWasStored()
{
    const Chave chave = marca();
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("1"));
    QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
    QTest::keyClicks(part<TDBMemo>(m_screen, "dbmMotivo"), QStringLiteral("Texto que nunca chega"));
    // Someone stores a justification between the listing and the confirmation.
    QSqlQuery other(m_fixture.serverSql());
    other.prepare(QStringLiteral("INSERT INTO OBSJUSTORCA (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, TXOBSJUSTORC, "
                                 "DTHRHISTORCA, CDOPERADOR) VALUES ('0001', ?, ?, 'Outro texto', 0, 'JSILVA')"));
    other.addBindValue(chave.numero);
    other.addBindValue(chave.sequencia);
    QVERIFY(other.exec());
    m_fixture.dialogs.answerAsk(0);
    confirma();

    const QStringList texts = m_fixture.dialogs.shownTexts();
    QCOMPARE(texts.size(), 3);
    QVERIFY2(texts.at(1).contains(chave.numero), qPrintable(texts.at(1)));
    QCOMPARE(texts.at(2), QStringLiteral("O orçamento %1 (seq. %2) já está gravado como Cancelado, mas a "
                                         "justificativa não foi gravada.")
                              .arg(chave.numero, chave.sequencia));
    const Gravado depois = gravado(chave);
    QCOMPARE(depois.situacao, QuoteState::Cancelled);
    QCOMPARE(depois.agenda, QStringLiteral("C"));
    QCOMPARE(depois.justificativa, QStringLiteral("Outro texto"));
    QCOMPARE(part<RecordList>(m_screen, "cdsObs")->changeCount(), 0);
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->changeCount(), 0);
}

void tst_CancelamentoGravacao::aFailureAfterTheStateWasStoredNamesWhatFailed_data()
{
    QTest::addColumn<QString>("justificativa");
    QTest::addColumn<int>("chamadasBoas"); // the calls after SetOrcamento that still succeed
    QTest::addColumn<QString>("falha");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("hall, no justification") << "" << 0 << "setAgendaSalao" << "mas o salão não foi liberado: ";
    QTest::newRow("hall, a justification pending") << "Desistiu." << 0 << "setAgendaSalao"
                                                   << "mas o salão não foi liberado e a justificativa não foi gravada: ";
    QTest::newRow("the listing after the justification") << "Desistiu." << 2 << "GetOrcamento"
                                                         << "mas a lista não foi lida de novo (F5 lista de novo): ";
}

void tst_CancelamentoGravacao::aFailureAfterTheStateWasStoredNamesWhatFailed()
{
    QFETCH(QString, justificativa);
    QFETCH(int, chamadasBoas);
    QFETCH(QString, falha);
    QFETCH(QString, mensagem);
    const Chave chave = marca();
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("1"));
    if (!justificativa.isEmpty()) { // confirmed from the code itself, the quote takes no justification
        QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
        QTest::keyClicks(part<TDBMemo>(m_screen, "dbmMotivo"), justificativa);
    }
    // From the confirmation on, a server that fails where the row says.
    ScriptedPeer peer;
    m_fixture.moveScreenTo(peer.port());
    const QJsonArray campos{QJsonObject{{"name", "CDJUSTEXCHIS"}, {"type", "text"}, {"size", 4}}};
    peer.replyResult(QJsonObject{{"ok", true}, {"data", QJsonObject{{"fields", campos}, {"rows", QJsonArray{QJsonArray{"0001"}}}}}});
    for (int chamada = 0; chamada <= chamadasBoas; ++chamada) { // SetOrcamento first
        peer.replyResult(QJsonObject{{"ok", true}, {"data", 1}});
    }
    peer.replyError(-32603, QStringLiteral("falha em ") + falha);
    m_fixture.dialogs.answerAsk(0);
    confirma();

    const QString texto = m_fixture.dialogs.lastText();
    QVERIFY2(texto.startsWith(QStringLiteral("O orçamento %1 (seq. %2) já está gravado como Cancelado, %3")
                                  .arg(chave.numero, chave.sequencia, mensagem))
                 && texto.contains(QStringLiteral("falha em ") + falha),
             qPrintable(texto));
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->state(), RecordList::State::Browse);
}

void tst_CancelamentoGravacao::deletingARowNeverDeletesTheQuote()
{
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    const int rows = quotes->recordCount();
    const Chave chave{quotes->fieldByName(QStringLiteral("NRORCAEVENTO")).asString(),
                      quotes->fieldByName(QStringLiteral("NRSEQORCAEVE")).asString()};
    m_fixture.dialogs.answerAsk(0);
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_fixture.dialogs.shownTexts().last(), QStringLiteral("Esta operação não inclui nem exclui orçamentos."));
    QCOMPARE(quotes->recordCount(), rows);
    QCOMPARE(quotes->changeCount(), 0);
    QCOMPARE(quotes->fieldByName(QStringLiteral("NRORCAEVENTO")).asString(), chave.numero);
    QCOMPARE(quotes->fieldByName(QStringLiteral("NRSEQORCAEVE")).asString(), chave.sequencia);
    QVERIFY(!gravado(chave).situacao.isEmpty());
}

void tst_CancelamentoGravacao::aMarkTheServerCannotServeIsDroppedByKeyboard()
{
    marca(); // a reason shown for an earlier mark, dropped
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("1"));
    QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
    QVERIFY(!part<QLineEdit>(m_screen, "edtNmMotivo")->text().isEmpty());
    m_fixture.dialogs.answerAsk(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTcpServer ninguem; // then the server goes away
    QVERIFY(ninguem.listen(QHostAddress::LocalHost));
    m_fixture.moveScreenTo(ninguem.serverPort());
    ninguem.close();

    m_screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_Space);
    QCOMPARE(m_fixture.dialogs.shown().last().icon, HostDialogs::Icon::Error);
    QCOMPARE(part<QLineEdit>(m_screen, "edtNmMotivo")->text(), QString());
    m_fixture.dialogs.answerAsk(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(part<RecordList>(m_screen, "cdsOrcamento")->state(), RecordList::State::Browse);
    QCOMPARE(m_screen->pgcPadrao->activePage(), m_screen->tshPadrao);
    QCOMPARE(QApplication::focusWidget(), m_screen->dbgPadrao);
}

void tst_CancelamentoGravacao::wholeCancellationByKeyboard()
{
    // The real dialogs, answered by keys: Right moves to "Adiar", Enter
    // presses it; Enter closes the success message.
    QtHostDialogs real;
    HostDialogs::install(&real);
    QStringList seen;
    const auto focused = [&seen] { seen << qobject_cast<QPushButton *>(QApplication::focusWidget())->text(); };
    ModalAnswers answers;
    answers.then([&](QWidget &) {
        focused();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        focused();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    answers.then([&](QWidget &) {
        focused();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });

    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    const Chave chave{quotes->fieldByName(QStringLiteral("NRORCAEVENTO")).asString(),
                      quotes->fieldByName(QStringLiteral("NRSEQORCAEVE")).asString()};
    QCOMPARE(QApplication::focusWidget(), m_screen->dbgPadrao);
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_Left);
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_Space);
    QCOMPARE(QApplication::focusWidget(), part<QLineEdit>(m_screen, "edtCdMotivo"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("6"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Adiado a pedido da noiva."));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    HostDialogs::install(&m_fixture.dialogs);

    QVERIFY(answers.allUsed());
    QCOMPARE(seen, (QStringList{"Cancelar", "Adiar", "OK"}));
    const Gravado depois = gravado(chave);
    QCOMPARE(depois.situacao, QuoteState::Postponed);
    QCOMPARE(depois.motivo, QStringLiteral("0006"));
    QCOMPARE(depois.justificativa, QStringLiteral("Adiado a pedido da noiva."));
}


std::unique_ptr<LoopbackProxy> tst_CancelamentoGravacao::atrasDeUmProxy(int silencioMaximo)
{
    auto proxy = std::make_unique<LoopbackProxy>(QStringLiteral("127.0.0.1"), m_fixture.port());
    m_fixture.setServers({QStringLiteral("127.0.0.1:%1").arg(proxy->port()), QStringLiteral("127.0.0.1:%1").arg(m_fixture.port())});
    m_fixture.setIdleTimeout(silencioMaximo);
    m_fixture.moveScreenTo(0);
    m_fixture.setServers({});
    m_fixture.setIdleTimeout(TNetConnection::DefaultIdleTimeout);
    return proxy;
}

void tst_CancelamentoGravacao::aFailingServerNeverMakesTheScreenSayWhatIsNotStored_data()
{
    QTest::addColumn<QString>("falha"); // what the proxy does to the call
    QTest::addColumn<QString>("metodo");
    QTest::addColumn<QString>("gravou"); // "sim", "não", or "um ou outro" when it races the server's commit
    QTest::addColumn<QString>("dito");
    // A slow server is one that answers in time: only the frozen one is
    // left behind, after a short silence.
    const QString sucesso = QStringLiteral("Operação realizada com sucesso.");
    QTest::newRow("a slow store") << "delay" << "SetOrcamento" << "sim" << sucesso;
    QTest::newRow("the store's answer lost") << "dropAfterForward" << "SetOrcamento" << "um ou outro" << QString();
    QTest::newRow("the store lost on its way") << "drop" << "SetOrcamento" << "não" << "não foi gravado";
    QTest::newRow("the server frozen in the store") << "freeze" << "SetOrcamento" << "não" << "não foi gravado";
    QTest::newRow("the hall's release lost") << "dropAfterForward" << "setAgendaSalao" << "sim" << sucesso;
    QTest::newRow("the justification's answer lost") << "dropAfterForward" << "SetObs" << "sim" << sucesso;
}

void tst_CancelamentoGravacao::aFailingServerNeverMakesTheScreenSayWhatIsNotStored()
{
    QFETCH(QString, falha);
    QFETCH(QString, metodo);
    QFETCH(QString, gravou);
    QFETCH(QString, dito);
    const std::unique_ptr<LoopbackProxy> proxy = atrasDeUmProxy(falha == QLatin1String("freeze") ? 1000 : 5000);
    const Chave chave = marca();
    const Gravado antes = gravado(chave);
    QTest::keyClicks(part<QLineEdit>(m_screen, "edtCdMotivo"), QStringLiteral("3"));
    QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Tab);
    QTest::keyClicks(part<TDBMemo>(m_screen, "dbmMotivo"), QStringLiteral("Desistiu do evento."));
    if (falha == QLatin1String("delay")) {
        proxy->delay(metodo, 1500);
    } else if (falha == QLatin1String("drop")) {
        proxy->drop(metodo);
    } else if (falha == QLatin1String("freeze")) {
        proxy->freeze(metodo);
    } else {
        proxy->dropAfterForward(metodo);
    }
    m_fixture.dialogs.answerAsk(0);
    confirma();

    const Gravado depois = gravado(chave);
    // Whichever way the server's commit went, the screen says what it holds.
    const bool cancelado = gravou == QLatin1String("um ou outro") ? depois.situacao == QuoteState::Cancelled
                                                                   : gravou == QLatin1String("sim");
    if (dito.isEmpty()) {
        dito = cancelado ? QStringLiteral("Operação realizada com sucesso.") : QStringLiteral("não foi gravado");
    }
    QVERIFY2(m_fixture.dialogs.shownTexts().join(QLatin1Char('\n')).contains(dito),
             qPrintable(m_fixture.dialogs.shownTexts().join(QLatin1Char('\n'))));
    if (cancelado) {
        QCOMPARE(depois.situacao, QuoteState::Cancelled);
        QCOMPARE(depois.motivo, QStringLiteral("0003"));
        QCOMPARE(depois.agenda, HallBooking::Released);
        QCOMPARE(depois.justificativa, QStringLiteral("Desistiu do evento."));
    } else {
        QCOMPARE(depois.situacao, antes.situacao);
        QCOMPARE(depois.agenda, antes.agenda);
        QVERIFY(!depois.temJustificativa);
    }
    // The list shows what the server holds.
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    QCOMPARE(quotes->state(), RecordList::State::Browse);
    QCOMPARE(quotes->changeCount(), 0);
}

void tst_CancelamentoGravacao::aReadCutOffIsAskedOfTheNextServer_data()
{
    QTest::addColumn<bool>("congela");
    QTest::newRow("the connection dropped") << false;
    QTest::newRow("the server frozen") << true;
}

void tst_CancelamentoGravacao::aReadCutOffIsAskedOfTheNextServer()
{
    QFETCH(bool, congela);
    const std::unique_ptr<LoopbackProxy> proxy = atrasDeUmProxy(1000);
    RecordList *quotes = part<RecordList>(m_screen, "cdsOrcamento");
    const int linhas = quotes->recordCount();
    congela ? proxy->freeze(QStringLiteral("GetOrcamento")) : proxy->drop(QStringLiteral("GetOrcamento"));
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_F5);
    QCOMPARE(m_fixture.dialogs.shownTexts(), QStringList());
    QCOMPARE(proxy->seen(QStringLiteral("GetOrcamento")), 1);
    QCOMPARE(quotes->recordCount(), linhas);
    QCOMPARE(part<TNetConnection>(m_screen, "netCancelamento")->CurrentServer(),
             QStringLiteral("127.0.0.1:%1").arg(m_fixture.port()));
}

QTEST_MAIN(tst_CancelamentoGravacao)
#include "tst_cancelamento_gravacao.moc"

// The filter dialog's checks and its confirmation: what is refused, with
// which message and where the cursor goes, and what a confirmation writes.
#include "Cli_cxl04101.h"
#include "DayCount.h"
#include "FiltroDialogo.h"
#include "ScriptedDialogs.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TfrmFiltroCancelamento.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

// The controls as a row of the table fills them: the eight range texts in
// tab order, the ticked states as their codes ("1289") and the criteria left
// on "Lista" with no codes picked.
struct Preenchimento {
    QStringList intervalos;
    QString estados;
    QStringList listasVazias;
};

void preenche(TfrmFiltroCancelamento &d, const Preenchimento &p)
{
    const QList<QLineEdit *> edits = rangeEdits(d);
    for (int i = 0; i < edits.size(); ++i) {
        edits.at(i)->setText(p.intervalos.value(i));
    }
    d.chbPendente->setChecked(p.estados.contains(QLatin1Char('1')));
    d.chbAprovado->setChecked(p.estados.contains(QLatin1Char('2')));
    d.chbCancelado->setChecked(p.estados.contains(QLatin1Char('8')));
    d.chbAdiado->setChecked(p.estados.contains(QLatin1Char('9')));
    for (const QString &name : p.listasVazias) {
        const Criterio c = criterio(d, name);
        c.lista->setChecked(true);
        *c.workingList = QStringLiteral(" ");
    }
}

const QString diaMarco10 = QStringLiteral("10/03/2026");
const QString diaMarco09 = QStringLiteral("09/03/2026");

} // namespace

class TestFiltroValidacao final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstRefusalIsReportedWithItsFocus_data();
    void firstRefusalIsReportedWithItsFocus();
    void completeRangesPass_data();
    void completeRangesPass();

    void leavingFromAdjustsItAndCopiesIt();
    void typingInFromEmptiesUntil();
    void leavingUntilAdjustsItOnly();
    void leavingFromKeepsAFilledUntil();
    void leavingADateThatIsNoDateIsRefused();

    void defaultsConfirmedWriteTheStatesWithTheirLeadingUnderscore();
    void statesAreWrittenInTheirFixedOrder_data();
    void statesAreWrittenInTheirFixedOrder();
    void rangesAreWrittenAsShown();
    void numberTypedAndNotLeftIsStoredAdjusted();
    void reversedRangeTypedAndNotLeftIsRefused();
    void listsFollowTheirRadios();
    void textsAreWrittenAsTyped_data();
    void textsAreWrittenAsTyped();
    void reopeningShowsWhatWasConfirmed();

private:
    std::unique_ptr<ScriptedDialogs> dialogs;
};

void TestFiltroValidacao::init()
{
    dialogs = std::make_unique<ScriptedDialogs>();
    Cli_cxl04101::Initialization();
    Filtro = FiltroPadrao();
}

void TestFiltroValidacao::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete frmFiltroCancelamento.data();
    boIdCriado = false;
    Cli_cxl04101::Finalization();
    dialogs.reset();
}

void TestFiltroValidacao::firstRefusalIsReportedWithItsFocus_data()
{
    QTest::addColumn<QStringList>("intervalos");
    QTest::addColumn<QString>("estados");
    QTest::addColumn<QStringList>("listasVazias");
    QTest::addColumn<QString>("mensagem");
    QTest::addColumn<QString>("foco");

    const QString nrMaior = QStringLiteral("Número do orçamento inicial deve ser menor ou igual ao número do orçamento final.");
    const QString n10 = QStringLiteral("0000000010");
    const QString n11 = QStringLiteral("0000000011");
    const QStringList semListas;
    auto datas = [](int posicao, const QString &de, const QString &ate) {
        QStringList intervalos(8);
        intervalos[posicao] = de;
        intervalos[posicao + 1] = ate;
        return intervalos;
    };

    QTest::newRow("numbers reversed") << QStringList{n11, n10} << "12" << semListas << nrMaior << "medOrcaDe";
    QTest::newRow("a letter sorts after every digit")
        << QStringList{QStringLiteral("00000000AB"), QStringLiteral("0000000099")} << "12" << semListas << nrMaior
        << "medOrcaDe";
    QTest::newRow("only the last number") << QStringList{QString(), n10} << "12" << semListas
                                          << "Intervalo inicial deve ser informado." << "medOrcaDe";
    QTest::newRow("only the first number") << QStringList{n10, QString()} << "12" << semListas
                                           << "Intervalo final deve ser informado." << "medOrcaAte";
    QStringList reversedAndOpenEvent = datas(2, diaMarco10, QString());
    reversedAndOpenEvent[0] = n11;
    reversedAndOpenEvent[1] = n10;
    QTest::newRow("reversed numbers beat a missing event end")
        << reversedAndOpenEvent << "12" << semListas << nrMaior << "medOrcaDe";
    QTest::newRow("event ends the day before it starts")
        << datas(2, diaMarco10, diaMarco09) << "12" << semListas
        << "Data do evento inicial deve ser menor ou igual à data do evento final." << "depDeEvento";
    QTest::newRow("only the last event day") << datas(2, QString(), diaMarco10) << "12" << semListas
                                             << "Data do evento inicial deve ser informada." << "depDeEvento";
    QTest::newRow("only the first event day") << datas(2, diaMarco10, QString()) << "12" << semListas
                                              << "Data do evento final deve ser informada." << "depAteEvento";
    QTest::newRow("validity reversed")
        << datas(4, diaMarco10, diaMarco09) << "12" << semListas
        << "Data da validade inicial deve ser menor ou igual à data da validade final." << "depDeValidade";
    QTest::newRow("only the last validity day") << datas(4, QString(), diaMarco10) << "12" << semListas
                                                << "Data da validade inicial deve ser informada." << "depDeValidade";
    QTest::newRow("only the first validity day") << datas(4, diaMarco10, QString()) << "12" << semListas
                                                 << "Data da validade final deve ser informada." << "depAteValidade";
    QTest::newRow("quote dates reversed")
        << datas(6, diaMarco10, diaMarco09) << "12" << semListas
        << "Data inicial do orçamento deve ser menor ou igual a data final do orçamento." << "depDtOrcaIni";
    QTest::newRow("only the last quote date") << datas(6, QString(), diaMarco10) << "12" << semListas
                                              << "Data inicial do orçamento deve ser informada." << "depDtOrcaIni";
    QTest::newRow("only the first quote date") << datas(6, diaMarco10, QString()) << "12" << semListas
                                               << "Data final do orçamento deve ser informada." << "depDtOrcaFin";
    QStringList openEventAndValidity = datas(2, QString(), diaMarco10);
    openEventAndValidity[5] = diaMarco10;
    QTest::newRow("the event range is checked before the validity")
        << openEventAndValidity << "12" << semListas << "Data do evento inicial deve ser informada."
        << "depDeEvento";
    QTest::newRow("no state") << QStringList() << "" << semListas << "Situação do orçamento deve ser informada."
                              << "chbPendente";
    QTest::newRow("no state beats an empty list")
        << QStringList() << "" << QStringList{QStringLiteral("Vendedor")}
        << "Situação do orçamento deve ser informada." << "chbPendente";
    QTest::newRow("sellers and clients without codes: sellers only")
        << QStringList() << "8" << QStringList{QStringLiteral("Cliente"), QStringLiteral("Vendedor")}
        << "Vendedor deve ser informado." << "rbtLVendedor";
    QTest::newRow("clients without codes") << QStringList() << "9" << QStringList{QStringLiteral("Cliente")}
                                           << "Cliente deve ser informado." << "rbtLCliente";
    QTest::newRow("service types without codes")
        << QStringList() << "1" << QStringList{QStringLiteral("TipoServ"), QStringLiteral("TipoEven")}
        << "Tipo de serviço deve ser informado." << "rbtLTipoServ";
    QTest::newRow("event types without codes") << QStringList() << "2" << QStringList{QStringLiteral("TipoEven")}
                                               << "Tipo de evento deve ser informado." << "rbtLTipoEven";
}

void TestFiltroValidacao::firstRefusalIsReportedWithItsFocus()
{
    QFETCH(QStringList, intervalos);
    QFETCH(QString, estados);
    QFETCH(QStringList, listasVazias);
    QFETCH(QString, mensagem);
    QFETCH(QString, foco);

    Filtro = filtroRestrito();
    const QStringList before = campos(Filtro);
    QStringList shown;
    QString focused;
    int resultWhileOpen = -1;
    const int result = openWith([&](TfrmFiltroCancelamento &d) {
        // The cursor leaves "de" first, so its own leaving does not redo the pair.
        d.edtTitulo->setFocus();
        d.sbtLimpa->click();
        preenche(d, {intervalos, estados, listasVazias});
        QTest::keyClick(d.edtTitulo, Qt::Key_F10);
        shown = dialogs->shownTexts();
        focused = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        resultWhileOpen = d.ModalResult();
        d.sbtCancel->click();
    });
    QCOMPARE(shown, QStringList{mensagem});
    QCOMPARE(focused, foco);
    QCOMPARE(resultWhileOpen, 0);
    QCOMPARE(result, 2);
    QCOMPARE(campos(Filtro), before);
}

void TestFiltroValidacao::completeRangesPass_data()
{
    QTest::addColumn<QStringList>("intervalos");
    QTest::newRow("every range open") << QStringList();
    QTest::newRow("one quote number")
        << QStringList{QStringLiteral("0000000010"), QStringLiteral("0000000010")};
    QTest::newRow("one day of everything")
        << QStringList{QString(), QString(), diaMarco10, diaMarco10, diaMarco09, diaMarco09, diaMarco10, diaMarco10};
    QTest::newRow("ranges in order")
        << QStringList{QStringLiteral("0000000009"), QStringLiteral("00000000A1"), diaMarco09, diaMarco10,
                       diaMarco09, diaMarco10, diaMarco09, diaMarco10};
}

void TestFiltroValidacao::completeRangesPass()
{
    QFETCH(QStringList, intervalos);
    const int result = openWith([&](TfrmFiltroCancelamento &d) {
        preenche(d, {intervalos, QStringLiteral("9"), {}});
        d.sbtConfirma->click();
    });
    QCOMPARE(result, 1);
    QCOMPARE(dialogs->shownTexts(), QStringList());
    QCOMPARE(Filtro.IdSitu, QStringLiteral("9_"));
}

void TestFiltroValidacao::leavingFromAdjustsItAndCopiesIt()
{
    QString de;
    QString ate;
    openWith([&](TfrmFiltroCancelamento &d) {
        QTest::keyClicks(d.medOrcaDe, QStringLiteral("123"));
        QTest::keyClick(d.medOrcaDe, Qt::Key_Tab);
        de = d.medOrcaDe->text();
        ate = d.medOrcaAte->text();
        d.sbtCancel->click();
    });
    QCOMPARE(de, QStringLiteral("0000000123"));
    QCOMPARE(ate, QStringLiteral("0000000123"));
}

void TestFiltroValidacao::typingInFromEmptiesUntil()
{
    QStringList ateAfterEachKey;
    openWith([&](TfrmFiltroCancelamento &d) {
        d.medOrcaDe->setText(QStringLiteral("0000000005"));
        d.medOrcaAte->setText(QStringLiteral("0000000009"));
        d.medOrcaDe->setFocus();
        d.medOrcaDe->end(false);
        QTest::keyClick(d.medOrcaDe, Qt::Key_Backspace);
        ateAfterEachKey << d.medOrcaAte->text();
        d.medOrcaAte->setText(QStringLiteral("0000000009"));
        QTest::keyClick(d.medOrcaDe, Qt::Key_7);
        ateAfterEachKey << d.medOrcaAte->text();
        d.sbtCancel->click();
    });
    QCOMPARE(ateAfterEachKey, QStringList({QString(), QString()}));
}

void TestFiltroValidacao::leavingUntilAdjustsItOnly()
{
    QString de;
    QString ate;
    openWith([&](TfrmFiltroCancelamento &d) {
        QTest::keyClicks(d.medOrcaDe, QStringLiteral("5"));
        QTest::keyClick(d.medOrcaDe, Qt::Key_Tab);
        d.medOrcaAte->selectAll();
        QTest::keyClicks(d.medOrcaAte, QStringLiteral("a12"));
        QTest::keyClick(d.medOrcaAte, Qt::Key_Tab);
        de = d.medOrcaDe->text();
        ate = d.medOrcaAte->text();
        d.sbtCancel->click();
    });
    QCOMPARE(de, QStringLiteral("0000000005"));
    QCOMPARE(ate, QStringLiteral("0000000A12"));
}

// A range already there is the operator's: tabbing through "de" keeps it.
void TestFiltroValidacao::leavingFromKeepsAFilledUntil()
{
    QString ate;
    openWith([&](TfrmFiltroCancelamento &d) {
        d.medOrcaDe->setText(QStringLiteral("0000000001"));
        d.medOrcaAte->setText(QStringLiteral("0000000060"));
        d.medOrcaDe->setFocus();
        QTest::keyClick(d.medOrcaDe, Qt::Key_Tab);
        ate = d.medOrcaAte->text();
        d.sbtCancel->click();
    });
    QCOMPARE(ate, QStringLiteral("0000000060"));
}

void TestFiltroValidacao::leavingADateThatIsNoDateIsRefused()
{
    QString focused;
    openWith([&](TfrmFiltroCancelamento &d) {
        d.depDeEvento->setFocus();
        QTest::keyClicks(d.depDeEvento, QStringLiteral("31/02/2026"));
        QTest::keyClick(d.depDeEvento, Qt::Key_Tab);
        focused = d.focusWidget()->objectName();
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->shownTexts(), QStringList{QStringLiteral("Data inválida.")});
    QCOMPARE(focused, QStringLiteral("depDeEvento"));
}

void TestFiltroValidacao::defaultsConfirmedWriteTheStatesWithTheirLeadingUnderscore()
{
    const int result = openWith([](TfrmFiltroCancelamento &d) { QTest::keyClick(&d, Qt::Key_F10); });
    QCOMPARE(result, 1);
    TFiltro expected = FiltroPadrao();
    expected.IdSitu = QStringLiteral("_1_2_");
    QCOMPARE(campos(Filtro), campos(expected));
}

void TestFiltroValidacao::statesAreWrittenInTheirFixedOrder_data()
{
    QTest::addColumn<QString>("estados");
    QTest::addColumn<QString>("idSitu");
    QTest::newRow("all four") << "9821" << "_1_2_8_9_";
    QTest::newRow("approved and postponed") << "92" << "2_9_";
    QTest::newRow("cancelled alone") << "8" << "8_";
    QTest::newRow("pending alone") << "1" << "_1_";
}

void TestFiltroValidacao::statesAreWrittenInTheirFixedOrder()
{
    QFETCH(QString, estados);
    QFETCH(QString, idSitu);
    openWith([&](TfrmFiltroCancelamento &d) {
        preenche(d, {{}, estados, {}});
        d.sbtConfirma->click();
    });
    QCOMPARE(Filtro.IdSitu, idSitu);
    QCOMPARE(Filtro.TIdSitu, QString());
}

void TestFiltroValidacao::rangesAreWrittenAsShown()
{
    openWith([](TfrmFiltroCancelamento &d) {
        preenche(d, {{QStringLiteral("0000000009"), QStringLiteral("0000000012"), diaMarco09, diaMarco10, QString(),
                      QString(), diaMarco10, diaMarco10},
                     QStringLiteral("12"),
                     {}});
        d.sbtConfirma->click();
    });
    const double marco09 = DayCount::fromDate(QDate(2026, 3, 9));
    const double marco10 = DayCount::fromDate(QDate(2026, 3, 10));
    QCOMPARE(Filtro.NrOrcaEven.De, QStringLiteral("0000000009"));
    QCOMPARE(Filtro.NrOrcaEven.Ate, QStringLiteral("0000000012"));
    QCOMPARE(Filtro.NrOrcaEven.Todos, QString());
    QCOMPARE(Filtro.DtEvento.De, marco09);
    QCOMPARE(Filtro.DtEvento.Ate, marco10);
    QCOMPARE(Filtro.DtEvento.Todos, QString());
    QCOMPARE(Filtro.DtValidade.De, 0.0);
    QCOMPARE(Filtro.DtValidade.Ate, 0.0);
    QCOMPARE(Filtro.DtValidade.Todos, QStringLiteral("T"));
    QCOMPARE(Filtro.DtOrcamento.De, marco10);
    QCOMPARE(Filtro.DtOrcamento.Ate, marco10);
    QCOMPARE(Filtro.DtOrcamento.Todos, QString());
}

void TestFiltroValidacao::numberTypedAndNotLeftIsStoredAdjusted()
{
    QString shownDe;
    QString shownAte;
    openWith([&](TfrmFiltroCancelamento &d) {
        QTest::keyClicks(d.medOrcaDe, QStringLiteral("5"));
        QTest::keyClick(d.medOrcaDe, Qt::Key_Tab);
        d.medOrcaAte->selectAll();
        QTest::keyClicks(d.medOrcaAte, QStringLiteral("12"));
        QTest::keyClick(d.medOrcaAte, Qt::Key_F10);
        shownDe = d.medOrcaDe->text();
        shownAte = d.medOrcaAte->text();
    });
    QCOMPARE(Filtro.NrOrcaEven.De, QStringLiteral("0000000005"));
    QCOMPARE(Filtro.NrOrcaEven.Ate, QStringLiteral("0000000012"));
    QCOMPARE(shownDe, QStringLiteral("0000000005"));
    QCOMPARE(shownAte, QStringLiteral("0000000012"));
}

void TestFiltroValidacao::reversedRangeTypedAndNotLeftIsRefused()
{
    Filtro = filtroRestrito();
    const QStringList before = campos(Filtro);
    QString focused;
    openWith([&](TfrmFiltroCancelamento &d) {
        QTest::keyClicks(d.medOrcaDe, QStringLiteral("500"));
        QTest::keyClick(d.medOrcaDe, Qt::Key_Tab);
        d.medOrcaAte->selectAll();
        QTest::keyClicks(d.medOrcaAte, QStringLiteral("60"));
        QTest::keyClick(d.medOrcaAte, Qt::Key_F10);
        focused = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        d.sbtCancel->click();
    });
    QCOMPARE(dialogs->shownTexts(),
             QStringList{"Número do orçamento inicial deve ser menor ou igual ao número do orçamento final."});
    QCOMPARE(focused, QStringLiteral("medOrcaDe"));
    QCOMPARE(campos(Filtro), before);
}

void TestFiltroValidacao::listsFollowTheirRadios()
{
    Filtro = filtroRestrito();
    openWith([](TfrmFiltroCancelamento &d) {
        d.rbtTVendedor->setChecked(true);
        stCliente = QStringLiteral("000000000000000000007_000000000000000000008");
        d.sbtConfirma->click();
    });
    QCOMPARE(Filtro.Vendedor.Todos, QStringLiteral("T"));
    QCOMPARE(Filtro.Vendedor.Lista, QString());
    QCOMPARE(stVendedor, QStringLiteral("0001_0002"));
    QCOMPARE(Filtro.Cliente.Todos, QString());
    QCOMPARE(Filtro.Cliente.Lista, QStringLiteral("000000000000000000007_000000000000000000008"));
    QCOMPARE(Filtro.TipoServ.Lista, QStringLiteral("001"));
    QCOMPARE(Filtro.TipoEven.Lista, QStringLiteral("010_020"));
}

void TestFiltroValidacao::textsAreWrittenAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("flag");
    QTest::newRow("nothing") << "" << "" << "T";
    QTest::newRow("blanks only are no text") << "   " << "" << "T";
    QTest::newRow("surrounding blanks kept") << "  Casamento " << "  Casamento " << "";
    QTest::newRow("accents kept") << "Ação" << "Ação" << "";
}

void TestFiltroValidacao::textsAreWrittenAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, flag);
    openWith([&](TfrmFiltroCancelamento &d) {
        d.edtTitulo->setText(typed);
        d.edtNovoClie->setText(typed);
        d.sbtConfirma->click();
    });
    QCOMPARE(Filtro.Titulo, stored);
    QCOMPARE(Filtro.TTitulo, flag);
    QCOMPARE(Filtro.NovoClie, stored);
    QCOMPARE(Filtro.TNovoClie, flag);
}

void TestFiltroValidacao::reopeningShowsWhatWasConfirmed()
{
    openWith([](TfrmFiltroCancelamento &d) {
        preenche(d, {{QStringLiteral("0000000009"), QStringLiteral("0000000012"), diaMarco09, diaMarco10},
                     QStringLiteral("89"),
                     {}});
        d.rbtLTipoServ->setChecked(true);
        stTipoServ = QStringLiteral("002");
        d.edtTitulo->setText(QStringLiteral(" Bodas "));
        d.sbtConfirma->click();
    });
    const QStringList confirmed = campos(Filtro);
    QStringList shown;
    openWith([&](TfrmFiltroCancelamento &d) {
        QStringList texts;
        for (QLineEdit *edit : rangeEdits(d)) {
            texts << edit->text();
        }
        shown = texts;
        shown << QString::number(d.rbtLTipoServ->isChecked()) << QString::number(d.sbtTipoServ->isEnabled())
              << stTipoServ << QString::number(d.chbCancelado->isChecked() && d.chbAdiado->isChecked()
                                               && !d.chbPendente->isChecked())
              << d.edtTitulo->text();
        d.sbtConfirma->click();
    });
    QCOMPARE(shown, QStringList({"0000000009", "0000000012", diaMarco09, diaMarco10, "", "", "", "", "1", "1",
                                 "002", "1", " Bodas "}));
    QCOMPARE(campos(Filtro), confirmed);
}

QTEST_MAIN(TestFiltroValidacao)
#include "tst_filtro_validacao.moc"

// The filter dialog's life: its form, opening on the last confirmed filter,
// "Desfazer", cancelling and closing, and what a confirmation leaves.
#include "Cli_cxl04101.h"
#include "FiltroDialogo.h"
#include "ScriptedDialogs.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TFiltro.h"
#include "TMessages.h"
#include "TfrmFiltroCancelamento.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>

class TestFiltroCancelamento final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void formAsDesigned();
    void numberEditsTakeTenUpperCaseCharacters();
    void dateEditsShowBlueDatesWithWeekdays();
    void messageTableHas52LinesInKeyOrder();
    void criteriaInTabOrder();
    void onlyFourStatesCanBeChosen();

    void openingOnTheDefaultFilterShowsItOpen();
    void openingShowsTheRangesOfTheFilter();
    void statesFollowIdSitu_data();
    void statesFollowIdSitu();
    void listCriterionLoadsLista_data();
    void listCriterionLoadsLista();
    void textsShownExactlyAndFlagsReasserted_data();
    void textsShownExactlyAndFlagsReasserted();
    void radioChoiceSetsItsSearchButton_data();
    void radioChoiceSetsItsSearchButton();

    void desfazerResetsEveryControlAndCancelKeepsFiltro();
    void closingWithoutConfirmingKeepsFiltro_data();
    void closingWithoutConfirmingKeepsFiltro();
    void cancelledChoiceIsNotShownAtTheNextOpening();
    void confirmingClosesAsConfirmed();
    void dialogExistsOnlyWhileOpen();
    void normalCursorWhileOpenAndNoneAfter();

private:
    std::unique_ptr<ScriptedDialogs> dialogs;
};

void TestFiltroCancelamento::init()
{
    dialogs = std::make_unique<ScriptedDialogs>();
    Cli_cxl04101::Initialization();
    Filtro = FiltroPadrao();
}

void TestFiltroCancelamento::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete frmFiltroCancelamento.data();
    boIdCriado = false;
    Cli_cxl04101::Finalization();
    dialogs.reset();
}

void TestFiltroCancelamento::formAsDesigned()
{
    std::unique_ptr<TfrmFiltroCancelamento> d(CreateForm<TfrmFiltroCancelamento>());
    QCOMPARE(d->windowTitle(), QStringLiteral("Filtro de Cancelamento"));
    QCOMPARE(d->ScreenCode(), QStringLiteral("CXL04101"));
    QCOMPARE(d->size(), QSize(541, 327));
    QCOMPARE(d->HelpContext(), 12200101);
    QCOMPARE(d->sbtLimpa->Hint(), QStringLiteral("Desfazer"));
    QCOMPARE(d->sbtLimpa->parentWidget(), d->panMenu);
    const QList<std::pair<QGroupBox *, QString>> boxes = {
        {d->grbNrOrca, QStringLiteral("Nr. Orçamento")},   {d->grbDtEvento, QStringLiteral("Data do Evento")},
        {d->grbValidade, QStringLiteral("Data de Validade")}, {d->grbDtOrca, QStringLiteral("Data do Orcamento")},
        {d->grbVendedor, QStringLiteral("Vendedor")},      {d->grbCliente, QStringLiteral("Cliente")},
        {d->gbrServico, QStringLiteral("Tipo de Serviço")}, {d->grbEvento, QStringLiteral("Tipo de Evento")},
        {d->grbSituacao, QStringLiteral("Situação")}};
    for (const auto &[box, caption] : boxes) {
        QCOMPARE(box->title(), caption);
        QCOMPARE(box->parentWidget(), d->grbFiltroPadrao);
    }
    for (const QString &name : listCriteria) {
        const Criterio c = criterio(*d, name);
        QCOMPARE(c.todos->text(), QStringLiteral("Todos"));
        QCOMPARE(c.lista->text(), QStringLiteral("Lista"));
        QCOMPARE(c.search->Hint(), QStringLiteral("Pesquisar"));
        QCOMPARE(c.search->size(), QSize(21, 21));
        QVERIFY(c.todos->parentWidget()->font().bold());
        QVERIFY(!c.todos->font().bold() && !c.lista->font().bold());
        QVERIFY(c.todos->isChecked());
        QVERIFY(!c.search->isEnabled());
    }
    auto labelOf = [&d](QWidget *edit) {
        for (QLabel *label : d->grbFiltroPadrao->findChildren<QLabel *>()) {
            if (label->buddy() == edit) {
                return label->text();
            }
        }
        return QString();
    };
    QCOMPARE(labelOf(d->edtNovoClie), QStringLiteral("Novo Cliente"));
    QCOMPARE(labelOf(d->edtTitulo), QStringLiteral("Título"));
    QCOMPARE(labelOf(d->medOrcaDe), QStringLiteral("de"));
    QCOMPARE(labelOf(d->depDtOrcaFin), QStringLiteral("até"));
}

void TestFiltroCancelamento::numberEditsTakeTenUpperCaseCharacters()
{
    std::unique_ptr<TfrmFiltroCancelamento> d(CreateForm<TfrmFiltroCancelamento>());
    for (QLineEdit *edit : {d->medOrcaDe, d->medOrcaAte}) {
        QVERIFY(edit->inputMask().isEmpty());
        QTest::keyClicks(edit, QStringLiteral("ab12cd34ef56"));
        QCOMPARE(edit->text(), QStringLiteral("AB12CD34EF"));
    }
}

void TestFiltroCancelamento::dateEditsShowBlueDatesWithWeekdays()
{
    std::unique_ptr<TfrmFiltroCancelamento> d(CreateForm<TfrmFiltroCancelamento>());
    const QStringList weekdays = {QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"),
                                  QStringLiteral("Quarta"),  QStringLiteral("Quinta"),  QStringLiteral("Sexta"),
                                  QStringLiteral("Sábado")};
    for (QLineEdit *edit : rangeEdits(*d).mid(2)) {
        auto *date = qobject_cast<TDateEditPlus *>(edit);
        QVERIFY2(date, qPrintable(edit->objectName()));
        QCOMPARE(date->ValidColor(), QColor(Qt::blue));
        QCOMPARE(date->NomeSemana(), weekdays);
        QVERIFY(!date->SaveTime());
    }
}

void TestFiltroCancelamento::messageTableHas52LinesInKeyOrder()
{
    std::unique_ptr<TfrmFiltroCancelamento> d(CreateForm<TfrmFiltroCancelamento>());
    const QStringList keys = {
        "DTINI>DTFIN_VALID", "DTINI_VALID", "DTFIN_VALID", "CODVERS", "GRUP_SIST", "SISTEMA", "ASSUNTO",
        "FASE_TRAM", "FUNC_SOLI", "FUNC_RESP", "CLIENTE", "INTERLOC", "NRINI>NRFIN", "VENDEDOR",
        "REPRESENTANTE", "PRODUTO", "NRINI", "NRFIN", "PEDIDO", "STATUSORC", "STATUSITEMPED", "PRIO",
        "LNrPedido", "LVendedor", "LTipoEven", "LCliente", "DATA_INV", "DTINI>DTFIN_EVEN", "DTINI_EVEN",
        "DTFIN_EVEN", "CLIE", "PROD", "VEND", "PEDNCAD", "LMuniciCli", "LTipoPed", "Municipio", "Mun_NC",
        "ORIGEM_DEVE", "LTipoServ", "TPSERV_N_CAD", "TIPO_N_CAD", "TIPOOPER", "TIPOOPER_INF", "TIPOSERV",
        "TIPOEVEN", "TIPOEVEN_N_CAD", "Orca_ini_maior", "DT_ini_maior", "DTINI>DTFIN_ORCA", "DTINI_ORCA",
        "DTFIN_ORCA"};
    const QStringList lines = d->msgPadrao->lines();
    QCOMPARE(lines.size(), 52);
    QStringList keysFound;
    for (const QString &line : lines) {
        QVERIFY2(!line.section(QLatin1Char('|'), 1).isEmpty(), qPrintable(line));
        keysFound << line.section(QLatin1Char('|'), 0, 0);
    }
    QCOMPARE(keysFound, keys);
    QCOMPARE(d->msgPadrao->Msg(QStringLiteral("NRINI>NRFIN")),
             QStringLiteral("Número do orçamento inicial deve ser menor ou igual ao número do orçamento final."));
    QCOMPARE(d->msgPadrao->Msg(QStringLiteral("STATUSORC")), QStringLiteral("Situação do orçamento deve ser informada."));
    QCOMPARE(d->msgPadrao->Msg(QStringLiteral("DATA_INV")), QStringLiteral("não é uma data válida."));
    QCOMPARE(d->msgPadrao->Msg(QStringLiteral("TIPOEVEN_N_CAD")), QStringLiteral("Não há tipo de evento cadastrado."));
    QCOMPARE(d->msgPadrao->Msg(QStringLiteral("LTipoServ")), QStringLiteral("Tipo de serviço deve ser informado."));
}

void TestFiltroCancelamento::criteriaInTabOrder()
{
    std::unique_ptr<TfrmFiltroCancelamento> d(CreateForm<TfrmFiltroCancelamento>());
    const QList<QWidget *> expected = {
        d->medOrcaDe,    d->medOrcaAte,   d->depDeEvento,  d->depAteEvento, d->depDeValidade, d->depAteValidade,
        d->depDtOrcaIni, d->depDtOrcaFin, d->rbtTVendedor, d->rbtLVendedor, d->sbtVendedor,   d->rbtTCliente,
        d->rbtLCliente,  d->sbtCliente,   d->rbtTTipoServ, d->rbtLTipoServ, d->sbtTipoServ,   d->rbtTTipoEven,
        d->rbtLTipoEven, d->sbtTipoEven,  d->chbPendente,  d->chbAprovado,  d->chbFechado,    d->chbExecProd,
        d->chbExecMate,  d->chbExecTotal, d->chbEncerrado, d->chbCancelado, d->chbAdiado,     d->edtNovoClie,
        d->edtTitulo};
    QList<QWidget *> chain;
    for (QWidget *w = d->grbFiltroPadrao->nextInFocusChain(); w != d->grbFiltroPadrao; w = w->nextInFocusChain()) {
        if (d->grbFiltroPadrao->isAncestorOf(w) && w->focusPolicy() & Qt::TabFocus) {
            chain << w;
        }
    }
    QCOMPARE(chain, expected);
}

void TestFiltroCancelamento::onlyFourStatesCanBeChosen()
{
    std::unique_ptr<TfrmFiltroCancelamento> d(CreateForm<TfrmFiltroCancelamento>());
    const QList<QCheckBox *> boxes = d->grbSituacao->findChildren<QCheckBox *>();
    QStringList usable;
    QStringList captions;
    for (QCheckBox *box : boxes) {
        captions << box->text();
        if (box->isEnabled()) {
            usable << box->objectName();
        } else {
            QVERIFY(!box->isChecked());
        }
    }
    QCOMPARE(captions, QStringList({"Pendente", "Aprovado", "Fechado", "Exec. Produção", "Exec. Materias",
                                    "Exec. Totalmente", "Encerrado", "Cancelado", "Adiado"}));
    QCOMPARE(usable, QStringList({"chbPendente", "chbAprovado", "chbCancelado", "chbAdiado"}));
}

void TestFiltroCancelamento::openingOnTheDefaultFilterShowsItOpen()
{
    const int result = openWith([&](TfrmFiltroCancelamento &d) {
        verifyOpenFilterShown(d);
        QCOMPARE(d.focusWidget(), d.medOrcaDe);
        QCOMPARE(d.size(), QSize(541, 327));
        d.sbtCancel->click();
    });
    QCOMPARE(result, 2);
    QCOMPARE(campos(Filtro), campos(FiltroPadrao()));
}

void TestFiltroCancelamento::openingShowsTheRangesOfTheFilter()
{
    Filtro = filtroRestrito();
    openWith([](TfrmFiltroCancelamento &d) {
        QCOMPARE(d.medOrcaDe->text(), QStringLiteral("0000000010"));
        QCOMPARE(d.medOrcaAte->text(), QStringLiteral("00000000AB"));
        QCOMPARE(d.depDeEvento->GetDate(), 46000.0);
        QCOMPARE(d.depAteEvento->GetDate(), 46010.0);
        QCOMPARE(d.depDeValidade->GetDate(), 45990.0);
        QCOMPARE(d.depAteValidade->GetDate(), 45995.0);
        QCOMPARE(d.depDtOrcaIni->GetDate(), 45900.0);
        QCOMPARE(d.depDtOrcaFin->GetDate(), 45901.0);
        QCOMPARE(d.edtNovoClie->text(), QStringLiteral("Maria"));
        d.sbtCancel->click();
    });
}

void TestFiltroCancelamento::statesFollowIdSitu_data()
{
    QTest::addColumn<QString>("idSitu");
    QTest::addColumn<QList<bool>>("ticked"); // Pendente, Aprovado, Cancelado, Adiado
    QTest::newRow("default of a new screen") << "1_2_" << QList<bool>{true, true, false, false};
    QTest::newRow("as a confirmation writes it") << "_1_2_" << QList<bool>{true, true, false, false};
    QTest::newRow("cancelled only") << "8_" << QList<bool>{false, false, true, false};
    QTest::newRow("approved and postponed") << "2_9_" << QList<bool>{false, true, false, true};
    QTest::newRow("all four") << "_1_2_8_9_" << QList<bool>{true, true, true, true};
    QTest::newRow("none") << "" << QList<bool>{false, false, false, false};
}

void TestFiltroCancelamento::statesFollowIdSitu()
{
    QFETCH(QString, idSitu);
    QFETCH(QList<bool>, ticked);
    Filtro.IdSitu = idSitu;
    Filtro.TIdSitu = idSitu.isEmpty() ? QStringLiteral("T") : QString();
    QList<bool> shown;
    openWith([&shown](TfrmFiltroCancelamento &d) {
        shown = {d.chbPendente->isChecked(), d.chbAprovado->isChecked(), d.chbCancelado->isChecked(),
                 d.chbAdiado->isChecked()};
        d.sbtCancel->click();
    });
    QCOMPARE(shown, ticked);
    QCOMPARE(Filtro.IdSitu, idSitu);
}

void TestFiltroCancelamento::listCriterionLoadsLista_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : listCriteria) {
        QTest::newRow(qPrintable(name)) << name;
    }
}

void TestFiltroCancelamento::listCriterionLoadsLista()
{
    QFETCH(QString, name);
    TCodeList &applied = criterioDoFiltro(name);
    applied.Lista = QStringLiteral("0001_0007_");
    applied.Todos.clear();
    openWith([&name](TfrmFiltroCancelamento &d) {
        for (const QString &other : listCriteria) {
            const Criterio c = criterio(d, other);
            const bool isLista = other == name;
            QCOMPARE(c.lista->isChecked(), isLista);
            QCOMPARE(c.todos->isChecked(), !isLista);
            QCOMPARE(c.search->isEnabled(), isLista);
            QCOMPARE(*c.workingList, isLista ? QStringLiteral("0001_0007_") : QString());
        }
        d.sbtCancel->click();
    });
    QCOMPARE(applied.Lista, QStringLiteral("0001_0007_"));
}

void TestFiltroCancelamento::textsShownExactlyAndFlagsReasserted_data()
{
    QTest::addColumn<bool>("titulo"); // else the new client's name
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flagBefore");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("flagAfter");
    QTest::newRow("title with blanks around") << true << "  Bodas de prata " << "" << "  Bodas de prata " << "";
    QTest::newRow("title of blanks only") << true << "   " << "" << "" << "T";
    QTest::newRow("no title, flag lost") << true << "" << "" << "" << "T";
    QTest::newRow("title, flag still T") << true << "Formatura" << "T" << "Formatura" << "";
    QTest::newRow("new client with blanks") << false << " Ana Souza  " << "" << " Ana Souza  " << "";
    QTest::newRow("new client of blanks only") << false << "  " << "" << "" << "T";
    QTest::newRow("new client, flag still T") << false << "José" << "T" << "José" << "";
}

void TestFiltroCancelamento::textsShownExactlyAndFlagsReasserted()
{
    QFETCH(bool, titulo);
    QFETCH(QString, text);
    QFETCH(QString, flagBefore);
    QFETCH(QString, shown);
    QFETCH(QString, flagAfter);
    QString &value = titulo ? Filtro.Titulo : Filtro.NovoClie;
    QString &flag = titulo ? Filtro.TTitulo : Filtro.TNovoClie;
    value = text;
    flag = flagBefore;
    QString inEdit;
    openWith([&](TfrmFiltroCancelamento &d) {
        inEdit = (titulo ? d.edtTitulo : d.edtNovoClie)->text();
        d.sbtCancel->click();
    });
    QCOMPARE(inEdit, shown);
    QCOMPARE(flag, flagAfter);
    QCOMPARE(value, text);
}

void TestFiltroCancelamento::radioChoiceSetsItsSearchButton_data()
{
    listCriterionLoadsLista_data();
}

void TestFiltroCancelamento::radioChoiceSetsItsSearchButton()
{
    QFETCH(QString, name);
    QList<bool> enabled;
    QString listAfterTodos;
    openWith([&](TfrmFiltroCancelamento &d) {
        const Criterio c = criterio(d, name);
        QTest::mouseClick(c.lista, Qt::LeftButton);
        enabled << c.search->isEnabled();
        *c.workingList = QStringLiteral("0003_");
        QTest::mouseClick(c.todos, Qt::LeftButton);
        enabled << c.search->isEnabled();
        listAfterTodos = *c.workingList;
        QTest::mouseClick(c.lista, Qt::LeftButton);
        enabled << c.search->isEnabled();
        d.sbtCancel->click();
    });
    QCOMPARE(enabled, QList<bool>({true, false, true}));
    QCOMPARE(listAfterTodos, QStringLiteral("0003_"));
}

void TestFiltroCancelamento::desfazerResetsEveryControlAndCancelKeepsFiltro()
{
    Filtro = filtroRestrito();
    stProduto = QStringLiteral("01.02_");
    const QStringList before = campos(Filtro);
    QStringList listsAfter;
    const int result = openWith([&listsAfter](TfrmFiltroCancelamento &d) {
        QVERIFY(d.rbtLVendedor->isChecked());
        QVERIFY(!d.edtTitulo->text().isEmpty());
        QTest::mouseClick(d.sbtLimpa, Qt::LeftButton);
        QVERIFY(d.isVisible());
        verifyOpenFilterShown(d);
        listsAfter = {stVendedor, stCliente, stTipoServ, stTipoEven, stProduto};
        QTest::mouseClick(d.sbtCancel, Qt::LeftButton);
    });
    QCOMPARE(result, 2);
    QCOMPARE(listsAfter, QStringList(5));
    QCOMPARE(campos(Filtro), before);
}

void TestFiltroCancelamento::closingWithoutConfirmingKeepsFiltro_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel button") << "cancel";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("close box") << "close";
}

void TestFiltroCancelamento::closingWithoutConfirmingKeepsFiltro()
{
    QFETCH(QString, how);
    Filtro = filtroRestrito();
    const QStringList before = campos(Filtro);
    const int result = openWith([&how](TfrmFiltroCancelamento &d) {
        d.medOrcaDe->setText(QStringLiteral("999"));
        d.edtTitulo->setText(QStringLiteral("outro"));
        d.chbPendente->setChecked(true);
        QTest::mouseClick(d.rbtTCliente, Qt::LeftButton);
        if (how == QLatin1String("cancel")) {
            QTest::mouseClick(d.sbtCancel, Qt::LeftButton);
        } else if (how == QLatin1String("Esc")) {
            QTest::keyClick(d.edtTitulo, Qt::Key_Escape);
        } else {
            d.close();
        }
    });
    QCOMPARE(result, 2);
    QVERIFY(!boIdCriado);
    QCOMPARE(campos(Filtro), before);
}

void TestFiltroCancelamento::cancelledChoiceIsNotShownAtTheNextOpening()
{
    openWith([](TfrmFiltroCancelamento &d) {
        QTest::mouseClick(d.rbtLVendedor, Qt::LeftButton);
        stVendedor = QStringLiteral("0009_");
        d.sbtCancel->click();
    });
    bool todos = false;
    openWith([&todos](TfrmFiltroCancelamento &d) {
        todos = d.rbtTVendedor->isChecked() && !d.sbtVendedor->isEnabled();
        d.sbtCancel->click();
    });
    QVERIFY(todos);
    QVERIFY(stVendedor.isEmpty());
}

void TestFiltroCancelamento::confirmingClosesAsConfirmed()
{
    Filtro = filtroRestrito();
    const int result = openWith([](TfrmFiltroCancelamento &d) {
        d.edtTitulo->setText(QStringLiteral("Bodas"));
        QTest::keyClick(d.edtTitulo, Qt::Key_F10);
    });
    QCOMPARE(result, 1);
    QVERIFY(!boIdCriado);
    TFiltro expected = filtroRestrito();
    expected.Titulo = QStringLiteral("Bodas");
    QCOMPARE(campos(Filtro), campos(expected));
    QVERIFY(dialogs->shown().isEmpty());
}

void TestFiltroCancelamento::dialogExistsOnlyWhileOpen()
{
    QVERIFY(!frmFiltroCancelamento);
    QPointer<TfrmFiltroCancelamento> first;
    bool createdWhileOpen = false;
    openWith([&](TfrmFiltroCancelamento &d) {
        first = &d;
        createdWhileOpen = boIdCriado && frmFiltroCancelamento == &d;
        d.sbtCancel->click();
    });
    QVERIFY(createdWhileOpen);
    QVERIFY(!boIdCriado);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    QVERIFY(!frmFiltroCancelamento);

    bool secondIsNew = false;
    const int result = openWith([&](TfrmFiltroCancelamento &d) {
        secondIsNew = boIdCriado && !first && frmFiltroCancelamento == &d;
        d.sbtConfirma->click();
    });
    QVERIFY(secondIsNew);
    QCOMPARE(result, 1);
    QCOMPARE(FiltroModalResult(), 1);
}

void TestFiltroCancelamento::normalCursorWhileOpenAndNoneAfter()
{
    QVERIFY(!QGuiApplication::overrideCursor());
    Qt::CursorShape whileOpen = Qt::BlankCursor;
    openWith([&whileOpen](TfrmFiltroCancelamento &d) {
        if (QGuiApplication::overrideCursor()) {
            whileOpen = QGuiApplication::overrideCursor()->shape();
        }
        d.sbtCancel->click();
    });
    QCOMPARE(whileOpen, Qt::ArrowCursor);
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestFiltroCancelamento)
#include "tst_filtrocancelamento.moc"

#include "Abort.h"
#include "Field.h"
#include "RecordList.h"
#include "ScriptedDialogs.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TDataSource.h"
#include "TMessages.h"
#include "TfrmPadraoGrid.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTest>

using Command = TfrmPadraoGrid::RecordCommand;

namespace {

DataPacket sampleQuotes()
{
    DataPacket packet;
    packet.fields = {{QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10},
                     {QStringLiteral("NMFANTCLIE"), FieldType::Text, 30}};
    packet.rows = {{QStringLiteral("0000000001"), QStringLiteral("Buffet Aurora")},
                   {QStringLiteral("0000000002"), QStringLiteral("Salão Ipê")},
                   {QStringLiteral("0000000003"), QStringLiteral("Clube Central")}};
    return packet;
}

// A screen with a band and a button of its own, that counts what reaches
// its verify handler and can make its find fail.
class SampleScreen final : public TfrmPadraoGrid {
public:
    SampleScreen()
        : panFilial(new QWidget)
        , sbtFiltro(new TButtonFlat)
    {
        panFilial->setMinimumHeight(34);
        insertBand(panFilial);
        sbtFiltro->SetHint(QStringLiteral("Filtrar"));
        insertToolButton(sbtFiltro);
        SetScreenCode(QStringLiteral("TST00100"));
        SetCaption(QStringLiteral("Teste"));
        SetHelpContext(12200100);
    }

    void sbtVerificarClick(QObject *sender) override { senders << sender; }
    void sbtProcurarClick(QObject *sender) override
    {
        if (failFind) {
            throw std::runtime_error("falha na procura");
        }
        TfrmPadraoGrid::sbtProcurarClick(sender);
    }

    QString FilterSummary() const override { return filterSummary; }

    QWidget *panFilial;
    TButtonFlat *sbtFiltro;
    QString filterSummary;
    QList<QObject *> senders;
    bool failFind = false;
};

} // namespace

class TestPadraoGrid final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buttonAndMenuItemShareTheEnabledState_data();
    void buttonAndMenuItemShareTheEnabledState();
    void greyedToolBarDoesNotDisableACommandForGood();
    void menusHoldTheirItems();
    void shortcutsBelongToTheScreen();
    void buttonMenuItemAndCodeRunTheSameHandler();
    void clickCommandRespectsTheEnabledState();
    void failureInAHandlerIsReportedByTheGuard();
    void confirmPostsTheEditOfTheList();
    void cancelAsksAndCancelsOnYes();
    void cancelAsksAndKeepsTheEditOnNo();
    void insertKeyOnTheGridIssuesTheInsertCommand();
    void navigatorMovesThroughTheListAndShowsTheName();
    void closingLetsTheScreenBeFreed();
    void recordCommandsWorkOnTheList_data();
    void recordCommandsWorkOnTheList();
    void findMakesTheRecordFoundCurrent();
    void f3GoesOnToTheNextMatchOfTheLastFind();
    void closeButtonFreesTheScreen();
    void helpNamesTheScreenAndItsTopic();
    void screenButtonsAndBandsGoInTheirPlaces();
    void standardMessagesHoldTheCancelQuestion();
    void toolBarButtonsStayOutOfTheTabChain();
    void statusLineCountsTheListedRecords_data();
    void statusLineCountsTheListedRecords();

private:
    ScriptedDialogs *dialogs = nullptr;
    RecordList *quotes = nullptr;
    QPointer<SampleScreen> screen;
};

void TestPadraoGrid::init()
{
    dialogs = new ScriptedDialogs;
    screen = CreateForm<SampleScreen>();
    quotes = new RecordList(QStringLiteral("cdsOrcamento"), screen);
    quotes->loadPacket(sampleQuotes());
    screen->dtsPadrao->setDataSet(quotes);
    screen->dbtNome->setDataField(QStringLiteral("NMFANTCLIE"));
    screen->resize(767, 459);
    screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen));
}

void TestPadraoGrid::cleanup()
{
    delete screen.data();
    delete dialogs;
}

void TestPadraoGrid::buttonAndMenuItemShareTheEnabledState_data()
{
    QTest::addColumn<Command>("command");
    QTest::newRow("insert") << Command::Incluir;
    QTest::newRow("change") << Command::Alterar;
    QTest::newRow("delete") << Command::Excluir;
    QTest::newRow("find") << Command::Procurar;
    QTest::newRow("verify") << Command::Verificar;
    QTest::newRow("cancel") << Command::Cancelar;
    QTest::newRow("confirm") << Command::Confirmar;
}

void TestPadraoGrid::buttonAndMenuItemShareTheEnabledState()
{
    QFETCH(Command, command);
    TButtonFlat *button = screen->commandButton(command);
    QAction *item = screen->commandAction(command);
    button->setEnabled(false);
    QVERIFY(!item->isEnabled());
    button->setEnabled(true);
    QVERIFY(item->isEnabled());
    item->setEnabled(false);
    QVERIFY(!button->isEnabled());
    item->setEnabled(true);
    QVERIFY(button->isEnabled());
}

void TestPadraoGrid::greyedToolBarDoesNotDisableACommandForGood()
{
    screen->sbtAlterar->setEnabled(false);
    screen->panMenu->setEnabled(false);
    QVERIFY(!screen->mnuIncluir->isEnabled());
    screen->panMenu->setEnabled(true);
    QVERIFY(screen->sbtIncluir->isEnabled());
    QVERIFY(screen->mnuIncluir->isEnabled());
    QVERIFY(!screen->sbtAlterar->isEnabled());
    QVERIFY(!screen->mnuAlterar->isEnabled());
}

void TestPadraoGrid::menusHoldTheirItems()
{
    QCOMPARE(screen->mnuOperacao->title(), QStringLiteral("&Operação"));
    QCOMPARE(screen->mnuManutencao->title(), QStringLiteral("&Manutenção"));
    QCOMPARE(screen->mnuListagem->text(), QStringLiteral("&Listagem"));
    QCOMPARE(screen->mnuConfigImpressora->text(), QStringLiteral("&Configurar Impressora"));
    QCOMPARE(screen->mnuOperacao->actions(),
             (QList<QAction *>{screen->mnuListagem, screen->mnuConfigImpressora}));
    QCOMPARE(screen->mnuManutencao->actions(),
             (QList<QAction *>{screen->mnuIncluir, screen->mnuAlterar, screen->mnuExcluir, screen->mnuProcurar,
                               screen->mnuVerificar, screen->mnuCancelar, screen->mnuConfirmar}));
}

void TestPadraoGrid::shortcutsBelongToTheScreen()
{
    for (QAction *item : screen->mnuManutencao->actions()) {
        QCOMPARE(item->shortcutContext(), Qt::WidgetWithChildrenShortcut);
    }
    screen->dbgPadrao->setFocus();
    QTest::keyClick(screen->dbgPadrao, Qt::Key_F5);
    QCOMPARE(screen->senders, QList<QObject *>{screen->mnuVerificar});
}

void TestPadraoGrid::buttonMenuItemAndCodeRunTheSameHandler()
{
    QTest::mouseClick(screen->sbtVerificar, Qt::LeftButton);
    screen->mnuVerificar->trigger();
    screen->clickCommand(Command::Verificar);
    QCOMPARE(screen->senders,
             (QList<QObject *>{screen->sbtVerificar, screen->mnuVerificar, screen->sbtVerificar}));
}

void TestPadraoGrid::clickCommandRespectsTheEnabledState()
{
    screen->mnuVerificar->setEnabled(false);
    screen->clickCommand(Command::Verificar);
    QTest::mouseClick(screen->sbtVerificar, Qt::LeftButton);
    QVERIFY(screen->senders.isEmpty());
}

void TestPadraoGrid::failureInAHandlerIsReportedByTheGuard()
{
    screen->failFind = true;
    screen->clickCommand(Command::Procurar);
    QCOMPARE(dialogs->shownTexts(), QStringList{QStringLiteral("falha na procura")});
}

void TestPadraoGrid::confirmPostsTheEditOfTheList()
{
    quotes->moveTo(1);
    quotes->edit();
    quotes->fieldByName(QStringLiteral("NMFANTCLIE")).setAsString(QStringLiteral("Salão Ipê Roxo"));
    screen->sbtConfirmarClick(screen->sbtConfirmar);
    QCOMPARE(quotes->state(), RecordList::State::Browse);
    QCOMPARE(quotes->displayTextAt(1, 1), QStringLiteral("Salão Ipê Roxo"));
    QCOMPARE(quotes->changeCount(), 1);
}

void TestPadraoGrid::cancelAsksAndCancelsOnYes()
{
    quotes->edit();
    quotes->fieldByName(QStringLiteral("NMFANTCLIE")).setAsString(QStringLiteral("outro"));
    dialogs->answerAsk(0);
    screen->clickCommand(Command::Cancelar);
    QCOMPARE(dialogs->lastText(), screen->msgMensagensPadroes->Msg(QStringLiteral("Canc")));
    QCOMPARE(dialogs->shown().last().buttons, (QStringList{QStringLiteral("&Sim"), QStringLiteral("&Não")}));
    QCOMPARE(quotes->state(), RecordList::State::Browse);
    QCOMPARE(quotes->fieldByName(QStringLiteral("NMFANTCLIE")).asString(), QStringLiteral("Buffet Aurora"));
}

void TestPadraoGrid::cancelAsksAndKeepsTheEditOnNo()
{
    quotes->edit();
    quotes->fieldByName(QStringLiteral("NMFANTCLIE")).setAsString(QStringLiteral("outro"));
    dialogs->answerAsk(1);
    screen->clickCommand(Command::Cancelar);
    QCOMPARE(quotes->state(), RecordList::State::Edit);
    QCOMPARE(quotes->fieldByName(QStringLiteral("NMFANTCLIE")).asString(), QStringLiteral("outro"));
}

void TestPadraoGrid::insertKeyOnTheGridIssuesTheInsertCommand()
{
    screen->dbgPadrao->setFocus();
    QTest::keyClick(screen->dbgPadrao, Qt::Key_Insert);
    QCOMPARE(quotes->state(), RecordList::State::Insert);
    QCOMPARE(quotes->recordCount(), 4);
    quotes->cancel();
    screen->sbtIncluir->setEnabled(false);
    QTest::keyClick(screen->dbgPadrao, Qt::Key_Insert);
    QCOMPARE(quotes->state(), RecordList::State::Browse);
}

void TestPadraoGrid::navigatorMovesThroughTheListAndShowsTheName()
{
    QVERIFY(!screen->sbtPrimeiro->isEnabled());
    QCOMPARE(screen->dbtNome->text(), QStringLiteral("Buffet Aurora"));
    QTest::mouseClick(screen->sbtUltimo, Qt::LeftButton);
    QCOMPARE(quotes->recNo(), 2);
    QCOMPARE(screen->dbtNome->text(), QStringLiteral("Clube Central"));
    QVERIFY(!screen->sbtProximo->isEnabled());
    QVERIFY(screen->sbtAnterior->isEnabled());
    QTest::mouseClick(screen->sbtAnterior, Qt::LeftButton);
    QCOMPARE(quotes->recNo(), 1);
    QVERIFY(screen->sbtProximo->isEnabled());
}

void TestPadraoGrid::closingLetsTheScreenBeFreed()
{
    CloseAction action = caHide;
    screen->FormClose(action);
    QCOMPARE(action, caFree);
}

void TestPadraoGrid::standardMessagesHoldTheCancelQuestion()
{
    QVERIFY(!screen->msgMensagensPadroes->Msg(QStringLiteral("Canc")).isEmpty());
}

void TestPadraoGrid::recordCommandsWorkOnTheList_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<int>("answer"); // -1: no question expected
    QTest::addColumn<RecordList::State>("state");
    QTest::addColumn<int>("records");
    QTest::newRow("insert appends") << Command::Incluir << -1 << RecordList::State::Insert << 4;
    QTest::newRow("change edits") << Command::Alterar << -1 << RecordList::State::Edit << 3;
    QTest::newRow("delete on yes") << Command::Excluir << 0 << RecordList::State::Browse << 2;
    QTest::newRow("delete kept on no") << Command::Excluir << 1 << RecordList::State::Browse << 3;
    QTest::newRow("cancel without an edit asks nothing")
        << Command::Cancelar << -1 << RecordList::State::Browse << 3;
    QTest::newRow("confirm without an edit does nothing")
        << Command::Confirmar << -1 << RecordList::State::Browse << 3;
}

void TestPadraoGrid::recordCommandsWorkOnTheList()
{
    QFETCH(Command, command);
    QFETCH(int, answer);
    QFETCH(RecordList::State, state);
    QFETCH(int, records);
    if (answer >= 0) {
        dialogs->answerAsk(answer);
    }
    screen->clickCommand(command);
    QCOMPARE(quotes->state(), state);
    QCOMPARE(quotes->recordCount(), records);
    QVERIFY(dialogs->allAnswersUsed());
    QCOMPARE(dialogs->shown().size(), answer >= 0 ? 1 : 0);
}

void TestPadraoGrid::findMakesTheRecordFoundCurrent()
{
    dialogs->answerFind(QStringLiteral("NMFANTCLIE"), QStringLiteral("clube"));
    QTest::mouseClick(screen->sbtProcurar, Qt::LeftButton);
    QCOMPARE(quotes->recNo(), 2);
}

void TestPadraoGrid::f3GoesOnToTheNextMatchOfTheLastFind()
{
    // The list's name carries the remembered find: this test's own name keeps
    // it apart from the other tests' finds.
    quotes->setObjectName(QStringLiteral("cdsProximo"));
    dialogs->answerFind(QStringLiteral("NMFANTCLIE"), QStringLiteral("a"));
    screen->dbgPadrao->setFocus();
    QTest::keyClick(screen->dbgPadrao, Qt::Key_F, Qt::ControlModifier);
    QStringList visited{QString::number(quotes->recNo())};
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(screen->dbgPadrao, Qt::Key_F3);
        visited << QString::number(quotes->recNo());
    }
    QCOMPARE(visited.join(QLatin1Char(' ')), QStringLiteral("0 1 2 2"));
    QCOMPARE(dialogs->lastText(), QStringLiteral("Registro não encontrado."));
}

void TestPadraoGrid::closeButtonFreesTheScreen()
{
    QTest::mouseClick(screen->sbtFechar, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!screen);
}

void TestPadraoGrid::helpNamesTheScreenAndItsTopic()
{
    QTest::mouseClick(screen->sbtAjuda, Qt::LeftButton);
    QCOMPARE(screen->lblCodTela->text(), QStringLiteral("TST00100"));
    QCOMPARE(dialogs->lastText(), QStringLiteral("Tela TST00100 — Teste (tópico de ajuda 12200100)."));
}

void TestPadraoGrid::screenButtonsAndBandsGoInTheirPlaces()
{
    QVERIFY(screen->sbtFiltro->x() > screen->sbtConfirmar->x());
    QVERIFY(screen->sbtFiltro->x() < screen->sbtImprimir->x());
    QCOMPARE(screen->sbtFiltro->parentWidget(), screen->panMenu);
    QVERIFY(screen->panFilial->y() > screen->panMenu->y());
    QVERIFY(screen->panFilial->y() < screen->pgcPadrao->y());
}

void TestPadraoGrid::toolBarButtonsStayOutOfTheTabChain()
{
    // A band's field comes before the pages, as a screen orders it.
    auto *field = new QLineEdit(screen->panFilial);
    field->show();
    QWidget::setTabOrder(field, screen->pgcPadrao);
    screen->dbgPadrao->setFocus();
    QStringList visited;
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        visited << focused->metaObject()->className();
        QVERIFY2(!qobject_cast<TButtonFlat *>(focused), qPrintable(visited.join(QLatin1String(" > "))));
    }
    QVERIFY2(visited.contains(QLatin1String("QLineEdit")), qPrintable(visited.join(QLatin1String(" > "))));
    delete field;
}

void TestPadraoGrid::statusLineCountsTheListedRecords_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << 0 << QString() << QStringLiteral("Nenhum orçamento encontrado para o filtro.");
    QTest::newRow("one") << 1 << QString() << QStringLiteral("1 orçamento");
    QTest::newRow("thousands, with filter")
        << 1234 << QStringLiteral("situações") << QStringLiteral("1.234 orçamentos   Filtro: situações");
}

void TestPadraoGrid::statusLineCountsTheListedRecords()
{
    QFETCH(int, rows);
    QFETCH(QString, filter);
    QFETCH(QString, shown);
    screen->filterSummary = filter;
    screen->SetCountWords(QStringLiteral("orçamento"), QStringLiteral("orçamentos"),
                          QStringLiteral("Nenhum orçamento encontrado para o filtro."));
    DataPacket packet = sampleQuotes();
    packet.rows.clear();
    for (int row = 0; row < rows; ++row) {
        packet.rows.append(QVariantList{QString::number(row), QStringLiteral("Cliente")});
    }
    quotes->loadPacket(packet);
    QCOMPARE(screen->stbPadrao->currentMessage(), shown);
    quotes->close();
    QVERIFY(screen->stbPadrao->currentMessage().isEmpty());
}

QTEST_MAIN(TestPadraoGrid)
#include "tst_padraogrid.moc"

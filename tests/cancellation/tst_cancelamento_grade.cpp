// The quote grid and the command state: marks and state words, activating
// the mark, Habilita in each state, the screen's keys and the item total.
#include "CancelamentoFixture.h"

#include "Cli_cxl04100.h"
#include "MarkGlyphs.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ScreenParts.h"
#include "ServerAnswer.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TMessages.h"
#include "TfrmCancelamento.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

class tst_CancelamentoGrade final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void stateShowsAsWordAndMark_data();
    void stateShowsAsWordAndMark();
    void stateWordParsesBack_data();
    void stateWordParsesBack();
    void activatingMark_data();
    void activatingMark();
    void activatingOtherColumnOnlyClearsReason();
    void emptyListShowsBlankMark();
    void commandStateFollowsList_data();
    void commandStateFollowsList();
    void editingPendingQuoteLocksBranchAndLeadsToReason();
    void pageMenuMarksFollowActivePage();
    void ctrlEnterConfirmsOnlyWhileEditing();
    void ctrlEnterDuringInsertConfirms();
    void f12GoesBackAheadOfPagesOnlyWithoutModifiers();
    void itemTotalIsRoundedOnce_data();
    void itemTotalIsRoundedOnce();
    void ctrlDeleteNeverDeletesItem();
    void layoutAndMenus();

private:
    void load(const QStringList &states);
    QRect markCell(int row) const;
    QImage grid() const;

    CancelamentoFixture m_fixture;
    TfrmCancelamento *m_screen = nullptr;
};

void tst_CancelamentoGrade::initTestCase()
{
    QString error;
    QVERIFY2(m_fixture.start(&error), qPrintable(error));
}

void tst_CancelamentoGrade::init()
{
    m_screen = m_fixture.openAndList();
    QVERIFY(m_screen);
    QVERIFY(part<RecordList>(m_screen, "cdsOrcamento")->isActive());
}

void tst_CancelamentoGrade::cleanup()
{
    if (m_screen && part<RecordList>(m_screen, "cdsOrcamento")->isEditing()) {
        part<RecordList>(m_screen, "cdsOrcamento")->cancel();
    }
    m_fixture.closeScreen();
    m_fixture.dialogs.clear();
    boVd = false;
}

// The grid shows the quotes of a packet made by the test; the server still
// answers the detail calls (with empty lists for these unknown quotes).
void tst_CancelamentoGrade::load(const QStringList &states)
{
    ServerAnswer::LoadPacket(*part<RecordList>(m_screen, "cdsOrcamento"), CancelamentoFixture::quotePacket(states));
    m_screen->Habilita();
}

QRect tst_CancelamentoGrade::markCell(int row) const
{
    TDBGrid *grid = m_screen->dbgPadrao;
    return grid->visualRect(grid->model()->index(row, 0));
}

QImage tst_CancelamentoGrade::grid() const
{
    return m_screen->dbgPadrao->viewport()->grab().toImage();
}

void tst_CancelamentoGrade::stateShowsAsWordAndMark_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("pending") << QuoteState::Pending << QStringLiteral("Pendente") << false;
    QTest::newRow("approved") << QuoteState::Approved << QStringLiteral("Aprovado") << false;
    QTest::newRow("cancelled") << QuoteState::Cancelled << QStringLiteral("Cancelado") << true;
    QTest::newRow("postponed") << QuoteState::Postponed << QStringLiteral("Adiado") << true;
    QTest::newRow("unknown code") << QStringLiteral("5") << QString() << true;
    QTest::newRow("not a number") << QStringLiteral("x") << QString() << true;
    QTest::newRow("blank") << QStringLiteral(" ") << QString() << true;
}

void tst_CancelamentoGrade::stateShowsAsWordAndMark()
{
    QFETCH(QString, state);
    QFETCH(QString, word);
    QFETCH(bool, ticked);
    // The second row is the one under test; the first stays selected.
    load({QuoteState::Pending, state});
    RecordList *list = part<RecordList>(m_screen, "cdsOrcamento");
    const int situacao = list->fieldByName(QStringLiteral("IDSITUORCEVE")).index();
    QCOMPARE(list->displayTextAt(1, situacao), word);
    QCOMPARE(list->editTextAt(1, situacao), word);

    const QImage image = grid();
    const QRect cell = markCell(1);
    // The tick's low point lies inside the box: black when ticked, white when not.
    const QColor tick = image.pixelColor(cell.left() + 1 + 6, cell.top() + 9);
    QCOMPARE(tick == QColor(Qt::black), ticked);
    QCOMPARE(tick == QColor(Qt::white), !ticked);
    // Olive never shows: around the box the cell keeps its own colour.
    const QColor corner = image.pixelColor(cell.left() + 1, cell.top() + 1);
    QVERIFY(corner != MarkGlyphs::Transparent());
    QCOMPARE(corner, image.pixelColor(cell.right() - 1, cell.top() + 1));
}

void tst_CancelamentoGrade::stateWordParsesBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("state");
    QTest::newRow("Pendente") << QStringLiteral("Pendente") << QuoteState::Pending;
    QTest::newRow("Aprovado") << QStringLiteral("Aprovado") << QuoteState::Approved;
    QTest::newRow("Cancelado") << QStringLiteral("Cancelado") << QuoteState::Cancelled;
    QTest::newRow("Adiado") << QStringLiteral("Adiado") << QuoteState::Postponed;
    QTest::newRow("other case") << QStringLiteral("adiado") << QuoteState::Approved;
    QTest::newRow("unknown") << QStringLiteral("Perdido") << QuoteState::Approved;
}

void tst_CancelamentoGrade::stateWordParsesBack()
{
    QFETCH(QString, text);
    QFETCH(QString, state);
    load({QuoteState::Approved});
    RecordList *list = part<RecordList>(m_screen, "cdsOrcamento");
    list->edit();
    Field &situacao = list->fieldByName(QStringLiteral("IDSITUORCEVE"));
    situacao.setText(text);
    QCOMPARE(situacao.asString(), state);
}

void tst_CancelamentoGrade::activatingMark_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("bySpace");
    QTest::addColumn<bool>("edits");
    QTest::addColumn<QString>("after");
    for (const bool space : {false, true}) {
        const char *how = space ? "space " : "double-click ";
        QTest::addRow("%spending", how) << QuoteState::Pending << space << true << QuoteState::Cancelled;
        QTest::addRow("%sapproved", how) << QuoteState::Approved << space << true << QuoteState::Cancelled;
        QTest::addRow("%scancelled", how) << QuoteState::Cancelled << space << false << QuoteState::Cancelled;
        QTest::addRow("%spostponed", how) << QuoteState::Postponed << space << false << QuoteState::Postponed;
        QTest::addRow("%sunknown", how) << QStringLiteral("5") << space << true << QStringLiteral("5");
    }
}

void tst_CancelamentoGrade::activatingMark()
{
    QFETCH(QString, state);
    QFETCH(bool, bySpace);
    QFETCH(bool, edits);
    QFETCH(QString, after);
    load({state});
    part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0003"));
    TDBGrid *grid = m_screen->dbgPadrao;
    grid->setFocus();
    grid->setSelectedField(QStringLiteral("IDCHECK"));
    boVd = false;
    // Re-enabling starts with its question; answered No, nothing follows.
    const bool reabilita = state == QuoteState::Cancelled || state == QuoteState::Postponed;
    if (reabilita) {
        m_fixture.dialogs.answerAsk(1);
    }
    if (bySpace) {
        QTest::keyClick(grid, Qt::Key_Space);
    } else {
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, markCell(0).center());
    }
    RecordList *list = part<RecordList>(m_screen, "cdsOrcamento");
    QCOMPARE(list->isEditing(), edits);
    QCOMPARE(list->fieldByName(QStringLiteral("IDSITUORCEVE")).asString(), after);
    QVERIFY(boVd);
    QCOMPARE(m_fixture.dialogs.shownTexts(),
             reabilita ? QStringList{QStringLiteral("O orçamento selecionado será habilitado. Confirma operação?")}
                       : QStringList());
    // A quote put into edit needs its reason; re-enabling does not.
    QCOMPARE(m_screen->pgcPadrao->activePage() == part<QWidget>(m_screen, "tshMotivo"), edits);
    QVERIFY(part<QLineEdit>(m_screen, "edtCdMotivo")->text().isEmpty());
    if (edits) {
        QCOMPARE(QApplication::focusWidget(), part<QLineEdit>(m_screen, "edtCdMotivo"));
    }
}

void tst_CancelamentoGrade::activatingOtherColumnOnlyClearsReason()
{
    load({QuoteState::Pending});
    part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0003"));
    TDBGrid *grid = m_screen->dbgPadrao;
    const int clientColumn = grid->columnOfField(QStringLiteral("NMFANTCLIE"));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(0, clientColumn)).center());
    QVERIFY(!part<RecordList>(m_screen, "cdsOrcamento")->isEditing());
    QVERIFY(part<QLineEdit>(m_screen, "edtCdMotivo")->text().isEmpty());
    QVERIFY(boVd);
}

void tst_CancelamentoGrade::emptyListShowsBlankMark()
{
    load({});
    part<QLineEdit>(m_screen, "edtCdMotivo")->setText(QStringLiteral("0003"));
    m_screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
    m_screen->dbgPadraoDblClick();
    QVERIFY(!part<RecordList>(m_screen, "cdsOrcamento")->isEditing());
    QVERIFY(part<QLineEdit>(m_screen, "edtCdMotivo")->text().isEmpty());
    QVERIFY(boVd);
}

void tst_CancelamentoGrade::commandStateFollowsList_data()
{
    QTest::addColumn<QStringList>("states");
    QTest::addColumn<bool>("editing");
    // Expected: find/verify, cancel/confirm, filter, re-enable, grid page,
    // items page, reason page, reason controls.
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("browsing pending") << QStringList{QuoteState::Pending} << false
                                      << QList<bool>{true, false, true, false, true, true, false, false};
    QTest::newRow("browsing approved") << QStringList{QuoteState::Approved} << false
                                       << QList<bool>{true, false, true, false, true, true, false, false};
    QTest::newRow("browsing cancelled") << QStringList{QuoteState::Cancelled} << false
                                        << QList<bool>{true, false, true, true, true, true, false, false};
    QTest::newRow("browsing postponed") << QStringList{QuoteState::Postponed} << false
                                        << QList<bool>{true, false, true, true, true, true, false, false};
    QTest::newRow("editing pending") << QStringList{QuoteState::Pending} << true
                                     << QList<bool>{false, true, false, false, false, false, true, true};
    QTest::newRow("editing cancelled") << QStringList{QuoteState::Cancelled} << true
                                       << QList<bool>{false, true, false, false, true, true, false, false};
    QTest::newRow("empty") << QStringList{} << false
                           << QList<bool>{false, false, true, false, true, false, false, false};
}

void tst_CancelamentoGrade::commandStateFollowsList()
{
    QFETCH(QStringList, states);
    QFETCH(bool, editing);
    QFETCH(QList<bool>, enabled);
    load(states);
    if (editing) {
        part<RecordList>(m_screen, "cdsOrcamento")->edit();
    }
    TfrmCancelamento &s = *m_screen;
    for (TButtonFlat *never : {s.sbtIncluir, s.sbtAlterar, s.sbtExcluir}) {
        QVERIFY(!never->isEnabled());
    }
    QCOMPARE(s.sbtProcurar->isEnabled(), enabled[0]);
    QCOMPARE(s.sbtVerificar->isEnabled(), enabled[0]);
    QCOMPARE(s.mnuVerificar->isEnabled(), enabled[0]);
    QCOMPARE(s.sbtCancelar->isEnabled(), enabled[1]);
    QCOMPARE(s.sbtConfirmar->isEnabled(), enabled[1]);
    QCOMPARE(s.mnuConfirmar->isEnabled(), enabled[1]);
    QCOMPARE(part<TButtonFlat>(&s, "sbtFiltro")->isEnabled(), enabled[2]);
    QCOMPARE(part<QAction>(&s, "mnuFiltrar")->isEnabled(), enabled[2]);
    QCOMPARE(part<TButtonFlat>(&s, "sbtHabilita")->isEnabled(), enabled[3]);
    QCOMPARE(part<QAction>(&s, "mnuHabilita")->isEnabled(), enabled[3]);
    QCOMPARE(s.pgcPadrao->isPageEnabled(s.tshPadrao), enabled[4]);
    QCOMPARE(part<QAction>(&s, "mnuFolhaDados")->isEnabled(), enabled[4]);
    QCOMPARE(s.pgcPadrao->isPageEnabled(part<QWidget>(&s, "tshItens")), enabled[5]);
    QCOMPARE(part<QAction>(&s, "mnuItens")->isEnabled(), enabled[5]);
    QCOMPARE(s.pgcPadrao->isPageEnabled(part<QWidget>(&s, "tshMotivo")), enabled[6]);
    QCOMPARE(part<QAction>(&s, "mnuMotivo")->isEnabled(), enabled[6]);
    for (const char *reason : {"edtCdMotivo", "lblNmMot", "dbmMotivo", "btpMotivo"}) {
        QCOMPARE(part<QWidget>(&s, reason)->isEnabled(), enabled[7]);
    }
    QVERIFY(!s.sbtImprimir->isEnabled());
    QVERIFY(!s.mnuListagem->isEnabled());
}

void tst_CancelamentoGrade::editingPendingQuoteLocksBranchAndLeadsToReason()
{
    load({QuoteState::Pending});
    part<RecordList>(m_screen, "cdsOrcamento")->edit();
    QCOMPARE(m_screen->pgcPadrao->activePage(), part<QWidget>(m_screen, "tshMotivo"));
    QVERIFY(part<QAction>(m_screen, "mnuMotivo")->isChecked());
    QCOMPARE(QApplication::focusWidget(), part<QLineEdit>(m_screen, "edtCdMotivo"));
    QVERIFY(!part<QLineEdit>(m_screen, "medCdFilial")->isEnabled());
    QVERIFY(!part<TBtnPesquisa>(m_screen, "btnFilial")->isEnabled());
    part<RecordList>(m_screen, "cdsOrcamento")->cancel();
    QVERIFY(part<QLineEdit>(m_screen, "medCdFilial")->isEnabled());
    QVERIFY(part<TBtnPesquisa>(m_screen, "btnFilial")->isEnabled());
    QVERIFY(!part<QLineEdit>(m_screen, "edtNmFilial")->isEnabled());
    QVERIFY(part<TButtonFlat>(m_screen, "sbtFiltro")->isEnabled());
}

void tst_CancelamentoGrade::pageMenuMarksFollowActivePage()
{
    load({QuoteState::Pending});
    TfrmCancelamento &s = *m_screen;
    QAction *mnuFolhaDados = part<QAction>(&s, "mnuFolhaDados");
    QAction *mnuItens = part<QAction>(&s, "mnuItens");
    QAction *mnuMotivo = part<QAction>(&s, "mnuMotivo");
    QWidget *tshItens = part<QWidget>(&s, "tshItens");
    const auto marks = [=] {
        return QList<bool>{mnuFolhaDados->isChecked(), mnuItens->isChecked(), mnuMotivo->isChecked()};
    };
    QCOMPARE(marks(), (QList<bool>{true, false, false}));
    mnuItens->trigger();
    QCOMPARE(s.pgcPadrao->activePage(), tshItens);
    QCOMPARE(marks(), (QList<bool>{false, true, false}));
    mnuFolhaDados->trigger();
    QCOMPARE(marks(), (QList<bool>{true, false, false}));
    // A page changed by the program is marked at the next command state.
    s.pgcPadrao->SetActivePage(tshItens);
    QCOMPARE(marks(), (QList<bool>{false, true, false}));
}

void tst_CancelamentoGrade::ctrlEnterConfirmsOnlyWhileEditing()
{
    load({QuoteState::Pending, QuoteState::Approved});
    RecordList *list = part<RecordList>(m_screen, "cdsOrcamento");
    m_screen->dbgPadrao->setFocus();
    QTest::keyClick(m_screen->dbgPadrao, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(list->state(), RecordList::State::Browse);
    QCOMPARE(list->changeCount(), 0);

    // Confirming a mark without a reason reaches the reason check.
    list->edit();
    list->fieldByName(QStringLiteral("IDSITUORCEVE")).setAsString(QuoteState::Cancelled);
    QTest::keyClick(part<QLineEdit>(m_screen, "edtCdMotivo"), Qt::Key_Enter, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_fixture.dialogs.shownTexts(), QStringList{QStringLiteral("Motivo deve ser informado.")});
    QCOMPARE(list->state(), RecordList::State::Edit);
}

void tst_CancelamentoGrade::ctrlEnterDuringInsertConfirms()
{
    load({QuoteState::Pending});
    RecordList *list = part<RecordList>(m_screen, "cdsOrcamento");
    list->append();
    QCOMPARE(list->state(), RecordList::State::Insert);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(m_fixture.dialogs.shownTexts(), QStringList{QStringLiteral("Motivo deve ser informado.")});
    // Inserting is never allowed on this screen, so the insert command that
    // follows the confirmation finds itself disabled.
    QCOMPARE(list->recordCount(), 2);
}

void tst_CancelamentoGrade::f12GoesBackAheadOfPagesOnlyWithoutModifiers()
{
    TDBGrid *grid = m_screen->dbgPadrao;
    grid->setFocus();
    QCoreApplication::processEvents();
    for (const Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
        QTest::keyClick(grid, Qt::Key_F12, modifier);
        QCOMPARE(QApplication::focusWidget(), grid);
    }
    QTest::keyClick(grid, Qt::Key_F12);
    QVERIFY(QApplication::focusWidget() != grid);
    QVERIFY(part<QFrame>(m_screen, "panFilial")->isAncestorOf(QApplication::focusWidget()));
}

void tst_CancelamentoGrade::itemTotalIsRoundedOnce_data()
{
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("discount");
    QTest::addColumn<double>("surcharge");
    QTest::addColumn<double>("total");
    QTest::newRow("discount then surcharge") << 2.0 << 10.0 << 1.5 << 0.25 << 18.75;
    QTest::newRow("rounded once, half up") << 3.0 << 0.335 << 0.0 << 0.0 << 1.01;
    QTest::newRow("fractional quantity") << 1.5 << 3.33 << 0.0 << 0.0 << 5.0;
    QTest::newRow("empty values count as zero") << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
}

void tst_CancelamentoGrade::itemTotalIsRoundedOnce()
{
    QFETCH(double, quantity);
    QFETCH(double, price);
    QFETCH(double, discount);
    QFETCH(double, surcharge);
    QFETCH(double, total);
    RecordList *items = part<RecordList>(m_screen, "cdsItemOrcaEven");
    ServerAnswer::LoadPacket(*items, CancelamentoFixture::itemPacket(quantity, price, discount, surcharge));
    QCOMPARE(items->fieldByName(QStringLiteral("VRTOTALITEM")).asFloat(), total);
}

void tst_CancelamentoGrade::ctrlDeleteNeverDeletesItem()
{
    RecordList *items = part<RecordList>(m_screen, "cdsItemOrcaEven");
    ServerAnswer::LoadPacket(*items, CancelamentoFixture::itemPacket(2, 10, 1.5, 0.25));
    m_screen->pgcPadrao->SetActivePage(part<QWidget>(m_screen, "tshItens"));
    ServerAnswer::LoadPacket(*items, CancelamentoFixture::itemPacket(2, 10, 1.5, 0.25));
    part<TDBGrid>(m_screen, "dbgItem")->setFocus();
    QTest::keyClick(part<TDBGrid>(m_screen, "dbgItem"), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(items->recordCount(), 1);
    QVERIFY(m_fixture.dialogs.shown().isEmpty());
    QCOMPARE(items->fieldByName(QStringLiteral("VRTOTALITEM")).displayText(), QStringLiteral("18,75"));
}

void tst_CancelamentoGrade::layoutAndMenus()
{
    TfrmCancelamento &s = *m_screen;
    QAction *mnuFiltrar = part<QAction>(&s, "mnuFiltrar");
    QAction *mnuHabilita = part<QAction>(&s, "mnuHabilita");
    QAction *N1 = part<QAction>(&s, "N1");
    TButtonFlat *sbtFiltro = part<TButtonFlat>(&s, "sbtFiltro");
    TButtonFlat *sbtHabilita = part<TButtonFlat>(&s, "sbtHabilita");
    QLabel *imgCheck = part<QLabel>(&s, "imgCheck");
    QCOMPARE(s.windowTitle(), QStringLiteral("Cancelamento"));
    QCOMPARE(s.ScreenCode(), QStringLiteral("CXL04100"));
    QCOMPARE(s.pgcPadrao->tabText(0), QStringLiteral("Folha Dados (Grade)"));
    QCOMPARE(s.pgcPadrao->tabText(1), QStringLiteral("Itens"));
    QCOMPARE(s.pgcPadrao->tabText(2), QStringLiteral("Motivo"));
    QCOMPARE(mnuFiltrar->text(), QStringLiteral("Fi&ltrar"));
    QCOMPARE(mnuFiltrar->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    QCOMPARE(mnuHabilita->text(), QStringLiteral("&Habilitar"));
    QCOMPARE(mnuHabilita->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    QCOMPARE(mnuHabilita->shortcutContext(), Qt::WidgetWithChildrenShortcut);
    const QList<QAction *> operacao = s.mnuOperacao->actions();
    QCOMPARE(operacao.mid(0, 4), (QList<QAction *>{part<QAction>(&s, "mnuFolhaDados"), part<QAction>(&s, "mnuItens"),
                                                   part<QAction>(&s, "mnuMotivo"), N1}));
    QVERIFY(!N1->isEnabled());
    QCOMPARE(s.mnuManutencao->actions().mid(s.mnuManutencao->actions().size() - 4),
             (QList<QAction *>{part<QAction>(&s, "N2"), mnuFiltrar, part<QAction>(&s, "N3"), mnuHabilita}));
    // Left to right: the filter and re-enable buttons stand before print.
    QVERIFY(sbtFiltro->x() < sbtHabilita->x());
    QVERIFY(sbtHabilita->x() < s.sbtImprimir->x());
    QVERIFY(s.sbtConfirmar->x() < sbtFiltro->x());
    QCOMPARE(sbtFiltro->Hint(), QStringLiteral("Filtrar"));
    QCOMPARE(sbtHabilita->Hint(), QStringLiteral("Habilitar"));
    QCOMPARE(part<QFrame>(&s, "panFilial")->height(), 34);
    QCOMPARE(s.msgPadrao->lines().size(), 23);
    QCOMPARE(imgCheck->pixmap().size(), QSize(16, 16));
    QVERIFY(!imgCheck->isVisible());
    QCOMPARE(s.dbgPadrao->columns().first().title, QStringLiteral("\u2714"));
    QCOMPARE(s.dbgPadrao->columns().first().titleColor, QColor(Qt::white));
    QCOMPARE(s.dbgPadrao->columnOfField(QStringLiteral("IDSITUORCEVE")), 4);
    QVERIFY(!s.dbtNome->text().isEmpty());
    QCOMPARE(s.dbtNome->text(),
             part<RecordList>(&s, "cdsOrcamento")->fieldByName(QStringLiteral("NMFANTCLIE")).asString());
}

QTEST_MAIN(tst_CancelamentoGrade)
#include "tst_cancelamento_grade.moc"

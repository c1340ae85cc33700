// The screen in daily use: worked by keyboard alone, Tab never gets lost on
// the tool bar and the menus always leave the focus in a control the
// operator can see; the status line and the reason page say what is shown.
#include "CancelamentoFixture.h"
#include "ModalAnswers.h"

#include "RecordList.h"
#include "ScreenParts.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBGrid.h"
#include "TfrmCancelamento.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>

class tst_CancelamentoUso final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void shiftTabFromTheGridReachesTheBranch();
    void menuCommandLeavesTheFocusInThePageShown_data();
    void menuCommandLeavesTheFocusInThePageShown();
    void reasonPageNamesTheQuoteBeingWithdrawn();
    void statusLineCountsTheQuotesListedAndTheirFilter();
    void listingKeepsTheOperatorsPlace_data();
    void listingKeepsTheOperatorsPlace();

private:
    CancelamentoFixture m_fixture;
};

void tst_CancelamentoUso::initTestCase()
{
    QString error;
    QVERIFY2(m_fixture.start(&error), qPrintable(error));
}

void tst_CancelamentoUso::cleanup()
{
    m_fixture.closeScreen();
}

void tst_CancelamentoUso::shiftTabFromTheGridReachesTheBranch()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(screen);
    QCOMPARE(QApplication::focusWidget(), screen->dbgPadrao);
    QLineEdit *medCdFilial = part<QLineEdit>(screen, "medCdFilial");
    QStringList path;
    for (int step = 0; step < 6 && QApplication::focusWidget() != medCdFilial; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        path << focused->objectName();
        QVERIFY2(!qobject_cast<TButtonFlat *>(focused) || !screen->panMenu->isAncestorOf(focused),
                 qPrintable(path.join(QLatin1String(" > "))));
    }
    QVERIFY2(QApplication::focusWidget() == medCdFilial, qPrintable(path.join(QLatin1String(" > "))));
}

void tst_CancelamentoUso::menuCommandLeavesTheFocusInThePageShown_data()
{
    QTest::addColumn<int>("menu");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("fromItems");
    QTest::addColumn<QString>("page");
    QTest::newRow("Itens") << int(Qt::Key_O) << int(Qt::Key_I) << false << QStringLiteral("tshItens");
    QTest::newRow("Folha de Dados") << int(Qt::Key_O) << int(Qt::Key_F) << true << QStringLiteral("tshPadrao");
    QTest::newRow("Verificar") << int(Qt::Key_M) << int(Qt::Key_V) << false << QStringLiteral("tshPadrao");
}

void tst_CancelamentoUso::menuCommandLeavesTheFocusInThePageShown()
{
    QFETCH(int, menu);
    QFETCH(int, item);
    QFETCH(bool, fromItems);
    QFETCH(QString, page);
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(screen);
    if (fromItems) {
        screen->pgcPadrao->SetActivePage(part<QWidget>(screen, "tshItens"));
        QCoreApplication::processEvents();
    }
    QMenu *opened = menu == Qt::Key_O ? screen->mnuOperacao : screen->mnuManutencao;

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(menu), Qt::AltModifier);
    QTRY_VERIFY(opened->isVisible());
    QTest::keyClick(opened, Qt::Key(item));
    QTRY_VERIFY(!opened->isVisible());

    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QCOMPARE(screen->pgcPadrao->activePage()->objectName(), page);
    QVERIFY2(focused->isVisible() && screen->pgcPadrao->activePage()->isAncestorOf(focused),
             qPrintable(focused->objectName()));
}

void tst_CancelamentoUso::reasonPageNamesTheQuoteBeingWithdrawn()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(screen);
    RecordList *quotes = part<RecordList>(screen, "cdsOrcamento");
    quotes->moveTo(1);
    const auto field = [quotes](const char *name) { return quotes->fieldByName(QLatin1String(name)).asString(); };
    const QString expected = QStringLiteral("Orçamento %1, sequência %2 — %3")
                                 .arg(field("NRORCAEVENTO"), field("NRSEQORCAEVE"), field("NMFANTCLIE"));
    screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
    QTest::keyClick(screen->dbgPadrao, Qt::Key_Space);
    QCOMPARE(screen->pgcPadrao->activePage(), part<QWidget>(screen, "tshMotivo"));
    QCOMPARE(part<QLabel>(screen, "lblOrcamentoMotivo")->text(), expected);
    quotes->cancel();
}

void tst_CancelamentoUso::statusLineCountsTheQuotesListedAndTheirFilter()
{
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(screen);
    const int listed = part<RecordList>(screen, "cdsOrcamento")->recordCount();
    QVERIFY(listed > 1);
    QCOMPARE(screen->stbPadrao->currentMessage(),
             QStringLiteral("%1 orçamentos   Filtro: Pendente, Aprovado").arg(listed));
}

void tst_CancelamentoUso::listingKeepsTheOperatorsPlace_data()
{
    QTest::addColumn<int>("ordenacoes"); // Ctrl+O on the client's column (< 0: clicks on its title) before listing
    QTest::addColumn<QString>("listagem");
    QTest::addColumn<int>("esperada"); // rows after the one that was current, in the order shown
    QTest::addColumn<QString>("ordem"); // the status line's order after the listing
    QTest::newRow("F5: the same quote") << 0 << "F5" << 0 << "";
    QTest::newRow("stored as cancelled: the one after it") << 0 << "grava" << 1 << "";
    QTest::newRow("by client, descending, stored: the one after it in that order, still ordered")
        << 2 << "grava" << 1 << "   Ordem: Cliente, decrescente";
    QTest::newRow("by client's title, a new filter: the same quote, in the list's own order") << -1 << "filtro" << 0 << "";
}

void tst_CancelamentoUso::listingKeepsTheOperatorsPlace()
{
    QFETCH(int, ordenacoes);
    QFETCH(QString, listagem);
    QFETCH(int, esperada);
    QFETCH(QString, ordem);
    TfrmCancelamento *screen = m_fixture.openAndList();
    QVERIFY(screen);
    RecordList *quotes = part<RecordList>(screen, "cdsOrcamento");
    const auto chave = [quotes](int row) { return quotes->valueAt(row, 1).toString() + quotes->valueAt(row, 2).toString(); };
    const auto chaves = [&] {
        QStringList all;
        for (int row = 0; row < quotes->recordCount(); ++row) {
            all << chave(row);
        }
        return all;
    };
    const QStringList proprias = chaves();
    screen->dbgPadrao->setSelectedField(QStringLiteral("NMFANTCLIE"));
    QHeaderView *titulos = screen->dbgPadrao->horizontalHeader();
    const int cliente = screen->dbgPadrao->columnOfField(QStringLiteral("NMFANTCLIE"));
    for (int i = 0; i < std::abs(ordenacoes); ++i) {
        if (ordenacoes > 0) {
            QTest::keyClick(screen->dbgPadrao, Qt::Key_O, Qt::ControlModifier);
        } else {
            QTest::mouseClick(titulos->viewport(), Qt::LeftButton, {},
                              QPoint(titulos->sectionViewportPosition(cliente) + 5, titulos->height() / 2));
        }
    }
    QCOMPARE(chaves() == proprias, ordenacoes == 0);
    const int linha = quotes->recordCount() / 2;
    QVERIFY(linha > 0 && linha + 1 < quotes->recordCount());
    quotes->moveTo(linha);
    const QString alvo = chave(linha + esperada);
    const int altura = quotes->recNo() - screen->dbgPadrao->verticalScrollBar()->value();
    if (listagem == QLatin1String("grava")) {
        screen->dbgPadrao->setSelectedField(QStringLiteral("IDCHECK"));
        QTest::keyClick(screen->dbgPadrao, Qt::Key_Space);
        part<QLineEdit>(screen, "edtCdMotivo")->setText(QStringLiteral("0001"));
        m_fixture.dialogs.answerAsk(0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(m_fixture.dialogs.lastText(), QStringLiteral("Operação realizada com sucesso."));
    } else if (listagem == QLatin1String("filtro")) {
        ModalAnswers answers;
        answers.then([](QWidget &) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10); });
        QTest::keyClick(screen->dbgPadrao, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(chaves(), proprias);
    } else {
        QTest::keyClick(screen->dbgPadrao, Qt::Key_F5);
    }
    QCOMPARE(chave(quotes->recNo()), alvo);
    // At the same height, unless the quote now stands too near the end.
    const QScrollBar *rolagem = screen->dbgPadrao->verticalScrollBar();
    QCOMPARE(quotes->recNo() - rolagem->value(), std::max(altura, quotes->recNo() - rolagem->maximum()));
    QVERIFY2(screen->stbPadrao->currentMessage().endsWith(QStringLiteral("Aprovado") + ordem),
             qPrintable(screen->stbPadrao->currentMessage()));
    QCOMPARE(titulos->isSortIndicatorShown(), !ordem.isEmpty());
}

QTEST_MAIN(tst_CancelamentoUso)
#include "tst_cancelamento_uso.moc"

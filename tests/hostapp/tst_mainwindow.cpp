// The main window's own keys and menus: what an operator who works several
// screens at once by keyboard relies on.
#include "MainWindow.h"
#include "CreateForm.h"
#include "ModuleLoader.h"
#include "RecordList.h"
#include "ScriptedDialogs.h"
#include "TDataSource.h"
#include "TfrmPadraoGrid.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QtTest>

class tst_MainWindow final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyMenuOfTheWindowHasItsOwnMnemonic();
    void ctrlF6GoesToTheNextScreenAndCtrlF4ClosesIt();
    void windowMenuListsTheOpenScreensToPickOne();
    void leavingAsksWhileAScreenHoldsAnEdit_data();
    void leavingAsksWhileAScreenHoldsAnEdit();
    void opensMaximisedTheFirstTimeThenAsLeft();

private:
    QMdiSubWindow *openScreen(QWidget *screen, const QString &title);

    ModuleLoader m_loader;
    MainWindow *m_window = nullptr;
};

void tst_MainWindow::init()
{
    m_window = new MainWindow(m_loader);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void tst_MainWindow::cleanup()
{
    m_window->closeAllScreens();
    delete m_window;
}

QMdiSubWindow *tst_MainWindow::openScreen(QWidget *screen, const QString &title)
{
    screen->setWindowTitle(title);
    QMdiSubWindow *window = m_window->mdiArea()->addSubWindow(screen);
    window->show();
    m_window->mdiArea()->setActiveSubWindow(window);
    return window;
}

void tst_MainWindow::everyMenuOfTheWindowHasItsOwnMnemonic()
{
    openScreen(new TfrmPadraoGrid, QStringLiteral("Tela"));
    QStringList letters;
    for (QMenuBar *bar : m_window->findChildren<QMenuBar *>()) {
        for (QAction *menu : bar->actions()) {
            const QString text = menu->text();
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
            letters << text.mid(amp + 1, 1).toLower();
        }
    }
    QVERIFY(letters.size() >= 5);
    QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
}

void tst_MainWindow::ctrlF6GoesToTheNextScreenAndCtrlF4ClosesIt()
{
    QMdiArea *area = m_window->mdiArea();
    QMdiSubWindow *first = openScreen(new QLineEdit, QStringLiteral("Primeira"));
    QMdiSubWindow *second = openScreen(new QLineEdit, QStringLiteral("Segunda"));
    QCOMPARE(area->activeSubWindow(), second);

    QTest::keyClick(second->widget(), Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(area->activeSubWindow(), first);

    QTest::keyClick(first->widget(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_COMPARE(area->subWindowList().size(), 1);
    QCOMPARE(area->subWindowList().constFirst(), second);
}

void tst_MainWindow::windowMenuListsTheOpenScreensToPickOne()
{
    QMdiArea *area = m_window->mdiArea();
    QMdiSubWindow *first = openScreen(new QLineEdit, QStringLiteral("Primeira"));
    openScreen(new QLineEdit, QStringLiteral("Segunda"));
    emit m_window->windowMenu()->aboutToShow();

    QStringList listed;
    QAction *pickFirst = nullptr;
    for (QAction *item : m_window->windowMenu()->actions()) {
        if (item->isCheckable()) {
            listed << item->text() + (item->isChecked() ? QStringLiteral(" *") : QString());
            pickFirst = pickFirst ? pickFirst : item;
        }
    }
    QCOMPARE(listed, QStringList({QStringLiteral("&1 Primeira"), QStringLiteral("&2 Segunda *")}));
    pickFirst->trigger();
    QCOMPARE(area->activeSubWindow(), first);
}

void tst_MainWindow::leavingAsksWhileAScreenHoldsAnEdit_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("left");
    QTest::newRow("Sim") << 0 << true;
    QTest::newRow("Não") << 1 << false;
}

void tst_MainWindow::leavingAsksWhileAScreenHoldsAnEdit()
{
    QFETCH(int, answer);
    QFETCH(bool, left);
    ScriptedDialogs dialogs;
    auto *screen = CreateForm<TfrmPadraoGrid>();
    auto *list = new RecordList(QStringLiteral("cdsTeste"), screen);
    DataPacket packet;
    packet.fields = {{QStringLiteral("NOME"), FieldType::Text, 10}};
    packet.rows = {{QStringLiteral("Aurora")}};
    list->loadPacket(packet);
    screen->dtsPadrao->setDataSet(list);
    openScreen(screen, QStringLiteral("Cancelamento"));
    list->edit();

    dialogs.answerAsk(answer);
    QTest::keyClick(m_window, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY2(dialogs.lastText().contains(QStringLiteral("Cancelamento")), qPrintable(dialogs.lastText()));
    QCOMPARE(m_window->isVisible(), !left);
    QCOMPARE(m_window->mdiArea()->subWindowList().isEmpty(), left);
}

void tst_MainWindow::opensMaximisedTheFirstTimeThenAsLeft()
{
    const QString key = QStringLiteral("janelaPrincipal");
    QSettings().remove(key);
    const QSize left(800, 500);
    {
        MainWindow first(m_loader);
        first.showAsLeft();
        QVERIFY(first.isMaximized());
        first.showNormal();
        first.resize(left);
        QVERIFY(first.close());
    }
    MainWindow again(m_loader);
    again.showAsLeft();
    QVERIFY(!again.isMaximized());
    QCOMPARE(again.size(), left);
    QSettings().remove(key);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"

// The main window's own keys and menus: what an operator who works several
// screens at once by keyboard relies on.
#include "MainWindow.h"
#include "Corvane.h"
#include "CreateForm.h"
#include "HostMdi.h"
#include "ModuleLoader.h"
#include "RecordList.h"
#include "ScriptedDialogs.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TfrmPadraoGrid.h"

#include <QLabel>
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
    void closingAScreenThatHoldsAnEditAsksFirst_data();
    void closingAScreenThatHoldsAnEditAsksFirst();
    void opensMaximisedTheFirstTimeThenAsLeft();
    void ctrlQLeavesAtOnePressWhenNothingIsEdited();
    void statusBarNamesTheBranchAndServerOfTheActiveScreen();

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

void tst_MainWindow::closingAScreenThatHoldsAnEditAsksFirst_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");
    for (const char *how : {"Ctrl+Q", "Ctrl+F4", "Janela, Fechar", "close box", "Fechar button"}) {
        QTest::addRow("%s, Sim", how) << how << 0;
        QTest::addRow("%s, Não", how) << how << 1;
    }
}

void tst_MainWindow::closingAScreenThatHoldsAnEditAsksFirst()
{
    QFETCH(QString, how);
    QFETCH(int, answer);
    ScriptedDialogs dialogs;
    auto *screen = CreateForm<TfrmPadraoGrid>();
    auto *list = new RecordList(QStringLiteral("cdsTeste"), screen);
    DataPacket packet;
    packet.fields = {{QStringLiteral("NOME"), FieldType::Text, 10}};
    packet.rows = {{QStringLiteral("Aurora")}};
    list->loadPacket(packet);
    screen->dtsPadrao->setDataSet(list);
    QMdiSubWindow *window = openScreen(screen, QStringLiteral("Cancelamento"));
    list->edit();

    dialogs.answerAsk(answer);
    if (how == QLatin1String("Ctrl+Q")) {
        QTest::keyClick(m_window, Qt::Key_Q, Qt::ControlModifier);
    } else if (how == QLatin1String("Ctrl+F4")) {
        QTest::keyClick(screen->dbgPadrao, Qt::Key_F4, Qt::ControlModifier);
    } else if (how == QLatin1String("Janela, Fechar")) {
        emit m_window->windowMenu()->aboutToShow();
        m_window->windowMenu()->actions().constFirst()->trigger();
    } else if (how == QLatin1String("close box")) {
        window->close();
    } else {
        screen->sbtFechar->click();
    }
    QVERIFY(dialogs.allAnswersUsed());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m_window->mdiArea()->subWindowList().isEmpty(), answer == 0);
    QCOMPARE(m_window->isVisible(), how != QLatin1String("Ctrl+Q") || answer != 0);
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

void tst_MainWindow::ctrlQLeavesAtOnePressWhenNothingIsEdited()
{
    HostMdi::SetArea(m_window->mdiArea());
    HostMdi::ShowChild(CreateForm<TfrmPadraoGrid>());
    HostMdi::ShowChild(CreateForm<TfrmPadraoGrid>());
    QTest::keyClick(m_window, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!m_window->isVisible());
    HostMdi::SetArea(nullptr);
}

void tst_MainWindow::statusBarNamesTheBranchAndServerOfTheActiveScreen()
{
    Corvane::LoginData login;
    login.filiProc = QStringLiteral("0001");
    login.nomeFiliProc = QStringLiteral("Matriz");
    Corvane::SetLogin(login);
    const QLabel *session = m_window->findChild<QLabel *>(QStringLiteral("lblSessao"));
    QVERIFY2(!session->text().contains(QStringLiteral("ervidor")), qPrintable(session->text()));
    auto *working = new THostForm;
    QMdiSubWindow *first = openScreen(working, QStringLiteral("Cancelamento"));
    openScreen(new THostForm, QStringLiteral("Outra"));
    // Told while another screen is active, and shown once it is this one.
    working->SetBranch(QStringLiteral("0002"), QStringLiteral("Centro"));
    QVERIFY2(session->text().contains(QStringLiteral("Filial: 0001 Matriz")), qPrintable(session->text()));
    QVERIFY2(session->text().endsWith(QStringLiteral("Sem servidor")), qPrintable(session->text()));
    working->SetServer(QStringLiteral("127.0.0.1:7400"));
    m_window->mdiArea()->setActiveSubWindow(first);
    QVERIFY2(session->text().contains(QStringLiteral("Filial: 0002 Centro")), qPrintable(session->text()));
    QVERIFY2(session->text().endsWith(QStringLiteral("Servidor: 127.0.0.1:7400")), qPrintable(session->text()));
    working->SetServer(QString()); // lost while active
    QVERIFY2(session->text().endsWith(QStringLiteral("Sem servidor")), qPrintable(session->text()));
    Corvane::SetLogin({});
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"

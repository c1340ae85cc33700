// The host's enter and exit events of controls and panels.
#include "Abort.h"
#include "FocusEvents.h"
#include "ScriptedDialogs.h"
#include "Showavi.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>
#include <stdexcept>

namespace {

// A screen like the cancellation screen's top: a branch panel with the code
// and a second edit, then two controls outside it (the grid and the reason).
struct Screen {
    QWidget window;
    QFrame *panel = new QFrame(&window);
    QLineEdit *code = new QLineEdit(panel);
    QLineEdit *name = new QLineEdit(panel);
    QLineEdit *grid = new QLineEdit(&window);
    QLineEdit *reason = new QLineEdit(&window);

    Screen()
    {
        auto *panelLayout = new QVBoxLayout(panel);
        panelLayout->addWidget(code);
        panelLayout->addWidget(name);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(panel);
        layout->addWidget(grid);
        layout->addWidget(reason);
    }
};

bool activate(QWidget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

class tst_FocusEvents final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aContainersExitComesBeforeTheNewControlsEnter();
    void exitsRunInnermostFirstAndEntersOutermostFirst();
    void movingInsideAContainerRaisesNoContainerEvent();
    void theFirstFocusOfAFormRaisesOnlyEnters();
    void anExitThatAbandonsLeavesTheFocusWhereItPutIt();
    void aPanelExitThatRefocusesItsEditRaisesNoEnter();
    void aFailingHandlerIsShownAndStopsTheMove();
    void focusInAnotherWindowIsNotAnExit();
    void aDialogOpenedByAnExitHandlerHasItsOwnEvents();
    void anUnwatchedOrDestroyedWidgetRaisesNothing();
    void switchingScreensInTheMainWindowIsNotAnExit();
    void aServerWaitLeavesTheFocusWhereItWas_data();
    void aServerWaitLeavesTheFocusWhereItWas();

private:
    void watchLogged(QWidget *widget, const QString &name);
    std::unique_ptr<Screen> m_screen;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QStringList m_log;
};

void tst_FocusEvents::watchLogged(QWidget *widget, const QString &name)
{
    FocusEvents::watch(
        widget, [this, name] { m_log << name + "+"; }, [this, name] { m_log << name + "-"; });
}

void tst_FocusEvents::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_screen = std::make_unique<Screen>();
    m_log.clear();
    QVERIFY(activate(m_screen->window));
}

void tst_FocusEvents::cleanup()
{
    Showavi::DeactiveShowAvi();
    m_screen.reset();
    m_dialogs.reset();
}

void tst_FocusEvents::aContainersExitComesBeforeTheNewControlsEnter()
{
    Screen &s = *m_screen;
    s.code->setFocus();
    watchLogged(s.panel, "panel");
    watchLogged(s.code, "code");
    watchLogged(s.grid, "grid");
    QTest::keyClick(s.code, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.name);
    QTest::keyClick(s.name, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.grid);
    QCOMPARE(m_log, QStringList({"code-", "panel-", "grid+"}));
}

void tst_FocusEvents::exitsRunInnermostFirstAndEntersOutermostFirst()
{
    Screen &s = *m_screen;
    s.grid->setFocus();
    watchLogged(s.panel, "panel");
    watchLogged(s.code, "code");
    watchLogged(s.grid, "grid");
    watchLogged(&s.window, "form");
    s.code->setFocus();
    s.reason->setFocus();
    QCOMPARE(m_log, QStringList({"grid-", "panel+", "code+", "code-", "panel-"}));
}

void tst_FocusEvents::movingInsideAContainerRaisesNoContainerEvent()
{
    Screen &s = *m_screen;
    s.code->setFocus();
    watchLogged(s.panel, "panel");
    s.name->setFocus();
    s.code->setFocus();
    QVERIFY(m_log.isEmpty());
}

void tst_FocusEvents::theFirstFocusOfAFormRaisesOnlyEnters()
{
    Screen other;
    watchLogged(other.panel, "panel");
    watchLogged(other.code, "code");
    QVERIFY(activate(other.window));
    other.code->setFocus();
    QCOMPARE(m_log, QStringList({"panel+", "code+"}));
}

void tst_FocusEvents::anExitThatAbandonsLeavesTheFocusWhereItPutIt()
{
    Screen &s = *m_screen;
    s.code->setFocus();
    watchLogged(s.panel, "panel");
    watchLogged(s.grid, "grid");
    bool refuse = true;
    FocusEvents::watch(
        s.code, [this] { m_log << "code+"; },
        [&] {
            m_log << "code-";
            if (refuse) {
                s.code->setFocus(); // the message box's owner takes the focus back
                throw Abort();
            }
        });
    s.grid->setFocus();
    QCOMPARE(QApplication::focusWidget(), s.code);
    QCOMPARE(m_log, QStringList{"code-"});

    refuse = false;
    s.grid->setFocus();
    QCOMPARE(QApplication::focusWidget(), s.grid);
    QCOMPARE(m_log, QStringList({"code-", "code-", "panel-", "grid+"}));
}

void tst_FocusEvents::aPanelExitThatRefocusesItsEditRaisesNoEnter()
{
    Screen &s = *m_screen;
    s.name->setFocus();
    FocusEvents::watch(s.panel, [this] { m_log << "panel+"; },
                       [this, &s] {
                           m_log << "panel-";
                           s.code->setFocus();
                           m_dialogs->showMessage(HostDialogs::Icon::Warning, "Atenção",
                                                  "Filial deve ser informada.");
                           throw Abort();
                       });
    watchLogged(s.code, "code");
    watchLogged(s.grid, "grid");
    QTest::keyClick(s.name, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.code);
    QCOMPARE(m_log, QStringList{"panel-"});
    QCOMPARE(m_dialogs->shownTexts(), QStringList{"Filial deve ser informada."});

    // The focus is taken to be in the code now: moving inside the panel is
    // quiet, and only leaving the code raises its exit.
    s.name->setFocus();
    QCOMPARE(m_log, QStringList({"panel-", "code-"}));
}

void tst_FocusEvents::aFailingHandlerIsShownAndStopsTheMove()
{
    Screen &s = *m_screen;
    s.code->setFocus();
    FocusEvents::watch(s.code, {}, [] { throw std::runtime_error("Servidor indisponível."); });
    watchLogged(s.panel, "panel");
    watchLogged(s.grid, "grid");
    s.grid->setFocus();
    QCOMPARE(m_dialogs->shownTexts(), QStringList{"Servidor indisponível."});
    QVERIFY(m_log.isEmpty());
    QCOMPARE(QApplication::focusWidget(), s.grid);
}

void tst_FocusEvents::focusInAnotherWindowIsNotAnExit()
{
    Screen &s = *m_screen;
    s.code->setFocus();
    watchLogged(s.panel, "panel");
    watchLogged(s.code, "code");
    watchLogged(s.grid, "grid");

    QWidget messageBox;
    auto *button = new QLineEdit(&messageBox);
    QVERIFY(activate(messageBox));
    button->setFocus();
    QCOMPARE(QApplication::focusWidget(), button);
    QVERIFY(activate(s.window));
    s.code->setFocus();
    QVERIFY(m_log.isEmpty());

    // Back from the other window to somewhere else: compared with where the
    // focus was before it left.
    QVERIFY(activate(messageBox));
    button->setFocus();
    QVERIFY(activate(s.window));
    s.grid->setFocus();
    QCOMPARE(m_log, QStringList({"code-", "panel-", "grid+"}));
}

void tst_FocusEvents::aDialogOpenedByAnExitHandlerHasItsOwnEvents()
{
    Screen &s = *m_screen;
    s.code->setFocus();
    FocusEvents::watch(s.panel, {}, [this] {
        m_log << "panel-";
        QDialog filter;
        auto *first = new QLineEdit(&filter);
        auto *second = new QLineEdit(&filter);
        new QVBoxLayout(&filter);
        filter.layout()->addWidget(first);
        filter.layout()->addWidget(second);
        watchLogged(first, "first");
        watchLogged(second, "second");
        QTimer::singleShot(0, &filter, [&] {
            QApplication::setActiveWindow(&filter);
            QVERIFY(QTest::qWaitForWindowActive(&filter));
            first->setFocus();
            second->setFocus();
            filter.accept();
        });
        filter.exec();
        m_log << "closed";
    });
    watchLogged(s.grid, "grid");
    s.grid->setFocus();
    QCOMPARE(m_log, QStringList({"panel-", "first+", "first-", "second+", "closed", "grid+"}));
}

void tst_FocusEvents::anUnwatchedOrDestroyedWidgetRaisesNothing()
{
    Screen &s = *m_screen;
    s.code->setFocus();
    watchLogged(s.panel, "panel");
    watchLogged(s.grid, "grid");
    FocusEvents::unwatch(s.panel);
    auto *extra = new QLineEdit(&s.window);
    s.window.layout()->addWidget(extra);
    watchLogged(extra, "extra");
    delete extra;
    s.grid->setFocus();
    s.reason->setFocus();
    QCOMPARE(m_log, QStringList({"grid+", "grid-"}));

    // Watching again replaces the handlers.
    FocusEvents::watch(s.grid, [this] { m_log << "grid entered again"; }, {});
    s.grid->setFocus();
    QCOMPARE(m_log.last(), QStringLiteral("grid entered again"));
}

void tst_FocusEvents::switchingScreensInTheMainWindowIsNotAnExit()
{
    QMdiArea mainWindow;
    auto *first = new Screen;
    auto *second = new Screen;
    mainWindow.addSubWindow(&first->window);
    mainWindow.addSubWindow(&second->window);
    watchLogged(first->panel, "first panel");
    watchLogged(second->panel, "second panel");
    QVERIFY(activate(mainWindow));
    first->code->setFocus();
    second->code->setFocus();
    QCOMPARE(m_log, QStringList({"second panel+", "first panel+"}));

    // Each screen keeps its own focus: going from one to the other and back
    // leaves and enters nothing.
    m_log.clear();
    first->code->setFocus();
    second->code->setFocus();
    first->code->setFocus();
    QVERIFY(m_log.isEmpty());
    first->grid->setFocus();
    QCOMPARE(m_log, QStringList{"first panel-"});
    delete first;
    delete second;
}

void tst_FocusEvents::aServerWaitLeavesTheFocusWhereItWas_data()
{
    // The grid has the focus; during the wait the focus goes to the branch, or
    // the grid is disabled, and enabled again or not before the wait ends.
    QTest::addColumn<bool>("toBranch");
    QTest::addColumn<bool>("gridBack");
    QTest::newRow("to the branch") << true << true;
    QTest::newRow("grid disabled meanwhile") << false << true;
    QTest::newRow("grid still disabled") << false << false;
}

void tst_FocusEvents::aServerWaitLeavesTheFocusWhereItWas()
{
    QFETCH(bool, toBranch);
    QFETCH(bool, gridBack);
    Screen &s = *m_screen;
    s.grid->setFocus();
    watchLogged(s.panel, "panel");
    watchLogged(s.grid, "grid");
    Showavi::ActiveShowAvi(1);
    (toBranch ? s.code : s.grid)->setFocus();
    s.grid->setEnabled(toBranch);
    s.grid->setEnabled(gridBack);
    Showavi::DeactiveShowAvi();
    // Back where it was, else where the toolkit put it; the next move is
    // taken from the grid either way.
    QCOMPARE(QApplication::focusWidget(), gridBack ? s.grid : s.reason);
    s.name->setFocus();
    QCOMPARE(m_log, QStringList({"grid-", "panel+"}));
}

QTEST_MAIN(tst_FocusEvents)
#include "tst_focusevents.moc"

#include "Abort.h"
#include "Corvane.h"
#include "FocusEvents.h"
#include "HostMdi.h"
#include "ScriptedDialogs.h"
#include "RecordList.h"
#include "Showavi.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "THostForm.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

// A screen that writes down each step of its life, so the order can be read.
class DiaryScreen final : public THostForm {
public:
    explicit DiaryScreen(QStringList &diary, const QString &name)
        : m_diary(diary)
        , m_name(name)
    {
        setWindowTitle(name);
        auto *layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        layout->addWidget(edit);
    }
    ~DiaryScreen() override { m_diary << m_name + QStringLiteral(" gone"); }

    void FormCreate() override { m_diary << m_name + QStringLiteral(" create"); }
    void FormActivate() override
    {
        m_diary << m_name + QStringLiteral(" activate");
        if (failActivate) {
            throw std::runtime_error("falha ao ativar");
        }
    }
    void FormClose(CloseAction &action) override
    {
        m_diary << m_name + QStringLiteral(" close");
        action = closeAction;
    }
    void FormDestroy() override { m_diary << m_name + QStringLiteral(" destroy"); }
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift) override
    {
        if (key == Qt::Key_F12 && shift == Qt::NoModifier) {
            m_diary << m_name + QStringLiteral(" F12");
            key = 0;
        } else if (key == Qt::Key_F11) {
            m_diary << m_name + QStringLiteral(" F11");
        } else if (key == Qt::Key_Z && shift == Qt::NoModifier) {
            throw Abort();
        }
    }

    QLineEdit *edit;
    CloseAction closeAction = caFree;
    bool failActivate = false;

private:
    QStringList &m_diary;
    QString m_name;
};

} // namespace

class TestHostMdi final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void createFormRunsFormCreateOnce();
    void showChildAgainGivesTheWindowBackAsItWasAndInFront();
    void activationRunsFormActivateOnlyOnComingToTheScreen_data();
    void activationRunsFormActivateOnlyOnComingToTheScreen();
    void aWindowStateChangeLeavesTheFocusInPlace_data();
    void aWindowStateChangeLeavesTheFocusInPlace();
    void closeWithCaFreeDestroysTheScreenAfterFormDestroy();
    void closeWithCaHideKeepsTheScreenForTheNextShow();
    void closeWithCaNoneKeepsTheWindowOpen();
    void closeFromTheScreenClosesItsWindow();
    void screenShownOnItsOwnIsFreedTheSameWay();
    void failureInAHandlerIsReportedByTheGuard();
    void screenKeysComeBeforeTheFocusedControl();
    void keyNotConsumedReachesTheControlAndIsSeenOnce();
    void abandonedKeyHandlerConsumesTheKey();
    void showChildWithoutAreaIsRefused();
    void screenFitsTheAreaItOpensIn_data();
    void screenFitsTheAreaItOpensIn();
    void aNewScreenOpensWideEnoughForItsGrid_data();
    void aNewScreenOpensWideEnoughForItsGrid();

private:
    void showArea(const QSize &viewport);

    QMdiArea *area = nullptr;
    ScriptedDialogs *dialogs = nullptr;
    QStringList diary;
};

void TestHostMdi::init()
{
    dialogs = new ScriptedDialogs;
    area = new QMdiArea;
    area->resize(900, 600);
    HostMdi::SetArea(area);
    area->show();
    QVERIFY(QTest::qWaitForWindowActive(area));
    diary.clear();
}

void TestHostMdi::cleanup()
{
    Showavi::DeactiveShowAvi();
    Corvane::SetLogin({});
    QSettings().remove(QStringLiteral("telas/TST_LAYOUT"));
    HostMdi::SetArea(nullptr);
    delete area;
    delete dialogs;
}

void TestHostMdi::createFormRunsFormCreateOnce()
{
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    QCOMPARE(diary, QStringList{QStringLiteral("A create")});
    delete screen;
}

void TestHostMdi::showChildAgainGivesTheWindowBackAsItWasAndInFront()
{
    DiaryScreen *first = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    DiaryScreen *second = CreateForm<DiaryScreen>(diary, QStringLiteral("B"));
    HostMdi::ShowChild(first);
    HostMdi::ShowChild(second);
    first->subWindow()->showMinimized();
    area->setActiveSubWindow(second->subWindow());

    HostMdi::ShowChild(first);
    QCOMPARE(area->subWindowList().size(), 2);
    QMdiSubWindow *window = first->subWindow();
    QVERIFY(!window->isMinimized());
    QVERIFY(!window->isMaximized());
    QVERIFY(window->isVisible());
    QCOMPARE(area->activeSubWindow(), window);

    window->showMaximized();
    HostMdi::ShowChild(first);
    QVERIFY(window->isMaximized());
    QCOMPARE(area->subWindowList().size(), 2);
}

void TestHostMdi::activationRunsFormActivateOnlyOnComingToTheScreen_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("activated");
    QTest::newRow("from another screen") << "other" << QStringList{"A activate"};
    QTest::newRow("back from the background") << "background" << QStringList{};
    QTest::newRow("while the busy indicator is up") << "busy" << QStringList{};
}

void TestHostMdi::activationRunsFormActivateOnlyOnComingToTheScreen()
{
    QFETCH(QString, how);
    QFETCH(QStringList, activated);
    DiaryScreen *first = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    HostMdi::ShowChild(first);
    HostMdi::ShowChild(CreateForm<DiaryScreen>(diary, QStringLiteral("B")));
    diary.clear();
    if (how == "busy") {
        Showavi::ActiveShowAvi(6);
    }
    if (how == "background") {
        QWidget elsewhere; // another program's window, as far as the area can tell
        elsewhere.show();
        for (QWidget *window : {&elsewhere, static_cast<QWidget *>(area)}) {
            QApplication::setActiveWindow(window);
            QVERIFY(QTest::qWaitForWindowActive(window));
            QEvent event(window == area ? QEvent::ApplicationActivate : QEvent::ApplicationDeactivate);
            QCoreApplication::sendEvent(qApp, &event);
        }
    } else {
        area->setActiveSubWindow(first->subWindow());
    }
    QCOMPARE(diary, activated);
}

void TestHostMdi::closeWithCaFreeDestroysTheScreenAfterFormDestroy()
{
    QPointer<DiaryScreen> screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    HostMdi::ShowChild(screen);
    QPointer<QMdiSubWindow> window = screen->subWindow();
    diary.clear();
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!screen);
    QVERIFY(!window);
    QCOMPARE(diary, (QStringList{QStringLiteral("A close"), QStringLiteral("A destroy"), QStringLiteral("A gone")}));
    QVERIFY(area->subWindowList().isEmpty());
}

void TestHostMdi::closeWithCaHideKeepsTheScreenForTheNextShow()
{
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    screen->closeAction = caHide;
    HostMdi::ShowChild(screen);
    QMdiSubWindow *window = screen->subWindow();
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window->isVisible());
    QVERIFY(!diary.contains(QStringLiteral("A destroy")));
    HostMdi::ShowChild(screen);
    QCOMPARE(screen->subWindow(), window);
    QVERIFY(window->isVisible());
    QVERIFY(screen->isVisible());
}

void TestHostMdi::closeWithCaNoneKeepsTheWindowOpen()
{
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    screen->closeAction = caNone;
    HostMdi::ShowChild(screen);
    QVERIFY(!screen->subWindow()->close());
    QVERIFY(screen->subWindow()->isVisible());
    QVERIFY(screen->isVisible());
    screen->closeAction = caMinimize;
    QVERIFY(!screen->Close());
    QVERIFY(screen->subWindow()->isMinimized());
}

void TestHostMdi::closeFromTheScreenClosesItsWindow()
{
    QPointer<DiaryScreen> screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    HostMdi::ShowChild(screen);
    QVERIFY(screen->Close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!screen);
    QVERIFY(area->subWindowList().isEmpty());
}

void TestHostMdi::screenShownOnItsOwnIsFreedTheSameWay()
{
    QPointer<DiaryScreen> screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    screen->show();
    QVERIFY(screen->Close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!screen);
    QCOMPARE(diary, (QStringList{QStringLiteral("A create"), QStringLiteral("A close"), QStringLiteral("A destroy"),
                                 QStringLiteral("A gone")}));
}

void TestHostMdi::failureInAHandlerIsReportedByTheGuard()
{
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    screen->failActivate = true;
    HostMdi::ShowChild(screen);
    QCOMPARE(dialogs->shownTexts(), QStringList{QStringLiteral("falha ao ativar")});
    QVERIFY(screen->subWindow()->isVisible());
}

void TestHostMdi::screenKeysComeBeforeTheFocusedControl()
{
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    HostMdi::ShowChild(screen);
    screen->edit->setFocus();
    QTest::keyClick(screen->edit, Qt::Key_F12);
    QTest::keyClicks(screen->edit, QStringLiteral("ab"));
    QCOMPARE(diary.filter(QStringLiteral("F12")), QStringList{QStringLiteral("A F12")});
    QCOMPARE(screen->edit->text(), QStringLiteral("ab"));
}

void TestHostMdi::keyNotConsumedReachesTheControlAndIsSeenOnce()
{
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    HostMdi::ShowChild(screen);
    // The edit does not take F11, so the key travels up to the screen; the
    // screen's handler must still have seen it only once.
    QTest::keyClick(screen->edit, Qt::Key_F11);
    QTest::keyClick(screen->edit, Qt::Key_F11);
    QCOMPARE(diary.filter(QStringLiteral("F11")).size(), 2);
}

void TestHostMdi::abandonedKeyHandlerConsumesTheKey()
{
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    HostMdi::ShowChild(screen);
    QTest::keyClicks(screen->edit, QStringLiteral("azb"));
    QCOMPARE(screen->edit->text(), QStringLiteral("ab"));
    QVERIFY(dialogs->shown().isEmpty());
}

void TestHostMdi::showChildWithoutAreaIsRefused()
{
    HostMdi::SetArea(nullptr);
    DiaryScreen screen(diary, QStringLiteral("A"));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, HostMdi::ShowChild(&screen));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, HostMdi::ShowChild(nullptr));
}

void TestHostMdi::showArea(const QSize &viewport)
{
    area->resize(viewport + QSize(2, 2) * area->frameWidth());
    QCOMPARE(area->viewport()->size(), viewport);
}

void TestHostMdi::screenFitsTheAreaItOpensIn_data()
{
    // The geometry left on a 1400x900 area, grown before the screen closed;
    // a size of (-1, -1) in the geometry restored to is the designed size.
    QTest::addColumn<QRect>("left");
    QTest::addColumn<bool>("leftMaximized");
    QTest::addColumn<QSize>("areaNow");
    QTest::addColumn<bool>("opensMaximized");
    QTest::addColumn<QRect>("restoredTo");
    const QSize designed(-1, -1);
    QTest::newRow("first time") << QRect() << false << QSize(900, 600) << true << QRect({0, 0}, designed);
    QTest::newRow("left as it fits") << QRect(40, 30, 640, 420) << false << QSize(900, 600) << false << QRect(40, 30, 640, 420);
    QTest::newRow("left maximised") << QRect(40, 30, 640, 420) << true << QSize(900, 600) << true << QRect(40, 30, 640, 420);
    QTest::newRow("larger than the area now") << QRect(100, 80, 1300, 800) << false << QSize(900, 600) << false << QRect(0, 0, 900, 600);
    QTest::newRow("partly outside the area") << QRect(700, 500, 600, 400) << false << QSize(900, 600) << false << QRect(300, 200, 600, 400);
    QTest::newRow("smaller than designed") << QRect(50, 40, 200, 150) << false << QSize(900, 600) << false << QRect({50, 40}, designed);
    QTest::newRow("area smaller than designed") << QRect(0, 0, 600, 400) << false << QSize(400, 250) << false << QRect(0, 0, 400, 250);
}

void TestHostMdi::screenFitsTheAreaItOpensIn()
{
    QFETCH(QRect, left);
    QFETCH(bool, leftMaximized);
    QFETCH(QSize, areaNow);
    QFETCH(bool, opensMaximized);
    QFETCH(QRect, restoredTo);
    Corvane::LoginData login;
    login.operador = QStringLiteral("TST_LAYOUT");
    Corvane::SetLogin(login);
    const auto open = [this] {
        DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
        screen->SetScreenCode(QStringLiteral("TST00100"));
        screen->resize(520, 310);
        HostMdi::ShowChild(screen);
        return screen;
    };
    if (left.isValid()) {
        showArea(QSize(1400, 900));
        DiaryScreen *before = open();
        before->subWindow()->showNormal();
        before->subWindow()->setGeometry(left);
        if (leftMaximized) {
            before->subWindow()->showMaximized();
        }
        // The main window growing after the screen opened: a window manager
        // maximising it late.
        showArea(QSize(1450, 950));
        QVERIFY(before->Close());
    }
    showArea(areaNow);
    QMdiSubWindow *window = open()->subWindow();
    QCOMPARE(window->isMaximized(), opensMaximized);
    QVERIFY(!opensMaximized || window->geometry() == area->viewport()->rect());
    window->showNormal();
    if (!restoredTo.size().isValid()) {
        restoredTo.setSize(QSize(520, 310).grownBy(window->contentsMargins()));
    }
    QCOMPARE(window->geometry(), restoredTo);
    showArea(QSize(480, 320));
    QVERIFY(QRect(0, 0, 480, 320).contains(window->geometry()));
}

void TestHostMdi::aNewScreenOpensWideEnoughForItsGrid_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<bool>("allColumnsShown");
    QTest::newRow("room for them") << 1200 << true;
    QTest::newRow("as wide as the area") << 700 << false;
}

void TestHostMdi::aNewScreenOpensWideEnoughForItsGrid()
{
    QFETCH(int, areaWidth);
    QFETCH(bool, allColumnsShown);
    area->resize(areaWidth, 600);
    RecordList list(QStringLiteral("cdsLargo"));
    for (const char *name : {"A", "B", "C"}) {
        list.addField(QLatin1String(name), FieldType::Text, 10);
    }
    TDataSource source;
    source.setDataSet(&list);
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    auto *grid = new TDBGrid(screen);
    screen->layout()->addWidget(grid);
    grid->setDataSource(&source);
    grid->setColumns({{QStringLiteral("A"), {}, 300, Qt::AlignLeft, {}},
                      {QStringLiteral("B"), {}, 300, Qt::AlignLeft, {}},
                      {QStringLiteral("C"), {}, 300, Qt::AlignLeft, {}}});
    screen->resize(400, 300);

    HostMdi::ShowChild(screen);
    screen->subWindow()->showNormal();
    QCOMPARE(screen->height(), 300);
    const int shown = grid->viewport()->width();
    if (allColumnsShown) {
        QVERIFY2(shown >= grid->horizontalHeader()->length(), qPrintable(QString::number(shown)));
    } else {
        QCOMPARE(screen->subWindow()->geometry().right(), area->viewport()->width() - 1);
    }
    delete screen;
}

void TestHostMdi::aWindowStateChangeLeavesTheFocusInPlace_data()
{
    QTest::addColumn<Qt::WindowState>("before");
    QTest::addColumn<Qt::WindowState>("change");
    QTest::newRow("maximised and restored") << Qt::WindowNoState << Qt::WindowMaximized;
    QTest::newRow("minimised and restored") << Qt::WindowMaximized << Qt::WindowMinimized;
    QTest::newRow("maximised from minimised") << Qt::WindowMinimized << Qt::WindowMaximized;
}

void TestHostMdi::aWindowStateChangeLeavesTheFocusInPlace()
{
    QFETCH(Qt::WindowState, before);
    QFETCH(Qt::WindowState, change);
    DiaryScreen *screen = CreateForm<DiaryScreen>(diary, QStringLiteral("A"));
    auto *branch = new QLineEdit(screen); // the first field, where the toolkit likes to put the focus
    static_cast<QVBoxLayout *>(screen->layout())->insertWidget(0, branch);
    HostMdi::ShowChild(screen);
    screen->edit->setFocus();
    FocusEvents::watch(branch, [this] { diary << "branch+"; }, {});
    FocusEvents::watch(screen->edit, {}, [this] { diary << "edit-"; });
    diary.clear();
    for (Qt::WindowState state : {before, change, Qt::WindowNoState}) {
        screen->subWindow()->setWindowState(state);
    }
    QCOMPARE(QApplication::focusWidget(), screen->edit);
    QCOMPARE(diary, QStringList()); // no field entered or left, no activation
    branch->setFocus();
    QCOMPARE(diary, QStringList({"edit-", "branch+"}));
    delete screen;
}

QTEST_MAIN(TestHostMdi)
#include "tst_hostmdi.moc"

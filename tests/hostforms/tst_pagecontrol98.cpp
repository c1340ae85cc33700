#include "Abort.h"
#include "ScriptedDialogs.h"
#include "TCustomPageControl98.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include <stdexcept>

class TestPageControl98 final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void disabledPageIsNotChosenByClickingItsTab();
    void pageKeysShowTheEnabledPagesFromAnywhereInTheScreen_data();
    void pageKeysShowTheEnabledPagesFromAnywhereInTheScreen();
    void disablingTheActivePageKeepsItActive();
    void disabledPageGreysItsTabAndControls();
    void setActivePageFiresOnChange();
    void clickOnAnEnabledTabFiresOnChange();
    void setActivePageOnTheActivePageFiresNothing();
    void setActivePageReachesADisabledPage();
    void foreignWidgetIsRefused();
    void failureInOnChangeIsReportedAndThePageStaysChanged();

private:
    QWidget *screen = nullptr;
    QLineEdit *outside = nullptr;
    TCustomPageControl98 *pages = nullptr;
    QWidget *first = nullptr;
    QWidget *second = nullptr;
    QWidget *third = nullptr;
    QStringList changes;
};

void TestPageControl98::init()
{
    screen = new QWidget;
    outside = new QLineEdit(screen);
    pages = new TCustomPageControl98(screen);
    pages->move(0, 30);
    pages->reachPagesFrom(screen);
    first = new QWidget;
    second = new QWidget;
    third = new QWidget;
    new QLineEdit(second);
    pages->addTab(first, QStringLiteral("Folha"));
    pages->addTab(second, QStringLiteral("Itens"));
    pages->addTab(third, QStringLiteral("Motivo"));
    changes.clear();
    pages->onChange = [this](TCustomPageControl98 &sender) {
        changes << sender.tabText(sender.currentIndex());
    };
    pages->resize(400, 300);
    screen->show();
    QVERIFY(QTest::qWaitForWindowActive(screen));
}

void TestPageControl98::cleanup()
{
    delete screen;
}

void TestPageControl98::disabledPageIsNotChosenByClickingItsTab()
{
    pages->setPageEnabled(second, false);
    QTabBar *tabs = pages->findChild<QTabBar *>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(pages->activePage(), first);
    QVERIFY(changes.isEmpty());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QCOMPARE(pages->activePage(), third);
    QCOMPARE(changes, QStringList{QStringLiteral("Motivo")});
}

void TestPageControl98::pageKeysShowTheEnabledPagesFromAnywhereInTheScreen_data()
{
    // The pages enabled ("F_M": all but the second; "___": the page control
    // itself disabled), the page shown first and the one the key shows.
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("shift");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<bool>("fromOutside");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("shown");
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, ctrlShift = ctrl | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Tab over a disabled page") << int(Qt::Key_Tab) << ctrl << "F_M" << false << 0 << 2;
    QTest::newRow("Ctrl+Shift+Tab round to the last") << int(Qt::Key_Backtab) << ctrlShift << "FIM" << false << 0 << 2;
    QTest::newRow("Ctrl+Shift+Tab over a disabled page") << int(Qt::Key_Backtab) << ctrlShift << "F_M" << false << 2 << 0;
    QTest::newRow("Ctrl+PgDn") << int(Qt::Key_PageDown) << ctrl << "FIM" << false << 1 << 2;
    QTest::newRow("Ctrl+PgUp") << int(Qt::Key_PageUp) << ctrl << "FIM" << false << 1 << 0;
    QTest::newRow("from a field outside the pages") << int(Qt::Key_Tab) << ctrl << "FIM" << true << 0 << 1;
    QTest::newRow("page control disabled") << int(Qt::Key_Tab) << ctrl << "___" << true << 0 << 0;
}

void TestPageControl98::pageKeysShowTheEnabledPagesFromAnywhereInTheScreen()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, shift);
    QFETCH(QString, enabled);
    QFETCH(bool, fromOutside);
    QFETCH(int, from);
    QFETCH(int, shown);
    pages->SetActivePage(pages->widget(from));
    for (int page = 0; page < pages->count(); ++page) {
        pages->setPageEnabled(pages->widget(page), enabled.at(page) != QLatin1Char('_'));
    }
    pages->setEnabled(enabled != QLatin1String("___"));
    (fromOutside ? static_cast<QWidget *>(outside) : pages->findChild<QTabBar *>())->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), shift);
    QCOMPARE(pages->currentIndex(), shown);
}

void TestPageControl98::disablingTheActivePageKeepsItActive()
{
    pages->SetActivePage(second);
    changes.clear();
    pages->setPageEnabled(second, false);
    QCOMPARE(pages->activePage(), second);
    QCOMPARE(pages->currentIndex(), 1);
    QVERIFY(changes.isEmpty());
    QVERIFY(!pages->isPageEnabled(second));
}

void TestPageControl98::disabledPageGreysItsTabAndControls()
{
    pages->setPageEnabled(second, false);
    QTabBar *tabs = pages->findChild<QTabBar *>();
    QVERIFY(!tabs->isTabEnabled(1));
    QVERIFY(!second->findChild<QLineEdit *>()->isEnabled());
    pages->setPageEnabled(second, true);
    QVERIFY(tabs->isTabEnabled(1));
    QVERIFY(second->findChild<QLineEdit *>()->isEnabled());
    QVERIFY(pages->isPageEnabled(second));
}

void TestPageControl98::setActivePageFiresOnChange()
{
    pages->SetActivePage(third);
    QCOMPARE(pages->activePage(), third);
    QCOMPARE(changes, QStringList{QStringLiteral("Motivo")});
}

void TestPageControl98::clickOnAnEnabledTabFiresOnChange()
{
    QTabBar *tabs = pages->findChild<QTabBar *>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(pages->activePage(), second);
    QCOMPARE(changes, QStringList{QStringLiteral("Itens")});
}

void TestPageControl98::setActivePageOnTheActivePageFiresNothing()
{
    pages->SetActivePage(first);
    QVERIFY(changes.isEmpty());
}

void TestPageControl98::setActivePageReachesADisabledPage()
{
    pages->setPageEnabled(third, false);
    pages->SetActivePage(third);
    QCOMPARE(pages->activePage(), third);
    QCOMPARE(changes, QStringList{QStringLiteral("Motivo")});
}

void TestPageControl98::foreignWidgetIsRefused()
{
    QWidget stranger;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, pages->SetActivePage(&stranger));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, pages->setPageEnabled(nullptr, false));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, pages->isPageEnabled(&stranger));
}

void TestPageControl98::failureInOnChangeIsReportedAndThePageStaysChanged()
{
    ScriptedDialogs dialogs;
    pages->onChange = [](TCustomPageControl98 &) { throw std::runtime_error("sem itens"); };
    pages->SetActivePage(second);
    QCOMPARE(pages->activePage(), second);
    QCOMPARE(dialogs.shownTexts(), QStringList{QStringLiteral("sem itens")});
    pages->onChange = [](TCustomPageControl98 &) { throw Abort(); };
    pages->SetActivePage(third);
    QCOMPARE(pages->activePage(), third);
    QCOMPARE(dialogs.shown().size(), 1);
}

QTEST_MAIN(TestPageControl98)
#include "tst_pagecontrol98.moc"

#include "Abort.h"
#include "ScriptedDialogs.h"
#include "TCustomPageControl98.h"

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
    void ctrlTabSkipsTheDisabledPage();
    void disablingTheActivePageKeepsItActive();
    void disabledPageGreysItsTabAndControls();
    void setActivePageFiresOnChange();
    void clickOnAnEnabledTabFiresOnChange();
    void setActivePageOnTheActivePageFiresNothing();
    void setActivePageReachesADisabledPage();
    void foreignWidgetIsRefused();
    void failureInOnChangeIsReportedAndThePageStaysChanged();

private:
    TCustomPageControl98 *pages = nullptr;
    QWidget *first = nullptr;
    QWidget *second = nullptr;
    QWidget *third = nullptr;
    QStringList changes;
};

void TestPageControl98::init()
{
    pages = new TCustomPageControl98;
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
    pages->show();
    QVERIFY(QTest::qWaitForWindowExposed(pages));
}

void TestPageControl98::cleanup()
{
    delete pages;
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

void TestPageControl98::ctrlTabSkipsTheDisabledPage()
{
    pages->setPageEnabled(second, false);
    QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(pages->activePage(), third);
    QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(pages->activePage(), first);
    QCOMPARE(changes, (QStringList{QStringLiteral("Motivo"), QStringLiteral("Folha")}));
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

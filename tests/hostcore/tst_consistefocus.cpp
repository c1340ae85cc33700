// Enabling a container's controls and moving the focus along the tab chain.
#include "Consiste.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A screen: a branch panel (code, lookup button, disabled name), a page area
// with two edits, and a close button. Tab order follows creation.
struct Screen {
    QWidget window;
    QFrame *panel = new QFrame(&window);
    QLabel *label = new QLabel("Filial", panel);
    QLineEdit *code = new QLineEdit(panel);
    QPushButton *lookup = new QPushButton("...", panel);
    QLineEdit *name = new QLineEdit(panel);
    QFrame *pages = new QFrame(&window);
    QFrame *inner = new QFrame(pages);
    QLineEdit *first = new QLineEdit(inner);
    QLineEdit *second = new QLineEdit(pages);
    QPushButton *close = new QPushButton("Fechar", &window);

    Screen()
    {
        auto *panelLayout = new QVBoxLayout(panel);
        for (QWidget *w : {static_cast<QWidget *>(label), static_cast<QWidget *>(code),
                           static_cast<QWidget *>(lookup), static_cast<QWidget *>(name)}) {
            panelLayout->addWidget(w);
        }
        new QVBoxLayout(inner);
        inner->layout()->addWidget(first);
        auto *pagesLayout = new QVBoxLayout(pages);
        pagesLayout->addWidget(inner);
        pagesLayout->addWidget(second);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(panel);
        layout->addWidget(pages);
        layout->addWidget(close);
        name->setEnabled(false);
        lookup->setFocusPolicy(Qt::ClickFocus); // reachable by mouse, not by Tab
    }
};

} // namespace

class tst_ConsisteFocus final : public QObject {
    Q_OBJECT
private slots:
    void setChildEnabledReachesEveryDepthButNotTheContainer_data();
    void setChildEnabledReachesEveryDepthButNotTheContainer();
    void selectNextControlFollowsTheTabChain_data();
    void selectNextControlFollowsTheTabChain();
    void selectNextControlFindsNothingWhenNoneQualifies();
    void selectFirstControlFocusesTheFirstTabStopInside();
    void selectFirstControlSkipsDisabledAndHiddenControls();
};

void tst_ConsisteFocus::setChildEnabledReachesEveryDepthButNotTheContainer_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::newRow("disable") << false;
    QTest::newRow("enable") << true;
}

void tst_ConsisteFocus::setChildEnabledReachesEveryDepthButNotTheContainer()
{
    QFETCH(bool, enabled);
    Screen s;
    Consiste::SetChildEnabled(s.pages, !enabled);
    Consiste::SetChildEnabled(s.pages, enabled);
    QVERIFY(s.pages->isEnabled());
    QCOMPARE(s.inner->isEnabled(), enabled);
    QCOMPARE(s.first->isEnabled(), enabled);
    QCOMPARE(s.second->isEnabled(), enabled);
    QVERIFY(s.code->isEnabled());
    Consiste::SetChildEnabled(nullptr, enabled);
}

void tst_ConsisteFocus::selectNextControlFollowsTheTabChain_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<bool>("tabStop");
    QTest::addColumn<bool>("sameParent");
    QTest::addColumn<QString>("expected");
    QTest::newRow("forward past the disabled name") << "code" << true << true << false << "first";
    QTest::newRow("forward takes a click-only button without the tab check")
        << "code" << true << false << false << "lookup";
    QTest::newRow("backward") << "first" << false << true << false << "code";
    QTest::newRow("backward wraps round") << "code" << false << true << false << "close";
    QTest::newRow("forward wraps round") << "close" << true << true << false << "code";
    QTest::newRow("same parent only") << "first" << true << true << true << "";
    QTest::newRow("same parent sibling") << "pages" << true << true << true << "close";
    QTest::newRow("from a container") << "pages" << false << true << false << "code";
}

void tst_ConsisteFocus::selectNextControlFollowsTheTabChain()
{
    QFETCH(QString, from);
    QFETCH(bool, forward);
    QFETCH(bool, tabStop);
    QFETCH(bool, sameParent);
    QFETCH(QString, expected);
    Screen s;
    const QHash<QString, QWidget *> byName{{"code", s.code},   {"lookup", s.lookup}, {"first", s.first},
                                           {"second", s.second}, {"close", s.close}, {"pages", s.pages}};
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    QWidget *focusBefore = QApplication::focusWidget();
    QWidget *found = Consiste::SelectNextControl(byName.value(from), forward, tabStop, sameParent);
    QCOMPARE(found, expected.isEmpty() ? nullptr : byName.value(expected));
    QCOMPARE(QApplication::focusWidget(), focusBefore);
}

void tst_ConsisteFocus::selectNextControlFindsNothingWhenNoneQualifies()
{
    QWidget window;
    auto *only = new QLineEdit(&window);
    new QLabel("Sem outro controle", &window);
    QVERIFY(!Consiste::SelectNextControl(only, true, true, false));
    QVERIFY(!Consiste::SelectNextControl(nullptr, true, true, false));
}

void tst_ConsisteFocus::selectFirstControlFocusesTheFirstTabStopInside()
{
    Screen s;
    s.window.show();
    QApplication::setActiveWindow(&s.window);
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.close->setFocus();
    Consiste::SelectFirstControl(s.pages);
    QCOMPARE(QApplication::focusWidget(), s.first);
    Consiste::SelectFirstControl(s.panel);
    QCOMPARE(QApplication::focusWidget(), s.code);
}

void tst_ConsisteFocus::selectFirstControlSkipsDisabledAndHiddenControls()
{
    Screen s;
    s.window.show();
    QApplication::setActiveWindow(&s.window);
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.close->setFocus();
    s.inner->hide();
    Consiste::SelectFirstControl(s.pages);
    QCOMPARE(QApplication::focusWidget(), s.second);
    s.second->setEnabled(false);
    s.close->setFocus();
    Consiste::SelectFirstControl(s.pages);
    QCOMPARE(QApplication::focusWidget(), s.close);
}

QTEST_MAIN(tst_ConsisteFocus)
#include "tst_consistefocus.moc"

#include "Consiste.h"
#include "DayCount.h"
#include "HostGuard.h"
#include "ScriptedDialogs.h"
#include "TDateEditPlus.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

#include <stdexcept>

namespace {
const QStringList weekdays = {QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"),
                              QStringLiteral("Quarta"),  QStringLiteral("Quinta"),  QStringLiteral("Sexta"),
                              QStringLiteral("Sábado")};
}

class TestDateEditPlus final : public QObject {
    Q_OBJECT
private slots:
    void zeroDateShowsAnEmptyEditWhoseTextIsBlank();
    void emptyEditGivesZero();
    void setDateThenGetDateGivesTheSameDay_data();
    void setDateThenGetDateGivesTheSameDay();
    void typedFormsAreReadAsDates_data();
    void typedFormsAreReadAsDates();
    void leavingTheEditWritesTheDateInFull();
    void getDateOfATextThatIsNoDateThrowsForTheOperator();
    void checkValidDateRefusesAnImpossibleDateWithFocusBack();
    void checkValidDateAcceptsEmptyAndRealDates_data();
    void checkValidDateAcceptsEmptyAndRealDates();
    void validDateIsDrawnInTheValidColour();
    void weekdayOfTheDateIsTheTooltip_data();
    void weekdayOfTheDateIsTheTooltip();
    void plusAndMinusMoveOneDay();
    void lettersCannotBeTyped();
    void altDownOpensACalendarThatWritesThePickedDay();
    void withoutSaveTimeOnlyTheDayIsKept();
    void withSaveTimeTheTimeOfDayComesBack();
};

void TestDateEditPlus::zeroDateShowsAnEmptyEditWhoseTextIsBlank()
{
    TDateEditPlus edit;
    edit.setText(QStringLiteral("01/01/2026"));
    edit.SetDate(0);
    QVERIFY(edit.text().isEmpty());
    QVERIFY(Consiste::EmptyString(edit.text()));
}

void TestDateEditPlus::emptyEditGivesZero()
{
    TDateEditPlus edit;
    QCOMPARE(edit.GetDate(), 0.0);
    edit.setText(QStringLiteral("   "));
    QCOMPARE(edit.GetDate(), 0.0);
}

void TestDateEditPlus::setDateThenGetDateGivesTheSameDay_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ordinary day") << QDate(2026, 3, 7) << QStringLiteral("07/03/2026");
    QTest::newRow("leap day") << QDate(2024, 2, 29) << QStringLiteral("29/02/2024");
    QTest::newRow("end of year") << QDate(1999, 12, 31) << QStringLiteral("31/12/1999");
}

void TestDateEditPlus::setDateThenGetDateGivesTheSameDay()
{
    QFETCH(QDate, date);
    QFETCH(QString, shown);
    TDateEditPlus edit;
    edit.SetDate(DayCount::fromDate(date));
    QCOMPARE(edit.text(), shown);
    QCOMPARE(edit.GetDate(), DayCount::fromDate(date));
}

void TestDateEditPlus::typedFormsAreReadAsDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::newRow("full") << QStringLiteral("07/03/2026") << QDate(2026, 3, 7);
    QTest::newRow("short day and month") << QStringLiteral("7/3/2026") << QDate(2026, 3, 7);
    QTest::newRow("digits only") << QStringLiteral("07032026") << QDate(2026, 3, 7);
    QTest::newRow("two-digit year, this century") << QStringLiteral("07/03/26") << QDate(2026, 3, 7);
    QTest::newRow("two-digit year, last century") << QStringLiteral("07/03/75") << QDate(1975, 3, 7);
    QTest::newRow("no such day") << QStringLiteral("31/02/2026") << QDate();
    QTest::newRow("no such month") << QStringLiteral("01/13/2026") << QDate();
    QTest::newRow("half typed") << QStringLiteral("07/03/") << QDate();
}

void TestDateEditPlus::typedFormsAreReadAsDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QCOMPARE(TDateEditPlus::parseDate(typed), date);
}

void TestDateEditPlus::leavingTheEditWritesTheDateInFull()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new TDateEditPlus(&window);
    auto *next = new QLineEdit(&window);
    layout->addWidget(edit);
    layout->addWidget(next);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("7/3/26"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(edit->text(), QStringLiteral("07/03/2026"));
}

void TestDateEditPlus::getDateOfATextThatIsNoDateThrowsForTheOperator()
{
    TDateEditPlus edit;
    edit.setText(QStringLiteral("31/02/2026"));
    try {
        edit.GetDate();
        QFAIL("no exception for an impossible date");
    } catch (const std::runtime_error &failure) {
        QCOMPARE(QString::fromUtf8(failure.what()), QStringLiteral("\"31/02/2026\" não é uma data válida."));
    }
}

void TestDateEditPlus::checkValidDateRefusesAnImpossibleDateWithFocusBack()
{
    ScriptedDialogs dialogs;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new TDateEditPlus(&window);
    auto *other = new QLineEdit(&window);
    layout->addWidget(edit);
    layout->addWidget(other);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setText(QStringLiteral("31/02/2026"));
    other->setFocus();
    // The check runs as an exit handler would: inside the guard, which keeps
    // the silent abort from going further.
    const bool ran = HostGuard::run([edit] { edit->CheckValidDate(); });
    QVERIFY(!ran);
    QCOMPARE(dialogs.shownTexts(), QStringList{QStringLiteral("Data inválida.")});
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), QStringLiteral("31/02/2026"));
}

void TestDateEditPlus::checkValidDateAcceptsEmptyAndRealDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blank") << QStringLiteral("  ");
    QTest::newRow("real date") << QStringLiteral("28/02/2026");
}

void TestDateEditPlus::checkValidDateAcceptsEmptyAndRealDates()
{
    QFETCH(QString, text);
    ScriptedDialogs dialogs;
    TDateEditPlus edit;
    edit.setText(text);
    edit.CheckValidDate();
    QVERIFY(dialogs.shown().isEmpty());
}

void TestDateEditPlus::validDateIsDrawnInTheValidColour()
{
    TDateEditPlus edit;
    edit.SetValidColor(Qt::blue);
    const QColor normal = edit.palette().color(QPalette::Text);
    QVERIFY(normal != QColor(Qt::blue));
    edit.setText(QStringLiteral("07/03/2026"));
    QCOMPARE(edit.palette().color(QPalette::Text), QColor(Qt::blue));
    edit.setText(QStringLiteral("31/02/2026"));
    QCOMPARE(edit.palette().color(QPalette::Text), normal);
}

void TestDateEditPlus::weekdayOfTheDateIsTheTooltip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("weekday");
    QTest::newRow("sunday") << QStringLiteral("08/03/2026") << QStringLiteral("Domingo");
    QTest::newRow("tuesday") << QStringLiteral("10/03/2026") << QStringLiteral("Terça");
    QTest::newRow("saturday") << QStringLiteral("07/03/2026") << QStringLiteral("Sábado");
    QTest::newRow("no date") << QStringLiteral("31/02/2026") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestDateEditPlus::weekdayOfTheDateIsTheTooltip()
{
    QFETCH(QString, text);
    QFETCH(QString, weekday);
    TDateEditPlus edit;
    edit.SetNomeSemana(weekdays);
    edit.setText(text);
    QCOMPARE(edit.toolTip(), weekday);
    QCOMPARE(edit.weekdayName(), weekday);
}

void TestDateEditPlus::plusAndMinusMoveOneDay()
{
    TDateEditPlus edit;
    edit.show();
    edit.setText(QStringLiteral("28/02/2026"));
    QTest::keyClick(&edit, Qt::Key_Plus);
    QCOMPARE(edit.text(), QStringLiteral("01/03/2026"));
    QTest::keyClick(&edit, Qt::Key_Minus);
    QTest::keyClick(&edit, Qt::Key_Minus);
    QCOMPARE(edit.text(), QStringLiteral("27/02/2026"));
}

void TestDateEditPlus::lettersCannotBeTyped()
{
    TDateEditPlus edit;
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("1a2/b"));
    QCOMPARE(edit.text(), QStringLiteral("12/"));
}

void TestDateEditPlus::altDownOpensACalendarThatWritesThePickedDay()
{
    TDateEditPlus edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setText(QStringLiteral("10/03/2026"));
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    auto *calendar = edit.findChild<QCalendarWidget *>();
    QVERIFY(calendar);
    QVERIFY(calendar->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 10));
    auto *days = calendar->findChild<QTableView *>();
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Return);
    QCOMPARE(edit.text(), QStringLiteral("11/03/2026"));
    QTRY_VERIFY(!edit.findChild<QCalendarWidget *>());
}

void TestDateEditPlus::withoutSaveTimeOnlyTheDayIsKept()
{
    TDateEditPlus edit;
    const double day = DayCount::fromDate(QDate(2026, 3, 7));
    edit.SetDate(day + 0.75);
    QCOMPARE(edit.GetDate(), day);
}

void TestDateEditPlus::withSaveTimeTheTimeOfDayComesBack()
{
    TDateEditPlus edit;
    edit.SetSaveTime(true);
    const double day = DayCount::fromDate(QDate(2026, 3, 7));
    edit.SetDate(day + 0.75);
    QCOMPARE(edit.GetDate(), day + 0.75);
}

QTEST_MAIN(TestDateEditPlus)
#include "tst_dateeditplus.moc"

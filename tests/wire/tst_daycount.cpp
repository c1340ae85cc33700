#include "DayCount.h"

#include <QTest>

class TestDayCount final : public QObject {
    Q_OBJECT
private slots:
    void datesMapToDaysSinceTheBase_data();
    void datesMapToDaysSinceTheBase();
    void timeOfDayIsTheFraction_data();
    void timeOfDayIsTheFraction();
    void zeroIsTheEmptyDateBothWays();
    void unusableCountsGiveInvalidDates_data();
    void unusableCountsGiveInvalidDates();
    void almostMidnightRoundsToTheNextDay();
};

void TestDayCount::datesMapToDaysSinceTheBase_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("days");
    QTest::newRow("day after base") << QDate(1899, 12, 31) << 1.0;
    QTest::newRow("turn of 1900") << QDate(1900, 1, 1) << 2.0;
    QTest::newRow("a business day") << QDate(2024, 3, 15) << 45366.0;
    QTest::newRow("before the base") << QDate(1899, 12, 29) << -1.0;
}

void TestDayCount::datesMapToDaysSinceTheBase()
{
    QFETCH(QDate, date);
    QFETCH(double, days);
    QCOMPARE(DayCount::fromDate(date), days);
    QCOMPARE(DayCount::toDate(days), date);
}

void TestDayCount::timeOfDayIsTheFraction_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<double>("days");
    QTest::newRow("noon") << QDateTime(QDate(2024, 3, 15), QTime(12, 0)) << 45366.5;
    QTest::newRow("six in the morning") << QDateTime(QDate(2024, 3, 15), QTime(6, 0)) << 45366.25;
    QTest::newRow("before the base, 6h") << QDateTime(QDate(1899, 12, 29), QTime(6, 0)) << -1.25;
}

void TestDayCount::timeOfDayIsTheFraction()
{
    QFETCH(QDateTime, moment);
    QFETCH(double, days);
    QCOMPARE(DayCount::fromDateTime(moment), days);
    QCOMPARE(DayCount::toDateTime(days), moment);
    QCOMPARE(DayCount::toDate(days), moment.date());
}

void TestDayCount::zeroIsTheEmptyDateBothWays()
{
    QCOMPARE(DayCount::fromDate(QDate()), 0.0);
    QCOMPARE(DayCount::fromDateTime(QDateTime()), 0.0);
    QVERIFY(!DayCount::toDate(0.0).isValid());
    QVERIFY(!DayCount::toDateTime(0.0).isValid());
}

void TestDayCount::unusableCountsGiveInvalidDates_data()
{
    QTest::addColumn<double>("days");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("absurdly far") << 1e12;
}

void TestDayCount::unusableCountsGiveInvalidDates()
{
    QFETCH(double, days);
    QVERIFY(!DayCount::toDate(days).isValid());
    QVERIFY(!DayCount::toDateTime(days).isValid());
}

void TestDayCount::almostMidnightRoundsToTheNextDay()
{
    const double days = 45366.0 + 1.0 - 1e-10;
    QCOMPARE(DayCount::toDateTime(days), QDateTime(QDate(2024, 3, 16), QTime(0, 0)));
}

QTEST_GUILESS_MAIN(TestDayCount)
#include "tst_daycount.moc"

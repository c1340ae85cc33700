// The busy indicator shown while the client waits on the server.
#include "Showavi.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <QtTest>

#include <stdexcept>

namespace {

QLabel *panel()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("Showavi")) {
            return qobject_cast<QLabel *>(widget);
        }
    }
    return nullptr;
}

bool panelShown()
{
    return panel() && panel()->isVisible();
}

bool waitCursorOn()
{
    return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

} // namespace

class tst_Showavi final : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void theKindSaysWhatIsGoingOn_data();
    void theKindSaysWhatIsGoingOn();
    void callsNestAndOnlyTheOutermostEndHides();
    void deactivatingWhenIdleDoesNothing();
    void theInnerLevelsTextShowsUntilItEnds();
    void thePanelIsCentredOverTheActiveWindow();
    void theGuardStopsTheIndicatorWhenTheCallFails();
    void aWaitPastABlinkLetsTheWindowSystemWorkButNoTimer();
};

void tst_Showavi::cleanup()
{
    while (Showavi::IsActive()) {
        Showavi::DeactiveShowAvi();
    }
}

void tst_Showavi::theKindSaysWhatIsGoingOn_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("reading") << 6 << "Lendo dados...";
    QTest::newRow("writing") << 1 << "Gravando dados...";
    QTest::newRow("other") << 3 << "Processando...";
}

void tst_Showavi::theKindSaysWhatIsGoingOn()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    Showavi::ActiveShowAvi(kind);
    QVERIFY(panelShown());
    QCOMPARE(panel()->text(), text);
    QVERIFY(panel()->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(panel()->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(waitCursorOn());
}

void tst_Showavi::callsNestAndOnlyTheOutermostEndHides()
{
    Showavi::ActiveShowAvi(6);
    Showavi::ActiveShowAvi(1);
    QCOMPARE(Showavi::Depth(), 2);
    Showavi::DeactiveShowAvi();
    QCOMPARE(Showavi::Depth(), 1);
    QVERIFY(Showavi::IsActive());
    QVERIFY(panelShown());
    QVERIFY(waitCursorOn());
    Showavi::DeactiveShowAvi();
    QVERIFY(!Showavi::IsActive());
    QVERIFY(!panelShown());
    QVERIFY(!QApplication::overrideCursor());
}

void tst_Showavi::deactivatingWhenIdleDoesNothing()
{
    Showavi::DeactiveShowAvi();
    QCOMPARE(Showavi::Depth(), 0);
    Showavi::ActiveShowAvi(6);
    QCOMPARE(Showavi::Depth(), 1);
    QVERIFY(panelShown());
    Showavi::DeactiveShowAvi();
    Showavi::DeactiveShowAvi();
    QCOMPARE(Showavi::Depth(), 0);
    QVERIFY(!QApplication::overrideCursor());
}

void tst_Showavi::theInnerLevelsTextShowsUntilItEnds()
{
    Showavi::ActiveShowAvi(1);
    Showavi::ActiveShowAvi(6);
    QCOMPARE(panel()->text(), QStringLiteral("Lendo dados..."));
    Showavi::DeactiveShowAvi();
    QCOMPARE(panel()->text(), QStringLiteral("Gravando dados..."));
}

void tst_Showavi::thePanelIsCentredOverTheActiveWindow()
{
    QWidget screen;
    screen.setGeometry(100, 80, 600, 400);
    screen.show();
    QApplication::setActiveWindow(&screen);
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    Showavi::ActiveShowAvi(6);
    const QPoint offset = panel()->frameGeometry().center() - screen.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString("off by %1,%2").arg(offset.x()).arg(offset.y())));
    QVERIFY(!panel()->text().isEmpty());
}

void tst_Showavi::theGuardStopsTheIndicatorWhenTheCallFails()
{
    try {
        Showavi::Busy busy(1);
        QVERIFY(panelShown());
        throw std::runtime_error("Servidor indisponível.");
    } catch (const std::runtime_error &) {
    }
    QVERIFY(!Showavi::IsActive());
    QVERIFY(!panelShown());
    QVERIFY(!QApplication::overrideCursor());
}

void tst_Showavi::aWaitPastABlinkLetsTheWindowSystemWorkButNoTimer()
{
    struct Counter final : QObject {
        int events = 0;
        bool event(QEvent *event) override
        {
            events += event->type() == QEvent::User;
            return QObject::event(event);
        }
    } posted;
    int timerRuns = 0;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, [&timerRuns] { ++timerRuns; });

    Showavi::ActiveShowAvi(6);
    timer.start();
    QCoreApplication::postEvent(&posted, new QEvent(QEvent::User));
    Showavi::StillBusy();
    QCOMPARE(posted.events, 0); // a short wait does nothing at all
    QThread::msleep(200);
    Showavi::StillBusy();
    QCOMPARE(posted.events, 1);
    QCOMPARE(timerRuns, 0);
    QVERIFY(panelShown());
}

QTEST_MAIN(tst_Showavi)
#include "tst_showavi.moc"

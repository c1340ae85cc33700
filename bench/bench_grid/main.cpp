// The quote grid over a branch's largest list.
//
// Serves the cached 1,000,000-quote database, reads a branch's quotes in
// every state (100,000 rows) into a packet, and then times, on Qt's
// offscreen platform, what an operator waits for in the grid: the list
// loaded and its first rows painted, Ctrl+End to the last row, Page Down
// scrolling the whole list with the scroll bar, and Ctrl+O ordering the
// list by the client's name and by the event's date. The same is done with
// a list of 100 rows in the same run: the ratio says how much the size of
// the list costs.

#include "BenchConnection.h"
#include "CheckedAnswer.h"
#include "EveryState.h"
#include "RecordList.h"
#include "Samples.h"
#include "SeededDatabase.h"
#include "ServerAnswer.h"
#include "ServerProcess.h"
#include "TDBGrid.h"
#include "TDataSource.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <stdexcept>

namespace {

struct GridTimes {
    int rows = 0;
    double firstPaintMs = 0; // the packet taken by the list, its first rows painted
    double toTheEndMs = 0;   // Ctrl+End and the last rows painted
    double pageDownMs = 0;   // median of 50 Page Downs, each painted
    double scrollStepMs = 0; // slowest of 200 scroll-bar steps to the end, each painted
    double orderByTextMs = 0; // Ctrl+O on the client's name, painted
    double orderByDateMs = 0; // Ctrl+O on the event's date, painted
};

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

PacketColumns firstRows(PacketColumns packet, qsizetype rows)
{
    for (Column &column : packet.columns) {
        column.resize(rows);
    }
    packet.rowCount = rows;
    return packet;
}

GridTimes measure(PacketColumns packet)
{
    RecordList cdsOrcamento(QStringLiteral("cdsOrcamento"));
    TDataSource dtsPadrao;
    dtsPadrao.setDataSet(&cdsOrcamento);
    TDBGrid dbgPadrao;
    dbgPadrao.resize(1200, 700);
    dbgPadrao.setDataSource(&dtsPadrao);
    dbgPadrao.show();
    QApplication::processEvents();

    GridTimes times;
    QElapsedTimer timer;
    timer.start();
    cdsOrcamento.loadPacket(std::move(packet));
    dbgPadrao.viewport()->repaint();
    times.firstPaintMs = msSince(timer);
    times.rows = cdsOrcamento.recordCount();

    dbgPadrao.setFocus();
    timer.restart();
    QTest::keyClick(&dbgPadrao, Qt::Key_End, Qt::ControlModifier);
    dbgPadrao.viewport()->repaint();
    times.toTheEndMs = msSince(timer);
    if (cdsOrcamento.recNo() != cdsOrcamento.recordCount() - 1) {
        throw std::runtime_error("Ctrl+End did not reach the last row");
    }

    QTest::keyClick(&dbgPadrao, Qt::Key_Home, Qt::ControlModifier);
    Samples pageDown;
    for (int press = 0; press < 50; ++press) {
        timer.restart();
        QTest::keyClick(&dbgPadrao, Qt::Key_PageDown);
        dbgPadrao.viewport()->repaint();
        pageDown.add(msSince(timer));
    }
    times.pageDownMs = pageDown.median();

    QScrollBar *bar = dbgPadrao.verticalScrollBar();
    for (int step = 1; step <= 200; ++step) {
        timer.restart();
        bar->setValue(bar->maximum() * step / 200);
        dbgPadrao.viewport()->repaint();
        times.scrollStepMs = std::max(times.scrollStepMs, msSince(timer));
    }

    const auto orderBy = [&](const char *field) {
        dbgPadrao.setSelectedField(QLatin1String(field));
        timer.restart();
        QTest::keyClick(&dbgPadrao, Qt::Key_O, Qt::ControlModifier);
        dbgPadrao.viewport()->repaint();
        if (cdsOrcamento.orderField() != QLatin1String(field)) {
            throw std::runtime_error("Ctrl+O did not order the list");
        }
        return msSince(timer);
    };
    times.orderByTextMs = orderBy("NMFANTCLIE");
    times.orderByDateMs = orderBy("DTEVENTO");
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The quote grid over a branch's largest list"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("quotes"), QStringLiteral("Database size in quotes (a tenth per branch)."), QStringLiteral("n"),
                      QStringLiteral("1000000")});
    parser.addOption({QStringLiteral("branch"), QStringLiteral("Branch listed."), QStringLiteral("code"), QStringLiteral("0001")});
    parser.process(app);
    const QString branch = parser.value(QStringLiteral("branch"));
    try {
        ServerProcess server(SeededDatabase::sqliteFile(parser.value(QStringLiteral("quotes")).toInt()));
        server.start();
        auto connection = BenchConnection::open(server.port());
        QuoteListing filter = everyState();
        std::optional<PacketColumns> packet;
        CheckedAnswer::dataOf(connection->CallPacket(QStringLiteral("GetOrcamento"), TNetArg::listing(branch, filter), packet));
        connection->Disconnect();
        server.stop();
        if (!packet) {
            throw std::runtime_error("the answer holds no data packet");
        }
        const GridTimes small = measure(firstRows(*packet, 100));
        const GridTimes large = measure(std::move(*packet));
        std::printf("Grid: the quote grid (1200x700, offscreen) over branch %s's quotes in every state, ms\n", qPrintable(branch));
        std::printf("%9s %12s %10s %10s %12s %14s %14s\n", "rows", "first paint", "Ctrl+End", "Page Down", "scroll step",
                    "order by name", "order by date");
        for (const GridTimes &t : {small, large}) {
            std::printf("%9d %12.1f %10.1f %10.2f %12.2f %14.1f %14.1f\n", t.rows, t.firstPaintMs, t.toTheEndMs,
                        t.pageDownMs, t.scrollStepMs, t.orderByTextMs, t.orderByDateMs);
        }
        std::printf("%9s %12.2f %10.2f %10.2f %12.2f %14.2f %14.2f\n", "ratio", large.firstPaintMs / small.firstPaintMs,
                    large.toTheEndMs / small.toTheEndMs, large.pageDownMs / small.pageDownMs,
                    large.scrollStepMs / small.scrollStepMs, large.orderByTextMs / small.orderByTextMs,
                    large.orderByDateMs / small.orderByDateMs);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "bench_grid: %s\n", error.what());
        return 1;
    }
    return 0;
}

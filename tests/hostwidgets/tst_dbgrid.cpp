#include "Abort.h"
#include "DayCount.h"
#include "ConsisteGrid.h"
#include "Field.h"
#include "ListFixture.h"
#include "ScriptedDialogs.h"
#include "TDBGrid.h"
#include "TDataSource.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace {
// A shown grid over the four-branch list.
struct GridScreen {
    std::unique_ptr<RecordList> list = makeCodeNameList(fourBranches());
    TDataSource source;
    TDBGrid grid;
    // Checks every signal of the model the grid shows, from the first bind on.
    QAbstractItemModelTester tester{grid.model(), QAbstractItemModelTester::FailureReportingMode::Fatal};

    GridScreen()
    {
        source.setDataSet(list.get());
        grid.setDataSource(&source);
        grid.resize(400, 200);
        grid.show();
    }

    QPoint cellCentre(int row, int column) const
    {
        return grid.visualRect(grid.model()->index(row, column)).center();
    }
};
} // namespace

class TestDBGrid final : public QObject {
    Q_OBJECT

private slots:
    void showsTheVisibleFieldsWithTheirLabels()
    {
        GridScreen screen;
        screen.list->close();
        screen.list->fieldByName(QStringLiteral("NAME")).setVisible(false);
        screen.list->loadPacket(codeNamePacket(fourBranches()));

        QCOMPARE(screen.grid.model()->columnCount(), 1);
        QCOMPARE(screen.grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
        QCOMPARE(screen.grid.model()->rowCount(), 4);
    }

    void looksLikeAHostGrid()
    {
        GridScreen screen;
        QVERIFY(!screen.grid.verticalHeader()->isVisible());
        QVERIFY(screen.grid.horizontalHeader()->isVisible());
        QCOMPARE(screen.grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(screen.grid.showGrid());
        QVERIFY(screen.grid.tabKeyNavigation());
        QCOMPARE(screen.grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
        const QPalette colours = screen.grid.palette();
        QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
                 colours.color(QPalette::Active, QPalette::Highlight));
    }

    void startsOnTheListsCurrentRecord()
    {
        auto list = makeCodeNameList(fourBranches());
        list->moveTo(2);
        TDataSource source;
        source.setDataSet(list.get());
        TDBGrid grid;
        grid.setDataSource(&source);
        QCOMPARE(grid.currentIndex().row(), 2);
    }

    void followsTheListsMoves_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("third") << 2;
        QTest::newRow("last") << 3;
        QTest::newRow("first again") << 0;
    }

    void followsTheListsMoves()
    {
        QFETCH(int, row);
        GridScreen screen;
        screen.list->moveTo(1);
        screen.list->moveTo(row);
        QCOMPARE(screen.grid.currentIndex().row(), row);
        QVERIFY(screen.grid.selectionModel()->isSelected(screen.grid.currentIndex()));
    }

    // What a find makes current far down a long list comes into view.
    void aRecordMadeCurrentElsewhereIsScrolledIntoView()
    {
        QList<QStringList> branches;
        for (int code = 1; code <= 300; ++code) {
            branches.append({QStringLiteral("%1").arg(code, 4, 10, QLatin1Char('0')), QStringLiteral("Filial")});
        }
        GridScreen screen;
        screen.list->loadPacket(codeNamePacket(branches));
        screen.list->moveTo(250);
        const QRect cell = screen.grid.visualRect(screen.grid.model()->index(250, 0));
        QVERIFY(screen.grid.viewport()->rect().contains(cell.center()));
    }

    void arrowKeysMoveTheList()
    {
        GridScreen screen;
        screen.grid.setFocus();
        QTest::keyClick(&screen.grid, Qt::Key_Down);
        QTest::keyClick(&screen.grid, Qt::Key_Down);
        QCOMPARE(screen.list->recNo(), 2);
        QTest::keyClick(&screen.grid, Qt::Key_Up);
        QCOMPARE(screen.list->recNo(), 1);
    }

    void tabMovesBetweenCellsOfTheRecord()
    {
        GridScreen screen;
        screen.grid.setFocus();
        QTest::keyClick(&screen.grid, Qt::Key_Tab);
        QCOMPARE(screen.grid.selectedIndex(), 1);
        QCOMPARE(screen.list->recNo(), 0);
        QTest::keyClick(&screen.grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(screen.grid.selectedIndex(), 0);
    }

    void clickingARowMovesTheList()
    {
        GridScreen screen;
        QVERIFY(QTest::qWaitForWindowExposed(&screen.grid));
        QTest::mouseClick(screen.grid.viewport(), Qt::LeftButton, {}, screen.cellCentre(3, 1));
        QCOMPARE(screen.list->recNo(), 3);
        QCOMPARE(screen.grid.selectedIndex(), 1);
        QCOMPARE(screen.grid.selectedFieldName(), QStringLiteral("NAME"));
    }

    void aRefusedMoveKeepsTheCellOnTheListsRecord()
    {
        GridScreen screen;
        QVERIFY(QTest::qWaitForWindowExposed(&screen.grid));
        screen.list->beforeScroll = [](RecordList &) { throw Abort(); };
        QTest::mouseClick(screen.grid.viewport(), Qt::LeftButton, {}, screen.cellCentre(2, 0));
        QCoreApplication::processEvents();
        QCOMPARE(screen.list->recNo(), 0);
        QCOMPARE(screen.grid.currentIndex().row(), 0);
    }

    void followsTheListAfterReloadAndClose()
    {
        GridScreen screen;
        screen.list->moveTo(3);

        screen.list->loadPacket(codeNamePacket({{QStringLiteral("0007"), QStringLiteral("Sul")},
                                                {QStringLiteral("0008"), QStringLiteral("Norte")}}));
        QCOMPARE(screen.grid.model()->rowCount(), 2);
        QCOMPARE(screen.grid.currentIndex().row(), 0);
        screen.list->moveTo(1);
        QCOMPARE(screen.grid.currentIndex().row(), 1);

        screen.list->close();
        QCOMPARE(screen.grid.model()->rowCount(), 0);
        QVERIFY(!screen.grid.currentIndex().isValid());

        screen.list->loadPacket(codeNamePacket(fourBranches()));
        QCOMPARE(screen.grid.model()->rowCount(), 4);
        QCOMPARE(screen.grid.currentIndex().row(), 0);
        screen.grid.setFocus();
        QTest::keyClick(&screen.grid, Qt::Key_Down);
        QCOMPARE(screen.list->recNo(), 1);
    }

    void followsAnotherListOfTheDataSource()
    {
        GridScreen screen;
        auto other = makeCodeNameList({{QStringLiteral("0100"), QStringLiteral("Outra")}}, QStringLiteral("cdsOutra"));
        screen.source.setDataSet(other.get());
        QCOMPARE(screen.grid.model()->rowCount(), 1);
        QCOMPARE(screen.grid.model()->index(0, 1).data().toString(), QStringLiteral("Outra"));
        screen.source.setDataSet(nullptr);
        QCOMPARE(screen.grid.model()->rowCount(), 0);
    }

    void deletingTheCurrentRecordKeepsFollowing()
    {
        GridScreen screen;
        screen.list->moveTo(1);
        screen.list->remove();
        QCOMPARE(screen.grid.model()->rowCount(), 3);
        QCOMPARE(screen.grid.currentIndex().row(), screen.list->recNo());
        QCOMPARE(screen.list->fieldByName(QStringLiteral("CODE")).asString(),
                 screen.grid.currentIndex().siblingAtColumn(0).data().toString());
    }

    void columnsHaveTheirTitlesWidthsAndAlignment()
    {
        GridScreen screen;
        screen.grid.setColumns({{QStringLiteral("NAME"), QStringLiteral("Filial"), 150, Qt::AlignRight | Qt::AlignVCenter, {}},
                                {QStringLiteral("CODE"), QString(), 80, Qt::AlignCenter, Qt::white}});

        QAbstractItemModel *shown = screen.grid.model();
        QCOMPARE(shown->columnCount(), 2);
        QCOMPARE(shown->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Filial"));
        QCOMPARE(shown->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Código"));
        QCOMPARE(shown->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(shown->headerData(1, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
        QCOMPARE(screen.grid.columnWidth(0), 150);
        QCOMPARE(screen.grid.columnWidth(1), 80);
        QCOMPARE(shown->index(2, 0).data().toString(), QStringLiteral("Centro"));
    }

    void widthsSurviveAReload()
    {
        GridScreen screen;
        screen.grid.setColumns({{QStringLiteral("CODE"), QString(), 55, Qt::AlignLeft, {}}});
        screen.grid.horizontalHeader()->resizeSection(0, 70);
        screen.list->loadPacket(codeNamePacket(fourBranches()));
        QCOMPARE(screen.grid.columnWidth(0), 70);
        QCOMPARE(screen.grid.columns().first().width, 70);
    }

    void defaultWidthFollowsTheFieldsDisplayWidth()
    {
        GridScreen screen;
        screen.grid.setColumns({{QStringLiteral("CODE"), QStringLiteral("C"), -1, Qt::AlignLeft, {}},
                                {QStringLiteral("NAME"), QStringLiteral("N"), -1, Qt::AlignLeft, {}}});
        const int averageChar = screen.grid.fontMetrics().averageCharWidth();
        // The name 30 average characters wide, the code its 4 digits, plus the
        // same cell margin.
        const int code = std::max(4 * averageChar, screen.grid.fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        QCOMPARE(screen.grid.columnWidth(1) - screen.grid.columnWidth(0), 30 * averageChar - code);
    }

    void defaultWidthIsNeverNarrowerThanTheTitle()
    {
        GridScreen screen;
        const QString longTitle = QStringLiteral("Código da filial de origem do orçamento");
        screen.grid.setColumns({{QStringLiteral("CODE"), longTitle, -1, Qt::AlignLeft, {}}});
        QVERIFY(screen.grid.columnWidth(0) >= screen.grid.horizontalHeader()->fontMetrics().horizontalAdvance(longTitle));
    }

    // Designed widths were chosen for another font: they still show the
    // title, a date with its time and a total in the millions.
    void aDesignedWidthStillShowsTitleAndValue_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("shown");
        const QDateTime evening(QDate(2026, 12, 4), QTime(20, 0));
        QTest::newRow("title") << QStringLiteral("CODE") << QStringLiteral("Código da filial de origem") << evening
                               << 0.0 << QStringLiteral("Código da filial de origem");
        QTest::newRow("code") << QStringLiteral("CODE") << QStringLiteral("C.") << evening << 0.0
                              << QStringLiteral("0001");
        QTest::newRow("date and time") << QStringLiteral("WHEN") << QStringLiteral("Dt.") << evening << 0.0
                                       << QStringLiteral("04/12/2026 20:00");
        QTest::newRow("money") << QStringLiteral("TOTAL") << QStringLiteral("Vr.") << evening << 1234567.89
                               << QStringLiteral("1.234.567,89");
    }

    void aDesignedWidthStillShowsTitleAndValue()
    {
        QFETCH(QString, fieldName);
        QFETCH(QString, title);
        QFETCH(QDateTime, date);
        QFETCH(double, amount);
        QFETCH(QString, shown);
        RecordList list(QStringLiteral("cdsValores"));
        list.addField(QStringLiteral("CODE"), FieldType::Text, 4);
        list.addField(QStringLiteral("WHEN"), FieldType::DateTime);
        list.addField(QStringLiteral("TOTAL"), FieldType::Float).setDisplayFormat(QStringLiteral("#,##0.00"));
        DataPacket packet;
        packet.fields = {{QStringLiteral("CODE"), FieldType::Text, 4},
                         {QStringLiteral("WHEN"), FieldType::DateTime, 0},
                         {QStringLiteral("TOTAL"), FieldType::Float, 0}};
        packet.rows.append({QStringLiteral("0001"), DayCount::fromDateTime(date), amount});
        list.loadPacket(packet);
        TDataSource source;
        source.setDataSet(&list);
        TDBGrid grid;
        QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        grid.setDataSource(&source);
        grid.setColumns({{fieldName, title, 20, Qt::AlignLeft, {}}});
        grid.show();

        if (shown != title) {
            QCOMPARE(grid.model()->index(0, 0).data().toString(), shown);
        }
        const int needed = std::max(grid.horizontalHeader()->fontMetrics().horizontalAdvance(shown),
                                    grid.fontMetrics().horizontalAdvance(shown));
        QVERIFY2(grid.columnWidth(0) > needed, qPrintable(QString::number(grid.columnWidth(0))));

        // The operator may still make it narrower, and it stays so.
        grid.horizontalHeader()->resizeSection(0, 40);
        list.loadPacket(packet);
        QCOMPARE(grid.columnWidth(0), 40);
    }

    void aColumnOfAFieldTheListLacksIsLeftOut()
    {
        GridScreen screen;
        screen.grid.setColumns({{QStringLiteral("NOSUCH"), QStringLiteral("Nada"), 90, Qt::AlignLeft, {}},
                                {QStringLiteral("NAME"), QStringLiteral("Filial"), 120, Qt::AlignLeft, {}}});
        QCOMPARE(screen.grid.model()->columnCount(), 1);
        QCOMPARE(screen.grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Filial"));
        QCOMPARE(screen.grid.columnWidth(0), 120);
    }

    void indiceColFindsTheColumnOfAField_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<int>("column");
        QTest::newRow("first") << QStringLiteral("NAME") << 0;
        QTest::newRow("second") << QStringLiteral("CODE") << 1;
        QTest::newRow("not shown") << QStringLiteral("OTHER") << -1;
        QTest::newRow("empty") << QString() << -1;
    }

    void indiceColFindsTheColumnOfAField()
    {
        QFETCH(QString, fieldName);
        QFETCH(int, column);
        GridScreen screen;
        screen.grid.setColumns({{QStringLiteral("NAME"), {}, -1, Qt::AlignLeft, {}},
                                {QStringLiteral("CODE"), {}, -1, Qt::AlignLeft, {}}});
        QCOMPARE(Consiste::IndiceCol(screen.grid, fieldName), column);
    }

    void indiceColWithoutAListIsNone()
    {
        TDBGrid grid;
        QCOMPARE(Consiste::IndiceCol(grid, QStringLiteral("CODE")), -1);
    }

    void selectingAFieldMovesTheCurrentColumn()
    {
        GridScreen screen;
        screen.list->moveTo(2);
        screen.grid.setSelectedField(QStringLiteral("NAME"));
        QCOMPARE(screen.grid.selectedIndex(), 1);
        QCOMPARE(screen.grid.currentIndex().row(), 2);
        QCOMPARE(screen.grid.selectedField(), screen.list->findField(QStringLiteral("NAME")));
        screen.grid.setSelectedField(QStringLiteral("NOSUCH"));
        QCOMPARE(screen.grid.selectedIndex(), 1);
    }

    void keyHandlerMayConsumeTheKey_data()
    {
        QTest::addColumn<bool>("consume");
        QTest::addColumn<int>("recordAfter");
        QTest::newRow("consumed") << true << 0;
        QTest::newRow("passed on") << false << 1;
    }

    void keyHandlerMayConsumeTheKey()
    {
        QFETCH(bool, consume);
        QFETCH(int, recordAfter);
        GridScreen screen;
        int seenKey = 0;
        Qt::KeyboardModifiers seenShift;
        screen.grid.onKeyDown = [&](TDBGrid &sender, int &key, Qt::KeyboardModifiers shift) {
            QCOMPARE(&sender, &screen.grid);
            seenKey = key;
            seenShift = shift;
            if (consume) {
                key = 0;
            }
        };
        screen.grid.setFocus();
        QTest::keyClick(&screen.grid, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(seenKey, int(Qt::Key_Down));
        QCOMPARE(seenShift, Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(screen.list->recNo(), recordAfter);
    }

    void anAbandonedKeyHandlerStopsTheKey()
    {
        GridScreen screen;
        screen.grid.onKeyDown = [](TDBGrid &, int &, Qt::KeyboardModifiers) { throw Abort(); };
        QTest::keyClick(&screen.grid, Qt::Key_Down);
        QCOMPARE(screen.list->recNo(), 0);
    }

    void doubleClickRunsTheHandlerOnTheClickedRecord()
    {
        GridScreen screen;
        QVERIFY(QTest::qWaitForWindowExposed(&screen.grid));
        QList<int> recordsSeen;
        screen.grid.onDblClick = [&](TDBGrid &sender) {
            recordsSeen << sender.dataSource()->dataSet()->recNo();
        };
        QTest::mouseDClick(screen.grid.viewport(), Qt::LeftButton, {}, screen.cellCentre(2, 0));
        QCOMPARE(recordsSeen, QList<int>{2});
        // No cell editor opened.
        QVERIFY(screen.grid.findChildren<QLineEdit *>().isEmpty());
    }

    void drawingHookPaintsTheCellsItClaims()
    {
        GridScreen screen;
        QVERIFY(QTest::qWaitForWindowExposed(&screen.grid));
        QSet<QPair<QString, int>> offered;
        screen.grid.onDrawColumnCell = [&](QPainter *painter, const QStyleOptionViewItem &option, const Field &field,
                                           int row) {
            offered.insert({field.name(), row});
            if (field.name() != QStringLiteral("CODE")) {
                return false;
            }
            painter->fillRect(option.rect, row == 1 ? Qt::red : Qt::blue);
            return true;
        };

        const QImage picture = screen.grid.grab().toImage();

        for (int row = 0; row < 4; ++row) {
            QVERIFY(offered.contains({QStringLiteral("CODE"), row}));
            QVERIFY(offered.contains({QStringLiteral("NAME"), row}));
        }
        const QPoint offset = screen.grid.viewport()->mapTo(&screen.grid, QPoint(0, 0));
        const qreal scale = picture.devicePixelRatio();
        const auto pixel = [&](int row, int column) {
            const QPoint at = (screen.cellCentre(row, column) + offset) * scale;
            return picture.pixelColor(at);
        };
        QCOMPARE(pixel(1, 0), QColor(Qt::red));
        QCOMPARE(pixel(2, 0), QColor(Qt::blue));
        QVERIFY(pixel(2, 1) != QColor(Qt::blue));
    }

    void aFailingDrawingHookPaintsTheStandardWay()
    {
        ScriptedDialogs dialogs;
        GridScreen screen;
        QVERIFY(QTest::qWaitForWindowExposed(&screen.grid));
        const QImage standard = screen.grid.grab().toImage();
        int calls = 0;
        screen.grid.onDrawColumnCell = [&calls](QPainter *, const QStyleOptionViewItem &, const Field &, int) -> bool {
            ++calls;
            throw std::runtime_error("sem figura");
        };

        const QImage drawn = screen.grid.grab().toImage();

        QVERIFY(calls >= 8);
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(drawn, standard);
    }

    void cellBrushIsTheSelectionColourOnTheSelectedCell()
    {
        QStyleOptionViewItem option;
        option.palette.setColor(QPalette::Active, QPalette::Highlight, Qt::darkBlue);
        option.palette.setColor(QPalette::Active, QPalette::Base, Qt::white);
        QCOMPARE(TDBGrid::cellBrush(option).color(), QColor(Qt::white));
        option.state |= QStyle::State_Selected;
        QCOMPARE(TDBGrid::cellBrush(option).color(), QColor(Qt::darkBlue));
    }

    void ctrlDeleteAsksBeforeRemoving_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("recordsAfter");
        QTest::newRow("Sim") << 0 << 3;
        QTest::newRow("Não") << 1 << 4;
        QTest::newRow("closed") << -1 << 4;
    }

    void ctrlDeleteAsksBeforeRemoving()
    {
        QFETCH(int, answer);
        QFETCH(int, recordsAfter);
        ScriptedDialogs dialogs;
        dialogs.answerAsk(answer);
        GridScreen screen;
        screen.list->moveTo(1);

        QTest::keyClick(&screen.grid, Qt::Key_Delete, Qt::ControlModifier);

        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.lastText(), QStringLiteral("Confirma exclusão?"));
        QCOMPARE(dialogs.shown().first().buttons, (QStringList{QStringLiteral("Sim"), QStringLiteral("Não")}));
        QCOMPARE(screen.list->recordCount(), recordsAfter);
        QCOMPARE(screen.grid.model()->rowCount(), recordsAfter);
        const bool removed = recordsAfter == 3;
        QCOMPARE(rowOfCode(*screen.list, QStringLiteral("0002")), removed ? -1 : 1);
    }

    void ctrlDeleteWithoutConfirmationRemovesAtOnce()
    {
        ScriptedDialogs dialogs;
        GridScreen screen;
        screen.grid.setConfirmDelete(false);
        QTest::keyClick(&screen.grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(screen.list->recordCount(), 3);
    }

    void aConsumedCtrlDeleteAsksNothing()
    {
        ScriptedDialogs dialogs;
        GridScreen screen;
        screen.grid.onKeyDown = [](TDBGrid &, int &key, Qt::KeyboardModifiers shift) {
            if (shift.testFlag(Qt::ControlModifier) && key == Qt::Key_Delete) {
                key = 0;
            }
        };
        QTest::keyClick(&screen.grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(screen.list->recordCount(), 4);
    }

    void deleteWithoutCtrlRemovesNothing()
    {
        ScriptedDialogs dialogs;
        GridScreen screen;
        QTest::keyClick(&screen.grid, Qt::Key_Delete);
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(screen.list->recordCount(), 4);
    }
};

QTEST_MAIN(TestDBGrid)
#include "tst_dbgrid.moc"

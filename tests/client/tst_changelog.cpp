#include "RecordList.h"

#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

namespace {

using Op = RowChange::Op;

DataPacket itemPacket()
{
    DataPacket packet;
    packet.fields = {{"NRITEM", FieldType::Text, 3}, {"VRITEM", FieldType::Float, 0}};
    packet.rows = {{QStringLiteral("001"), 10.0}, {QStringLiteral("002"), 20.0}, {QStringLiteral("003"), 30.0}};
    return packet;
}

// An item list with a calculated column, which never reaches the delta.
struct ItemList {
    RecordList list{QStringLiteral("cdsItem")};

    ItemList()
    {
        list.addField("NRITEM", FieldType::Text, 3);
        list.addField("VRITEM", FieldType::Float);
        list.addCalculatedField("VRDOBRO", FieldType::Float);
        list.onCalcFields = [](RecordList &l) {
            l.fieldByName("VRDOBRO").setAsFloat(l.fieldByName("VRITEM").asFloat() * 2);
        };
        list.loadPacket(itemPacket());
    }

    void update(int row, double value)
    {
        list.moveTo(row);
        list.edit();
        list.fieldByName("VRITEM").setAsFloat(value);
        list.post();
    }

    void insertAt(int row, const QString &number)
    {
        if (row < list.recordCount()) {
            list.moveTo(row);
            list.insert();
        } else {
            list.append();
        }
        list.fieldByName("NRITEM").setAsString(number);
        list.fieldByName("VRITEM").setAsFloat(1.0);
        list.post();
    }

    void removeAt(int row)
    {
        list.moveTo(row);
        list.remove();
    }

    QList<Op> ops() const
    {
        QList<Op> result;
        for (const RowChange &change : list.delta().changes) {
            result << change.op;
        }
        return result;
    }
};

QVariantList row(const char *number, double value)
{
    return {QString::fromLatin1(number), value};
}

} // namespace

class TestChangeLog final : public QObject {
    Q_OBJECT
private slots:
    void updateIsLoggedWithOriginalAndCurrentValues();
    void repeatedUpdatesKeepOneEntryWithTheFirstOriginal();
    void postWithoutAChangeLogsNothing();
    void insertIsLoggedWithItsValues();
    void insertThenUpdateStaysAnInsert();
    void insertThenDeleteLeavesNothing();
    void deleteIsLoggedWithOriginalValues();
    void updateThenDeleteIsADeleteOfTheOriginal();
    void deltaFollowsTheOrderOfFirstChanges();
    void entriesFollowTheRecordNotTheRow();
    void pendingEditIsNotInTheDelta();
    void mergeMakesCurrentValuesTheOriginals();
    void cancelUpdatesRestoresTheLoadedRows_data();
    void cancelUpdatesRestoresTheLoadedRows();
    void cancelUpdatesDropsAPendingEdit();
    void withoutLoggingChangesGoStraightToTheData();
    void applyUpdatesMergesWhenTheSenderSucceeds();
    void applyUpdatesKeepsTheLogWhenTheSenderThrows();
    void applyUpdatesPostsAPendingEditFirst();
    void applyUpdatesWithNothingToSendDoesNotCallTheSender();
    void loadingAPacketClearsTheLog();
};

void TestChangeLog::updateIsLoggedWithOriginalAndCurrentValues()
{
    ItemList items;
    items.update(1, 25.0);
    QCOMPARE(items.list.changeCount(), 1);
    const ChangeDelta delta = items.list.delta();
    QCOMPARE(delta.fields, itemPacket().fields);
    QCOMPARE(delta.changes.size(), 1);
    QCOMPARE(delta.changes.at(0).op, Op::Update);
    QCOMPARE(delta.changes.at(0).oldValues, row("002", 20.0));
    QCOMPARE(delta.changes.at(0).newValues, row("002", 25.0));
}

void TestChangeLog::repeatedUpdatesKeepOneEntryWithTheFirstOriginal()
{
    ItemList items;
    items.update(1, 25.0);
    items.update(1, 26.0);
    QCOMPARE(items.list.changeCount(), 1);
    QCOMPARE(items.list.delta().changes.at(0).oldValues, row("002", 20.0));
    QCOMPARE(items.list.delta().changes.at(0).newValues, row("002", 26.0));
}

void TestChangeLog::postWithoutAChangeLogsNothing()
{
    ItemList items;
    items.list.edit();
    items.list.post();
    items.update(0, 10.0);
    QCOMPARE(items.list.changeCount(), 0);
}

void TestChangeLog::insertIsLoggedWithItsValues()
{
    ItemList items;
    items.insertAt(3, QStringLiteral("004"));
    const ChangeDelta delta = items.list.delta();
    QCOMPARE(delta.changes.size(), 1);
    QCOMPARE(delta.changes.at(0).op, Op::Insert);
    QVERIFY(delta.changes.at(0).oldValues.isEmpty());
    QCOMPARE(delta.changes.at(0).newValues, row("004", 1.0));
}

void TestChangeLog::insertThenUpdateStaysAnInsert()
{
    ItemList items;
    items.insertAt(0, QStringLiteral("000"));
    items.update(0, 5.0);
    QCOMPARE(items.ops(), QList<Op>{Op::Insert});
    QCOMPARE(items.list.delta().changes.at(0).newValues, row("000", 5.0));
}

void TestChangeLog::insertThenDeleteLeavesNothing()
{
    ItemList items;
    items.insertAt(1, QStringLiteral("009"));
    items.removeAt(1);
    QCOMPARE(items.list.changeCount(), 0);
    QVERIFY(items.list.delta().isEmpty());
    QCOMPARE(items.list.packet().rows, itemPacket().rows);
}

void TestChangeLog::deleteIsLoggedWithOriginalValues()
{
    ItemList items;
    items.removeAt(2);
    const ChangeDelta delta = items.list.delta();
    QCOMPARE(delta.changes.size(), 1);
    QCOMPARE(delta.changes.at(0).op, Op::Delete);
    QCOMPARE(delta.changes.at(0).oldValues, row("003", 30.0));
    QVERIFY(delta.changes.at(0).newValues.isEmpty());
    QCOMPARE(items.list.recordCount(), 2);
}

void TestChangeLog::updateThenDeleteIsADeleteOfTheOriginal()
{
    ItemList items;
    items.update(0, 11.0);
    items.list.moveTo(0);
    items.list.edit();
    items.list.fieldByName("VRITEM").setAsFloat(12.0);
    items.list.remove();
    QCOMPARE(items.ops(), QList<Op>{Op::Delete});
    QCOMPARE(items.list.delta().changes.at(0).oldValues, row("001", 10.0));
}

void TestChangeLog::deltaFollowsTheOrderOfFirstChanges()
{
    ItemList items;
    items.update(2, 31.0);
    items.insertAt(0, QStringLiteral("000"));
    items.removeAt(1);
    items.update(2, 32.0); // "003" again, after the rows moved
    QCOMPARE(items.ops(), (QList<Op>{Op::Update, Op::Insert, Op::Delete}));
    QCOMPARE(items.list.delta().changes.at(0).newValues, row("003", 32.0));
}

void TestChangeLog::entriesFollowTheRecordNotTheRow()
{
    ItemList items;
    items.update(1, 21.0);
    items.insertAt(0, QStringLiteral("000"));
    items.insertAt(0, QStringLiteral("00A"));
    items.update(1, 2.0); // the first inserted record, now at row 1
    const ChangeDelta delta = items.list.delta();
    QCOMPARE(delta.changes.size(), 3);
    QCOMPARE(delta.changes.at(0).newValues, row("002", 21.0));
    QCOMPARE(delta.changes.at(1).newValues, row("000", 2.0));
    QCOMPARE(delta.changes.at(2).newValues, row("00A", 1.0));
}

void TestChangeLog::pendingEditIsNotInTheDelta()
{
    ItemList items;
    items.update(0, 15.0);
    items.list.edit();
    items.list.fieldByName("VRITEM").setAsFloat(99.0);
    QCOMPARE(items.list.delta().changes.at(0).newValues, row("001", 15.0));
}

void TestChangeLog::mergeMakesCurrentValuesTheOriginals()
{
    ItemList items;
    items.update(0, 15.0);
    items.removeAt(1);
    items.list.mergeChangeLog();
    QCOMPARE(items.list.changeCount(), 0);
    items.list.cancelUpdates();
    QCOMPARE(items.list.packet().rows, (QList<QVariantList>{row("001", 15.0), row("003", 30.0)}));
    items.update(0, 16.0);
    QCOMPARE(items.list.delta().changes.at(0).oldValues, row("001", 15.0));
}

void TestChangeLog::cancelUpdatesRestoresTheLoadedRows_data()
{
    // Steps: u update, d delete, i insert, m move to the row; then the
    // record current after the undo ("" where any survivor will do).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("current");
    QTest::newRow("one update") << QStringList{"u1"} << "002";
    QTest::newRow("deletes from the end") << QStringList{"d2", "d1", "d0"} << "";
    QTest::newRow("deletes from the start") << QStringList{"d0", "d0", "d0"} << "";
    QTest::newRow("delete around inserts") << QStringList{"d1", "i0", "d2", "u0"} << "";
    QTest::newRow("inserted neighbour vanishes") << QStringList{"i1", "d2", "d1"} << "";
    QTest::newRow("update then delete") << QStringList{"u0", "d0"} << "001";
    QTest::newRow("append then delete all") << QStringList{"i3", "d0", "d0", "d0", "d0"} << "";
    QTest::newRow("a survivor moved to") << QStringList{"i0", "m2"} << "002";
    QTest::newRow("a delete refused") << QStringList{"d1"} << "002";
    QTest::newRow("the last row's delete refused") << QStringList{"d2"} << "003";
    QTest::newRow("moved away after a delete") << QStringList{"d1", "m0"} << "001";
}

void TestChangeLog::cancelUpdatesRestoresTheLoadedRows()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, current);
    ItemList items;
    for (const QString &step : steps) {
        const int row = step.mid(1).toInt();
        switch (step.at(0).toLatin1()) {
        case 'u':
            items.update(row, 77.0);
            break;
        case 'd':
            items.removeAt(row);
            break;
        case 'm':
            items.list.moveTo(row);
            break;
        default:
            items.insertAt(row, QStringLiteral("NEW"));
            break;
        }
    }
    QVERIFY(items.list.packet().rows != itemPacket().rows);
    QSignalSpy aboutToReset(&items.list, &RecordList::aboutToReset);
    QSignalSpy reset(&items.list, &RecordList::reset);
    items.list.cancelUpdates();
    QCOMPARE(items.list.packet().rows, itemPacket().rows);
    QCOMPARE(items.list.changeCount(), 0);
    QCOMPARE(aboutToReset.count(), 1);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(items.list.valueAt(2, 2).toDouble(), 60.0); // calculated values come back too
    QVERIFY(items.list.recNo() >= 0 && items.list.recNo() < 3);
    if (!current.isEmpty()) {
        QCOMPARE(items.list.fieldByName("NRITEM").asString(), current);
    }
}

void TestChangeLog::cancelUpdatesDropsAPendingEdit()
{
    ItemList items;
    items.update(0, 1.0);
    items.list.edit();
    items.list.fieldByName("VRITEM").setAsFloat(2.0);
    items.list.cancelUpdates();
    QCOMPARE(items.list.state(), RecordList::State::Browse);
    QCOMPARE(items.list.packet().rows, itemPacket().rows);
}

void TestChangeLog::withoutLoggingChangesGoStraightToTheData()
{
    ItemList items;
    items.list.setLogChanges(false);
    items.update(0, 1.0);
    items.insertAt(3, QStringLiteral("004"));
    items.removeAt(1);
    QCOMPARE(items.list.changeCount(), 0);
    QCOMPARE(items.list.packet().rows, (QList<QVariantList>{row("001", 1.0), row("003", 30.0), row("004", 1.0)}));
    items.list.setLogChanges(true);
    items.update(0, 2.0);
    QCOMPARE(items.list.delta().changes.at(0).oldValues, row("001", 1.0));
}

void TestChangeLog::applyUpdatesMergesWhenTheSenderSucceeds()
{
    ItemList items;
    items.update(0, 1.0);
    items.removeAt(2);
    const ChangeDelta expected = items.list.delta();
    int calls = 0;
    items.list.applyUpdates([&](const ChangeDelta &sent) {
        ++calls;
        QCOMPARE(sent.fields, expected.fields);
        QCOMPARE(sent.changes.size(), expected.changes.size());
        QCOMPARE(sent.changes.at(1).oldValues, expected.changes.at(1).oldValues);
    });
    QCOMPARE(calls, 1);
    QCOMPARE(items.list.changeCount(), 0);
    items.list.cancelUpdates();
    QCOMPARE(items.list.recordCount(), 2);
}

void TestChangeLog::applyUpdatesKeepsTheLogWhenTheSenderThrows()
{
    ItemList items;
    items.update(0, 1.0);
    items.insertAt(1, QStringLiteral("00X"));
    const QList<Op> before = items.ops();
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, items.list.applyUpdates([](const ChangeDelta &) {
        throw std::runtime_error("Orçamento alterado por outro operador.");
    }));
    QCOMPARE(items.ops(), before);
    QCOMPARE(items.list.changeCount(), 2);
    items.list.cancelUpdates();
    QCOMPARE(items.list.packet().rows, itemPacket().rows);
}

void TestChangeLog::applyUpdatesPostsAPendingEditFirst()
{
    ItemList items;
    items.list.edit();
    items.list.fieldByName("VRITEM").setAsFloat(3.0);
    QList<RowChange> sent;
    items.list.applyUpdates([&](const ChangeDelta &delta) { sent = delta.changes; });
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).newValues, row("001", 3.0));
    QCOMPARE(items.list.state(), RecordList::State::Browse);
}

void TestChangeLog::applyUpdatesWithNothingToSendDoesNotCallTheSender()
{
    ItemList items;
    bool called = false;
    items.list.applyUpdates([&](const ChangeDelta &) { called = true; });
    QVERIFY(!called);
}

void TestChangeLog::loadingAPacketClearsTheLog()
{
    ItemList items;
    items.update(0, 1.0);
    items.list.loadPacket(itemPacket());
    QCOMPARE(items.list.changeCount(), 0);
    items.list.close();
    QCOMPARE(items.list.changeCount(), 0);
}

QTEST_GUILESS_MAIN(TestChangeLog)
#include "tst_changelog.moc"

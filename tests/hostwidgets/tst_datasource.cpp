#include "Abort.h"
#include "ListFixture.h"
#include "ScriptedDialogs.h"
#include "TDataSource.h"

#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

class TestDataSource final : public QObject {
    Q_OBJECT

private slots:
    void withoutListIsInactive()
    {
        TDataSource source;
        QCOMPARE(source.dataSet(), nullptr);
        QCOMPARE(source.state(), RecordList::State::Inactive);
    }

    void bindingAnOpenListTellsItsState()
    {
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        QSignalSpy states(&source, &TDataSource::stateChanged);
        QSignalSpy bound(&source, &TDataSource::dataSetChanged);
        source.setDataSet(list.get());
        QCOMPARE(source.state(), RecordList::State::Browse);
        QCOMPARE(states.count(), 1);
        QCOMPARE(bound.count(), 1);
    }

    void relaysEveryStateOfTheList()
    {
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QList<RecordList::State> seen;
        connect(&source, &TDataSource::stateChanged, this, [&] { seen << source.state(); });

        list->edit();
        list->cancel();
        list->append();
        list->cancel();
        list->close();

        const QList<RecordList::State> expected{RecordList::State::Edit, RecordList::State::Browse,
                                                RecordList::State::Insert, RecordList::State::Browse,
                                                RecordList::State::Inactive};
        QCOMPARE(seen, expected);
    }

    void runsTheHandlerAfterTellingTheControls()
    {
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QStringList order;
        connect(&source, &TDataSource::stateChanged, this, [&] { order << QStringLiteral("controls"); });
        source.onStateChange = [&](TDataSource &sender) {
            QCOMPARE(&sender, &source);
            order << QStringLiteral("handler:") + QString::number(int(sender.state()));
        };

        list->edit();

        QCOMPARE(order, (QStringList{QStringLiteral("controls"),
                                     QStringLiteral("handler:") + QString::number(int(RecordList::State::Edit))}));
    }

    void aFailingHandlerIsReportedAndDoesNotEscape_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QStringList>("shownTexts");
        QTest::newRow("error") << false << QStringList{QStringLiteral("Falha no estado")};
        QTest::newRow("abort") << true << QStringList{};
    }

    void aFailingHandlerIsReportedAndDoesNotEscape()
    {
        QFETCH(bool, silent);
        QFETCH(QStringList, shownTexts);
        ScriptedDialogs dialogs;
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        source.onStateChange = [silent](TDataSource &) {
            if (silent) {
                throw Abort();
            }
            throw std::runtime_error("Falha no estado");
        };

        list->edit();

        QCOMPARE(list->state(), RecordList::State::Edit);
        QCOMPARE(dialogs.shownTexts(), shownTexts);
    }

    void calculatingRecordsIsNoStateChange()
    {
        auto list = std::make_unique<RecordList>(QStringLiteral("cdsCalc"));
        list->addField(QStringLiteral("CODE"), FieldType::Text, 4);
        list->addField(QStringLiteral("NAME"), FieldType::Text, 30);
        list->addCalculatedField(QStringLiteral("LABEL"), FieldType::Text, 40);
        list->onCalcFields = [](RecordList &records) {
            records.fieldByName(QStringLiteral("LABEL")).setAsString(records.fieldByName(QStringLiteral("NAME")).asString());
        };
        TDataSource source;
        source.setDataSet(list.get());
        QList<RecordList::State> handled;
        source.onStateChange = [&](TDataSource &sender) { handled << sender.state(); };

        list->loadPacket(codeNamePacket(fourBranches()));

        QCOMPARE(handled, QList<RecordList::State>{RecordList::State::Browse});
    }

    void relaysDataAndCurrentRecord()
    {
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QSignalSpy data(&source, &TDataSource::dataChanged);
        QSignalSpy current(&source, &TDataSource::currentChanged);

        list->moveTo(2);
        QCOMPARE(current.count(), 1);
        QCOMPARE(data.count(), 0);

        list->edit();
        list->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Centro Novo"));
        list->post();
        QVERIFY(data.count() >= 1);

        data.clear();
        list->loadPacket(codeNamePacket({{QStringLiteral("0009"), QStringLiteral("Nova")}}));
        QVERIFY(data.count() >= 1);
        QVERIFY(current.count() >= 2);
    }

    void unbindingOrFreeingTheListLeavesItInactive_data()
    {
        QTest::addColumn<bool>("freeList");
        QTest::newRow("unbound") << false;
        QTest::newRow("freed") << true;
    }

    void unbindingOrFreeingTheListLeavesItInactive()
    {
        QFETCH(bool, freeList);
        auto list = makeCodeNameList(fourBranches());
        TDataSource source;
        source.setDataSet(list.get());
        QList<RecordList::State> handled;
        source.onStateChange = [&](TDataSource &sender) { handled << sender.state(); };

        if (freeList) {
            list.reset();
        } else {
            source.setDataSet(nullptr);
        }

        QCOMPARE(source.dataSet(), nullptr);
        QCOMPARE(handled, QList<RecordList::State>{RecordList::State::Inactive});
    }

    void anotherListNoLongerRelaysTheFirst()
    {
        auto first = makeCodeNameList(fourBranches(), QStringLiteral("cdsPrimeira"));
        auto second = makeCodeNameList(fourBranches(), QStringLiteral("cdsSegunda"));
        TDataSource source;
        source.setDataSet(first.get());
        source.setDataSet(second.get());
        QSignalSpy states(&source, &TDataSource::stateChanged);

        first->edit();
        QCOMPARE(states.count(), 0);
        second->edit();
        QCOMPARE(states.count(), 1);
    }
};

QTEST_MAIN(TestDataSource)
#include "tst_datasource.moc"

#include "RecordList.h"

#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

namespace {

DataPacket quotePacket()
{
    DataPacket packet;
    packet.fields = {{"CDFILIAL", FieldType::Text, 4},
                     {"NRORCA", FieldType::Text, 10},
                     {"QTITEM", FieldType::Integer, 0},
                     {"VRITEM", FieldType::Float, 0},
                     {"DTEVENTO", FieldType::DateTime, 0}};
    packet.rows = {{QStringLiteral("0001"), QStringLiteral("0000000001"), qint64(2), 10.5, 45366.0},
                   {QStringLiteral("0001"), QStringLiteral("0000000002"), qint64(3), 100.0, 45366.5},
                   {QStringLiteral("0002"), QStringLiteral("0000000003"), qint64(1), 1234.5, QVariant()}};
    return packet;
}

// A list declared the way the screens declare theirs: data fields with
// labels and formats, and a calculated total.
struct QuoteList {
    RecordList list{QStringLiteral("cdsOrcamento")};
    QStringList events;

    QuoteList()
    {
        list.addField("CDFILIAL", FieldType::Text, 4).setDisplayLabel(QStringLiteral("Filial"));
        list.addField("NRORCA", FieldType::Text, 10);
        list.addField("QTITEM", FieldType::Integer);
        list.addField("VRITEM", FieldType::Float).setDisplayFormat(QStringLiteral("#,##0.00"));
        list.addField("DTEVENTO", FieldType::DateTime);
        list.addCalculatedField("VRTOTAL", FieldType::Float);
        list.onCalcFields = [](RecordList &l) {
            l.fieldByName("VRTOTAL").setAsFloat(l.fieldByName("QTITEM").asFloat() * l.fieldByName("VRITEM").asFloat());
        };
    }

    void record()
    {
        const auto log = [this](const char *code) { return [this, code](RecordList &) { events << code; }; };
        list.beforeOpen = log("BO");
        list.afterOpen = log("AO");
        list.beforeClose = log("BC");
        list.afterClose = log("AC");
        list.beforeScroll = log("BS");
        list.afterScroll = log("AS");
        list.beforeEdit = log("BE");
        list.afterEdit = log("AE");
        list.beforeInsert = log("BI");
        list.afterInsert = log("AI");
        list.onNewRecord = log("NR");
        list.beforePost = log("BP");
        list.afterPost = log("AP");
        list.beforeCancel = log("BCa");
        list.afterCancel = log("ACa");
        list.beforeDelete = log("BD");
        list.afterDelete = log("AD");
        const auto calc = list.onCalcFields;
        list.onCalcFields = [this, calc](RecordList &l) {
            events << QStringLiteral("CF");
            calc(l);
        };
        QObject::connect(&list, &RecordList::stateChanged, &list, [this](RecordList::State state) {
            static const char *const names[] = {"sX", "sB", "sE", "sI", "sC"};
            events << names[static_cast<int>(state)];
        });
    }

    QString takeEvents()
    {
        const QString joined = events.join(u',');
        events.clear();
        return joined;
    }
};

struct Snapshot {
    RecordList::State state;
    int recNo;
    int count;
    QList<QVariantList> rows;
    int changes;

    explicit Snapshot(const RecordList &list)
        : state(list.state()), recNo(list.recNo()), count(list.recordCount()), rows(list.packet().rows),
          changes(list.changeCount())
    {
    }
    bool operator==(const Snapshot &) const = default;
};

} // namespace

class TestRecordList final : public QObject {
    Q_OBJECT
private slots:
    void orderIsStableKeepsTheCurrentAndOutlivesLoads_data();
    void orderIsStableKeepsTheCurrentAndOutlivesLoads();
    void stateChangedFollowsEveryChange();
    void eventOrder_data();
    void eventOrder();
    void throwingBeforeEventLeavesTheListUnchanged_data();
    void throwingBeforeEventLeavesTheListUnchanged();
    void failingNewRecordDefaultsDropTheNewRecord();
    void navigationSetsBofAndEof();
    void emptyListIsBofAndEof();
    void moveToOutsideTheListThrows();
    void writesOutsideEditingThrow_data();
    void writesOutsideEditingThrow();
    void calculatedFieldsFollowLoadPostAndInsert();
    void calculationRunsOncePerRecordAndIsCached();
    void getTextHookSeesTheRowItIsAskedAbout();
    void setTextHookReceivesTheText();
    void displayFormats_data();
    void displayFormats();
    void maskedCodesShowThroughTheirMask_data();
    void maskedCodesShowThroughTheirMask();
    void textConversions_data();
    void textConversions();
    void textLongerThanTheSizeIsKept();
    void requiredFieldBlocksThePost();
    void declaredFieldsSurviveLoadsAndMatchByName();
    void packetCreatesFieldsForAnUndeclaredList();
    void editOnAnEmptyListStartsANewRecord();
    void oldValueIsTheValueBeforeThePendingEdit();
    void declaringFieldsOnAnOpenListIsRefused();
    void insertPutsTheRecordBeforeTheCurrentOne();
    void removeKeepsTheRowPositionForTheNextRecord();
    void failingCalculationLeavesTheListClosed();
    void packetValuesTakeTheDeclaredType();
    void refreshTakesOthersValuesButNeverTheOperators_data();
    void refreshTakesOthersValuesButNeverTheOperators();
};

void TestRecordList::stateChangedFollowsEveryChange()
{
    QuoteList q;
    QSignalSpy spy(&q.list, &RecordList::stateChanged);
    q.list.loadPacket(quotePacket());
    q.list.edit();
    q.list.post();
    q.list.append();
    q.list.cancel();
    q.list.insert();
    q.list.fieldByName("CDFILIAL").setValue(QStringLiteral("0003"));
    q.list.post();
    q.list.close();
    QList<RecordList::State> states;
    for (const QList<QVariant> &arguments : spy) {
        states << arguments.at(0).value<RecordList::State>();
    }
    using S = RecordList::State;
    QCOMPARE(states, (QList<S>{S::Browse, S::Edit, S::Browse, S::Insert, S::Browse, S::Insert, S::Browse, S::Inactive}));
}

void TestRecordList::eventOrder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("expected");
    QTest::newRow("open") << "" << "load" << "BO,CF,CF,CF,sB,AO,AS";
    QTest::newRow("open empty") << "" << "loadEmpty" << "BO,sB,AO";
    QTest::newRow("create") << "" << "create" << "BO,sB,AO";
    QTest::newRow("reload") << "load" << "load" << "BC,sX,AC,BO,CF,CF,CF,sB,AO,AS";
    QTest::newRow("close") << "load" << "close" << "BC,sX,AC";
    QTest::newRow("edit") << "load" << "edit" << "BE,sE,AE";
    QTest::newRow("edit twice") << "load,edit" << "edit" << "";
    QTest::newRow("post edit") << "load,edit,change" << "post" << "BP,CF,sB,AP";
    QTest::newRow("cancel edit") << "load,edit,change" << "cancel" << "BCa,sB,ACa";
    QTest::newRow("insert") << "load" << "insert" << "BI,BS,NR,CF,sI,AI,AS";
    QTest::newRow("append") << "load" << "append" << "BI,BS,NR,CF,sI,AI,AS";
    QTest::newRow("insert while editing") << "load,edit" << "insert" << "BP,CF,sB,AP,BI,BS,NR,CF,sI,AI,AS";
    QTest::newRow("post insert") << "load,insert" << "post" << "BP,CF,sB,AP";
    QTest::newRow("cancel insert") << "load,insert" << "cancel" << "BCa,sB,ACa";
    QTest::newRow("remove") << "load" << "remove" << "BD,AD,AS";
    QTest::newRow("remove while editing") << "load,edit" << "remove" << "BD,sB,AD,AS";
    QTest::newRow("remove while inserting cancels") << "load,insert" << "remove" << "BCa,sB,ACa";
    QTest::newRow("next") << "load" << "next" << "BS,AS";
    QTest::newRow("next at the end") << "load,last" << "next" << "";
    QTest::newRow("prior at the start") << "load" << "prior" << "";
    QTest::newRow("last") << "load" << "last" << "BS,AS";
    QTest::newRow("first when first") << "load" << "first" << "";
    QTest::newRow("next while editing") << "load,edit,change" << "next" << "BP,CF,sB,AP,BS,AS";
    QTest::newRow("moveTo") << "load" << "moveTo2" << "BS,AS";
    QTest::newRow("post in browse") << "load" << "post" << "";
    QTest::newRow("cancel in browse") << "load" << "cancel" << "";
}

void TestRecordList::eventOrder()
{
    QFETCH(QString, setup);
    QFETCH(QString, operation);
    QFETCH(QString, expected);
    QuoteList q;
    q.record();
    const auto run = [&q](const QString &step) {
        if (step == u"load") {
            q.list.loadPacket(quotePacket());
        } else if (step == u"loadEmpty") {
            DataPacket empty = quotePacket();
            empty.rows.clear();
            q.list.loadPacket(empty);
        } else if (step == u"create") {
            q.list.createDataSet();
        } else if (step == u"close") {
            q.list.close();
        } else if (step == u"edit") {
            q.list.edit();
        } else if (step == u"change") {
            q.list.fieldByName("VRITEM").setAsFloat(99.0);
        } else if (step == u"post") {
            q.list.post();
        } else if (step == u"cancel") {
            q.list.cancel();
        } else if (step == u"insert") {
            q.list.insert();
        } else if (step == u"append") {
            q.list.append();
        } else if (step == u"remove") {
            q.list.remove();
        } else if (step == u"next") {
            q.list.next();
        } else if (step == u"prior") {
            q.list.prior();
        } else if (step == u"first") {
            q.list.first();
        } else if (step == u"last") {
            q.list.last();
        } else if (step == u"moveTo2") {
            q.list.moveTo(2);
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    };
    for (const QString &step : setup.split(u',', Qt::SkipEmptyParts)) {
        run(step);
    }
    q.takeEvents();
    run(operation);
    QCOMPARE(q.takeEvents(), expected);
}

void TestRecordList::throwingBeforeEventLeavesTheListUnchanged_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("editFirst");
    QTest::newRow("beforeEdit") << "beforeEdit" << false;
    QTest::newRow("beforeInsert") << "beforeInsert" << false;
    QTest::newRow("beforeScroll on insert") << "beforeScroll" << false;
    QTest::newRow("beforePost") << "beforePost" << true;
    QTest::newRow("beforeCancel") << "beforeCancel" << true;
    QTest::newRow("beforeDelete") << "beforeDelete" << false;
    QTest::newRow("beforeDelete while editing") << "beforeDelete" << true;
    QTest::newRow("beforeClose") << "beforeClose" << false;
    QTest::newRow("beforeScroll on next") << "beforeScroll" << false;
}

void TestRecordList::throwingBeforeEventLeavesTheListUnchanged()
{
    QFETCH(QString, event);
    QFETCH(bool, editFirst);
    QuoteList q;
    q.list.loadPacket(quotePacket());
    q.list.next();
    if (editFirst) {
        q.list.edit();
        q.list.fieldByName("VRITEM").setAsFloat(7.0);
    }
    const auto refuse = [](RecordList &) { throw std::runtime_error("recusado"); };
    const QHash<QString, RecordList::Event *> events{{"beforeEdit", &q.list.beforeEdit},
                                                    {"beforeInsert", &q.list.beforeInsert},
                                                    {"beforeScroll", &q.list.beforeScroll},
                                                    {"beforePost", &q.list.beforePost},
                                                    {"beforeCancel", &q.list.beforeCancel},
                                                    {"beforeDelete", &q.list.beforeDelete},
                                                    {"beforeClose", &q.list.beforeClose}};
    *events.value(event) = refuse;
    const Snapshot before(q.list);
    QSignalSpy states(&q.list, &RecordList::stateChanged);
    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, [&] {
        if (event == u"beforeEdit") {
            q.list.edit();
        } else if (event == u"beforeInsert" || tag.endsWith(u"insert")) {
            q.list.insert();
        } else if (event == u"beforePost") {
            q.list.post();
        } else if (event == u"beforeCancel") {
            q.list.cancel();
        } else if (event == u"beforeDelete") {
            q.list.remove();
        } else if (event == u"beforeClose") {
            q.list.close();
        } else {
            q.list.next();
        }
    }());
    QVERIFY(Snapshot(q.list) == before);
    QCOMPARE(states.count(), 0);
    if (editFirst) {
        QCOMPARE(q.list.fieldByName("VRITEM").asFloat(), 7.0);
    }
}

void TestRecordList::failingNewRecordDefaultsDropTheNewRecord()
{
    QuoteList q;
    q.list.loadPacket(quotePacket());
    q.list.moveTo(1);
    q.list.onNewRecord = [](RecordList &l) {
        l.fieldByName("CDFILIAL").setValue(QStringLiteral("0009"));
        throw std::runtime_error("sem padrão");
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, q.list.insert());
    QCOMPARE(q.list.state(), RecordList::State::Browse);
    QCOMPARE(q.list.recordCount(), 3);
    QCOMPARE(q.list.recNo(), 1);
    QCOMPARE(q.list.fieldByName("NRORCA").asString(), QStringLiteral("0000000002"));
}

void TestRecordList::navigationSetsBofAndEof()
{
    QuoteList q;
    q.list.loadPacket(quotePacket());
    struct Step {
        void (RecordList::*move)();
        int recNo;
        bool bof;
        bool eof;
    };
    const Step steps[] = {{&RecordList::next, 1, false, false},  {&RecordList::next, 2, false, false},
                          {&RecordList::next, 2, false, true},   {&RecordList::prior, 1, false, false},
                          {&RecordList::first, 0, true, false},  {&RecordList::prior, 0, true, false},
                          {&RecordList::last, 2, false, true}};
    QVERIFY(q.list.bof());
    QVERIFY(!q.list.eof());
    for (const Step &step : steps) {
        (q.list.*step.move)();
        QCOMPARE(q.list.recNo(), step.recNo);
        QCOMPARE(q.list.bof(), step.bof);
        QCOMPARE(q.list.eof(), step.eof);
    }
}

void TestRecordList::emptyListIsBofAndEof()
{
    QuoteList q;
    q.list.createDataSet();
    QVERIFY(q.list.bof());
    QVERIFY(q.list.eof());
    QCOMPARE(q.list.recNo(), -1);
    q.list.next();
    QVERIFY(q.list.eof());
    QVERIFY(q.list.fieldByName("CDFILIAL").isNull());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, q.list.remove());
}

void TestRecordList::moveToOutsideTheListThrows()
{
    QuoteList q;
    q.list.loadPacket(quotePacket());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, q.list.moveTo(3));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, q.list.moveTo(-1));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, RecordList("cdsVazio").next());
}

void TestRecordList::writesOutsideEditingThrow_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("message");
    QTest::newRow("browse") << "CDFILIAL" << false << QStringLiteral("Lista cdsOrcamento não está em edição.");
    QTest::newRow("read-only") << "NRORCA" << true << QStringLiteral("O campo NRORCA é somente leitura.");
    QTest::newRow("calculated") << "VRTOTAL" << true << QStringLiteral("O campo VRTOTAL é calculado e não pode ser alterado.");
}

void TestRecordList::writesOutsideEditingThrow()
{
    QFETCH(QString, fieldName);
    QFETCH(bool, editing);
    QFETCH(QString, message);
    QuoteList q;
    q.list.fieldByName("NRORCA").setReadOnly(true);
    q.list.loadPacket(quotePacket());
    if (editing) {
        q.list.edit();
    }
    const QVariant before = q.list.valueAt(0, q.list.fieldByName(fieldName).index());
    try {
        q.list.fieldByName(fieldName).setValue(QStringLiteral("1"));
        QFAIL("the write was accepted");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
    QCOMPARE(q.list.valueAt(0, q.list.fieldByName(fieldName).index()), before);
}

void TestRecordList::calculatedFieldsFollowLoadPostAndInsert()
{
    QuoteList q;
    // A second calculation that depends on the first one's result.
    q.list.addCalculatedField("VRCOMTAXA", FieldType::Float);
    const auto total = q.list.onCalcFields;
    q.list.onCalcFields = [total](RecordList &l) {
        total(l);
        l.fieldByName("VRCOMTAXA").setAsFloat(l.fieldByName("VRTOTAL").asFloat() * 1.1);
    };
    q.list.onNewRecord = [](RecordList &l) {
        l.fieldByName("QTITEM").setAsInteger(4);
        l.fieldByName("VRITEM").setAsFloat(5.0);
    };
    q.list.loadPacket(quotePacket());
    const int total_ = q.list.fieldByName("VRTOTAL").index();
    const int withFee = q.list.fieldByName("VRCOMTAXA").index();
    QCOMPARE(q.list.valueAt(0, total_).toDouble(), 21.0);
    QCOMPARE(q.list.valueAt(1, total_).toDouble(), 300.0);
    QCOMPARE(q.list.valueAt(2, total_).toDouble(), 1234.5);
    QCOMPARE(q.list.valueAt(1, withFee).toDouble(), 330.0);

    q.list.moveTo(1);
    q.list.edit();
    q.list.fieldByName("QTITEM").setAsInteger(10);
    QCOMPARE(q.list.fieldByName("VRTOTAL").asFloat(), 300.0); // recalculated only when posted
    q.list.post();
    QCOMPARE(q.list.fieldByName("VRTOTAL").asFloat(), 1000.0);
    QCOMPARE(q.list.fieldByName("VRCOMTAXA").asFloat(), 1100.0);

    q.list.append();
    QCOMPARE(q.list.fieldByName("VRTOTAL").asFloat(), 20.0);
    q.list.cancel();
    QCOMPARE(q.list.recordCount(), 3);
}

void TestRecordList::calculationRunsOncePerRecordAndIsCached()
{
    QuoteList q;
    int runs = 0;
    const auto total = q.list.onCalcFields;
    q.list.onCalcFields = [&runs, total](RecordList &l) {
        ++runs;
        QCOMPARE(l.state(), RecordList::State::CalcFields);
        total(l);
    };
    q.list.loadPacket(quotePacket());
    QCOMPARE(runs, 3);
    for (int row = 0; row < 3; ++row) {
        q.list.displayTextAt(row, q.list.fieldByName("VRTOTAL").index());
        q.list.moveTo(row);
        q.list.fieldByName("VRTOTAL").asFloat();
    }
    QCOMPARE(runs, 3);
    QCOMPARE(q.list.state(), RecordList::State::Browse);
}

void TestRecordList::getTextHookSeesTheRowItIsAskedAbout()
{
    QuoteList q;
    Field &branch = q.list.fieldByName("CDFILIAL");
    branch.setOnGetText([](const Field &field, bool display) {
        const QString number = field.recordList().fieldByName("NRORCA").asString();
        return (display ? QStringLiteral("Filial ") : QStringLiteral("edit ")) + field.asString() + u'/' + number;
    });
    q.list.loadPacket(quotePacket());
    QCOMPARE(q.list.displayTextAt(2, branch.index()), QStringLiteral("Filial 0002/0000000003"));
    QCOMPARE(q.list.editTextAt(1, branch.index()), QStringLiteral("edit 0001/0000000002"));
    QCOMPARE(q.list.recNo(), 0);
    QCOMPARE(branch.displayText(), QStringLiteral("Filial 0001/0000000001"));
    QCOMPARE(q.list.fieldByName("NRORCA").asString(), QStringLiteral("0000000001"));
}

void TestRecordList::setTextHookReceivesTheText()
{
    QuoteList q;
    q.list.fieldByName("CDFILIAL").setOnSetText([](Field &field, const QString &text) {
        field.setValue(text.trimmed().rightJustified(4, u'0'));
    });
    q.list.loadPacket(quotePacket());
    q.list.edit();
    q.list.fieldByName("CDFILIAL").setText(QStringLiteral(" 7 "));
    QCOMPARE(q.list.fieldByName("CDFILIAL").asString(), QStringLiteral("0007"));
    q.list.fieldByName("NRORCA").setText(QStringLiteral("123"));
    QCOMPARE(q.list.fieldByName("NRORCA").asString(), QStringLiteral("123"));
}

void TestRecordList::displayFormats_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("edit");
    QTest::newRow("money") << FieldType::Float << "#,##0.00" << QVariant(1234.5) << "1.234,50" << "1234,5";
    QTest::newRow("negative money") << FieldType::Float << "#,##0.00" << QVariant(-0.5) << "-0,50" << "-0,5";
    QTest::newRow("millions") << FieldType::Float << "#,##0.00" << QVariant(1234567.891) << "1.234.567,89" << "1234567,891";
    QTest::newRow("zero") << FieldType::Float << "#,##0.00" << QVariant(0.0) << "0,00" << "0";
    QTest::newRow("rounds to zero, no sign") << FieldType::Float << "#,##0.00" << QVariant(-0.001) << "0,00" << "-0,001";
    QTest::newRow("quantity") << FieldType::Float << "#,##0.000" << QVariant(1234.5678) << "1.234,568" << "1234,5678";
    QTest::newRow("no grouping") << FieldType::Float << "0.00" << QVariant(1234.5) << "1234,50" << "1234,5";
    QTest::newRow("optional decimals") << FieldType::Float << "#,##0.##" << QVariant(2.5) << "2,5" << "2,5";
    QTest::newRow("prefix") << FieldType::Float << "R$ #,##0.00" << QVariant(5.0) << "R$ 5,00" << "5";
    QTest::newRow("no format") << FieldType::Float << "" << QVariant(1234.5) << "1234,5" << "1234,5";
    QTest::newRow("null float") << FieldType::Float << "#,##0.00" << QVariant() << "" << "";
    QTest::newRow("integer plain") << FieldType::Integer << "" << QVariant(qint64(1234)) << "1234" << "1234";
    QTest::newRow("integer grouped") << FieldType::Integer << "#,##0" << QVariant(qint64(1234)) << "1.234" << "1234";
    QTest::newRow("date") << FieldType::DateTime << "" << QVariant(45366.0) << "15/03/2024" << "15/03/2024";
    QTest::newRow("date and time") << FieldType::DateTime << "" << QVariant(45366.5) << "15/03/2024 12:00" << "15/03/2024 12:00:00";
    QTest::newRow("empty date") << FieldType::DateTime << "" << QVariant() << "" << "";
    QTest::newRow("date own format") << FieldType::DateTime << "MM/yyyy" << QVariant(45366.0) << "03/2024" << "15/03/2024";
    QTest::newRow("text") << FieldType::Text << "" << QVariant(QStringLiteral("Ação")) << "Ação" << "Ação";
    QTest::newRow("memo") << FieldType::Blob << "" << QVariant(QStringLiteral("Justificação").toUtf8()) << "Justificação" << "Justificação";
}

void TestRecordList::maskedCodesShowThroughTheirMask_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("display");
    QTest::newRow("product code") << "99.999.9999;_" << "010010003" << "01.001.0003";
    QTest::newRow("code longer than the mask") << "99.999;_" << "010010003" << "01.001";
    QTest::newRow("cpf") << "999.999.999-99;_" << "12345678901" << "123.456.789-01";
    QTest::newRow("already formatted") << "999.999.999-99;_" << "123.456.789-01" << "123.456.789-01";
    QTest::newRow("no mask") << "" << "010010003" << "010010003";
    QTest::newRow("empty code") << "99.999.9999;_" << "" << "";
}

void TestRecordList::maskedCodesShowThroughTheirMask()
{
    QFETCH(QString, mask);
    QFETCH(QString, raw);
    QFETCH(QString, display);
    RecordList list(QStringLiteral("cdsItens"));
    Field &field = list.addField("CDARVPROD", FieldType::Text, 20);
    field.setEditMask(mask);
    list.createDataSet();
    list.append();
    field.setAsString(raw);
    list.post();
    QCOMPARE(field.displayText(), display);
    QCOMPARE(list.displayTextAt(0, 0), display);
    QCOMPARE(field.text(), raw); // the edit keeps the raw code for the masked edit
}

void TestRecordList::displayFormats()
{
    QFETCH(FieldType, type);
    QFETCH(QString, format);
    QFETCH(QVariant, value);
    QFETCH(QString, display);
    QFETCH(QString, edit);
    RecordList list(QStringLiteral("cdsTeste"));
    Field &field = list.addField("CAMPO", type);
    field.setDisplayFormat(format);
    list.createDataSet();
    list.append();
    field.setValue(value);
    list.post();
    QCOMPARE(field.displayText(), display);
    QCOMPARE(field.text(), edit);
    QCOMPARE(list.displayTextAt(0, 0), display);
    QCOMPARE(field.asString(), edit);
}

void TestRecordList::textConversions_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("brazilian number") << FieldType::Float << "1.234,5" << QVariant(1234.5);
    QTest::newRow("decimal comma") << FieldType::Float << "0,25" << QVariant(0.25);
    QTest::newRow("decimal point") << FieldType::Float << "1234.5" << QVariant(1234.5);
    QTest::newRow("thousands point wins") << FieldType::Float << "1.234" << QVariant(1234.0);
    QTest::newRow("point that cannot group") << FieldType::Float << "1.5" << QVariant(1.5);
    QTest::newRow("empty number") << FieldType::Float << "" << QVariant();
    QTest::newRow("integer") << FieldType::Integer << "42" << QVariant(qint64(42));
    QTest::newRow("date") << FieldType::DateTime << "15/03/2024" << QVariant(45366.0);
    QTest::newRow("date and time") << FieldType::DateTime << "15/03/2024 18:00" << QVariant(45366.75);
    QTest::newRow("masked empty date") << FieldType::DateTime << "  /  /    " << QVariant();
    QTest::newRow("empty text stays text") << FieldType::Text << "" << QVariant(QString(""));
}

void TestRecordList::textConversions()
{
    QFETCH(FieldType, type);
    QFETCH(QString, text);
    QFETCH(QVariant, value);
    RecordList list(QStringLiteral("cdsTeste"));
    Field &field = list.addField("CAMPO", type);
    list.createDataSet();
    list.append();
    field.setAsString(text);
    QCOMPARE(field.value().isValid(), value.isValid());
    QCOMPARE(field.value(), value);
}

void TestRecordList::textLongerThanTheSizeIsKept()
{
    QuoteList q;
    q.list.loadPacket(quotePacket());
    q.list.edit();
    q.list.fieldByName("CDFILIAL").setAsString(QStringLiteral("000123"));
    q.list.post();
    QCOMPARE(q.list.fieldByName("CDFILIAL").asString(), QStringLiteral("000123"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, [&] {
        q.list.edit();
        q.list.fieldByName("VRITEM").setAsString(QStringLiteral("doze"));
    }());
}

void TestRecordList::requiredFieldBlocksThePost()
{
    QuoteList q;
    q.list.fieldByName("CDFILIAL").setRequired(true);
    q.list.loadPacket(quotePacket());
    q.list.append();
    try {
        q.list.post();
        QFAIL("a record without its required field was posted");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("O campo \"Filial\" precisa ser preenchido."));
    }
    QCOMPARE(q.list.state(), RecordList::State::Insert);
    q.list.fieldByName("CDFILIAL").setAsString(QStringLiteral("0003"));
    q.list.post();
    QCOMPARE(q.list.recordCount(), 4);
}

void TestRecordList::declaredFieldsSurviveLoadsAndMatchByName()
{
    RecordList list(QStringLiteral("cdsItem"));
    list.addField("VRITEM", FieldType::Float).setDisplayLabel(QStringLiteral("Preço"));
    list.addField("CDEXTRA", FieldType::Text, 3);
    list.addField("cdfilial", FieldType::Text, 4);
    list.loadPacket(quotePacket());
    QCOMPARE(list.fieldCount(), 3);
    QCOMPARE(list.fieldByName("VRITEM").displayLabel(), QStringLiteral("Preço"));
    QCOMPARE(list.valueAt(2, 0).toDouble(), 1234.5);
    QVERIFY(!list.valueAt(0, 1).isValid());
    QCOMPARE(list.valueAt(2, 2).toString(), QStringLiteral("0002"));
    list.close();
    list.loadPacket(quotePacket());
    QCOMPARE(list.fieldByName("VRITEM").displayLabel(), QStringLiteral("Preço"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, list.fieldByName("NRORCA"));
}

void TestRecordList::packetCreatesFieldsForAnUndeclaredList()
{
    RecordList list(QStringLiteral("cdsParam"));
    list.loadPacket(quotePacket());
    QCOMPARE(list.dataFieldDefs(), quotePacket().fields);
    QCOMPARE(list.packet().rows, quotePacket().rows);
    Field *kept = list.findField("CDFILIAL");
    kept->setDisplayLabel(QStringLiteral("Filial"));
    list.loadPacket(quotePacket());
    QCOMPARE(list.findField("CDFILIAL"), kept);
    QCOMPARE(kept->displayLabel(), QStringLiteral("Filial"));
}

void TestRecordList::editOnAnEmptyListStartsANewRecord()
{
    QuoteList q;
    q.list.createDataSet();
    q.list.edit();
    QCOMPARE(q.list.state(), RecordList::State::Insert);
    QCOMPARE(q.list.recordCount(), 1);
    QCOMPARE(q.list.recNo(), 0);
}

void TestRecordList::oldValueIsTheValueBeforeThePendingEdit()
{
    QuoteList q;
    q.list.loadPacket(quotePacket());
    Field &numero = q.list.fieldByName("NRORCA");
    q.list.edit();
    numero.setAsString(QStringLiteral("X"));
    QCOMPARE(numero.oldValue().toString(), QStringLiteral("0000000001"));
    q.list.post();
    QCOMPARE(numero.oldValue().toString(), QStringLiteral("X"));
    q.list.edit();
    numero.setAsString(QStringLiteral("Y"));
    q.list.cancel();
    QCOMPARE(numero.oldValue().toString(), QStringLiteral("X"));
    q.list.append();
    QCOMPARE(numero.oldValue(), numero.value());
}

void TestRecordList::declaringFieldsOnAnOpenListIsRefused()
{
    QuoteList q;
    q.list.createDataSet();
    QVERIFY_THROWS_EXCEPTION(std::logic_error, q.list.addField("NOVO", FieldType::Text, 1));
    q.list.close();
    QCOMPARE(q.list.addField("NOVO", FieldType::Text, 1).index(), 6);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, q.list.addField("novo", FieldType::Text, 1));
}

void TestRecordList::insertPutsTheRecordBeforeTheCurrentOne()
{
    QuoteList q;
    q.list.loadPacket(quotePacket());
    q.list.moveTo(1);
    QSignalSpy inserted(&q.list, &RecordList::rowInserted);
    q.list.insert();
    QCOMPARE(inserted.takeFirst().at(0).toInt(), 1);
    QCOMPARE(q.list.recNo(), 1);
    q.list.fieldByName("NRORCA").setAsString(QStringLiteral("novo"));
    q.list.post();
    QCOMPARE(q.list.valueAt(1, 1).toString(), QStringLiteral("novo"));
    QCOMPARE(q.list.valueAt(2, 1).toString(), QStringLiteral("0000000002"));
    q.list.append();
    QCOMPARE(inserted.takeFirst().at(0).toInt(), 4);
    q.list.cancel();
    QCOMPARE(q.list.recNo(), 1); // back on the record current before the append
}

void TestRecordList::removeKeepsTheRowPositionForTheNextRecord()
{
    QuoteList q;
    q.list.loadPacket(quotePacket());
    q.list.moveTo(1);
    QSignalSpy removed(&q.list, &RecordList::rowRemoved);
    q.list.remove();
    QCOMPARE(removed.takeFirst().at(0).toInt(), 1);
    QCOMPARE(q.list.fieldByName("NRORCA").asString(), QStringLiteral("0000000003"));
    q.list.remove();
    QCOMPARE(q.list.recNo(), 0);
    q.list.remove();
    QCOMPARE(q.list.recNo(), -1);
    QVERIFY(q.list.bof() && q.list.eof());
}

void TestRecordList::failingCalculationLeavesTheListClosed()
{
    QuoteList q;
    q.list.onCalcFields = [](RecordList &) { throw std::runtime_error("cálculo falhou"); };
    QSignalSpy aboutToReset(&q.list, &RecordList::aboutToReset);
    QSignalSpy reset(&q.list, &RecordList::reset);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, q.list.loadPacket(quotePacket()));
    QVERIFY(!q.list.isActive());
    QCOMPARE(q.list.recordCount(), 0);
    QCOMPARE(aboutToReset.count(), 1);
    QCOMPARE(reset.count(), 1);
}

void TestRecordList::packetValuesTakeTheDeclaredType()
{
    RecordList list(QStringLiteral("cdsParam"));
    list.addField("QTITEM", FieldType::Float);
    list.addField("VRITEM", FieldType::Integer);
    list.addField("NRORCA", FieldType::Integer);
    list.loadPacket(quotePacket());
    QCOMPARE(list.valueAt(1, 0), QVariant(3.0));
    QCOMPARE(list.valueAt(2, 1), QVariant(qint64(1235)));
    QCOMPARE(list.valueAt(2, 2), QVariant(qint64(3)));
    DataPacket bad = quotePacket();
    bad.rows[0][1] = QStringLiteral("A1");
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, list.loadPacket(bad));
}

void TestRecordList::orderIsStableKeepsTheCurrentAndOutlivesLoads_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<Qt::SortOrder>("direction");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("text: empty first, case and accents break ties, digits as numbers")
        << "NOME" << Qt::AscendingOrder << QList<int>{3, 4, 2, 1, 0};
    QTest::newRow("text, descending") << "NOME" << Qt::DescendingOrder << QList<int>{0, 1, 2, 4, 3};
    QTest::newRow("number: empty first, ties in the list's own order")
        << "VALOR" << Qt::AscendingOrder << QList<int>{1, 3, 0, 2, 4};
    QTest::newRow("number, descending: ties still in the list's own order")
        << "VALOR" << Qt::DescendingOrder << QList<int>{0, 2, 4, 3, 1};
    QTest::newRow("a state by the word shown, not its code") << "SITU" << Qt::AscendingOrder << QList<int>{1, 4, 2, 0, 3};
    QTest::newRow("the list's own order") << "" << Qt::AscendingOrder << QList<int>{0, 1, 2, 3, 4};
}

void TestRecordList::orderIsStableKeepsTheCurrentAndOutlivesLoads()
{
    QFETCH(QString, field);
    QFETCH(Qt::SortOrder, direction);
    QFETCH(QList<int>, ids);
    DataPacket packet;
    packet.fields = {{"ID", FieldType::Integer}, {"NOME", FieldType::Text, 20}, {"VALOR", FieldType::Float},
                     {"SITU", FieldType::Text, 1}};
    packet.rows = {{qint64(0), "sala 10", 5.0, "1"},  {qint64(1), "Sala 2", QVariant(), "2"},
                   {qint64(2), "Álvaro", 5.0, "8"},   {qint64(3), "", -1.0, "1"},
                   {qint64(4), "alvaro", 5.0, "2"}};
    RecordList list(QStringLiteral("cdsOrdem"));
    const QHash<QString, QString> words{{"1", "Pendente"}, {"2", "Aprovado"}, {"8", "Cancelado"}};
    list.loadPacket(packet);
    list.fieldByName("SITU").setOnGetText([&words](const Field &f, bool) { return words.value(f.asString()); });
    list.setOrder(QStringLiteral("VALOR"), Qt::DescendingOrder); // the way back to the own order is tested too
    list.moveTo(2);
    const qint64 current = list.fieldByName("ID").asInteger();
    const auto order = [&list] {
        QList<int> shown;
        for (int row = 0; row < list.recordCount(); ++row) {
            shown << list.valueAt(row, 0).toInt();
        }
        return shown;
    };
    list.setOrder(field, direction);
    QCOMPARE(order(), ids);
    QCOMPARE(list.fieldByName("ID").asInteger(), current);
    list.loadPacket(packet);
    QCOMPARE(order(), ids);
    list.edit();
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, list.setOrder(QStringLiteral("ID"), Qt::DescendingOrder));
    QCOMPARE(order(), ids);
}

void TestRecordList::refreshTakesOthersValuesButNeverTheOperators_data()
{
    QTest::addColumn<QString>("before"); // what the operator does first: "", "edit" or "posted"
    QTest::addColumn<bool>("refreshed");
    QTest::newRow("a record at rest") << QString() << true;
    QTest::newRow("the record being edited") << QStringLiteral("edit") << false;
    QTest::newRow("a record with a change not yet sent") << QStringLiteral("posted") << false;
}

void TestRecordList::refreshTakesOthersValuesButNeverTheOperators()
{
    QFETCH(QString, before);
    QFETCH(bool, refreshed);
    QuoteList q;
    q.list.loadPacket(quotePacket());
    q.list.moveTo(1);
    if (!before.isEmpty()) {
        q.list.edit();
        q.list.fieldByName("QTITEM").setValue(5);
    }
    if (before == QLatin1String("posted")) {
        q.list.post();
    }
    const int changes = q.list.changeCount();
    QSignalSpy changed(&q.list, &RecordList::rowChanged);
    QCOMPARE(q.list.refreshRecord(1, {{QStringLiteral("QTITEM"), 7}, {QStringLiteral("NOSUCHFIELD"), 1}}), refreshed);
    QCOMPARE(q.list.valueAt(1, 2).toInt(), refreshed ? 7 : 5);
    if (refreshed) {
        QCOMPARE(q.list.valueAt(1, 5).toDouble(), 700.0); // the total follows
    }
    QCOMPARE(changed.count(), refreshed ? 1 : 0);
    QCOMPARE(q.list.changeCount(), changes);
    QCOMPARE(q.list.recNo(), 1);
}

QTEST_GUILESS_MAIN(TestRecordList)
#include "tst_recordlist.moc"

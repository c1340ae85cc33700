#include "WireCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

namespace {

QJsonObject parse(const char *json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray(json), &error);
    if (error.error != QJsonParseError::NoError) {
        qFatal("bad JSON in test: %s", json);
    }
    return document.object();
}

QString compact(const QJsonObject &json)
{
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
}

QList<FieldDef> quoteFields()
{
    return {{"CDFILIAL", FieldType::Text, 4},
            {"VRTOTAL", FieldType::Float, 0},
            {"QTCONV", FieldType::Integer, 0},
            {"DTEVENTO", FieldType::DateTime, 0},
            {"TXOBS", FieldType::Blob, 0}};
}

} // namespace

class TestWireCodec final : public QObject {
    Q_OBJECT
private slots:
    void typeNamesRoundTrip_data();
    void typeNamesRoundTrip();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void packetHasTheDocumentedShape();
    void packetRoundTripsEveryType();
    void deltaHasTheDocumentedShape();
    void deltaRoundTrips();
    void malformedPacketIsRefused_data();
    void malformedPacketIsRefused();
    void malformedDeltaIsRefused_data();
    void malformedDeltaIsRefused();
    void valueOfTheWrongKindIsRefused_data();
    void valueOfTheWrongKindIsRefused();
    void encodingARowOfTheWrongWidthIsRefused();
    void encodingConvertsWhatItCan_data();
    void encodingConvertsWhatItCan();
    void encodingAValueThatCannotBeConvertedIsRefused_data();
    void encodingAValueThatCannotBeConvertedIsRefused();
    void indexOfIgnoresCase();
    void packetRowsDecodeAsEachValueDoes_data();
    void packetRowsDecodeAsEachValueDoes();
    void aBadValueInALaterRowNamesThatRow();
};

void TestWireCodec::typeNamesRoundTrip_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QString>("name");
    QTest::newRow("text") << FieldType::Text << "text";
    QTest::newRow("float") << FieldType::Float << "float";
    QTest::newRow("integer") << FieldType::Integer << "integer";
    QTest::newRow("datetime") << FieldType::DateTime << "datetime";
    QTest::newRow("blob") << FieldType::Blob << "blob";
}

void TestWireCodec::typeNamesRoundTrip()
{
    QFETCH(FieldType, type);
    QFETCH(QString, name);
    QCOMPARE(WireCodec::typeName(type), name);
    QCOMPARE(WireCodec::typeFromName(name), type);
}

void TestWireCodec::valuesRoundTrip_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QJsonValue>("json");
    QTest::newRow("text") << FieldType::Text << QVariant(QStringLiteral("Ação")) << QJsonValue(QStringLiteral("Ação"));
    QTest::newRow("empty text") << FieldType::Text << QVariant(QString("")) << QJsonValue(QString(""));
    QTest::newRow("null text") << FieldType::Text << QVariant() << QJsonValue(QJsonValue::Null);
    QTest::newRow("float") << FieldType::Float << QVariant(1234.5) << QJsonValue(1234.5);
    QTest::newRow("null float") << FieldType::Float << QVariant() << QJsonValue(QJsonValue::Null);
    QTest::newRow("integer") << FieldType::Integer << QVariant(qint64(42)) << QJsonValue(qint64(42));
    QTest::newRow("big integer") << FieldType::Integer << QVariant(qint64(9007199254740993LL))
                                 << QJsonValue(qint64(9007199254740993LL));
    QTest::newRow("null integer") << FieldType::Integer << QVariant() << QJsonValue(QJsonValue::Null);
    QTest::newRow("date-time") << FieldType::DateTime << QVariant(45366.75) << QJsonValue(45366.75);
    QTest::newRow("date 0") << FieldType::DateTime << QVariant(0.0) << QJsonValue(0.0);
    QTest::newRow("null date") << FieldType::DateTime << QVariant() << QJsonValue(QJsonValue::Null);
    QTest::newRow("blob") << FieldType::Blob << QVariant(QByteArray("\x00\xff memo", 7)) << QJsonValue(QStringLiteral("AP8gbWVtbw=="));
    QTest::newRow("empty blob") << FieldType::Blob << QVariant(QByteArray("")) << QJsonValue(QString(""));
    QTest::newRow("null blob") << FieldType::Blob << QVariant() << QJsonValue(QJsonValue::Null);
}

void TestWireCodec::valuesRoundTrip()
{
    QFETCH(FieldType, type);
    QFETCH(QVariant, value);
    QFETCH(QJsonValue, json);
    QCOMPARE(WireCodec::encodeValue(value, type), json);
    const QVariant decoded = WireCodec::decodeValue(json, type);
    QCOMPARE(decoded.isValid(), value.isValid());
    QCOMPARE(decoded, value);
}

void TestWireCodec::packetHasTheDocumentedShape()
{
    DataPacket packet;
    packet.fields = {{"CDFILIAL", FieldType::Text, 4}, {"VRTOTAL", FieldType::Float, 0}};
    packet.rows = {{QStringLiteral("0001"), 10.5}, {QVariant(), QVariant()}};
    QCOMPARE(compact(WireCodec::encodePacket(packet)),
             QStringLiteral(R"({"fields":[{"name":"CDFILIAL","size":4,"type":"text"},)"
                            R"({"name":"VRTOTAL","size":0,"type":"float"}],"rows":[["0001",10.5],[null,null]]})"));
}

void TestWireCodec::packetRoundTripsEveryType()
{
    DataPacket packet;
    packet.fields = quoteFields();
    packet.rows = {{QStringLiteral("0001"), 1234.5, qint64(150), 45366.5, QByteArray("justificativa")},
                   {QVariant(), QVariant(), QVariant(), 0.0, QVariant()}};
    const DataPacket decoded = WireCodec::decodePacket(WireCodec::encodePacket(packet));
    QCOMPARE(decoded.fields, packet.fields);
    QCOMPARE(decoded.rows, packet.rows);
    QVERIFY(!decoded.rows.at(1).at(0).isValid());
}

void TestWireCodec::deltaHasTheDocumentedShape()
{
    ChangeDelta delta;
    delta.fields = {{"CD", FieldType::Text, 2}, {"VR", FieldType::Float, 0}};
    delta.changes = {{RowChange::Op::Update, {QStringLiteral("01"), 1.0}, {QStringLiteral("01"), 2.0}},
                     {RowChange::Op::Insert, {}, {QStringLiteral("02"), 3.0}},
                     {RowChange::Op::Delete, {QStringLiteral("03"), 4.0}, {}}};
    QCOMPARE(compact(WireCodec::encodeDelta(delta)),
             QStringLiteral(R"({"changes":[{"new":["01",2],"old":["01",1],"op":"update"},)"
                            R"({"new":["02",3],"op":"insert"},{"old":["03",4],"op":"delete"}],)"
                            R"("fields":[{"name":"CD","size":2,"type":"text"},{"name":"VR","size":0,"type":"float"}]})"));
}

void TestWireCodec::deltaRoundTrips()
{
    ChangeDelta delta;
    delta.fields = quoteFields();
    const QVariantList before{QStringLiteral("0001"), 10.0, qint64(1), 45000.0, QByteArray("a")};
    const QVariantList after{QStringLiteral("0001"), 12.0, QVariant(), 0.0, QByteArray()};
    delta.changes = {{RowChange::Op::Update, before, after},
                     {RowChange::Op::Insert, {}, after},
                     {RowChange::Op::Delete, before, {}}};
    const ChangeDelta decoded = WireCodec::decodeDelta(WireCodec::encodeDelta(delta));
    QCOMPARE(decoded.fields, delta.fields);
    QCOMPARE(decoded.changes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(decoded.changes.at(i).op, delta.changes.at(i).op);
        QCOMPARE(decoded.changes.at(i).oldValues, delta.changes.at(i).oldValues);
        QCOMPARE(decoded.changes.at(i).newValues, delta.changes.at(i).newValues);
    }
}

void TestWireCodec::malformedPacketIsRefused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("no fields") << QByteArray(R"({"rows":[]})") << "\"fields\"";
    QTest::newRow("no rows") << QByteArray(R"({"fields":[]})") << "\"rows\"";
    QTest::newRow("fields not a list") << QByteArray(R"({"fields":{},"rows":[]})") << "\"fields\"";
    QTest::newRow("field not an object") << QByteArray(R"({"fields":["CD"],"rows":[]})") << "campo 0";
    QTest::newRow("field without name") << QByteArray(R"({"fields":[{"type":"text","size":1}],"rows":[]})") << "\"name\"";
    QTest::newRow("field without type") << QByteArray(R"({"fields":[{"name":"CD","size":1}],"rows":[]})") << "\"type\"";
    QTest::newRow("field without size") << QByteArray(R"({"fields":[{"name":"CD","type":"text"}],"rows":[]})") << "\"size\"";
    QTest::newRow("negative size") << QByteArray(R"({"fields":[{"name":"CD","type":"text","size":-1}],"rows":[]})") << "\"size\"";
    QTest::newRow("unknown type") << QByteArray(R"({"fields":[{"name":"CD","type":"money","size":0}],"rows":[]})") << "money";
    QTest::newRow("repeated field") << QByteArray(R"({"fields":[{"name":"CD","type":"text","size":1},{"name":"cd","type":"text","size":1}],"rows":[]})") << "duas vezes";
    QTest::newRow("row too short") << QByteArray(R"({"fields":[{"name":"CD","type":"text","size":1}],"rows":[[]]})") << "linha 0";
    QTest::newRow("row too long") << QByteArray(R"({"fields":[{"name":"CD","type":"text","size":1}],"rows":[["a","b"]]})") << "2 valores para 1";
    QTest::newRow("row not a list") << QByteArray(R"({"fields":[{"name":"CD","type":"text","size":1}],"rows":["a"]})") << "linha 0";
    QTest::newRow("number in a text field") << QByteArray(R"({"fields":[{"name":"CD","type":"text","size":1}],"rows":[[1]]})") << "\"CD\"";
    QTest::newRow("text in a float field") << QByteArray(R"({"fields":[{"name":"VR","type":"float","size":0}],"rows":[["1,5"]]})") << "\"VR\"";
}

void TestWireCodec::malformedPacketIsRefused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, messagePart);
    try {
        WireCodec::decodePacket(parse(json.constData()));
        QFAIL("a malformed packet was accepted");
    } catch (const std::runtime_error &error) {
        const QString message = QString::fromUtf8(error.what());
        QVERIFY2(message.contains(messagePart, Qt::CaseInsensitive), qPrintable(message));
    }
}

void TestWireCodec::malformedDeltaIsRefused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("messagePart");
    const QByteArray fields = R"("fields":[{"name":"CD","type":"text","size":2}])";
    QTest::newRow("no changes") << QByteArray("{" + fields + "}") << "\"changes\"";
    QTest::newRow("no fields") << QByteArray(R"({"changes":[]})") << "\"fields\"";
    QTest::newRow("change not an object") << QByteArray("{" + fields + R"(,"changes":[1]})") << "alteração 0";
    QTest::newRow("no op") << QByteArray("{" + fields + R"(,"changes":[{"new":["01"]}]})") << "\"op\"";
    QTest::newRow("unknown op") << QByteArray("{" + fields + R"(,"changes":[{"op":"upsert","new":["01"]}]})") << "upsert";
    QTest::newRow("update without old") << QByteArray("{" + fields + R"(,"changes":[{"op":"update","new":["01"]}]})") << "\"old\"";
    QTest::newRow("update without new") << QByteArray("{" + fields + R"(,"changes":[{"op":"update","old":["01"]}]})") << "\"new\"";
    QTest::newRow("insert without new") << QByteArray("{" + fields + R"(,"changes":[{"op":"insert"}]})") << "\"new\"";
    QTest::newRow("delete without old") << QByteArray("{" + fields + R"(,"changes":[{"op":"delete","new":["01"]}]})") << "\"old\"";
    QTest::newRow("wrong width") << QByteArray("{" + fields + R"(,"changes":[{"op":"insert","new":["01","02"]}]})") << "2 valores para 1";
    QTest::newRow("wrong kind") << QByteArray("{" + fields + R"(,"changes":[{"op":"delete","old":[true]}]})") << "\"CD\"";
}

void TestWireCodec::malformedDeltaIsRefused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, messagePart);
    try {
        WireCodec::decodeDelta(parse(json.constData()));
        QFAIL("a malformed delta was accepted");
    } catch (const std::runtime_error &error) {
        const QString message = QString::fromUtf8(error.what());
        QVERIFY2(message.contains(messagePart, Qt::CaseInsensitive), qPrintable(message));
    }
}

void TestWireCodec::valueOfTheWrongKindIsRefused_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QJsonValue>("json");
    QTest::newRow("number as text") << FieldType::Text << QJsonValue(5);
    QTest::newRow("text as float") << FieldType::Float << QJsonValue(QStringLiteral("5"));
    QTest::newRow("fraction as integer") << FieldType::Integer << QJsonValue(1.5);
    QTest::newRow("bool as integer") << FieldType::Integer << QJsonValue(true);
    QTest::newRow("text as date") << FieldType::DateTime << QJsonValue(QStringLiteral("15/03/2024"));
    QTest::newRow("blob not base64") << FieldType::Blob << QJsonValue(QStringLiteral("não é base64!"));
    QTest::newRow("array as blob") << FieldType::Blob << QJsonValue(QJsonArray{1});
}

void TestWireCodec::valueOfTheWrongKindIsRefused()
{
    QFETCH(FieldType, type);
    QFETCH(QJsonValue, json);
    try {
        WireCodec::decodeValue(json, type);
        QFAIL("a value of the wrong kind was accepted");
    } catch (const std::runtime_error &error) {
        QVERIFY(!QString::fromUtf8(error.what()).isEmpty());
    }
}

void TestWireCodec::encodingARowOfTheWrongWidthIsRefused()
{
    DataPacket packet;
    packet.fields = {{"CD", FieldType::Text, 2}};
    packet.rows = {{QStringLiteral("01"), QStringLiteral("extra")}};
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, WireCodec::encodePacket(packet));
}

void TestWireCodec::encodingConvertsWhatItCan_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QJsonValue>("json");
    QTest::newRow("date") << FieldType::DateTime << QVariant(QDate(2024, 3, 15)) << QJsonValue(45366.0);
    QTest::newRow("date-time") << FieldType::DateTime << QVariant(QDateTime(QDate(2024, 3, 15), QTime(18, 0))) << QJsonValue(45366.75);
    QTest::newRow("integer as float") << FieldType::Float << QVariant(3) << QJsonValue(3.0);
    QTest::newRow("number text as integer") << FieldType::Integer << QVariant(QStringLiteral("12")) << QJsonValue(12);
    QTest::newRow("number as text") << FieldType::Text << QVariant(7) << QJsonValue(QStringLiteral("7"));
}

void TestWireCodec::encodingConvertsWhatItCan()
{
    QFETCH(FieldType, type);
    QFETCH(QVariant, value);
    QFETCH(QJsonValue, json);
    QCOMPARE(WireCodec::encodeValue(value, type), json);
}

void TestWireCodec::encodingAValueThatCannotBeConvertedIsRefused_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("word as float") << FieldType::Float << QVariant(QStringLiteral("doze"));
    QTest::newRow("word as integer") << FieldType::Integer << QVariant(QStringLiteral("doze"));
    QTest::newRow("infinite float") << FieldType::Float << QVariant(std::numeric_limits<double>::infinity());
    QTest::newRow("word as date") << FieldType::DateTime << QVariant(QStringLiteral("ontem"));
}

void TestWireCodec::encodingAValueThatCannotBeConvertedIsRefused()
{
    QFETCH(FieldType, type);
    QFETCH(QVariant, value);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, WireCodec::encodeValue(value, type));
}

void TestWireCodec::indexOfIgnoresCase()
{
    DataPacket packet;
    packet.fields = quoteFields();
    QCOMPARE(packet.indexOf(QStringLiteral("vrtotal")), 1);
    QCOMPARE(packet.indexOf(QStringLiteral("TXOBS")), 4);
    QCOMPARE(packet.indexOf(QStringLiteral("NADA")), -1);
}

void TestWireCodec::packetRowsDecodeAsEachValueDoes_data()
{
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QVariantList>("expected");
    QTest::newRow("plain values") << QByteArray(R"(["0001",1250.5,3,46109.75,"YWJj"])")
                                  << QVariantList{"0001", 1250.5, qint64(3), 46109.75, QByteArray("abc")};
    QTest::newRow("all empty") << QByteArray(R"([null,null,null,null,null])") << QVariantList{{}, {}, {}, {}, {}};
    QTest::newRow("escaped letters and pair") << QByteArray(R"(["S\u00e3o \ud83c\udf89 \"x\" \\ \n",0,0,0,""])")
                                              << QVariantList{QString::fromUtf8("São \xF0\x9F\x8E\x89 \"x\" \\ \n"), 0.0, qint64(0), 0.0,
                                                              QByteArray("")};
    QTest::newRow("raw non-ascii") << QByteArray("[\"Concei\xC3\xA7\xC3\xA3o \xE2\x82\xAC\",-0.25,-7,0.5,null]")
                                   << QVariantList{QString::fromUtf8("Conceição €"), -0.25, qint64(-7), 0.5, {}};
    QTest::newRow("whole number in a float field") << QByteArray(R"(["",2,9007199254740992,45000,null])")
                                                   << QVariantList{"", 2.0, qint64(9007199254740992), 45000.0, {}};
}

void TestWireCodec::packetRowsDecodeAsEachValueDoes()
{
    QFETCH(QByteArray, row);
    QFETCH(QVariantList, expected);
    const QByteArray json = R"({"fields":)" + QJsonDocument(WireCodec::encodePacket(DataPacket{quoteFields(), {}}).value(QStringLiteral("fields")).toArray()).toJson(QJsonDocument::Compact)
        + R"(,"rows":[)" + row + "," + row + "]}";
    const DataPacket packet = WireCodec::decodePacket(parse(json.constData()));
    QCOMPARE(packet.rows.size(), 2);
    for (const QVariantList &decoded : packet.rows) {
        QCOMPARE(decoded.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(decoded.at(i).metaType(), expected.at(i).metaType());
            QCOMPARE(decoded.at(i), expected.at(i));
        }
    }
}

void TestWireCodec::aBadValueInALaterRowNamesThatRow()
{
    try {
        WireCodec::decodePacket(parse(R"({"fields":[{"name":"CD","type":"text","size":1}],"rows":[["a"],[null],[7]]})"));
        QFAIL("a number in a text field was accepted");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Pacote de dados: linha 2, campo \"CD\": esperava um texto."));
    }
}

QTEST_GUILESS_MAIN(TestWireCodec)
#include "tst_wirecodec.moc"

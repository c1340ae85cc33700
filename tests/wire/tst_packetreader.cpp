#include "PacketReader.h"
#include "PacketRows.h"
#include "WireCodec.h"

#include <QJsonDocument>
#include <QTest>

#include <functional>

namespace {

const QByteArray fields = R"("fields":[{"name":"CD","type":"text","size":4},{"name":"VR","type":"float","size":0},)"
                          R"({"name":"QT","type":"integer","size":0},{"name":"DT","type":"datetime","size":0},)"
                          R"({"name":"TX","type":"blob","size":0}])";

QByteArray packet(const QByteArray &rows)
{
    return "{" + fields + R"(,"rows":[)" + rows + "]}";
}

// Hands the text over `piece` bytes at a time (all of it at once for 0).
JsonStreamReader readerOver(const QByteArray &json, qsizetype piece)
{
    if (piece == 0) {
        return JsonStreamReader(json, {});
    }
    auto sent = std::make_shared<qsizetype>(0);
    return JsonStreamReader(QByteArray(), [json, piece, sent](QByteArray &buffer) {
        if (*sent >= json.size()) {
            return false;
        }
        buffer.append(json.mid(*sent, piece));
        *sent += piece;
        return true;
    });
}

// The same text cut once at `cut`.
JsonStreamReader readerCutAt(const QByteArray &json, qsizetype cut)
{
    auto rest = std::make_shared<QByteArray>(json.mid(cut));
    return JsonStreamReader(json.left(cut), [rest](QByteArray &buffer) {
        if (rest->isEmpty()) {
            return false;
        }
        buffer.append(*rest);
        rest->clear();
        return true;
    });
}

// The codec reading the whole text as a JSON document is what the stream
// reader must agree with, value for value and type for type.
void compareWithTheCodec(const PacketColumns &read, const QByteArray &json)
{
    const DataPacket expected = WireCodec::decodePacket(QJsonDocument::fromJson(json).object());
    QCOMPARE(read.fields, expected.fields);
    QCOMPARE(qsizetype(read.columns.size()), expected.fields.size());
    const QList<QVariantList> rows = rowsOf(read);
    QCOMPARE(rows.size(), expected.rows.size());
    for (qsizetype row = 0; row < rows.size(); ++row) {
        for (qsizetype i = 0; i < expected.fields.size(); ++i) {
            const QVariant got = rows.at(row).at(i);
            const QVariant want = expected.rows.at(row).at(i);
            if (got.metaType() != want.metaType() || got != want) {
                QFAIL(qPrintable(QStringLiteral("row %1, field %2: %3 instead of %4")
                                     .arg(row).arg(i).arg(got.toString(), want.toString())));
            }
        }
    }
}

QString messageOf(const std::function<void()> &reading)
{
    try {
        reading();
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

} // namespace

class TestPacketReader final : public QObject {
    Q_OBJECT
private slots:
    void readsWhatTheCodecReads_data();
    void readsWhatTheCodecReads();
    void aVeryLongTextArrivingInPiecesIsWhole();
    void loneSurrogatesReadAsReplacementCharacters();
    void refusesWithTheCodecsMessage_data();
    void refusesWithTheCodecsMessage();
    void brokenJsonIsASyntaxError_data();
    void brokenJsonIsASyntaxError();
    void rewrittenTextsKeepTheirNeighbours();
    void readsOneValueToTheEndOfTheInput_data();
    void readsOneValueToTheEndOfTheInput();
};

void TestPacketReader::readsWhatTheCodecReads_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("no rows") << packet("");
    QTest::newRow("usual rows") << packet(R"(["0001",1234567.89,42,46000.833333333336,null],)"
                                          R"(["0002",0,-7,0,"SnVzdGlmaWNhdGl2YQ=="])");
    QTest::newRow("every value empty") << packet("[null,null,null,null,null]");
    QTest::newRow("empty text is not empty value") << packet(R"(["",null,null,null,""])");
    QTest::newRow("accents and four-byte UTF-8") << packet(QStringLiteral(R"(["Ação São João 😀 日本",1,1,1,null])").toUtf8());
    QTest::newRow("escapes") << packet(R"(["a\"b\\c\/d\b\f\n\r\t\u00e7\u00C7\ud83d\ude00",1,1,1,null])");
    QTest::newRow("largest numbers") << packet(R"(["n",1.7976931348623157e308,9223372036854775807,5e-324,null],)"
                                               R"(["m",-1.7976931348623157e308,-9223372036854775808,-0.0,null])");
    QTest::newRow("integer beyond 64 bits as a float") << packet(R"(["n",18446744073709551616,1,1,null])");
    QTest::newRow("exponents and fractions") << packet(R"(["e",1E+2,1,2.5e-3,null],["f",-0,0,1e0,null])");
    QTest::newRow("integer written as 2.0") << packet(R"(["w",1,2.0,1,null])");
    QTest::newRow("white space everywhere") << " { " + fields + " , \"rows\" : [ [ \"a\" , 1 , 2 , 3 , null ] , [\"b\",4,5,6,null]\n ] } ";
    QTest::newRow("rows before fields") << R"({"rows":[["a",1,2,3,null]],)" + fields + "}";
    QTest::newRow("other members") << R"({"extra":{"x":[1,{"y":null}]},)" + fields + R"(,"more":true,"rows":[["a",1,2,3,null]]})";
}

void TestPacketReader::readsWhatTheCodecReads()
{
    QFETCH(QByteArray, json);
    // All at once, one byte at a time, and cut in two at every byte.
    for (qsizetype piece : {0, 1}) {
        JsonStreamReader reader = readerOver(json, piece);
        compareWithTheCodec(PacketReader::read(reader), json);
        if (QTest::currentTestFailed()) {
            qWarning("in pieces of %lld", static_cast<long long>(piece));
            return;
        }
    }
    for (qsizetype cut = 0; cut <= json.size(); ++cut) {
        JsonStreamReader reader = readerCutAt(json, cut);
        compareWithTheCodec(PacketReader::read(reader), json);
        if (QTest::currentTestFailed()) {
            qWarning("cut at byte %lld", static_cast<long long>(cut));
            return;
        }
    }
}

void TestPacketReader::aVeryLongTextArrivingInPiecesIsWhole()
{
    QByteArray text(3 * 1024 * 1024, 'x');
    text[100] = '\\';
    text[101] = 'n';
    text.replace(2000000, 2, "\xc3\xa7");
    QByteArray rows;
    for (int row = 0; row < 3; ++row) {
        rows += (row ? ",[\"" : "[\"") + text + R"(",1,2,3,null])";
    }
    const QByteArray json = packet(rows);
    JsonStreamReader reader = readerOver(json, 65537);
    const PacketColumns read = PacketReader::read(reader);
    QCOMPARE(read.rowCount, 3);
    compareWithTheCodec(read, json);
}

void TestPacketReader::loneSurrogatesReadAsReplacementCharacters()
{
    // Texts are kept in UTF-8, which has no place for half a pair.
    JsonStreamReader reader = readerOver(packet(R"(["x\ud800y\udc00z\ud800\u0041",1,1,1,null])"), 1);
    const PacketColumns read = PacketReader::read(reader);
    QCOMPARE(read.columns.front().value(0), QVariant(QStringLiteral("x\uFFFDy\uFFFDz\uFFFDA")));
}

void TestPacketReader::refusesWithTheCodecsMessage_data()
{
    QTest::addColumn<QByteArray>("json");
    const QByteArray one = R"("fields":[{"name":"CD","type":"text","size":1}])";
    QTest::newRow("no fields") << QByteArray(R"({"rows":[]})");
    QTest::newRow("no rows") << "{" + one + "}";
    QTest::newRow("fields not a list") << QByteArray(R"({"fields":{},"rows":[]})");
    QTest::newRow("unknown type") << QByteArray(R"({"fields":[{"name":"CD","type":"money","size":0}],"rows":[]})");
    QTest::newRow("row too short") << "{" + one + R"(,"rows":[["a"],[]]})";
    QTest::newRow("row too long") << "{" + one + R"(,"rows":[["a","b"]]})";
    QTest::newRow("row not a list") << "{" + one + R"(,"rows":["a"]})";
    QTest::newRow("number in a text field") << "{" + one + R"(,"rows":[["a"],["b"],[1]]})";
    QTest::newRow("text in a float field") << packet(R"(["a","1",1,1,null])");
    QTest::newRow("fraction in an integer field") << packet(R"(["a",1,1.5,1,null])");
    QTest::newRow("blob not in base64") << packet(R"(["a",1,1,1,"*"])");
    QTest::newRow("boolean") << packet(R"(["a",true,1,1,null])");
}

void TestPacketReader::refusesWithTheCodecsMessage()
{
    QFETCH(QByteArray, json);
    const QString expected = messageOf([&] { WireCodec::decodePacket(QJsonDocument::fromJson(json).object()); });
    QVERIFY2(!expected.isEmpty(), "the codec should refuse this packet");
    JsonStreamReader reader = readerOver(json, 3);
    QCOMPARE(messageOf([&] { PacketReader::read(reader); }), expected);
}

void TestPacketReader::brokenJsonIsASyntaxError_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("cut short") << packet(R"(["a",1,1,1,null])").chopped(3);
    QTest::newRow("control character in a text") << packet("[\"a\tb\",1,1,1,null]");
    QTest::newRow("unknown escape") << packet(R"(["a\qb",1,1,1,null])");
    QTest::newRow("short \\u escape") << packet(R"(["\u12",1,1,1,null])");
    // UTF-8 that QJsonDocument refuses: a lone continuation byte, a cut
    // sequence, an overlong form, a surrogate, a code past U+10FFFF; plain
    // and after an escape.
    QTest::newRow("lone continuation byte") << packet("[\"a\x80" "b\",1,1,1,null]");
    QTest::newRow("cut sequence") << packet("[\"a\xc3\",1,1,1,null]");
    QTest::newRow("overlong slash") << packet("[\"\xc0\xaf\",1,1,1,null]");
    QTest::newRow("overlong three bytes") << packet("[\"\xe0\x80\xaf\",1,1,1,null]");
    QTest::newRow("encoded surrogate") << packet("[\"\xed\xa0\x80\",1,1,1,null]");
    QTest::newRow("past U+10FFFF") << packet("[\"\xf4\x90\x80\x80\",1,1,1,null]");
    QTest::newRow("malformed after an escape") << packet("[\"\\n\xff\",1,1,1,null]");
    QTest::newRow("malformed member name") << "{\"\xfe\":1," + fields + R"(,"rows":[]})";
    QTest::newRow("leading zero") << packet(R"(["a",01,1,1,null])");
    QTest::newRow("bare minus") << packet(R"(["a",-,1,1,null])");
    QTest::newRow("fraction without digits") << packet(R"(["a",1.,1,1,null])");
    QTest::newRow("beyond a double") << packet(R"(["a",1e400,1,1,null])");
    QTest::newRow("fraction without integer") << packet(R"(["a",.5e1,1,1,null])");
    QTest::newRow("exponent without digits") << packet(R"(["a",1e,1,1,null])");
    QTest::newRow("escape \\x") << packet(R"(["\x0001",1,1,1,null])");
    QTest::newRow("byte order mark") << "\xef\xbb\xbf" + packet("");
    QTest::newRow("misspelt null") << packet(R"(["a",nul,1,1,null])");
    QTest::newRow("missing comma") << packet(R"(["a" 1,1,1,null])");
    QTest::newRow("deep nesting") << R"({"x":)" + QByteArray(100000, '[') + "}";
}

void TestPacketReader::brokenJsonIsASyntaxError()
{
    QFETCH(QByteArray, json);
    JsonStreamReader reader = readerOver(json, 7);
    QVERIFY_THROWS_EXCEPTION(JsonStreamReader::SyntaxError, PacketReader::read(reader));
}

void TestPacketReader::rewrittenTextsKeepTheirNeighbours()
{
    Column column(FieldType::Text);
    for (int row = 0; row < 1000; ++row) {
        column.append(QStringLiteral("linha %1").arg(row));
    }
    // Enough rewriting to make the column give back its unused bytes.
    for (int round = 0; round < 200; ++round) {
        column.set(500, QString(1000, QLatin1Char('a' + round % 26)));
    }
    column.set(7, QString());
    column.set(8, QVariant());
    QCOMPARE(column.value(499), QVariant(QStringLiteral("linha 499")));
    QCOMPARE(column.value(500), QVariant(QString(1000, QLatin1Char('a' + 199 % 26))));
    QCOMPARE(column.value(999), QVariant(QStringLiteral("linha 999")));
    QVERIFY(column.value(7).isValid() && column.value(7).toString().isEmpty());
    QVERIFY(!column.value(8).isValid());
}

void TestPacketReader::readsOneValueToTheEndOfTheInput_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("json");
    QTest::newRow("number ending the input") << QByteArray("42") << false;
    QTest::newRow("lone surrogate escape ending the input") << QByteArray(R"("\ud800")") << true;
}

void TestPacketReader::readsOneValueToTheEndOfTheInput()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, json);
    JsonStreamReader built = readerOver(text, 1), skipped = readerOver(text, 1); // one value, then the input's end
    QCOMPARE(messageOf([&] { built.readValue(); }).isEmpty() && !messageOf([&] { built.peek(); }).isEmpty(), json);
    QCOMPARE(messageOf([&] { skipped.skipValue(); }).isEmpty() && !messageOf([&] { skipped.peek(); }).isEmpty(), json);
}

QTEST_GUILESS_MAIN(TestPacketReader)
#include "tst_packetreader.moc"

#include "AnswerStream.h"
#include "CallDeadline.h"
#include "DatabaseLocation.h"
#include "WireCodec.h"
#include "DemoSeeder.h"
#include "JsonText.h"
#include "QuoteFilter.h"
#include "PacketJson.h"
#include "PacketLayouts.h"
#include "QuoteReader.h"
#include "SchemaMigrator.h"
#include "SqlitePacketJson.h"
#include "SqliteStatement.h"
#include "TaxIds.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

// What a writer sent through its answer, piece by piece.
struct SentAnswer {
    QByteArray text;
    QList<qsizetype> pieces;
    bool taken = true; // whether the client takes what is sent

    AnswerStream::Sender sender()
    {
        return [this](const QByteArray &bytes) {
            text += bytes;
            pieces << bytes.size();
            return taken;
        };
    }
};

// One in-memory SQLite connection for as long as it lives.
class MemoryDatabase final {
public:
    explicit MemoryDatabase(const QString &name)
        : m_name(name)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(":memory:");
        db.open();
    }
    ~MemoryDatabase()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

// 7000 rows of the kinds a quote list holds, NULLs among them.
const QString longList = R"(WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 7000)
    SELECT printf('%010d', x), CASE WHEN x % 7 = 0 THEN NULL ELSE 'Conceição "' || x || '" \ €' END,
           x * 0.25, x, 46000 + x / 24.0 FROM n)";

const QList<FieldDef> longListFields{{"IDCHECK", FieldType::Text, 1},   {"NRORCAEVENTO", FieldType::Text, 10},
                                     {"NMCLIE", FieldType::Text, 50},   {"VRTOTAL", FieldType::Float, 0},
                                     {"QTITEM", FieldType::Integer, 0}, {"DTEVENTO", FieldType::DateTime, 0}};

// The rows of `statement` written as the listing wrote them through QtSql.
QByteArray writtenThroughQtSql(const QSqlDatabase &db, const QString &statement, const QList<FieldDef> &fields)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(statement)) {
        throw std::runtime_error(statement.toStdString());
    }
    SentAnswer sent;
    AnswerStream out(sent.sender());
    PacketJson::write(query, fields, 1, out);
    out.finish();
    return sent.text;
}

} // namespace

class TestAppServerUnits final : public QObject {
    Q_OBJECT

private slots:
    void aRunawayStatementStopsAtTheCallsDeadline()
    {
        MemoryDatabase memory(QStringLiteral("deadline"));
        CallDeadline deadline(memory.db(), 200);
        const QString endless = QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT count(*) FROM n");
        deadline.start();
        QSqlQuery query(memory.db());
        // Without the deadline this never returns.
        QVERIFY(!query.exec(endless));
        deadline.end();
        // Outside a call nothing is cut short.
        QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM (WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                                          "WHERE x < 300000) SELECT x FROM n)")));
    }

    void taxIdsCarryValidCheckDigits_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("valid");
        QTest::newRow("known CPF") << "52998224725" << true;
        QTest::newRow("CPF with a wrong digit") << "52998224726" << false;
        QTest::newRow("known CNPJ") << "11222333000181" << true;
        QTest::newRow("CNPJ with a wrong digit") << "11222333000182" << false;
        QTest::newRow("generated CPF") << TaxIds::cpf(529982247) << true;
        QTest::newRow("generated CNPJ") << TaxIds::cnpj(11222333) << true;
    }
    void taxIdsCarryValidCheckDigits()
    {
        QFETCH(QString, number);
        QFETCH(bool, valid);
        QCOMPARE(number.size() == 11 ? TaxIds::isValidCpf(number) : TaxIds::isValidCnpj(number), valid);
    }

    void generatedIdsMatchTheKnownOnes()
    {
        QCOMPARE(TaxIds::cpf(529982247), QStringLiteral("52998224725"));
        QCOMPARE(TaxIds::cnpj(11222333), QStringLiteral("11222333000181"));
    }

    void codeListsSplitOnUnderscoresIgnoringEmptyEntries_data()
    {
        QTest::addColumn<QString>("joined");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("states with leading underscore") << "_1_2_" << QStringList{"1", "2"};
        QTest::newRow("states without") << "1_2_" << QStringList{"1", "2"};
        QTest::newRow("one code") << "0003" << QStringList{"0003"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void codeListsSplitOnUnderscoresIgnoringEmptyEntries()
    {
        QFETCH(QString, joined);
        QFETCH(QStringList, codes);
        QCOMPARE(QuoteFilter::splitCodes(joined), codes);
    }

    void textsAreWrittenAsJsonReadsThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "Casamento";
        QTest::newRow("accents") << "Bodas de Conceição e Otávio";
        QTest::newRow("quotes and backslash") << "um \"x\" e \\ barra";
        QTest::newRow("control characters") << QString("linha\nnova\ttab\r") + QChar(1) + QChar(0x1f);
        QTest::newRow("empty") << "";
    }
    void textsAreWrittenAsJsonReadsThem()
    {
        QFETCH(QString, text);
        QByteArray out = "[";
        JsonText::appendString(out, text);
        out += "]";
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(document.array().at(0).toString(), text);
    }

    void numbersReadBackToTheSameDouble_data()
    {
        QTest::addColumn<double>("number");
        QTest::newRow("whole") << 278.0;
        QTest::newRow("day count with hour") << 46109.708333333336;
        QTest::newRow("before the base day") << -1.25;
        QTest::newRow("tenth") << 0.1;
        QTest::newRow("zero") << 0.0;
    }
    void numbersReadBackToTheSameDouble()
    {
        QFETCH(double, number);
        QByteArray out = "[";
        JsonText::appendNumber(out, number);
        out += "]";
        QCOMPARE(QJsonDocument::fromJson(out).array().at(0).toDouble(), number);
    }

    void textsAreWrittenByteForByteAsQtWritesThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << "BUFFET COMPLETO 0001";
        QTest::newRow("two-byte letters") << "São João, ação";
        QTest::newRow("three-byte signs") << "€ 10 — ≤ 20";
        QTest::newRow("pair of surrogates") << QString::fromUtf8("festa \xF0\x9F\x8E\x89 fim");
        QTest::newRow("line breaks and tab") << "a\nb\rc\td";
        QTest::newRow("delete and quotes") << QString("\x7f \" \\ /");
    }
    void textsAreWrittenByteForByteAsQtWritesThem()
    {
        QFETCH(QString, text);
        QByteArray out = "[";
        JsonText::appendString(out, text);
        out += "]";
        QCOMPARE(out, QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    }

    void textsQtWouldWriteOtherwiseKeepTheListsEarlierForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("backspace and form feed") << QString("a") + QChar(8) + QChar(12) << QByteArray(R"("a\u0008\u000c")");
        QTest::newRow("other control characters") << QString(QChar(0)) + QChar(0x1f) << QByteArray(R"("\u0000\u001f")");
        QTest::newRow("lone high surrogate") << QString("a") + QChar(0xd83c) + QString("b") << QByteArray(R"("a?b")");
        QTest::newRow("lone low surrogate at the end") << QString("a") + QChar(0xdf89) << QByteArray(R"("a?")");
        QTest::newRow("pair after a lone one") << QString("\\") + QChar(0xdf89) + QString::fromUtf8("\xF0\x9F\x8E\x89")
                                               << QByteArray("\"\\\\?\xF0\x9F\x8E\x89\"");
    }
    void textsQtWouldWriteOtherwiseKeepTheListsEarlierForm()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, json);
        QByteArray out;
        JsonText::appendString(out, text);
        QCOMPARE(out, json);
    }

    void utf8IsWrittenAsItsUtf16FormIs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "BUFFET COMPLETO 0001";
        QTest::newRow("accents") << "São João, ação, Conceição";
        QTest::newRow("quotes and backslashes") << "um \"x\" e \\ barra \\\"";
        QTest::newRow("every control character") << [] {
            QString controls;
            for (char16_t unit = 0; unit < 0x20; ++unit) {
                controls += QChar(unit);
            }
            return controls + QChar(0x7f);
        }();
        QTest::newRow("three-byte signs") << "€ 10 — ≤ 20 \u0800 \uD7FF \uE000 \uFFFD";
        QTest::newRow("four-byte letters") << QString::fromUtf8("festa \xF0\x9F\x8E\x89 fim \xF4\x8F\xBF\xBF \xF0\x90\x80\x80");
        QTest::newRow("two-byte edges") << QString(QChar(0x80)) + QChar(0x7ff);
        QTest::newRow("empty") << "";
    }
    void utf8IsWrittenAsItsUtf16FormIs()
    {
        QFETCH(QString, text);
        QByteArray fromUtf8 = "[";
        QVERIFY(JsonText::appendUtf8(fromUtf8, text.toUtf8()));
        QByteArray fromUtf16 = "[";
        JsonText::appendString(fromUtf16, text);
        QCOMPARE(fromUtf8, fromUtf16);
    }

    void utf8ThatSqliteWouldChangeIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("stray continuation") << QByteArray("a\x80");
        QTest::newRow("overlong two bytes") << QByteArray("\xC0\xAF");
        QTest::newRow("overlong two bytes C1") << QByteArray("\xC1\xBF");
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x9F\xBF");
        QTest::newRow("overlong four bytes") << QByteArray("\xF0\x8F\xBF\xBF");
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80");
        QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80");
        QTest::newRow("lead F5") << QByteArray("\xF5\x80\x80\x80");
        QTest::newRow("truncated at the end") << QByteArray("ab\xE2\x82");
        QTest::newRow("truncated four bytes") << QByteArray("\xF0\x9F\x8E");
        QTest::newRow("continuation missing") << QByteArray("\xC3" "a");
        QTest::newRow("byte FF") << QByteArray("\xFF");
        QTest::newRow("U+FFFE") << QByteArray("a\xEF\xBF\xBE");
        QTest::newRow("U+FFFF") << QByteArray("\xEF\xBF\xBF" "b");
    }
    void utf8ThatSqliteWouldChangeIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QByteArray out = "[1,";
        QVERIFY(!JsonText::appendUtf8(out, bytes));
        QCOMPARE(out, QByteArray("[1,"));
    }

    void numbersAreWrittenByteForByteAsQtWritesThem_data()
    {
        QTest::addColumn<double>("number");
        QTest::newRow("whole") << 278.0;
        QTest::newRow("negative whole") << -46000.0;
        QTest::newRow("largest exact whole") << 9007199254740992.0;
        QTest::newRow("beyond exact wholes") << 1e17;
        QTest::newRow("day count with hour") << 46109.708333333336;
        QTest::newRow("day count with minute") << 45292.000694444445;
        QTest::newRow("price") << 1234.56;
        QTest::newRow("thousandth") << 0.001;
        QTest::newRow("just under a thousandth") << 0.00099;
        QTest::newRow("tiny") << 1.5e-9;
        QTest::newRow("huge fraction") << 123456789012345.5;
        QTest::newRow("negative fraction") << -0.25;
    }
    void numbersAreWrittenByteForByteAsQtWritesThem()
    {
        QFETCH(double, number);
        QByteArray out = "[";
        JsonText::appendNumber(out, number);
        out += "]";
        QCOMPARE(out, QJsonDocument(QJsonArray{number}).toJson(QJsonDocument::Compact));
    }

    void fractionsOfEveryMagnitudeMatchQt()
    {
        // Day counts, prices and quantities of every size the lists carry.
        quint64 state = 88172645463325252ull;
        for (int i = 0; i < 200000; ++i) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            const double mantissa = double(state >> 11) / double(1ull << 53);
            const double number = mantissa * std::pow(10.0, int(state % 22) - 5);
            QByteArray out = "[";
            JsonText::appendNumber(out, number);
            out += "]";
            QCOMPARE(out, QJsonDocument(QJsonArray{number}).toJson(QJsonDocument::Compact));
        }
    }

    void integersAreWrittenInFull_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("zero") << qint64(0) << QByteArray("0");
        QTest::newRow("negative") << qint64(-17) << QByteArray("-17");
        QTest::newRow("largest") << std::numeric_limits<qint64>::max() << QByteArray("9223372036854775807");
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << QByteArray("-9223372036854775808");
    }
    void integersAreWrittenInFull()
    {
        QFETCH(qint64, number);
        QFETCH(QByteArray, text);
        QByteArray out;
        JsonText::appendInteger(out, number);
        QCOMPARE(out, text);
    }

    void quoteListWrittenAsTextEqualsThePacket()
    {
        QTemporaryDir dir;
        {
            QSqlDatabase db = DatabaseLocation::parse(dir.filePath("q.db")).open("units");
            SchemaMigrator(db).migrate();
            DemoSeeder(3).fillServer(db, 120);
            const QuoteListing filter = QuoteListing::fromJson(QJsonArray{"0001", "", "", "T", 0, 0, "T", 0, 0, "T", 0, 0, "T", "", "T", "", "T", "",
                                                                    "T", "", "T", "", "T", "", "T", "", "T"});
            const QuoteReader reader(db);
            const DataPacket tree = reader.quotes("0001", filter);
            SentAnswer sent;
            AnswerStream out(sent.sender());
            const qsizetype rows = reader.writeQuotes("0001", filter, out);
            QVERIFY(out.finish());
            const DataPacket text = WireCodec::decodePacket(QJsonDocument::fromJson(sent.text).object());
            QCOMPARE(rows, qsizetype(12));
            QCOMPARE(text.fields, tree.fields);
            QCOMPARE(text.rows.size(), tree.rows.size());
            for (int i = 0; i < tree.rows.size(); ++i) {
                QCOMPARE(text.rows.at(i), tree.rows.at(i));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase("units");
    }

    void longListWrittenAsTextEqualsThePacket()
    {
        const MemoryDatabase memory("long");
        const QByteArray out = writtenThroughQtSql(memory.db(), longList, longListFields);
        QSqlQuery query(memory.db());
        query.setForwardOnly(true);
        QVERIFY(query.exec(longList));
        const DataPacket tree = PacketLayouts::read(query, longListFields, 1);
        const DataPacket text = WireCodec::decodePacket(QJsonDocument::fromJson(out).object());
        QCOMPARE(text.rows.size(), 7000);
        for (int i = 0; i < tree.rows.size(); ++i) {
            QCOMPARE(text.rows.at(i), tree.rows.at(i));
        }
        QCOMPARE(text.rows.at(6998).at(2).toString(), QString::fromUtf8("Conceição \"6999\" \\ €"));
        QVERIFY(text.rows.at(6999).at(2).isNull());

        // Stepped straight through SQLite, the same bytes.
        SqliteStatement statement(memory.db(), longList, {});
        SentAnswer direct;
        AnswerStream directOut(direct.sender());
        QCOMPARE(SqlitePacketJson::write(statement, longListFields, 1, directOut), qsizetype(7000));
        QVERIFY(directOut.finish());
        QCOMPARE(direct.text, out);
    }

    void sqliteValuesAreWrittenAsQtSqlReadThem_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<FieldType>("type");
        const auto text = [](const char *name, const char *expression) {
            QTest::newRow(name) << QString::fromUtf8(expression) << FieldType::Text;
        };
        text("plain", "'Casamento'");
        text("accents", "'Bodas de Conceição e Otávio'");
        text("quotes and backslashes", R"('um "x" e \ barra \"')");
        text("every control character", "char(1, 2, 8, 9, 10, 12, 13, 27, 31, 127)");
        text("NUL inside", "'a' || char(0) || 'b'");
        text("three-byte signs", "'€ 10 — ≤ 20'");
        text("four-byte letters", "'festa 🎉 fim ' || char(65536, 1114111)");
        text("replacement character", "char(65533)");
        text("U+FFFE and U+FFFF", "'a' || char(65534) || 'b' || char(65535)");
        text("truncated sequence", "CAST(X'61C3' AS TEXT)");
        text("overlong slash", "CAST(X'C0AF' AS TEXT)");
        text("overlong three bytes", "CAST(X'E09FBF41' AS TEXT)");
        text("encoded surrogate", "CAST(X'EDA080' AS TEXT)");
        text("past U+10FFFF", "CAST(X'F4908080' AS TEXT)");
        text("stray continuation", "CAST(X'41BF42' AS TEXT)");
        text("byte FF", "CAST(X'FF' AS TEXT)");
        text("empty", "''");
        text("null", "NULL");
        text("whole number", "42");
        text("largest integer", "9223372036854775807");
        text("smallest integer", "-9223372036854775807 - 1");
        text("day count", "46109.708333333336");
        text("huge real", "1e300");
        text("blob", "X'C3A7'");
        const auto number = [](const char *name, const char *expression, FieldType type) {
            QTest::newRow(name) << QString::fromUtf8(expression) << type;
        };
        number("day count with hour", "46109.708333333336", FieldType::DateTime);
        number("whole day", "46139.0", FieldType::DateTime);
        number("null day", "NULL", FieldType::DateTime);
        number("integer as float", "278", FieldType::Float);
        number("largest integer as float", "9223372036854775807", FieldType::Float);
        number("smallest integer as float", "-9223372036854775807 - 1", FieldType::Float);
        number("largest double", "1.7976931348623157e308", FieldType::Float);
        number("smallest double", "4.9e-324", FieldType::Float);
        number("negative zero", "-0.0", FieldType::Float);
        number("price", "1234.56", FieldType::Float);
        number("number as text", "'12.5'", FieldType::Float);
        number("letters as a number", "'abc'", FieldType::Float);
        number("largest integer", "9223372036854775807", FieldType::Integer);
        number("smallest integer", "-9223372036854775807 - 1", FieldType::Integer);
        number("fraction as integer", "12.75", FieldType::Integer);
        number("blob as blob", "X'00FF41'", FieldType::Blob);
        number("text as blob", "'Conceição'", FieldType::Blob);
    }
    void sqliteValuesAreWrittenAsQtSqlReadThem()
    {
        QFETCH(QString, expression);
        QFETCH(FieldType, type);
        const MemoryDatabase memory("values");
        const QString select = "SELECT " + expression;
        const QList<FieldDef> fields{{"IDCHECK", FieldType::Text, 1}, {"VALUE", type, 0}};
        const QByteArray viaQtSql = writtenThroughQtSql(memory.db(), select, fields);
        SqliteStatement statement(memory.db(), select, {});
        SentAnswer direct;
        AnswerStream out(direct.sender());
        QCOMPARE(SqlitePacketJson::write(statement, fields, 1, out), qsizetype(1));
        QVERIFY(out.finish());
        QCOMPARE(direct.text, viaQtSql);
    }

    void statementsThatCannotRunSayWhy()
    {
        // Bound texts and numbers select rows in the listing's criteria tests.
        const MemoryDatabase memory("refused");
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SqliteStatement(memory.db(), "SELECT ?", {QDate(2026, 1, 1)}));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, SqliteStatement(memory.db(), "SELECT NADA FROM ORCAEVENTO", {}));
        SqliteStatement failing(memory.db(), "SELECT abs(length(?) - 9223372036854775807 - 2)", {QString("x")});
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, failing.next());
    }

    void aLongListLeavesInChunksWhileTheQueryRuns()
    {
        const MemoryDatabase memory("chunks");
        SqliteStatement statement(memory.db(), longList, {});
        SentAnswer sent;
        AnswerStream out(sent.sender());
        SqlitePacketJson::write(statement, longListFields, 1, out);
        const qsizetype piecesBeforeTheEnd = sent.pieces.size();
        QVERIFY(out.finish());
        QVERIFY(piecesBeforeTheEnd >= 1);
        QVERIFY(sent.pieces.size() >= 2);
        qsizetype offset = 0;
        for (qsizetype i = 0; i < sent.pieces.size(); ++i) {
            const qsizetype size = sent.pieces.at(i);
            if (i + 1 < sent.pieces.size()) {
                // Each chunk leaves at the end of the row that filled it.
                QVERIFY(size >= AnswerStream::chunkBytes);
                QVERIFY(size < AnswerStream::chunkBytes + 200);
                QCOMPARE(sent.text.at(offset + size - 1), ']');
            }
            offset += size;
        }
        QCOMPARE(sent.text, writtenThroughQtSql(memory.db(), longList, longListFields));
    }

    void aClientThatStopsTakingTheAnswerStopsTheQuery()
    {
        const MemoryDatabase memory("stopped");
        SqliteStatement statement(memory.db(), longList, {});
        SentAnswer sent;
        sent.taken = false;
        AnswerStream out(sent.sender());
        QVERIFY(!out.hasSent());
        QVERIFY_THROWS_EXCEPTION(AnswerStream::ClientGone, SqlitePacketJson::write(statement, longListFields, 1, out));
        QVERIFY(out.hasSent());
        QCOMPARE(sent.pieces.size(), 1);
    }

    void everyMigrationSplitsIntoStatements()
    {
        const QStringList files = SchemaMigrator::migrationFiles();
        QVERIFY(files.size() >= 2);
        QCOMPARE(files.first(), QStringLiteral("001_reference_tables.sql"));
        for (const QString &file : files) {
            const QStringList statements = SchemaMigrator::statementsOf(file);
            QVERIFY(!statements.isEmpty());
            for (const QString &statement : statements) {
                QVERIFY2(statement.startsWith("CREATE ") || statement.startsWith("ALTER TABLE ") || statement.startsWith("INSERT INTO ")
                             || statement.startsWith("DELETE FROM "), qPrintable(statement.left(40)));
                QVERIFY(!statement.endsWith(';'));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAppServerUnits)
#include "tst_appserver_units.moc"

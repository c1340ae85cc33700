#include "DatabaseLocation.h"
#include "WireCodec.h"
#include "DemoSeeder.h"
#include "JsonText.h"
#include "QuoteFilter.h"
#include "PacketLayouts.h"
#include "QuoteReader.h"
#include "SchemaMigrator.h"
#include "TaxIds.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

class TestAppServerUnits final : public QObject {
    Q_OBJECT

private slots:
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
            qsizetype rows = 0;
            const DataPacket text = WireCodec::decodePacket(QJsonDocument::fromJson(reader.quotesJson("0001", filter, &rows)).object());
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
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "long");
            db.setDatabaseName(":memory:");
            QVERIFY(db.open());
            QSqlQuery query(db);
            query.setForwardOnly(true);
            QVERIFY(query.exec(R"(WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 7000)
                SELECT printf('%010d', x), CASE WHEN x % 7 = 0 THEN NULL ELSE 'Conceição "' || x || '" \ €' END,
                       x * 0.25, x, 46000 + x / 24.0 FROM n)"));
            const QList<FieldDef> fields{{"IDCHECK", FieldType::Text, 1},     {"NRORCAEVENTO", FieldType::Text, 10},
                                         {"NMCLIE", FieldType::Text, 50},     {"VRTOTAL", FieldType::Float, 0},
                                         {"QTITEM", FieldType::Integer, 0},   {"DTEVENTO", FieldType::DateTime, 0}};
            QByteArray out;
            QCOMPARE(PacketLayouts::writeJson(query, fields, 1, out), qsizetype(7000));
            QVERIFY(query.exec(R"(WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 7000)
                SELECT printf('%010d', x), CASE WHEN x % 7 = 0 THEN NULL ELSE 'Conceição "' || x || '" \ €' END,
                       x * 0.25, x, 46000 + x / 24.0 FROM n)"));
            const DataPacket tree = PacketLayouts::read(query, fields, 1);
            const DataPacket text = WireCodec::decodePacket(QJsonDocument::fromJson(out).object());
            QCOMPARE(text.rows.size(), 7000);
            for (int i = 0; i < tree.rows.size(); ++i) {
                QCOMPARE(text.rows.at(i), tree.rows.at(i));
            }
            QCOMPARE(text.rows.at(6998).at(2).toString(), QString::fromUtf8("Conceição \"6999\" \\ €"));
            QVERIFY(text.rows.at(6999).at(2).isNull());
        }
        QSqlDatabase::removeDatabase("long");
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
                QVERIFY2(statement.startsWith("CREATE "), qPrintable(statement.left(40)));
                QVERIFY(!statement.endsWith(';'));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAppServerUnits)
#include "tst_appserver_units.moc"

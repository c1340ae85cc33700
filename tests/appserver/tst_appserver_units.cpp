#include "LineBuffer.h"
#include "QuoteFilter.h"
#include "SchemaMigrator.h"
#include "TaxIds.h"

#include <QTest>

class TestAppServerUnits final : public QObject {
    Q_OBJECT

private slots:
    void linesAreCutAtNewlinesWhateverTheChunks()
    {
        LineBuffer buffer(100);
        buffer.append("ab");
        QVERIFY(!buffer.next());
        buffer.append("c\nde\n\nf");
        QCOMPARE(buffer.next()->line, QByteArray("abc"));
        QCOMPARE(buffer.next()->line, QByteArray("de"));
        QCOMPARE(buffer.next()->line, QByteArray());
        QVERIFY(!buffer.next());
        buffer.append("g\n");
        QCOMPARE(buffer.next()->line, QByteArray("fg"));
    }

    void anOversizedLineIsReportedOnceAndSkipped_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::newRow("in one chunk") << QList<QByteArray>{QByteArray(30, 'x') + "\nok\n"};
        QTest::newRow("newline arrives later") << QList<QByteArray>{QByteArray(15, 'x'), QByteArray(15, 'x'), "xx\nok\n"};
        QTest::newRow("newline in its own chunk") << QList<QByteArray>{QByteArray(25, 'x'), "\n", "ok\n"};
    }
    void anOversizedLineIsReportedOnceAndSkipped()
    {
        QFETCH(QList<QByteArray>, chunks);
        LineBuffer buffer(10);
        QList<LineBuffer::Item> items;
        for (const QByteArray &chunk : chunks) {
            buffer.append(chunk);
            while (const auto item = buffer.next()) {
                items << *item;
            }
        }
        QCOMPARE(items.size(), 2);
        QVERIFY(items.at(0).oversized);
        QVERIFY(!items.at(1).oversized);
        QCOMPARE(items.at(1).line, QByteArray("ok"));
    }

    void aLineOfExactlyTheLimitPasses()
    {
        LineBuffer buffer(10);
        buffer.append(QByteArray(10, 'y') + '\n');
        const auto item = buffer.next();
        QVERIFY(item && !item->oversized);
        QCOMPARE(item->line.size(), 10);
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

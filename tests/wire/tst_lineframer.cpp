// The protocol's line framing, as both sides use it: lines cut wherever the
// bytes break, and lines over the limit reported once and skipped.
#include "LineFramer.h"

#include <QTest>

class TestLineFramer final : public QObject {
    Q_OBJECT

private slots:
    void linesAreCutWhereverTheBytesBreak_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::newRow("one line") << QList<QByteArray>{"abc\n"} << QList<QByteArray>{"abc"};
        QTest::newRow("incomplete") << QList<QByteArray>{"abc"} << QList<QByteArray>{};
        QTest::newRow("split") << QList<QByteArray>{"a", "b", "c\nd"} << QList<QByteArray>{"abc"};
        QTest::newRow("two in one") << QList<QByteArray>{"a\nb\n"} << QList<QByteArray>{"a", "b"};
        QTest::newRow("rest completed later") << QList<QByteArray>{"a\nb", "c\n"} << QList<QByteArray>{"a", "bc"};
        QTest::newRow("empty line") << QList<QByteArray>{"\n"} << QList<QByteArray>{""};
    }

    void linesAreCutWhereverTheBytesBreak()
    {
        QFETCH(QList<QByteArray>, pieces);
        LineFramer buffer;
        QList<QByteArray> lines;
        for (const QByteArray &piece : pieces) {
            buffer.append(piece);
            while (const auto line = buffer.next()) {
                lines.append(line->text);
            }
        }
        QTEST(lines, "lines");
    }

    void linesAreCutAtNewlinesWhateverTheChunks()
    {
        LineFramer buffer(100);
        buffer.append("ab");
        QVERIFY(!buffer.next());
        buffer.append("c\nde\n\nf");
        QCOMPARE(buffer.next()->text, QByteArray("abc"));
        QCOMPARE(buffer.next()->text, QByteArray("de"));
        QCOMPARE(buffer.next()->text, QByteArray());
        QVERIFY(!buffer.next());
        buffer.append("g\n");
        QCOMPARE(buffer.next()->text, QByteArray("fg"));
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
        LineFramer buffer(10);
        QList<LineFramer::Line> items;
        for (const QByteArray &chunk : chunks) {
            buffer.append(chunk);
            while (const auto item = buffer.next()) {
                items << *item;
            }
        }
        QCOMPARE(items.size(), 2);
        QVERIFY(items.at(0).oversized);
        QVERIFY(!items.at(1).oversized);
        QCOMPARE(items.at(1).text, QByteArray("ok"));
    }

    void aLineOfExactlyTheLimitPasses()
    {
        LineFramer buffer(10);
        buffer.append(QByteArray(10, 'y') + '\n');
        const auto item = buffer.next();
        QVERIFY(item && !item->oversized);
        QCOMPARE(item->text.size(), 10);
    }
};

QTEST_GUILESS_MAIN(TestLineFramer)
#include "tst_lineframer.moc"

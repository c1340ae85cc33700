// Typed codes sort by their 8-bit code-page bytes, which differ from the
// Unicode order where the code page puts typographic signs below Latin-1.
#include "Windows1252.h"

#include <QtTest>

class tst_Windows1252 final : public QObject {
    Q_OBJECT
private slots:
    void encodesToTheCodePage_data();
    void encodesToTheCodePage();
    void sortsByTheCodePageBytes_data();
    void sortsByTheCodePageBytes();
};

void tst_Windows1252::encodesToTheCodePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "AB12" << QByteArray("AB12");
    QTest::newRow("latin letters") << "ÇÃé" << QByteArray("\xC7\xC3\xE9");
    QTest::newRow("euro and dashes") << "€–—" << QByteArray("\x80\x96\x97");
    QTest::newRow("Y with diaeresis") << "Ÿ" << QByteArray("\x9F");
    QTest::newRow("outside the code page") << "日" << QByteArray("?");
    QTest::newRow("a C1 control the code page left unassigned") << QString(QChar(0x81)) << QByteArray("?");
}

void tst_Windows1252::encodesToTheCodePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Windows1252::encode(text), bytes);
}

void tst_Windows1252::sortsByTheCodePageBytes_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("higher");
    QTest::newRow("digits before letters") << "0000000099" << "00000000AB";
    QTest::newRow("shorter first when it begins the other") << "12" << "123";
    QTest::newRow("accented after plain") << "Z" << "É";
    // In Unicode "Ÿ" (U+0178) sorts after "¡" (U+00A1); its byte 0x9F does not.
    QTest::newRow("code-page sign before Latin-1") << "Ÿ" << "¡";
    QTest::newRow("euro after tilde") << "~" << "€";
}

void tst_Windows1252::sortsByTheCodePageBytes()
{
    QFETCH(QString, lower);
    QFETCH(QString, higher);
    QVERIFY(Windows1252::compare(lower, higher) < 0);
    QVERIFY(Windows1252::compare(higher, lower) > 0);
    QCOMPARE(Windows1252::compare(lower, lower), 0);
}

QTEST_APPLESS_MAIN(tst_Windows1252)
#include "tst_windows1252.moc"

#include "FieldRules.h"
#include "QuoteFilter.h"
#include "Refusal.h"
#include "WriteOperator.h"

#include <QTest>

namespace {

// The refusal's message, or empty when `check` accepts.
template<typename Check>
QString refusalOf(Check check)
{
    try {
        check();
    } catch (const Refusal &refusal) {
        return refusal.message();
    }
    return {};
}

FieldDef text(const char *name, int size)
{
    return FieldDef{QString::fromLatin1(name), FieldType::Text, size};
}

QString codes(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i) {
        list << QString::number(i);
    }
    return list.join(QLatin1Char('_'));
}

} // namespace

class TestWriteRules final : public QObject {
    Q_OBJECT

private slots:
    void valuesAreCheckedAgainstTheServersField_data()
    {
        QTest::addColumn<FieldDef>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("refusal"); // part of the message; empty: accepted
        const FieldDef operatorField = text("CDOPEJUSTORC", 12);
        const FieldDef title = text("DSTITUORCEVE", 100);
        const FieldDef note{QStringLiteral("TXOBSJUSTORC"), FieldType::Blob, 0};
        QTest::newRow("fits exactly") << operatorField << QVariant(QString(12, 'M')) << QString();
        QTest::newRow("one character too many") << operatorField << QVariant(QString(13, 'M')) << "no máximo 12 caracteres; o valor enviado tem 13";
        QTest::newRow("a hundred thousand") << operatorField << QVariant(QString(100000, 'M')) << "CDOPEJUSTORC aceita no máximo 12";
        QTest::newRow("letters outside the BMP count once") << text("CDJUSTEXCHIS", 4) << QVariant(QString::fromUtf8("🎉🎉🎉🎉")) << QString();
        QTest::newRow("empty value") << operatorField << QVariant() << QString();
        QTest::newRow("NUL in a code") << operatorField << QVariant(QStringLiteral("MS") + QChar::Null) << "CDOPEJUSTORC contém um caractere nulo";
        QTest::newRow("tab in a code") << text("CDFILIAL", 4) << QVariant(QStringLiteral("00\t1")) << "CDFILIAL contém caracteres de controle";
        QTest::newRow("DEL in a number") << text("NRORCAEVENTO", 10) << QVariant(QStringLiteral("1\x7f")) << "NRORCAEVENTO contém caracteres de controle";
        QTest::newRow("line break in an indicator") << text("IDSITUORCEVE", 1) << QVariant(QStringLiteral("\n")) << "controle";
        QTest::newRow("line break in a title") << title << QVariant(QStringLiteral("Festa\nde gala")) << QString();
        QTest::newRow("NUL in a title") << title << QVariant(QStringLiteral("Festa") + QChar::Null) << "DSTITUORCEVE contém um caractere nulo";
        QTest::newRow("long justification") << note << QVariant(QByteArray(200000, 'x')) << QString();
        QTest::newRow("NUL in a justification") << note << QVariant(QByteArray("linha\0fim", 9)) << "TXOBSJUSTORC contém um caractere nulo";
        QTest::newRow("number") << FieldDef{QStringLiteral("DTEVENTO"), FieldType::DateTime, 0} << QVariant(46000.5) << QString();
    }
    void valuesAreCheckedAgainstTheServersField()
    {
        QFETCH(FieldDef, field);
        QFETCH(QVariant, value);
        QFETCH(QString, refusal);
        const QString message = refusalOf([&] { FieldRules::check(field, value); });
        QVERIFY2(refusal.isEmpty() ? message.isEmpty() : message.contains(refusal), qPrintable(message));
    }

    void theOperatorOfAWrite_data()
    {
        QTest::addColumn<QString>("authenticated");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("recorded"); // empty: refused
        QTest::newRow("no operators: as named") << "" << "MSOUZA" << "MSOUZA";
        QTest::newRow("no operators: nobody named") << "" << "" << "";
        QTest::newRow("the connection's operator") << "MARIA" << "MARIA" << "MARIA";
        QTest::newRow("nobody named records the connection's") << "MARIA" << "" << "MARIA";
        QTest::newRow("another operator") << "MARIA" << "JSILVA" << "";
        QTest::newRow("the same in other case is another") << "MARIA" << "maria" << "";
        QTest::newRow("too long for the column") << "" << "OPERADOR12345" << "";
        QTest::newRow("control character") << "" << "MS\x01OUZA" << "";
    }
    void theOperatorOfAWrite()
    {
        QFETCH(QString, authenticated);
        QFETCH(QString, named);
        QFETCH(QString, recorded);
        const FieldDef column = text("CDOPERADOR", 12);
        QString result;
        const QString message = refusalOf([&] { result = WriteOperator::resolve(authenticated, named, column); });
        const bool refused = !message.isEmpty();
        QCOMPARE(refused, recorded.isEmpty() && !(authenticated.isEmpty() && named.isEmpty()));
        QCOMPARE(result, refused ? QString() : recorded);
        if (refused && !authenticated.isEmpty()) {
            QVERIFY2(message.contains(authenticated) && message.contains(named), qPrintable(message));
        }
    }

    void longCodeListsAreRefusedByTheirCount_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("joined");
        QTest::addColumn<QString>("refusal");
        const qsizetype limit = QuoteFilter::maxCodesPerList;
        QTest::newRow("clients at the limit") << "client" << codes(int(limit)) << QString();
        QTest::newRow("clients past the limit") << "client" << codes(int(limit) + 1)
                                                << "A lista de Cliente do filtro tem 100.001 códigos; o limite é 100.000 por lista.";
        QTest::newRow("empty entries do not count") << "seller" << QString(3 * int(limit), '_') + codes(int(limit)) + "__" << QString();
        QTest::newRow("sellers past the limit") << "seller" << "_" + codes(int(limit) + 5) << "Vendedor do filtro tem 100.005";
        QTest::newRow("event types") << "event type" << codes(int(limit) + 1) << "Tipo de evento";
        QTest::newRow("service types") << "service type" << codes(int(limit) + 1) << "Tipo de serviço";
        QTest::newRow("states") << "states" << codes(int(limit) + 1) << "Situação";
        QTest::newRow("a list switched off is not read") << "client off" << codes(int(limit) + 1) << QString();
    }
    void longCodeListsAreRefusedByTheirCount()
    {
        QFETCH(QString, criterion);
        QFETCH(QString, joined);
        QFETCH(QString, refusal);
        QuoteListing listing;
        if (criterion == "states") {
            listing.states = joined;
        } else {
            QuoteListing::CodeList *list = criterion == "seller"       ? &listing.seller
                                           : criterion == "event type"   ? &listing.eventType
                                           : criterion == "service type" ? &listing.serviceType
                                                                         : &listing.client;
            *list = {joined, criterion == "client off" ? QuoteListing::all : QString()};
        }
        const QString message = refusalOf([&] { QuoteFilter::checkListSizes(listing); });
        QVERIFY2(refusal.isEmpty() ? message.isEmpty() : message.contains(refusal), qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestWriteRules)
#include "tst_appserver_writerules.moc"

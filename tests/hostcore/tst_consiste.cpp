// The validation and formatting routines every screen leans on.
#include "Abort.h"
#include "Consiste.h"
#include "ScriptedDialogs.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <limits>
#include <stdexcept>

class tst_Consiste final : public QObject {
    Q_OBJECT
private slots:
    void ajustaFillsZerosOnTheLeftAndNeverCuts_data();
    void ajustaFillsZerosOnTheLeftAndNeverCuts();
    void roundDecRoundsTheDecimalValueHalfAwayFromZero_data();
    void roundDecRoundsTheDecimalValueHalfAwayFromZero();
    void roundDecLeavesNonFiniteValuesAlone();
    void pictPessGivesTheMaskOfThePersonType_data();
    void pictPessGivesTheMaskOfThePersonType();
    void formatMaskTextPutsLiteralsBetweenRawCharacters_data();
    void formatMaskTextPutsLiteralsBetweenRawCharacters();
    void emptyStringIsTrueOnlyForBlankText_data();
    void emptyStringIsTrueOnlyForBlankText();
    void checkResultServYieldsThePayloadOfASuccess_data();
    void checkResultServYieldsThePayloadOfASuccess();
    void checkResultServShowsTheFailureAndAbandons();
    void checkResultServWithoutAbandonShowsAndGoesOn();
    void checkResultServRefusesAMalformedAnswer_data();
    void checkResultServRefusesAMalformedAnswer();
    void mensErroWarnsAndAbandonsOnlyWhenAsked();
};

void tst_Consiste::ajustaFillsZerosOnTheLeftAndNeverCuts_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter") << "12" << 4 << "0012";
    QTest::newRow("one character") << "7" << 4 << "0007";
    QTest::newRow("exact") << "0001" << 4 << "0001";
    QTest::newRow("longer is not cut") << "12345" << 4 << "12345";
    QTest::newRow("empty stays empty") << "" << 4 << "";
    QTest::newRow("blank stays empty") << "   " << 4 << "";
    QTest::newRow("blanks of a masked edit dropped") << "12  " << 4 << "0012";
    QTest::newRow("letters keep their place") << "AB" << 4 << "00AB";
    QTest::newRow("ten-digit quote number") << "123" << 10 << "0000000123";
}

void tst_Consiste::ajustaFillsZerosOnTheLeftAndNeverCuts()
{
    QFETCH(QString, code);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(Consiste::Ajusta(code, width), expected);
}

void tst_Consiste::roundDecRoundsTheDecimalValueHalfAwayFromZero_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.675 stored below its value") << 2.675 << 2 << 2.68;
    QTest::newRow("1.005 stored below its value") << 1.005 << 2 << 1.01;
    QTest::newRow("-0.125 away from zero") << -0.125 << 2 << -0.13;
    QTest::newRow("18.745") << 18.745 << 2 << 18.75;
    QTest::newRow("below half goes down") << 2.674 << 2 << 2.67;
    QTest::newRow("negative below half") << -2.674 << 2 << -2.67;
    QTest::newRow("negative half") << -1.005 << 2 << -1.01;
    QTest::newRow("0 decimals half up") << 2.5 << 0 << 3.0;
    QTest::newRow("0 decimals negative half") << -2.5 << 0 << -3.0;
    QTest::newRow("0 decimals below half") << 2.49 << 0 << 2.0;
    QTest::newRow("carry through nines") << 9.995 << 2 << 10.0;
    QTest::newRow("small value up to the first place") << 0.005 << 2 << 0.01;
    QTest::newRow("small value down to zero") << 0.004 << 2 << 0.0;
    QTest::newRow("far below the place") << 0.00004 << 2 << 0.0;
    QTest::newRow("sum with binary noise") << 0.1 + 0.2 << 2 << 0.3;
    QTest::newRow("large value") << 1234567890.125 << 2 << 1234567890.13;
    QTest::newRow("large negative") << -98765432.105 << 2 << -98765432.11;
    QTest::newRow("beyond 15 digits unchanged") << 1.0e20 << 2 << 1.0e20;
    QTest::newRow("already within the decimals") << 12.5 << 4 << 12.5;
    QTest::newRow("zero") << 0.0 << 2 << 0.0;
    QTest::newRow("negative decimals to tens") << 1234.5 << -1 << 1230.0;
    QTest::newRow("three decimals") << 1.0005 << 3 << 1.001;
}

void tst_Consiste::roundDecRoundsTheDecimalValueHalfAwayFromZero()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    const double rounded = Consiste::RoundDec(value, decimals);
    // The result is the double nearest the rounded decimal, exactly.
    QCOMPARE(rounded, expected);
    QVERIFY(!std::signbit(rounded) || expected < 0);
}

void tst_Consiste::roundDecLeavesNonFiniteValuesAlone()
{
    QVERIFY(std::isnan(Consiste::RoundDec(std::numeric_limits<double>::quiet_NaN(), 2)));
    QCOMPARE(Consiste::RoundDec(std::numeric_limits<double>::infinity(), 2),
             std::numeric_limits<double>::infinity());
}

void tst_Consiste::pictPessGivesTheMaskOfThePersonType_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("mask");
    QTest::newRow("person") << "F" << "999.999.999-99;_";
    QTest::newRow("company") << "J" << "99.999.999/9999-99;_";
    QTest::newRow("lower case is not a type") << "f" << "";
    QTest::newRow("foreigner") << "E" << "";
    QTest::newRow("empty") << "" << "";
}

void tst_Consiste::pictPessGivesTheMaskOfThePersonType()
{
    QFETCH(QString, type);
    QFETCH(QString, mask);
    QCOMPARE(Consiste::PictPess(type), mask);
}

void tst_Consiste::formatMaskTextPutsLiteralsBetweenRawCharacters_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CPF") << Consiste::PictPess("F") << "12345678901" << "123.456.789-01";
    QTest::newRow("CNPJ") << Consiste::PictPess("J") << "12345678000195" << "12.345.678/0001-95";
    QTest::newRow("already formatted CPF") << Consiste::PictPess("F") << "123.456.789-01"
                                           << "123.456.789-01";
    QTest::newRow("partial value stops with it") << Consiste::PictPess("F") << "1234" << "123.4";
    QTest::newRow("extra characters dropped") << "99-99" << "123456" << "12-34";
    QTest::newRow("empty mask keeps raw") << "" << "12345" << "12345";
    QTest::newRow("empty raw") << Consiste::PictPess("J") << "" << "";
    QTest::newRow("upper case conversion") << ">AAA-9999" << "abc1234" << "ABC-1234";
    QTest::newRow("lower then keep") << "<aa!aa" << "ABCD" << "abCD";
    QTest::newRow("escaped mask character is a literal") << "99\\A99" << "1234" << "12A34";
    QTest::newRow("product code mask") << "99.999.99;0" << "1234567" << "12.345.67";
}

void tst_Consiste::formatMaskTextPutsLiteralsBetweenRawCharacters()
{
    QFETCH(QString, mask);
    QFETCH(QString, raw);
    QFETCH(QString, shown);
    QCOMPARE(Consiste::FormatMaskText(mask, raw), shown);
}

void tst_Consiste::emptyStringIsTrueOnlyForBlankText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("empty");
    QTest::newRow("null") << QString() << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("spaces") << "    " << true;
    QTest::newRow("tabs and newlines") << "\t\n \r" << true;
    QTest::newRow("a letter among blanks") << "  a " << false;
    QTest::newRow("zero") << "0" << false;
}

void tst_Consiste::emptyStringIsTrueOnlyForBlankText()
{
    QFETCH(QString, text);
    QFETCH(bool, empty);
    QCOMPARE(Consiste::EmptyString(text), empty);
}

void tst_Consiste::checkResultServYieldsThePayloadOfASuccess_data()
{
    QTest::addColumn<QJsonValue>("answer");
    QTest::addColumn<QJsonValue>("payload");
    const QJsonObject packet{{"fields", QJsonArray()}, {"rows", QJsonArray()}};
    QTest::newRow("packet") << QJsonValue(QJsonObject{{"ok", true}, {"data", packet}})
                            << QJsonValue(packet);
    QTest::newRow("text") << QJsonValue(QJsonObject{{"ok", true}, {"data", "8"}}) << QJsonValue("8");
    QTest::newRow("no data is null") << QJsonValue(QJsonObject{{"ok", true}}) << QJsonValue();
}

void tst_Consiste::checkResultServYieldsThePayloadOfASuccess()
{
    QFETCH(QJsonValue, answer);
    QFETCH(QJsonValue, payload);
    ScriptedDialogs dialogs;
    QCOMPARE(Consiste::CheckResultServ(answer, true, 0), payload);
    QVERIFY(dialogs.shown().isEmpty());
}

void tst_Consiste::checkResultServShowsTheFailureAndAbandons()
{
    ScriptedDialogs dialogs;
    const QJsonObject failure{{"ok", false}, {"message", "Orçamento alterado por outro operador."}};
    QVERIFY_THROWS_EXCEPTION(Abort, Consiste::CheckResultServ(failure, true, 0));
    QCOMPARE(dialogs.shown().size(), 1);
    QCOMPARE(dialogs.shown().first().icon, HostDialogs::Icon::Error);
    QCOMPARE(dialogs.lastText(), QStringLiteral("Orçamento alterado por outro operador."));
}

void tst_Consiste::checkResultServWithoutAbandonShowsAndGoesOn()
{
    ScriptedDialogs dialogs;
    const QJsonObject failure{{"ok", false}, {"message", "Motivo inválido."}};
    const QJsonValue data = Consiste::CheckResultServ(failure, false, 0);
    QVERIFY(data.isUndefined());
    QCOMPARE(dialogs.shownTexts(), QStringList{"Motivo inválido."});
}

void tst_Consiste::checkResultServRefusesAMalformedAnswer_data()
{
    QTest::addColumn<QJsonValue>("answer");
    QTest::newRow("plain text") << QJsonValue("8");
    QTest::newRow("no ok") << QJsonValue(QJsonObject{{"data", 1}});
    QTest::newRow("ok not boolean") << QJsonValue(QJsonObject{{"ok", "true"}});
    QTest::newRow("failure without message") << QJsonValue(QJsonObject{{"ok", false}});
    QTest::newRow("null") << QJsonValue();
}

void tst_Consiste::checkResultServRefusesAMalformedAnswer()
{
    QFETCH(QJsonValue, answer);
    ScriptedDialogs dialogs;
    try {
        Consiste::CheckResultServ(answer, true, 0);
        QFAIL("a malformed answer was accepted");
    } catch (const Abort &) {
        QFAIL("a malformed answer was taken for a refusal");
    } catch (const std::runtime_error &failure) {
        QCOMPARE(QString::fromUtf8(failure.what()), QStringLiteral("Resposta inválida do servidor."));
    }
    QVERIFY(dialogs.shown().isEmpty());
}

void tst_Consiste::mensErroWarnsAndAbandonsOnlyWhenAsked()
{
    ScriptedDialogs dialogs;
    Consiste::MensErro("Filial deve ser informada.", false);
    QVERIFY_THROWS_EXCEPTION(Abort, Consiste::MensErro("Filial não cadastrada.", true));
    QCOMPARE(dialogs.shownTexts(), QStringList({"Filial deve ser informada.", "Filial não cadastrada."}));
    for (const ScriptedDialogs::Shown &shown : dialogs.shown()) {
        QCOMPARE(shown.icon, HostDialogs::Icon::Warning);
        QCOMPARE(shown.title, QStringLiteral("Atenção"));
    }
}

QTEST_GUILESS_MAIN(tst_Consiste)
#include "tst_consiste.moc"

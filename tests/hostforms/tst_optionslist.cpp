#include "SavedOptions.h"
#include "TOptionsList.h"

#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

class TestOptionsList final : public QObject {
    Q_OBJECT
private slots:
    void settingAndReading_data();
    void settingAndReading();
    void savedSetComesBackLineForLine();
    void savedSetsAreKeptPerScreenAndName();
    void loadingANameNeverSavedFails();
};

// Each row starts from the lines "a=1", "b=2" and sets one name.
void TestOptionsList::settingAndReading_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("readName");
    QTest::addColumn<QString>("readValue");
    QTest::newRow("new name is added at the end")
        << "c" << "3" << QStringList{"a=1", "b=2", "c=3"} << "c" << "3";
    QTest::newRow("existing name is replaced in place")
        << "a" << "9" << QStringList{"a=9", "b=2"} << "a" << "9";
    QTest::newRow("name matches whatever its case")
        << "A" << "9" << QStringList{"A=9", "b=2"} << "a" << "9";
    QTest::newRow("empty value removes the line")
        << "a" << "" << QStringList{"b=2"} << "a" << "";
    QTest::newRow("empty value for a missing name changes nothing")
        << "z" << "" << QStringList{"a=1", "b=2"} << "z" << "";
    QTest::newRow("missing name reads empty")
        << "b" << "2" << QStringList{"a=1", "b=2"} << "stCliente" << "";
    QTest::newRow("value may hold the equals sign")
        << "c" << "x=y" << QStringList{"a=1", "b=2", "c=x=y"} << "c" << "x=y";
    QTest::newRow("code list kept as given")
        << "stVendedor" << "'001','002'" << QStringList{"a=1", "b=2", "stVendedor='001','002'"}
        << "stVendedor" << "'001','002'";
}

void TestOptionsList::settingAndReading()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QStringList, lines);
    QFETCH(QString, readName);
    QFETCH(QString, readValue);
    TOptionsList options;
    options.setLines({QStringLiteral("a=1"), QStringLiteral("b=2")});
    options.SetValues(name, value);
    QCOMPARE(options.lines(), lines);
    QCOMPARE(options.Values(readName), readValue);
}

void TestOptionsList::savedSetComesBackLineForLine()
{
    QTemporaryDir folder;
    SavedOptions::setFileName(folder.filePath(QStringLiteral("opcoes.ini")));
    const QStringList lines = {QStringLiteral("stCliente='0001','0002'"), QStringLiteral("stTipoEven=\"A\",B"),
                               QStringLiteral("stProduto=1.02.003")};
    SavedOptions::save(QStringLiteral("CXL04101"), QStringLiteral("Semana / sábado"), lines);
    QCOMPARE(SavedOptions::load(QStringLiteral("CXL04101"), QStringLiteral("Semana / sábado")), lines);
    SavedOptions::save(QStringLiteral("CXL04101"), QStringLiteral("vazio"), {});
    QCOMPARE(SavedOptions::load(QStringLiteral("CXL04101"), QStringLiteral("vazio")), QStringList());
    SavedOptions::setFileName({});
}

void TestOptionsList::savedSetsAreKeptPerScreenAndName()
{
    QTemporaryDir folder;
    SavedOptions::setFileName(folder.filePath(QStringLiteral("opcoes.ini")));
    SavedOptions::save(QStringLiteral("CXL04101"), QStringLiteral("b"), {QStringLiteral("x=1")});
    SavedOptions::save(QStringLiteral("CXL04101"), QStringLiteral("a"), {QStringLiteral("x=2")});
    SavedOptions::save(QStringLiteral("OUTRA"), QStringLiteral("c"), {QStringLiteral("x=3")});
    SavedOptions::save(QStringLiteral("CXL04101"), QStringLiteral("b"), {QStringLiteral("x=4")});
    QCOMPARE(SavedOptions::names(QStringLiteral("CXL04101")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(SavedOptions::names(QStringLiteral("OUTRA")), QStringList{QStringLiteral("c")});
    QCOMPARE(SavedOptions::load(QStringLiteral("CXL04101"), QStringLiteral("b")), QStringList{QStringLiteral("x=4")});
    SavedOptions::setFileName({});
}

void TestOptionsList::loadingANameNeverSavedFails()
{
    QTemporaryDir folder;
    SavedOptions::setFileName(folder.filePath(QStringLiteral("opcoes.ini")));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, SavedOptions::load(QStringLiteral("CXL04101"), QStringLiteral("nada")));
    SavedOptions::setFileName({});
}

QTEST_MAIN(TestOptionsList)
#include "tst_optionslist.moc"

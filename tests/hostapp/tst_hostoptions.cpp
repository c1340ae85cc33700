// Login data and addresses come from the ini file, and the command line wins.
#include "HostOptions.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_HostOptions final : public QObject {
    Q_OBJECT
private slots:
    void shouldLetCommandLineOverrideIni();
    void shouldReadEverySettingOfTheIni();
    void shouldReadTheServerList_data();
    void shouldReadTheServerList();
    void shouldRefuseMalformedValues_data();
    void shouldRefuseMalformedValues();
    void shouldUseTlsOffLoopbackUnlessTold_data();
    void shouldUseTlsOffLoopbackUnlessTold();

private:
    QString writeIni(const QByteArray &content);
    QTemporaryDir m_dir;
};

QString tst_HostOptions::writeIni(const QByteArray &content)
{
    const QString path = m_dir.filePath(QStringLiteral("hostapp.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void tst_HostOptions::shouldReadEverySettingOfTheIni()
{
    const QString ini = writeIni("[servidor]\nendereco=10.1.2.3:7555\n"
                                 "[local]\nbanco=dados/local.db\nmodulos=mods\n"
                                 "[login]\noperador=MARIA\nfilial=0003\nfilialFixa=true\n"
                                 "[mascaras]\nproduto=\"99.99;_\"\n");
    const HostOptions options = ParseHostOptions({"hostapp", "--config", ini});
    QCOMPARE(options.serverHost, QStringLiteral("10.1.2.3"));
    QCOMPARE(options.serverPort, 7555);
    QCOMPARE(options.localDb, m_dir.filePath(QStringLiteral("dados/local.db")));
    QCOMPARE(options.modulesDir, m_dir.filePath(QStringLiteral("mods")));
    QCOMPARE(options.operatorCode, QStringLiteral("MARIA"));
    QCOMPARE(options.branch, QStringLiteral("0003"));
    QVERIFY(options.fixedBranch);
    QCOMPARE(options.productMask, QStringLiteral("99.99;_"));
}

void tst_HostOptions::shouldLetCommandLineOverrideIni()
{
    const QString ini = writeIni("[servidor]\nendereco=10.1.2.3:7555\n[login]\nfilial=0003\n");
    const HostOptions options = ParseHostOptions({"hostapp", "--config", ini, "--server",
                                                  "127.0.0.1:9000", "--branch", "0007", "--open",
                                                  "Pkg_cxl04100", "--screenshot", "tela.png"});
    QCOMPARE(options.serverHost, QStringLiteral("127.0.0.1"));
    QCOMPARE(options.serverPort, 9000);
    QCOMPARE(options.branch, QStringLiteral("0007"));
    QCOMPARE(options.open, QStringLiteral("Pkg_cxl04100"));
    QCOMPARE(options.screenshot, QStringLiteral("tela.png"));
    QVERIFY(!options.fixedBranch);
}

void tst_HostOptions::shouldReadTheServerList_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("servers");
    const QByteArray twoInIni("[servidor]\nendereco=10.0.0.1:7500,10.0.0.2:7600\n");
    QTest::newRow("none given") << QByteArray() << QStringList{} << QStringList{"127.0.0.1:7400"};
    QTest::newRow("two, a host alone keeping the port") << QByteArray() << QStringList{"--server", "a, b:7600"} << QStringList{"a:7400", "b:7600"};
    QTest::newRow("ini list") << twoInIni << QStringList{} << QStringList{"10.0.0.1:7500", "10.0.0.2:7600"};
    QTest::newRow("ini list quoted") << QByteArray("[servidor]\nendereco=\"a:1, b:2\"\n") << QStringList{} << QStringList{"a:1", "b:2"};
    QTest::newRow("command line over the ini") << twoInIni << QStringList{"--server", "c:9"} << QStringList{"c:9"};
}

void tst_HostOptions::shouldReadTheServerList()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, servers);
    const HostOptions options = ParseHostOptions(QStringList{"hostapp", "--config", writeIni(ini)} + arguments);
    QCOMPARE(options.servers, servers);
    QCOMPARE(QStringLiteral("%1:%2").arg(options.serverHost).arg(options.serverPort), servers.first());
}

void tst_HostOptions::shouldRefuseMalformedValues_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("port not a number") << QStringList{"hostapp", "--server", "host:abc"}
                                       << "Porta do servidor inválida";
    QTest::newRow("port out of range") << QStringList{"hostapp", "--server", "host:70000"}
                                       << "Porta do servidor inválida";
    QTest::newRow("no host") << QStringList{"hostapp", "--server", ":7400"}
                             << "Endereço do servidor inválido";
    QTest::newRow("empty entry in a list") << QStringList{"hostapp", "--server", "a:7400,,b:7400"} << "Endereço do servidor inválido: \"\"";
    QTest::newRow("bad port of the second") << QStringList{"hostapp", "--server", "a:7400,b:x"} << "Porta do servidor inválida: \"x\"";
    QTest::newRow("missing ini") << QStringList{"hostapp", "--config", "/nao/existe.ini"}
                                 << "Arquivo de configuração não encontrado";
    QTest::newRow("unknown option") << QStringList{"hostapp", "--servidor", "x"} << "servidor";
}

void tst_HostOptions::shouldRefuseMalformedValues()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    try {
        ParseHostOptions(arguments);
        QFAIL("malformed options were accepted");
    } catch (const std::runtime_error &failure) {
        QVERIFY2(QString::fromUtf8(failure.what()).contains(message), failure.what());
    }
}

void tst_HostOptions::shouldUseTlsOffLoopbackUnlessTold_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("tls");
    QTest::newRow("default loopback server") << QByteArray() << QStringList{} << false;
    QTest::newRow("localhost") << QByteArray() << QStringList{"--server", "LocalHost:7400"} << false;
    QTest::newRow("another host") << QByteArray() << QStringList{"--server", "10.0.0.5:7400"} << true;
    QTest::newRow("another host second") << QByteArray() << QStringList{"--server", "127.0.0.1:7400,10.0.0.5:7400"} << true;
    QTest::newRow("--tls on loopback") << QByteArray() << QStringList{"--tls"} << true;
    QTest::newRow("ini off for another host") << QByteArray("[servidor]\nendereco=10.0.0.5:7400\ntls=false\n")
                                              << QStringList{} << false;
    QTest::newRow("--tls over the ini") << QByteArray("[servidor]\ntls=false\n") << QStringList{"--tls"} << true;
}

void tst_HostOptions::shouldUseTlsOffLoopbackUnlessTold()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, arguments);
    arguments.prepend(QStringLiteral("hostapp"));
    if (!ini.isEmpty()) {
        arguments << QStringLiteral("--config") << writeIni(ini);
    }
    QTEST(ParseHostOptions(arguments).tls, "tls");
}

QTEST_MAIN(tst_HostOptions)
#include "tst_hostoptions.moc"

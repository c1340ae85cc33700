// What the connection tells the server about its operator, and when it
// trusts a server that speaks TLS: nothing is sent to one it does not trust.
#include "ScriptedPeer.h"
#include "TNetConnection.h"
#include "TestCertificate.h"

#include <QJsonArray>
#include <QtTest>

#include <memory>

namespace {

const QString serverName = QStringLiteral("CXL04100.rdmCancelamento");

QJsonObject credentials(const QString &password)
{
    return QJsonObject{{QStringLiteral("operator"), QStringLiteral("MARIA")}, {QStringLiteral("password"), password}};
}

} // namespace

class TestNetConnectionLogin final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TNetConnection> connectionTo(const ScriptedPeer &peer, const QString &password)
    {
        auto connection = std::make_unique<TNetConnection>();
        connection->SetServerName(serverName);
        connection->SetPort(peer.port());
        connection->SetOperator(QStringLiteral("MARIA"));
        connection->SetPassword(password);
        connection->Connect();
        return connection;
    }

    TestCertificate m_certificate;
    TestCertificate m_other;

private slots:
    void initTestCase()
    {
        QVERIFY2(m_certificate.error().isEmpty(), qPrintable(m_certificate.error()));
        QVERIFY2(m_other.error().isEmpty(), qPrintable(m_other.error()));
    }

    void credentialsGoOnlyWhenCompleteAndARefusalKeepsItsCode_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QJsonArray>("params");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no password") << QString() << QJsonArray{serverName} << int(TNetConnection::OperatorRequired)
                                     << "o servidor exige operador e senha.";
        QTest::newRow("wrong") << "errada" << QJsonArray{serverName, credentials("errada")}
                               << int(TNetConnection::OperatorRefused) << "operador ou senha inválidos.";
        QTest::newRow("right") << "s3nh@ 1" << QJsonArray{serverName, credentials("s3nh@ 1")} << 0 << QString();
    }

    void credentialsGoOnlyWhenCompleteAndARefusalKeepsItsCode()
    {
        QFETCH(QString, password);
        QFETCH(int, code);
        QFETCH(QString, reason);
        ScriptedPeer peer;
        peer.requireOperator(QStringLiteral("MARIA"), QStringLiteral("s3nh@ 1"));
        auto connection = connectionTo(peer, password);
        QTEST(peer.requests().first().value(QStringLiteral("params")).toArray(), "params");
        QCOMPARE(connection->Connected(), code == 0);
        QCOMPARE(connection->LastErrorCode(), code);
        QCOMPARE(connection->LastError(), reason.isEmpty() ? QString()
                                                           : QStringLiteral("O servidor de aplicação 127.0.0.1:%1 não aceitou a "
                                                                            "conexão com \"%2\": %3").arg(peer.port()).arg(serverName, reason));
    }

    void serverIsTrustedByItsPinOrNotAtAll_data()
    {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<QString>("reason"); // empty: trusted
        const QString printed = m_certificate.fingerprint();
        QTest::newRow("pin as openssl prints it") << printed << QString();
        QTest::newRow("pin in lower case without ':'") << QString(printed).remove(QLatin1Char(':')).toLower() << QString();
        QTest::newRow("another certificate's pin")
            << m_other.fingerprint() << "o certificado do servidor não tem a impressão digital confiada";
        QTest::newRow("no pin, self-signed for another name")
            << QString() << "o certificado do servidor não é confiável: autoassinado, emitido para outro endereço";
    }

    void serverIsTrustedByItsPinOrNotAtAll()
    {
        QFETCH(QString, pin);
        QFETCH(QString, reason);
        ScriptedPeer peer(m_certificate);
        TNetConnection connection;
        connection.SetServerName(serverName);
        connection.SetPort(peer.port());
        connection.SetTls(true);
        connection.SetServerFingerprint(pin);
        connection.SetOperator(QStringLiteral("MARIA"));
        connection.SetPassword(QStringLiteral("s3nh@"));
        peer.replyResult(QStringLiteral("cifrado"));
        if (reason.isEmpty()) {
            QCOMPARE(connection.Call(QStringLiteral("getSituAnterior")), QJsonValue(QStringLiteral("cifrado")));
            QVERIFY(connection.OfferedFingerprint().isEmpty());
            return;
        }
        connection.Connect();
        QCOMPARE(connection.LastError(), QStringLiteral("Não foi possível conectar ao servidor de aplicação 127.0.0.1:%1 (%2).")
                                             .arg(peer.port()).arg(reason));
        QCOMPARE(connection.OfferedFingerprint(), m_certificate.fingerprint());
        QVERIFY(peer.requests().isEmpty()); // the password never left
    }
};

QTEST_GUILESS_MAIN(TestNetConnectionLogin)
#include "tst_netconnection_login.moc"

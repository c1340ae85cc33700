// The host's first contact with the server: the password asked only when the
// server wants it (three tries), a certificate shown at the first meeting and
// remembered once trusted, a changed one refused, a server out of reach left
// for the screens.
#include "ModalAnswers.h"
#include "QtHostDialogs.h"
#include "ScriptedDialogs.h"
#include "ScriptedPeer.h"
#include "ServerLogin.h"
#include "ServerTrust.h"
#include "TestCertificate.h"

#include <QJsonArray>
#include <QLineEdit>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString serverName = QStringLiteral("CXL04100.rdmCancelamento");

Corvane::LoginData loginTo(quint16 port, bool tls)
{
    Corvane::LoginData login;
    login.operador = QStringLiteral("MARIA");
    login.webURL = QStringLiteral("127.0.0.1");
    login.webPort = port;
    login.webTLS = tls;
    return login;
}

// The password of each connect the peer received; "-" where none came.
QStringList passwordsSent(const ScriptedPeer &peer)
{
    QStringList sent;
    for (const QJsonObject &request : peer.requests()) {
        const QJsonValue credentials = request.value(QStringLiteral("params")).toArray().at(1);
        sent << (credentials.isObject() ? credentials[QStringLiteral("password")].toString() : QStringLiteral("-"));
    }
    return sent;
}

} // namespace

class tst_ServerLogin final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(m_certificate.error().isEmpty(), qPrintable(m_certificate.error()));
    }

    void passwordIsAskedOnlyWhenWantedThreeTimesAtMost_data()
    {
        QTest::addColumn<QStringList>("typed"); // an empty one cancels
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("sent");
        const QString ask = QStringLiteral("Senha do operador MARIA:");
        const QString again = QStringLiteral("Operador ou senha inválidos (tentativa %1 de 3).\n") + ask;
        QTest::newRow("not wanted") << QStringList{} << true << QStringList{} << QStringList{"-"};
        QTest::newRow("right at the third") << QStringList{"a", "b", "certa"} << true
                                            << QStringList{ask, again.arg(2), again.arg(3)} << QStringList{"-", "a", "b", "certa"};
        QTest::newRow("wrong three times")
            << QStringList{"a", "b", "c"} << false
            << QStringList{ask, again.arg(2), again.arg(3),
                           "O servidor 127.0.0.1:PORT recusou o operador MARIA ou a senha 3 vezes. O sistema será encerrado."}
            << QStringList{"-", "a", "b", "c"};
        QTest::newRow("cancelled") << QStringList{"a", ""} << false << QStringList{ask, again.arg(2)} << QStringList{"-", "a"};
    }

    void passwordIsAskedOnlyWhenWantedThreeTimesAtMost()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        ScriptedPeer peer;
        if (!typed.isEmpty()) {
            peer.requireOperator(QStringLiteral("MARIA"), QStringLiteral("certa"));
        }
        ScriptedDialogs dialogs;
        for (const QString &password : typed) {
            dialogs.answerPassword(password);
        }
        Corvane::LoginData login = loginTo(peer.port(), false);
        QTEST(ServerLogin::Probe(login, m_trust, serverName), "goesOn");
        QCOMPARE(dialogs.shownTexts(), shown.replaceInStrings(QStringLiteral("PORT"), QString::number(peer.port())));
        QTEST(passwordsSent(peer), "sent");
        QCOMPARE(login.senha, typed.value(typed.size() - 1));
    }

    void certificateIsTrustedAtTheFirstMeetingOnly_data()
    {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<int>("answer"); // -1: nothing asked
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<QString>("shown");
        QTest::newRow("trusted") << QString() << 0 << true << "Primeira conexão com o servidor 127.0.0.1:PORT.\n\n"
                                 "Impressão digital SHA-256 do certificado do servidor:\nFINGERPRINT\n\n"
                                 "Confira-a com o administrador do sistema. Confiar neste servidor?";
        QTest::newRow("declined") << QString() << 1 << false << "Primeira conexão com o servidor 127.0.0.1:PORT.";
        QTest::newRow("met before") << "FINGERPRINT" << -1 << true << QString();
        QTest::newRow("changed") << "00:11" << -1 << false << "O certificado do servidor 127.0.0.1:PORT mudou: a impressão "
                                 "digital SHA-256 apresentada não é a que foi confiada.\n\nConfiada:\n00:11\n\nApresentada:\n"
                                 "FINGERPRINT\n\nA conexão foi recusada e o sistema será encerrado; procure o administrador.";
    }

    void certificateIsTrustedAtTheFirstMeetingOnly()
    {
        QFETCH(QString, remembered);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        const auto fill = [&](QString text) {
            return text.replace(QStringLiteral("PORT"), QString::number(m_peer.port()))
                .replace(QStringLiteral("FINGERPRINT"), m_certificate.fingerprint());
        };
        QSettings settings(m_dir.filePath(QString::fromLatin1(QTest::currentDataTag())), QSettings::IniFormat);
        ServerTrust trust(settings);
        ScriptedDialogs dialogs;
        if (answer >= 0) {
            dialogs.answerAsk(answer);
        }
        Corvane::LoginData login = loginTo(m_peer.port(), true);
        login.webFingerprint = fill(remembered);
        QTEST(ServerLogin::Probe(login, trust, serverName), "goesOn");
        QVERIFY2(dialogs.lastText().startsWith(fill(shown)), qPrintable(dialogs.lastText()));
        QCOMPARE(dialogs.shown().size(), shown.isEmpty() ? 0 : 1);
        const QString kept = answer == 0 ? m_certificate.fingerprint() : QString();
        QCOMPARE(trust.fingerprint(QStringLiteral("127.0.0.1"), m_peer.port()), kept);
    }

    void trustAndPasswordByKeyboard()
    {
        ScriptedPeer peer(m_certificate);
        peer.requireOperator(QStringLiteral("MARIA"), QStringLiteral("s3nh@"));
        QtHostDialogs real;
        HostDialogs::install(&real);
        ModalAnswers answers;
        const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        answers.then([&](QWidget &) { press(Qt::Key_Return); }); // "Sim", the default
        bool echoed = true;
        answers.then([&](QWidget &) {
            auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            QTest::keyClicks(edit, QStringLiteral("s3nh@"));
            echoed = !edit || edit->echoMode() != QLineEdit::Password;
            press(Qt::Key_Return);
        });
        Corvane::LoginData login = loginTo(peer.port(), true);
        const bool goesOn = ServerLogin::Probe(login, m_trust, serverName);
        HostDialogs::install(nullptr);
        QVERIFY(goesOn && answers.allUsed() && !echoed);
        QCOMPARE(passwordsSent(peer), (QStringList{"-", "s3nh@"}));
        QCOMPARE(login.webFingerprint, m_certificate.fingerprint());
    }

    void unreachableServerDoesNotHoldTheStart()
    {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        Corvane::LoginData login = loginTo(closed.serverPort(), true);
        closed.close();
        ScriptedDialogs dialogs;
        QVERIFY(ServerLogin::Probe(login, m_trust, serverName));
        QVERIFY(dialogs.shown().isEmpty());
    }

private:
    TestCertificate m_certificate;
    ScriptedPeer m_peer{m_certificate};
    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath(QStringLiteral("hostapp.conf")), QSettings::IniFormat};
    ServerTrust m_trust{m_settings};
};

QTEST_MAIN(tst_ServerLogin)
#include "tst_serverlogin.moc"

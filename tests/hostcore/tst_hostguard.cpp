// Failures that reach the host: the abort passes silently, anything else is
// shown in the error box, and nothing crosses into the toolkit.
#include "Abort.h"
#include "HostApplication.h"
#include "HostGuard.h"
#include "ScriptedDialogs.h"

#include <QPushButton>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace {

// An object whose handler of user events fails the way it is told to.
class FailingReceiver final : public QObject {
public:
    std::function<void()> failure;

    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User) {
            failure();
            return true;
        }
        return QObject::event(event);
    }
};

// What the process writes to its standard error while `action` runs.
QByteArray standardErrorOf(const std::function<void()> &action)
{
    QTemporaryFile capture;
    if (!capture.open()) {
        return "cannot capture";
    }
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    action();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

} // namespace

class tst_HostGuard final : public QObject {
    Q_OBJECT
private slots:
    void runTellsWhetherTheActionRanToItsEnd();
    void anAbortIsSwallowedWithoutAMessage();
    void aFailureShowsItsMessageInTheErrorBox_data();
    void aFailureShowsItsMessageInTheErrorBox();
    void anUnknownFailureShowsAnUnexpectedError();
    void reportShowsNothingForTheAbort();
    void withoutDialogsTheFailureGoesToStandardError();
    void aClickThatAbandonsShowsNothing();
    void aClickThatFailsShowsTheErrorBoxAndTheApplicationGoesOn();
    void anEventWhoseHandlerFailedCountsAsNotHandled();
};

void tst_HostGuard::runTellsWhetherTheActionRanToItsEnd()
{
    ScriptedDialogs dialogs;
    bool ran = false;
    QVERIFY(HostGuard::run([&] { ran = true; }));
    QVERIFY(ran);
    QVERIFY(!HostGuard::run([] { throw Abort(); }));
    QVERIFY(!HostGuard::run([] { throw std::runtime_error("falhou"); }));
}

void tst_HostGuard::anAbortIsSwallowedWithoutAMessage()
{
    ScriptedDialogs dialogs;
    HostGuard::run([] { throw Abort(); });
    QVERIFY(dialogs.shown().isEmpty());
}

void tst_HostGuard::aFailureShowsItsMessageInTheErrorBox_data()
{
    QTest::addColumn<QByteArray>("what");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QByteArray("Servidor indisponível.") << "Servidor indisponível.";
    QTest::newRow("UTF-8 accents") << QString("Não foi possível gravar o orçamento.").toUtf8()
                                   << "Não foi possível gravar o orçamento.";
}

void tst_HostGuard::aFailureShowsItsMessageInTheErrorBox()
{
    QFETCH(QByteArray, what);
    QFETCH(QString, shown);
    ScriptedDialogs dialogs;
    HostGuard::run([&] { throw std::runtime_error(what.toStdString()); });
    QCOMPARE(dialogs.shown().size(), 1);
    QCOMPARE(dialogs.shown().first().icon, HostDialogs::Icon::Error);
    QCOMPARE(dialogs.shown().first().title, QStringLiteral("Erro"));
    QCOMPARE(dialogs.lastText(), shown);
}

void tst_HostGuard::anUnknownFailureShowsAnUnexpectedError()
{
    ScriptedDialogs dialogs;
    HostGuard::run([] { throw 42; });
    QCOMPARE(dialogs.shownTexts(), QStringList{"Erro inesperado."});
}

void tst_HostGuard::reportShowsNothingForTheAbort()
{
    ScriptedDialogs dialogs;
    HostGuard::report(Abort());
    QVERIFY(dialogs.shown().isEmpty());
    HostGuard::report(std::logic_error("Estado inválido."));
    QCOMPARE(dialogs.shownTexts(), QStringList{"Estado inválido."});
}

void tst_HostGuard::withoutDialogsTheFailureGoesToStandardError()
{
    HostDialogs::install(nullptr);
    bool ran = true;
    const QByteArray written = standardErrorOf(
        [&] { ran = HostGuard::run([] { throw std::runtime_error("Sem conexão com o servidor."); }); });
    QVERIFY(!ran);
    QVERIFY2(QString::fromUtf8(written).contains("Sem conexão com o servidor."), written.constData());
    QVERIFY(standardErrorOf([] { HostGuard::run([] { throw Abort(); }); }).isEmpty());
}

void tst_HostGuard::aClickThatAbandonsShowsNothing()
{
    ScriptedDialogs dialogs;
    QPushButton button("Confirmar");
    int clicks = 0;
    connect(&button, &QPushButton::clicked, &button, [&] {
        ++clicks;
        throw Abort();
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QVERIFY(dialogs.shown().isEmpty());
}

void tst_HostGuard::aClickThatFailsShowsTheErrorBoxAndTheApplicationGoesOn()
{
    ScriptedDialogs dialogs;
    QPushButton button("Confirmar");
    int clicks = 0;
    connect(&button, &QPushButton::clicked, &button, [&] {
        ++clicks;
        throw std::runtime_error("Orçamento alterado por outro operador.");
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.shownTexts(), QStringList{"Orçamento alterado por outro operador."});
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(dialogs.shown().size(), 2);
}

void tst_HostGuard::anEventWhoseHandlerFailedCountsAsNotHandled()
{
    ScriptedDialogs dialogs;
    FailingReceiver receiver;
    receiver.failure = [] { throw std::runtime_error("Falha no evento."); };
    QEvent failing(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&receiver, &failing));
    QCOMPARE(dialogs.shownTexts(), QStringList{"Falha no evento."});
    receiver.failure = [] {};
    QEvent succeeding(QEvent::User);
    QVERIFY(QCoreApplication::sendEvent(&receiver, &succeeding));
}

int main(int argc, char *argv[])
{
    HostApplication app(argc, argv);
    tst_HostGuard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostguard.moc"

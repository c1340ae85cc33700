#pragma once

#include <QProcess>
#include <QStringList>

// The real `appserver` executable, started for one test and stopped with
// SIGTERM at the end (or when the object goes away).
class AppServerProcess final {
public:
    ~AppServerProcess();

    // Serves `database` on a free loopback port; false (with the reason in
    // error()) when it did not announce its port within ten seconds.
    bool start(const QString &database, const QStringList &extraArguments = {});
    // Runs a seeding command to completion; false when it fails.
    static bool seed(const QString &database, int quotes, const QStringList &extraArguments = {}, QString *output = nullptr);

    quint16 port() const { return m_port; }
    QString error() const { return m_error; }
    // Sends SIGTERM and waits; the exit code, or -1 when it had to be killed.
    int stop();
    // Everything the server wrote on standard error so far.
    QString log();

private:
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
    QString m_log;
};

#pragma once

#include "AppServerProcess.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

// The real `appserver` serving one database on a free loopback port, for as
// long as the object lives. Its call log goes to a file, not a pipe: under
// twenty busy clients a pipe nobody drains would fill and stall the server.
class ServerProcess final {
public:
    // `executable`: another build of the server (an earlier version), this
    // build's when empty.
    explicit ServerProcess(const QString &database, const QStringList &extraArguments = {}, const QString &executable = {});

    // Starts serving. Throws std::runtime_error with the server's log when it
    // does not announce its port within 60 seconds or exits.
    void start();
    quint16 port() const { return m_process.port(); }
    qint64 processId() const { return m_process.processId(); }
    // SIGTERM, then a kill after 10 s; does nothing when not running.
    void stop();

    // The durations (ms) the server logged for each call of `method`, in
    // call order; empty when the log cannot be read.
    QList<qint64> loggedDurations(const QString &method) const;
    // The last lines of the call log, for failure messages.
    QString logTail(int lines = 20) const;

private:
    QString logFile() const;

    QString m_database;
    QStringList m_extraArguments;
    QTemporaryDir m_logDir;
    AppServerProcess m_process;
};

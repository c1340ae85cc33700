#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway PostgreSQL 15 cluster in a temporary folder on a free port,
// run as the `postgres` user when the tests run as root. Stopped and
// removed by the destructor.
class PostgresCluster final {
public:
    ~PostgresCluster();

    static QString binDir();
    static bool binariesPresent();

    // initdb + pg_ctl start; false with the reason in *error.
    bool start(QString *error);
    void stop();
    // postgresql://postgres@127.0.0.1:PORT/<database>
    QString url(const QString &database) const;

private:
    bool run(const QString &program, const QStringList &arguments, QString *error) const;

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    bool m_running = false;
};

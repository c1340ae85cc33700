#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway PostgreSQL 15 cluster in a temporary folder on a free
// loopback port, for tests and benchmarks (fsync off: nothing in it has to
// survive a crash), run as the `postgres` user when started as root.
// Stopped and removed by the destructor.
class PostgresCluster final {
public:
    PostgresCluster() = default;
    ~PostgresCluster();

    PostgresCluster(const PostgresCluster &) = delete;
    PostgresCluster &operator=(const PostgresCluster &) = delete;

    // False, with the reason, when the server binaries are not installed.
    static bool available(QString *reason);

    // initdb and pg_ctl start. Throws std::runtime_error with the tool's
    // output when either fails.
    void start();
    // pg_ctl stop (fast); does nothing when not running.
    void stop();
    // Creates an empty database. Throws std::runtime_error on failure.
    void createDatabase(const QString &name) const;
    quint16 port() const { return m_port; }
    // postgresql://postgres@127.0.0.1:PORT/<database>, as appserver takes it.
    QString url(const QString &database) const;

private:
    void run(const QString &program, const QStringList &arguments) const;

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    bool m_running = false;
};

#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A PostgreSQL 15 cluster for tests and benchmarks on a free loopback port
// (fsync off: nothing in it has to survive a crash), run as the `postgres`
// user when started as root. A throwaway one lives in a temporary folder,
// stopped and removed by the destructor; a kept one lives in a folder of the
// caller's (its data in `folder`/data), made by the first start() there and
// only stopped by the destructor, so that a later run starts it again with
// what it holds. Its Unix socket lives in a folder of its own under /tmp,
// removed when the cluster stops, so that it starts from any checkout.
class PostgresCluster final {
public:
    PostgresCluster();
    explicit PostgresCluster(const QString &folder);
    ~PostgresCluster();

    PostgresCluster(const PostgresCluster &) = delete;
    PostgresCluster &operator=(const PostgresCluster &) = delete;

    // False, with the reason, when the server binaries are not installed.
    static bool available(QString *reason);

    // initdb (unless the folder holds a cluster already) and pg_ctl start.
    // Throws std::runtime_error with the tool's output when either fails.
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
    void handToPostgres(const QString &folder) const;

    std::unique_ptr<QTemporaryDir> m_temporary;
    // The server's Unix socket, in a short folder of its own: a socket's
    // path holds at most 107 bytes, which a checkout's folder may exceed.
    std::unique_ptr<QTemporaryDir> m_socketDir;
    QString m_folder;
    quint16 m_port = 0;
    bool m_running = false;
};

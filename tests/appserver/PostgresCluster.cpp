#include "PostgresCluster.h"

#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>

#include <pwd.h>
#include <unistd.h>

namespace {

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

PostgresCluster::~PostgresCluster()
{
    stop();
}

QString PostgresCluster::binDir()
{
    return QStringLiteral("/usr/lib/postgresql/15/bin");
}

bool PostgresCluster::binariesPresent()
{
    return QFileInfo(binDir() + QStringLiteral("/initdb")).isExecutable() && QFileInfo(binDir() + QStringLiteral("/pg_ctl")).isExecutable();
}

bool PostgresCluster::run(const QString &program, const QStringList &arguments, QString *error) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    if (runningAsRoot()) {
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), binDir() + QLatin1Char('/') + program} + arguments);
    } else {
        process.start(binDir() + QLatin1Char('/') + program, arguments);
    }
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("%1 failed: %2").arg(program, QString::fromUtf8(process.readAll()));
        return false;
    }
    return true;
}

bool PostgresCluster::start(QString *error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    if (runningAsRoot()) {
        const passwd *postgres = ::getpwnam("postgres");
        if (!postgres || ::chown(m_dir.path().toLocal8Bit().constData(), postgres->pw_uid, postgres->pw_gid) != 0) {
            *error = QStringLiteral("cannot hand the temporary folder to the postgres user");
            return false;
        }
    }
    const QString data = m_dir.path() + QStringLiteral("/data");
    if (!run(QStringLiteral("initdb"), {QStringLiteral("-D"), data, QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-A"),
                                        QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                                        QStringLiteral("--no-sync")}, error)) {
        return false;
    }
    m_port = freePort();
    const QString serverOptions = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off "
                                                 "-c full_page_writes=off -c max_connections=60")
                                      .arg(m_port)
                                      .arg(m_dir.path());
    if (!run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data, QStringLiteral("-l"), m_dir.path() + QStringLiteral("/server.log"),
                                        QStringLiteral("-o"), serverOptions, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                                        QStringLiteral("start")}, error)) {
        return false;
    }
    m_running = true;
    return true;
}

void PostgresCluster::stop()
{
    if (!m_running) {
        return;
    }
    QString ignored;
    run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_dir.path() + QStringLiteral("/data"), QStringLiteral("-m"), QStringLiteral("fast"),
                                   QStringLiteral("-w"), QStringLiteral("stop")}, &ignored);
    m_running = false;
}

QString PostgresCluster::url(const QString &database) const
{
    return QStringLiteral("postgresql://postgres@127.0.0.1:%1/%2").arg(m_port).arg(database);
}

#include "DatabasePool.h"

#include "CallLog.h"
#include "RpcError.h"
#include "Sql.h"

#include <QSqlDriver>
#include <QThread>

#include <chrono>
#include <exception>

DatabasePool::DatabasePool(const Settings &settings)
    : m_settings(settings)
{
}

DatabasePool::~DatabasePool()
{
    for (const auto &connection : m_idle) {
        connection->db.driver()->moveToThread(QThread::currentThread());
        close(*connection);
    }
}

CallDatabase::Lent DatabasePool::lend(const QString &peer)
{
    std::unique_ptr<Connection> connection;
    int id = 0;
    {
        std::unique_lock lock(m_mutex);
        bool mayOpen = false;
        if (!m_waiting.empty() || (m_idle.empty() && m_open >= m_settings.size)) {
            Waiter waiter;
            m_waiting.push_back(&waiter);
            const auto served = [&waiter] { return waiter.connection || waiter.mayOpen; };
            if (!waiter.served.wait_for(lock, std::chrono::milliseconds(m_settings.busyTimeoutMs), served)) {
                std::erase(m_waiting, &waiter);
                lock.unlock();
                CallLog::note(QStringLiteral("%1: as %2 conexões com o banco de dados ficaram ocupadas por %3 ms")
                                  .arg(peer).arg(m_settings.size).arg(m_settings.busyTimeoutMs));
                throw RpcError(RpcError::ServerBusy, QStringLiteral("servidor ocupado: todas as %1 conexões com o banco de dados estão em uso; "
                                                                    "tente de novo em instantes")
                                                         .arg(m_settings.size));
            }
            connection = std::move(waiter.connection);
            mayOpen = waiter.mayOpen;
        } else if (!m_idle.empty()) {
            connection = std::move(m_idle.back());
            m_idle.pop_back();
        } else {
            ++m_open;
            mayOpen = true;
        }
        if (mayOpen) {
            id = ++m_nextId;
        }
    }
    if (connection) {
        // Taken back by another thread, it belongs to none until pulled here.
        connection->db.driver()->moveToThread(QThread::currentThread());
        return lendOut(std::move(connection));
    }
    connection = std::make_unique<Connection>();
    connection->id = id;
    connection->name = QStringLiteral("appserver-pool-%1").arg(id);
    try {
        connection->db = m_settings.location.open(connection->name, m_settings.busyTimeoutMs);
        connection->deadline = std::make_unique<CallDeadline>(connection->db, m_settings.statementTimeoutMs);
    } catch (const std::exception &error) {
        CallLog::note(QStringLiteral("%1: banco de dados indisponível: %2").arg(peer, QString::fromUtf8(error.what())));
        close(*connection);
        const std::lock_guard lock(m_mutex);
        handOn(nullptr);
        throw RpcError(RpcError::InternalError, QStringLiteral("banco de dados do servidor indisponível; tente de novo em instantes"));
    }
    return lendOut(std::move(connection));
}

CallDatabase::Lent DatabasePool::lendOut(std::unique_ptr<Connection> connection)
{
    const Lent lent{connection->db, connection->deadline.get(), connection->id};
    const std::lock_guard lock(m_mutex);
    m_lent.emplace(lent.id, std::move(connection));
    return lent;
}

void DatabasePool::takeBack(int id, bool failed)
{
    std::unique_ptr<Connection> connection;
    {
        const std::lock_guard lock(m_mutex);
        connection = std::move(m_lent.extract(id).mapped());
    }
    if (!failed || Sql::answers(connection->db)) {
        connection->db.driver()->moveToThread(nullptr);
        const std::lock_guard lock(m_mutex);
        handOn(std::move(connection));
        return;
    }
    // Its backend ended or the database restarted, which ends the idle ones
    // too: they are closed with it, so that the next calls open fresh ones
    // instead of each failing once.
    std::vector<std::unique_ptr<Connection>> lost;
    {
        const std::lock_guard lock(m_mutex);
        lost.swap(m_idle);
    }
    CallLog::note(QStringLiteral("conexão com o banco de dados perdida; fechadas ela e %1 ociosa(s), as próximas chamadas abrem outras").arg(lost.size()));
    for (const auto &idle : lost) {
        idle->db.driver()->moveToThread(QThread::currentThread());
        close(*idle);
    }
    close(*connection);
    const std::lock_guard lock(m_mutex);
    for (qsizetype closed = 0; closed <= qsizetype(lost.size()); ++closed) {
        handOn(nullptr);
    }
}

void DatabasePool::handOn(std::unique_ptr<Connection> connection)
{
    if (!connection) {
        --m_open;
    }
    if (m_waiting.empty()) {
        if (connection) {
            m_idle.push_back(std::move(connection));
        }
        return;
    }
    Waiter *first = m_waiting.front();
    m_waiting.pop_front();
    if (connection) {
        first->connection = std::move(connection);
    } else {
        ++m_open;
        first->mayOpen = true;
    }
    first->served.notify_one();
}

void DatabasePool::close(Connection &connection)
{
    connection.deadline.reset();
    connection.db.close();
    connection.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection.name);
}

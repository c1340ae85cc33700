#include "PooledDatabase.h"

#include "CallLog.h"
#include "RpcError.h"
#include "Sql.h"

#include <exception>

namespace {

// Between the calls of a busy client the connection stays open, so that
// each call does not pay for opening one; a client quiet for this long
// gives it back even when nobody waits.
constexpr int lingerMs = 10000;

} // namespace

PooledDatabase::PooledDatabase(const Settings &settings, const QString &connectionName, const QString &peer, QObject *parent)
    : QObject(parent), m_settings(settings), m_connectionName(connectionName), m_peer(peer)
{
    m_linger.setSingleShot(true);
    m_linger.setInterval(lingerMs);
    connect(&m_linger, &QTimer::timeout, this, [this] {
        if (!m_inCall) {
            close();
        }
    });
}

PooledDatabase::~PooledDatabase()
{
    close();
}

CallDatabase::Lent PooledDatabase::lend()
{
    if (m_holding && !m_settings.pool->resume(this)) {
        close(); // someone waits for the slot: it goes to them first
    }
    if (!m_holding) {
        if (!m_settings.pool->take(this, m_settings.busyTimeoutMs)) {
            CallLog::note(QStringLiteral("%1: as %2 conexões com o banco de dados ficaram ocupadas por %3 ms")
                              .arg(m_peer).arg(m_settings.pool->size()).arg(m_settings.busyTimeoutMs));
            throw RpcError(RpcError::ServerBusy, QStringLiteral("servidor ocupado: todas as %1 conexões com o banco de dados estão em uso; tente de novo em instantes")
                                                     .arg(m_settings.pool->size()));
        }
        m_holding = true;
        try {
            m_db = m_settings.location.open(m_connectionName, m_settings.busyTimeoutMs);
            m_deadline = std::make_unique<CallDeadline>(m_db, m_settings.statementTimeoutMs);
        } catch (const std::exception &error) {
            CallLog::note(QStringLiteral("%1: banco de dados indisponível: %2").arg(m_peer, QString::fromUtf8(error.what())));
            close();
            throw RpcError(RpcError::InternalError, QStringLiteral("banco de dados do servidor indisponível; tente de novo em instantes"));
        }
    }
    m_linger.stop();
    m_inCall = true;
    return Lent{m_db, m_deadline.get()};
}

void PooledDatabase::takeBack(bool failed)
{
    m_inCall = false;
    // A connection whose backend ended or whose server restarted is closed
    // now, so the client's next call opens a fresh one.
    if (failed && !Sql::answers(m_db)) {
        CallLog::note(QStringLiteral("%1: conexão com o banco de dados perdida; a próxima chamada abre outra").arg(m_peer));
        close();
        return;
    }
    m_settings.pool->pause(this);
    m_linger.start();
}

void PooledDatabase::askToGiveBack()
{
    // On this object's thread, the only one that may close its connection;
    // a call that started meanwhile gives the slot back itself.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_inCall && m_settings.pool->askedBack(this)) {
                close();
            }
        },
        Qt::QueuedConnection);
}

void PooledDatabase::close()
{
    if (!m_holding) {
        return;
    }
    m_linger.stop();
    m_deadline.reset();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_holding = false;
    m_settings.pool->giveBack(this);
}

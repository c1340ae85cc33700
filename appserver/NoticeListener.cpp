#include "NoticeListener.h"

#include "CallLog.h"
#include "NoticeHub.h"
#include "Sql.h"

#include <exception>

namespace {

const QString connectionName = QStringLiteral("appserver-notices");
// How often the connection is looked at, and opened again once broken.
constexpr int checkEveryMs = 2000;

} // namespace

NoticeListener::NoticeListener(const DatabaseLocation &location, NoticeHub *hub, QObject *parent)
    : QObject(parent), m_location(location), m_hub(hub)
{
    connect(&m_retry, &QTimer::timeout, this, &NoticeListener::check);
    m_retry.start(checkEveryMs);
    open();
}

NoticeListener::~NoticeListener()
{
    close();
}

void NoticeListener::open()
{
    try {
        m_db = m_location.open(connectionName);
    } catch (const std::exception &error) {
        close();
        if (!m_lost) {
            CallLog::note(QStringLiteral("avisos de alteração: não foi possível escutar o banco (%1); nova tentativa a cada %2 ms")
                              .arg(QString::fromUtf8(error.what())).arg(checkEveryMs));
        }
        m_lost = true;
        return;
    }
    connect(m_db.driver(), &QSqlDriver::notification, this, &NoticeListener::hear);
    if (!m_db.driver()->subscribeToNotification(QString::fromLatin1(QuoteNotice::channel))) {
        CallLog::note(QStringLiteral("avisos de alteração: LISTEN recusado pelo banco; nova tentativa a cada %1 ms").arg(checkEveryMs));
        close();
        m_lost = true;
        return;
    }
    if (m_lost) {
        CallLog::note(QStringLiteral("avisos de alteração: escuta do banco restabelecida"));
    }
    m_lost = false;
}

void NoticeListener::check()
{
    if (m_db.isOpen() && Sql::answers(m_db)) {
        return;
    }
    if (!m_lost) {
        CallLog::note(QStringLiteral("avisos de alteração: conexão de escuta perdida; os avisos até ela voltar se perdem"));
        m_lost = true;
    }
    close();
    open();
}

void NoticeListener::close()
{
    if (m_db.isValid()) {
        m_db.close();
    }
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
}

void NoticeListener::hear(const QString &channel, QSqlDriver::NotificationSource, const QVariant &payload)
{
    if (channel != QLatin1String(QuoteNotice::channel)) {
        return;
    }
    if (const auto notice = QuoteNotice::fromPayload(payload.toString().toUtf8())) {
        m_hub->publish({*notice});
    }
}

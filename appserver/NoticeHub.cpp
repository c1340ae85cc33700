#include "NoticeHub.h"

#include <QMetaObject>
#include <QObject>
#include <QRandomGenerator>

NoticeHub::NoticeHub(qint64 maxWaitingBytes)
    : m_maxWaitingBytes(maxWaitingBytes),
      // Servers sharing a database tell their connections apart by it.
      m_serverId(QString::number(QRandomGenerator::system()->generate64(), 36))
{
}

QString NoticeHub::newOrigin()
{
    return QStringLiteral("%1-%2").arg(m_serverId).arg(++m_nextConnection);
}

void NoticeHub::subscribe(const QString &origin, QObject *receiver, std::function<void()> wake)
{
    const std::lock_guard lock(m_mutex);
    Subscriber &subscriber = m_subscribers[origin];
    subscriber.receiver = receiver;
    subscriber.wake = std::move(wake);
}

void NoticeHub::listed(const QString &origin, const QString &branch)
{
    // No quote is of a longer branch code, and a screen lists a handful of
    // branches: anything beyond would only grow the server.
    if (branch.size() > maxBranchLength) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    const auto found = m_subscribers.find(origin);
    if (found != m_subscribers.end() && found->branches.size() < maxBranchesPerSubscriber) {
        found->branches.insert(branch);
    }
}

void NoticeHub::unsubscribe(const QString &origin)
{
    const std::lock_guard lock(m_mutex);
    m_subscribers.remove(origin);
}

void NoticeHub::publish(const QList<QuoteNotice> &notices)
{
    const std::lock_guard lock(m_mutex);
    for (const QuoteNotice &notice : notices) {
        const QByteArray line = notice.clientLine();
        for (auto it = m_subscribers.begin(); it != m_subscribers.end(); ++it) {
            Subscriber &subscriber = it.value();
            if (it.key() == notice.origin || !subscriber.branches.contains(notice.key.branch)) {
                continue;
            }
            if (subscriber.waiting.lines.size() + line.size() > m_maxWaitingBytes) {
                subscriber.waiting.overflowed = true;
            } else {
                subscriber.waiting.lines += line;
            }
            if (!subscriber.woken) {
                subscriber.woken = true;
                QMetaObject::invokeMethod(subscriber.receiver, subscriber.wake, Qt::QueuedConnection);
            }
        }
    }
}

NoticeHub::Waiting NoticeHub::take(const QString &origin)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_subscribers.find(origin);
    if (found == m_subscribers.end()) {
        return {};
    }
    found->woken = false;
    return std::exchange(found->waiting, Waiting{});
}

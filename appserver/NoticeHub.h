#pragma once

#include "QuoteNotice.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

class QObject;

// Hands change notices to the connections of this server that asked for
// them. Thread-safe: writers publish from their connection's thread (or the
// PostgreSQL listener from the main thread), and each subscriber is woken
// on its own thread, queued, to take what waits for it. What waits for one
// subscriber is bounded: past `maxWaitingBytes` further notices are dropped
// and take() says so, and the connection ends (a client that stops reading
// must not make the server hold notices without limit).
class NoticeHub final {
public:
    explicit NoticeHub(qint64 maxWaitingBytes);

    qint64 maxWaitingBytes() const { return m_maxWaitingBytes; }
    // A new connection's origin: this server's id and the connection's number.
    QString newOrigin();

    // From now on `receiver` hears, through `wake` called on its thread, of
    // the changes of the branches listed(); never of its own (`origin`).
    void subscribe(const QString &origin, QObject *receiver, std::function<void()> wake);
    // The subscriber listed `branch`; nothing for one not subscribed, for a
    // code longer than a branch's, or past `maxBranchesPerSubscriber`.
    static constexpr qsizetype maxBranchLength = 4;
    static constexpr qsizetype maxBranchesPerSubscriber = 64;
    void listed(const QString &origin, const QString &branch);
    // No wake reaches `receiver` once this returns.
    void unsubscribe(const QString &origin);

    void publish(const QList<QuoteNotice> &notices);

    struct Waiting {
        QByteArray lines;        // notification lines, each with its newline
        bool overflowed = false; // some were dropped past the limit
    };
    Waiting take(const QString &origin);

private:
    struct Subscriber {
        QObject *receiver = nullptr;
        std::function<void()> wake;
        QSet<QString> branches;
        Waiting waiting;
        bool woken = false;
    };

    const qint64 m_maxWaitingBytes;
    const QString m_serverId;
    std::atomic<qint64> m_nextConnection{0};
    std::mutex m_mutex;
    QHash<QString, Subscriber> m_subscribers;
};

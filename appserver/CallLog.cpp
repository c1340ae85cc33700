#include "CallLog.h"

#include <QDateTime>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// About a megabyte of log lines: minutes of calls at full speed.
constexpr size_t maxQueuedLines = 4096;

class LogQueue final {
public:
    static LogQueue &instance()
    {
        // Never destroyed: the writer may still be blocked in a write when
        // the process ends, and must not find its queue gone.
        static auto *queue = new LogQueue;
        return *queue;
    }

    void push(QByteArray line)
    {
        {
            const std::lock_guard lock(m_mutex);
            if (m_lines.size() >= maxQueuedLines) {
                ++m_dropped;
                return;
            }
            m_lines.push_back(std::move(line));
        }
        m_wake.notify_one();
    }

    bool flush(int milliseconds)
    {
        std::unique_lock lock(m_mutex);
        return m_idle.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_lines.empty() && !m_writing; });
    }

private:
    LogQueue()
    {
        std::thread([this] { run(); }).detach();
    }

    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return !m_lines.empty() || m_dropped > 0; });
            std::deque<QByteArray> lines;
            lines.swap(m_lines);
            const quint64 dropped = std::exchange(m_dropped, 0);
            m_writing = true;
            lock.unlock();
            if (dropped > 0) {
                const QByteArray note = QStringLiteral("%1 appserver: %2 linha(s) do log descartada(s): a saída de erros não dava vazão\n")
                                            .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs))
                                            .arg(dropped)
                                            .toUtf8();
                std::fwrite(note.constData(), 1, size_t(note.size()), stderr);
            }
            for (const QByteArray &line : lines) {
                std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
            }
            std::fflush(stderr);
            lock.lock();
            m_writing = false;
            if (m_lines.empty()) {
                m_idle.notify_all();
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<QByteArray> m_lines;
    quint64 m_dropped = 0;
    bool m_writing = false;
};

QString oneLine(QString text, int maxLength)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.left(maxLength);
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

} // namespace

namespace CallLog {

void write(const QString &peer, const QString &method, qint64 milliseconds, const QString &outcome)
{
    LogQueue::instance().push(QStringLiteral("%1 %2 %3 %4 ms %5\n")
                                  .arg(now(), peer, method.isEmpty() ? QStringLiteral("-") : oneLine(method, 60))
                                  .arg(milliseconds)
                                  .arg(oneLine(outcome, 300))
                                  .toUtf8());
}

void note(const QString &text)
{
    LogQueue::instance().push(QStringLiteral("%1 appserver: %2\n").arg(now(), oneLine(text, 1000)).toUtf8());
}

bool flush(int milliseconds)
{
    return LogQueue::instance().flush(milliseconds);
}

} // namespace CallLog

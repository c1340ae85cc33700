#include "LoginThrottle.h"

#include <QHash>

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

constexpr int freeFailures = 3;
constexpr seconds longestWait{60};
constexpr seconds operatorSpacing{10};
constexpr std::chrono::hours memory{1};
// Beyond this many records the forgotten ones are swept out, so that
// guesses at made-up operators cannot grow the server without bound.
constexpr qsizetype sweepAbove = 4096;

struct Failures {
    int count = 0;
    Clock::time_point last;
    Clock::time_point nextOperatorTry; // operators only
};

struct Book {
    std::mutex mutex;
    QHash<QString, Failures> addresses;
    QHash<QString, Failures> operators;
};

Book &book()
{
    static Book instance;
    return instance;
}

// The failures still remembered for `key`; nullptr when there are none.
Failures *remembered(QHash<QString, Failures> &records, const QString &key, Clock::time_point now)
{
    const auto found = records.find(key);
    if (found == records.end()) {
        return nullptr;
    }
    if (now - found->last > memory) {
        records.erase(found);
        return nullptr;
    }
    return &*found;
}

seconds addressWait(int failures)
{
    if (failures < freeFailures) {
        return seconds(0);
    }
    return std::min(longestWait, seconds(1LL << std::min(failures - freeFailures, 6)));
}

QString tooSoon(const char *whose, Clock::duration left)
{
    const auto wait = std::chrono::ceil<seconds>(left).count();
    return QStringLiteral("Muitas senhas erradas %1; tente de novo em %2 s.").arg(QLatin1String(whose)).arg(wait);
}

void count(QHash<QString, Failures> &records, const QString &key, Clock::time_point now)
{
    if (records.size() > sweepAbove) {
        records.removeIf([now](const auto &entry) { return now - entry.value().last > memory; });
    }
    if (!remembered(records, key, now)) {
        records.insert(key, Failures{});
    }
    Failures &failures = records[key];
    ++failures.count;
    failures.last = now;
}

} // namespace

namespace LoginThrottle {

QString admit(const QString &address, const QString &operatorCode)
{
    Book &b = book();
    const std::lock_guard lock(b.mutex);
    const Clock::time_point now = Clock::now();
    const Failures *fromAddress = remembered(b.addresses, address, now);
    if (fromAddress) {
        const Clock::time_point until = fromAddress->last + addressWait(fromAddress->count);
        if (now < until) {
            return tooSoon("deste endereço", until - now);
        }
    }
    Failures *atOperator = remembered(b.operators, operatorCode, now);
    if (fromAddress && atOperator && atOperator->count >= freeFailures) {
        if (now < atOperator->nextOperatorTry) {
            return tooSoon("para este operador", atOperator->nextOperatorTry - now);
        }
        atOperator->nextOperatorTry = now + operatorSpacing;
    }
    return QString();
}

void failed(const QString &address, const QString &operatorCode)
{
    Book &b = book();
    const std::lock_guard lock(b.mutex);
    const Clock::time_point now = Clock::now();
    count(b.addresses, address, now);
    count(b.operators, operatorCode, now);
}

void succeeded(const QString &address, const QString &operatorCode)
{
    Book &b = book();
    const std::lock_guard lock(b.mutex);
    b.addresses.remove(address);
    b.operators.remove(operatorCode);
}

} // namespace LoginThrottle

#pragma once

#include "Samples.h"

#include <QDeadlineTimer>
#include <QStringList>

// One operator of the concurrency benchmark, on its own connection: lists
// the pending and approved quotes of its branch, cancels one of them the way
// the screen does (edit the list, post, send the list's delta) and releases
// its hall, over and over until the deadline. Two clients share each
// branch, and a share of the cycles aims at the branch's first quote, so
// that now and then both send a change to the same quote and the server's
// optimistic check has to refuse one of them.
class CancelClient final {
public:
    struct Tally {
        Samples listingMs, cancelMs, releaseMs;
        qint64 calls = 0;
        qint64 cycles = 0;
        qint64 conflicts = 0; // refused because another client changed the quote first
        qint64 errors = 0;    // anything else that went wrong
        QStringList cancelled; // "F/N-S" of every accepted cancellation
        QStringList errorMessages; // the first few
    };

    // `index` picks the branch (two clients per branch), the operator code
    // "BENCHnn" and the random sequence.
    // With `notices` its connection asks for change notices, as the screen's does.
    CancelClient(quint16 port, int index, const QStringList &reasons, int sharedPercent, bool notices);

    // Runs cycles until the deadline, in the calling thread. Never throws:
    // every failure is counted in the tally.
    void run(const QDeadlineTimer &deadline);
    const Tally &tally() const { return m_tally; }
    QString operatorCode() const { return m_operator; }

    static QString operatorPrefix() { return QStringLiteral("BENCH"); }

private:
    void error(const QString &message);

    quint16 m_port;
    bool m_notices;
    int m_index;
    QString m_branch;
    QString m_operator;
    QStringList m_reasons;
    int m_sharedPercent;
    Tally m_tally;
};

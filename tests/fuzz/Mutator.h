#pragma once

#include <QByteArray>
#include <QList>

#include <random>

// Makes inputs for a fuzz target without coverage feedback: each one is a
// seed (or, now and then, the input made before it) changed one to four
// times by byte flips, insertions, deletions, copies, splices with another
// seed, JSON and protocol tokens, numbers at their extremes, deep nesting
// and huge strings. The same seed value and seeds give the same inputs.
class Mutator final {
public:
    Mutator(quint64 seedValue, QList<QByteArray> seeds, qsizetype maxLength);

    QByteArray next();

private:
    qsizetype below(qsizetype bound); // 0 <= n < bound; 0 for bound <= 0
    bool oneIn(int chances);
    qsizetype position(const QByteArray &input); // 0..size
    // A length that is mostly small and now and then very large.
    qsizetype spanLength(qsizetype limit);

    void mutate(QByteArray &input);
    void flipBit(QByteArray &input);
    void setByte(QByteArray &input);
    void insertBytes(QByteArray &input);
    void deleteRange(QByteArray &input);
    void copyRange(QByteArray &input);
    void splice(QByteArray &input);
    void insertToken(QByteArray &input);
    void extremeNumber(QByteArray &input);
    void deepNesting(QByteArray &input);
    void hugeString(QByteArray &input);
    void truncate(QByteArray &input);

    std::mt19937_64 m_random;
    QList<QByteArray> m_seeds;
    qsizetype m_maxLength;
    QByteArray m_previous;
};

#pragma once

#include "DataPacket.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QVariant>

#include <vector>

// The values of one field, row by row, held compactly: a branch's list has
// millions of values, and a QVariant per value (with a string allocation per
// text) costs several times the bytes of the answer they came in.
// - text and blob: the bytes of all values in one buffer (UTF-8 for text),
//   each row pointing at its own; a rewritten value is appended and the old
//   bytes are reclaimed once they make up half the buffer;
// - float and date-time: one double a row, a NaN for the empty value (the
//   wire carries finite numbers only);
// - integer: one qint64 a row and a bit for the empty ones.
// Values read and written as QVariant hold the types DataPacket.h names; a
// value is expected in its column's type already (the record list and the
// decoder convert first), anything else is converted as QVariant would.
class Column final {
public:
    explicit Column(FieldType type = FieldType::Text);

    FieldType type() const { return m_type; }
    qsizetype size() const { return m_size; }

    QVariant value(qsizetype row) const;
    bool isNull(qsizetype row) const;
    // The stored bytes of a text (UTF-8) or blob value, empty for null;
    // valid until the column changes.
    QByteArrayView bytes(qsizetype row) const;
    // A number, date-time or integer value as a double, NaN for null.
    double number(qsizetype row) const;
    void set(qsizetype row, const QVariant &value);

    void append(const QVariant &value);
    void appendNull();
    void appendBytes(QByteArrayView bytes); // text (UTF-8) or blob
    void appendNumber(double number);       // float or date-time
    void appendInteger(qint64 number);
    void resize(qsizetype rows);            // rows added are empty
    void squeeze();                         // gives back what growing reserved

private:
    struct Span {
        quint32 offset = 0;
        quint32 length = 0;
    };
    static constexpr quint32 nullLength = 0xFFFFFFFFu;

    bool holdsBytes() const { return m_type == FieldType::Text || m_type == FieldType::Blob; }
    Span store(QByteArrayView bytes);
    void reclaim();

    FieldType m_type;
    qsizetype m_size = 0;
    std::vector<Span> m_spans;
    QByteArray m_bytes;
    qsizetype m_unusedBytes = 0; // of values since rewritten
    std::vector<double> m_numbers;
    std::vector<qint64> m_integers;
    std::vector<bool> m_integerNull;
};

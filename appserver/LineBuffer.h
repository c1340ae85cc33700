#pragma once

#include <QByteArray>

#include <optional>

// Cuts the byte stream of one connection into request lines. A line longer
// than the limit is not kept in memory: it is reported once as oversized
// and the rest of it is skipped up to its newline, after which reading goes
// on with the next line.
class LineBuffer final {
public:
    explicit LineBuffer(qint64 maxLineLength);

    void append(const QByteArray &data);

    struct Item {
        bool oversized = false;
        QByteArray line; // without the newline; empty when oversized
    };
    // The next complete line (or oversize report), if any.
    std::optional<Item> next();

private:
    qint64 m_max;
    QByteArray m_buffer;
    qsizetype m_start = 0;   // first byte not yet handed out
    qsizetype m_scanned = 0; // bytes after m_start known to hold no newline
    bool m_skipping = false;
};

#pragma once

#include <QByteArray>

#include <limits>
#include <optional>

// Cuts a byte stream of the protocol into its lines (one JSON text each,
// ended by '\n'). Bytes arrive in arbitrary pieces: a line may come in
// several reads and one read may hold several lines, so what follows a
// complete line is kept for the next take.
//
// With a size limit, a line longer than it is never kept in memory: it is
// reported once as oversized and the rest of it is skipped up to its
// newline, after which framing goes on with the next line.
class LineFramer final {
public:
    static constexpr qint64 NoLimit = std::numeric_limits<qint64>::max();

    explicit LineFramer(qint64 maxLineLength = NoLimit);

    void append(const QByteArray &bytes);

    struct Line {
        bool oversized = false;
        QByteArray text; // without the newline; empty when oversized
    };
    // The next complete line (or oversize report), or nothing while the line
    // is still incomplete.
    std::optional<Line> next();
    void clear();
    // Once next() gave nothing: the bytes held of the line still arriving
    // (none while an oversized one is skipped), and whether one has begun.
    qsizetype unfinishedBytes() const { return m_buffer.size() - m_start; }
    bool midLine() const { return m_skipping || unfinishedBytes() > 0; }

private:
    qint64 m_max;
    QByteArray m_buffer;
    qsizetype m_start = 0;   // first byte not yet handed out
    qsizetype m_scanned = 0; // bytes after m_start known to hold no newline
    bool m_skipping = false;
};

#pragma once

#include <QByteArray>
#include <optional>

// Cuts the bytes received from the application server into the protocol's
// lines (one JSON text each, ended by '\n'). Bytes arrive in arbitrary
// pieces: a line may come in several reads and one read may hold several
// lines, so what follows a complete line is kept for the next take.
class NetLineBuffer final {
public:
    void append(const QByteArray &bytes);
    // The next complete line without its '\n', or nothing while the line is
    // still incomplete.
    std::optional<QByteArray> takeLine();
    void clear();

private:
    QByteArray m_bytes;
    qsizetype m_scanned = 0; // bytes already known to hold no '\n'
};

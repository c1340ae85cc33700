#pragma once

#include <QByteArray>

#include <functional>
#include <stdexcept>

class CallDeadline;

// One answer line on its way to the client. Text is appended to buffer();
// an answer written while its query steps (a branch's quote list) leaves in
// chunks as it grows, so the client reads while the server still queries
// and the server never holds the whole line.
class AnswerStream final {
public:
    static constexpr qsizetype chunkBytes = 256 * 1024;
    // Hands bytes to the client; false when the client can no longer take them.
    using Sender = std::function<bool(const QByteArray &bytes)>;

    // What sendFullChunk() throws when the client can no longer take the
    // answer, so that no query goes on for an answer that cannot arrive.
    struct ClientGone : std::runtime_error {
        ClientGone() : std::runtime_error("o cliente deixou de receber a resposta") {}
    };

    explicit AnswerStream(Sender send);

    QByteArray &buffer() { return m_buffer; }
    // From now on each chunk sent looks at the call's deadline.
    void stopAt(const CallDeadline *deadline) { m_deadline = deadline; }
    const CallDeadline *deadline() const { return m_deadline; }
    // Sends the buffered text once it fills a chunk; throws ClientGone, or
    // CallDeadline::Passed once the deadline given to stopAt() has passed.
    void sendFullChunk();
    // Sends the rest of the line; false when the client could not take it.
    bool finish();
    // Whether part of the line has left: from then on a failure can no
    // longer be answered on it.
    bool hasSent() const { return m_sent; }
    // Drops what was written, when nothing of it has left.
    void discard() { m_buffer.clear(); }

private:
    bool send();

    Sender m_send;
    const CallDeadline *m_deadline = nullptr;
    QByteArray m_buffer;
    bool m_sent = false;
};

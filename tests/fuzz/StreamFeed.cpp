#include "StreamFeed.h"

StreamFeed::StreamFeed(const QByteArray &bytes, Cut cut, quint64 seedValue)
    : m_state(std::make_shared<State>(State{bytes, 0, cut, seedValue | 1}))
{
}

JsonStreamReader StreamFeed::reader() const
{
    if (m_state->cut == Cut::Whole) {
        m_state->sent = m_state->bytes.size();
        return JsonStreamReader(m_state->bytes, {});
    }
    return JsonStreamReader(QByteArray(), [state = m_state](QByteArray &buffer) {
        if (state->sent >= state->bytes.size()) {
            return false;
        }
        qsizetype piece = 1;
        if (state->cut == Cut::Pieces) {
            // xorshift64: the same seed value cuts the same way everywhere.
            state->random ^= state->random << 13;
            state->random ^= state->random >> 7;
            state->random ^= state->random << 17;
            piece = 1 + qsizetype(state->random % 64);
        }
        buffer.append(state->bytes.mid(state->sent, piece));
        state->sent += piece;
        return true;
    });
}

QByteArray StreamFeed::rest() const
{
    return m_state->bytes.mid(m_state->sent);
}

#include "AnswerStream.h"

#include <utility>

AnswerStream::AnswerStream(Sender send)
    : m_send(std::move(send))
{
}

bool AnswerStream::send()
{
    m_sent = true;
    const bool taken = m_send(m_buffer);
    m_buffer.clear();
    return taken;
}

void AnswerStream::sendFullChunk()
{
    if (m_buffer.size() >= chunkBytes && !send()) {
        throw ClientGone();
    }
}

bool AnswerStream::finish()
{
    return m_buffer.isEmpty() || send();
}

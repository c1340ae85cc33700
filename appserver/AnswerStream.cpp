#include "AnswerStream.h"

#include "CallDeadline.h"

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
    if (m_buffer.size() < chunkBytes) {
        return;
    }
    if (!send()) {
        throw ClientGone();
    }
    // Producing the rows, or waiting for the client to take them, may have
    // taken the call past its deadline.
    if (m_deadline && m_deadline->hasPassed()) {
        throw CallDeadline::Passed();
    }
}

bool AnswerStream::finish()
{
    return m_buffer.isEmpty() || send();
}

#pragma once

#include "JsonStreamReader.h"

#include <QByteArray>

#include <memory>

// One input's bytes handed to a JsonStreamReader as a socket might hand
// them: all at once, one byte at a time, or in pieces of 1 to 64 bytes
// whose sizes follow from a seed value.
class StreamFeed final {
public:
    enum class Cut { Whole, Bytes, Pieces };

    StreamFeed(const QByteArray &bytes, Cut cut, quint64 seedValue = 0);

    JsonStreamReader reader() const;
    // The bytes not handed over yet.
    QByteArray rest() const;

private:
    struct State {
        QByteArray bytes;
        qsizetype sent = 0;
        Cut cut = Cut::Whole;
        quint64 random = 0;
    };
    std::shared_ptr<State> m_state;
};

#pragma once

#include <QByteArray>

// Where the client spends its part of a listing: the same work
// TNetConnection::CallPacket and ServerAnswer::LoadPacket do with an answer
// line, timed step by step on a line read beforehand (so the network is
// left out).
class ClientPhases final {
public:
    struct Medians {
        double readMs = 0; // the line read into typed columns
        double loadMs = 0; // the columns taken over by a record list
    };

    // Times each step `runs` times. Throws std::runtime_error when the line
    // is not an answer holding a data packet.
    static Medians measure(const QByteArray &answerLine, int runs);
};

#pragma once

#include <QByteArray>

// Where the client spends its part of a listing: the same work
// TNetConnection and ServerAnswer::LoadPacket do with an answer line, timed
// step by step on a line read beforehand (so the network is left out).
class ClientPhases final {
public:
    struct Medians {
        double parseMs = 0;  // the line into a JSON document
        double decodeMs = 0; // the packet's JSON into typed values
        double loadMs = 0;   // the typed values into a record list
    };

    // Times each step `runs` times. Throws std::runtime_error when the line
    // is not an accepted answer holding a data packet.
    static Medians measure(const QByteArray &answerLine, int runs);
};

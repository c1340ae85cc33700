#pragma once

#include <QString>

#include <stdexcept>

// A request the server cannot serve at the protocol level; it becomes a
// JSON-RPC error answer with this code. The codes below -32000 are the
// JSON-RPC ones; the others are this server's (see docs/protocol.md).
class RpcError final : public std::runtime_error {
public:
    enum Code {
        ParseError = -32700,
        InvalidRequest = -32600,
        MethodNotFound = -32601,
        InvalidParams = -32602,
        InternalError = -32000,
        NotConnected = -32001,
        UnknownServer = -32002,
        Refused = -32003,
        CredentialsRequired = -32004,
        CredentialsRefused = -32005,
        ServerBusy = -32006,
    };

    RpcError(int code, const QString &message)
        : std::runtime_error(message.toStdString()), m_code(code), m_message(message)
    {
    }

    int code() const { return m_code; }
    QString message() const { return m_message; }

private:
    int m_code;
    QString m_message;
};

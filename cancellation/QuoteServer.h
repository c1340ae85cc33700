#pragma once

#include "PacketColumns.h"
#include "TNetArg.h"

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class TNetConnection;

// The application server as the screen's operations see it: the screen's
// connection in use, a script in the operations' own tests. A call that was
// cut off before its answer throws TNetConnection::ConnectionLost; any other
// failure throws std::runtime_error with the operator's sentence.
// The methods that only read, so may be asked again of the next server; a
// write never is.
QStringList quoteReadMethods();

class QuoteServer {
public:
    virtual ~QuoteServer() = default;
    virtual QJsonValue call(const QString &metodo, const QList<TNetArg> &arguments) = 0;
    virtual QJsonValue callPacket(const QString &metodo, const QList<TNetArg> &arguments,
                                   std::optional<PacketColumns> &packet) = 0;
};

class ConnectionQuoteServer final : public QuoteServer {
public:
    explicit ConnectionQuoteServer(TNetConnection &conexao)
        : m_conexao(conexao)
    {
    }
    QJsonValue call(const QString &metodo, const QList<TNetArg> &arguments) override;
    QJsonValue callPacket(const QString &metodo, const QList<TNetArg> &arguments,
                           std::optional<PacketColumns> &packet) override;

private:
    TNetConnection &m_conexao;
};

// A call with a checked answer under the busy sign of `notice` (Showavi's
// kind), the answer checked once the sign is gone: a refusal's box never
// sits under "Lendo dados...". Returns the checked answer's payload.
QJsonValue callChecked(QuoteServer &server, int notice, const QString &metodo,
                        const QList<TNetArg> &arguments = {});

// A write with a checked answer under "Gravando dados...". `discard` runs
// before a refusal or a failed call is told, so no box ever sits over what
// the server does not hold. A call cut off before its answer
// (TNetConnection::ConnectionLost) goes to the caller untouched: only the
// caller can find out what was stored.
void writeChecked(QuoteServer &server, const QString &method, const QList<TNetArg> &arguments,
                  const std::function<void()> &discard = {});

#include "RawCall.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>

#include <stdexcept>

namespace {

QByteArray request(int id, const QString &method, const QJsonArray &params)
{
    const QJsonObject call{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
                           {QStringLiteral("method"), method}, {QStringLiteral("params"), params}};
    return QJsonDocument(call).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray readLine(QTcpSocket &socket)
{
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(600000)) {
            throw std::runtime_error("the server did not answer the raw request");
        }
    }
    QByteArray line = socket.readLine();
    line.chop(1);
    return line;
}

} // namespace

namespace RawCall {

QByteArray answerLine(quint16 port, const QString &method, const QJsonArray &params)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(10000)) {
        throw std::runtime_error("cannot reach the server");
    }
    socket.write(request(1, QStringLiteral("connect"), {QStringLiteral("CXL04100.rdmCancelamento")}));
    readLine(socket);
    socket.write(request(2, method, params));
    return readLine(socket);
}

} // namespace RawCall

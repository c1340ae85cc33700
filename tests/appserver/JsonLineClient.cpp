#include "JsonLineClient.h"

#include <QDeadlineTimer>
#include <QJsonDocument>

bool JsonLineClient::open(quint16 port, const QString &from)
{
    if (!from.isEmpty() && !m_socket.bind(QHostAddress(from))) {
        return false;
    }
    m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    return m_socket.waitForConnected(5000);
}

bool JsonLineClient::openSession(quint16 port)
{
    if (!open(port)) {
        return false;
    }
    const QJsonObject answer = call(QStringLiteral("connect"), {QStringLiteral("CXL04100.rdmCancelamento")});
    return answer.contains(QStringLiteral("result"));
}

QJsonObject JsonLineClient::call(const QString &method, const QJsonArray &params)
{
    const QJsonObject request{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                              {QStringLiteral("id"), m_nextId++},
                              {QStringLiteral("method"), method},
                              {QStringLiteral("params"), params}};
    sendRaw(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    for (;;) {
        const QJsonObject answer = readAnswer();
        if (answer.contains(QStringLiteral("id")) || answer.isEmpty()) {
            return answer;
        }
        m_notices.append(answer);
    }
}

QJsonObject JsonLineClient::checked(const QString &method, const QJsonArray &params)
{
    return call(method, params).value(QStringLiteral("result")).toObject().value(QStringLiteral("value")).toObject();
}

void JsonLineClient::sendRaw(const QByteArray &bytes)
{
    m_socket.write(bytes);
    m_socket.waitForBytesWritten(5000);
}

QJsonObject JsonLineClient::readAnswer(int timeoutMs)
{
    return QJsonDocument::fromJson(readLine(timeoutMs)).object();
}

QJsonObject JsonLineClient::readNotice(int timeoutMs)
{
    return m_notices.isEmpty() ? readAnswer(timeoutMs) : m_notices.takeFirst();
}

QByteArray JsonLineClient::readLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_pending.contains('\n')) {
        if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(int(deadline.remainingTime()))) {
            m_pending += m_socket.readAll();
            if (!m_pending.contains('\n')) {
                return {};
            }
            break;
        }
        m_pending += m_socket.readAll();
        if (deadline.hasExpired()) {
            break;
        }
    }
    const qsizetype newline = m_pending.indexOf('\n');
    if (newline < 0) {
        return {};
    }
    const QByteArray line = m_pending.left(newline);
    m_pending.remove(0, newline + 1);
    return line;
}

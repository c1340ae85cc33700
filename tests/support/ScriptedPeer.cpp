#include "ScriptedPeer.h"

#include "PeerWorker.h"
#include "TestCertificate.h"

#include <QJsonDocument>
#include <QMutexLocker>

ScriptedPeer::ScriptedPeer()
{
    start(new PeerWorker(m_shared, std::nullopt));
}

ScriptedPeer::ScriptedPeer(const TestCertificate &certificate)
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate.certificate());
    tls.setPrivateKey(certificate.key());
    start(new PeerWorker(m_shared, tls));
}

void ScriptedPeer::start(PeerWorker *worker)
{
    m_worker = worker;
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(m_worker, &PeerWorker::listen, Qt::BlockingQueuedConnection, &m_port);
}

ScriptedPeer::~ScriptedPeer()
{
    QMetaObject::invokeMethod(m_worker, &PeerWorker::shutDown, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QByteArray ScriptedPeer::line(const QJsonObject &message)
{
    return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
}

void ScriptedPeer::setConnectMode(ConnectMode mode)
{
    QMutexLocker lock(&m_shared->mutex);
    m_shared->connectMode = mode;
}

void ScriptedPeer::requireOperator(const QString &operatorCode, const QString &password)
{
    QMutexLocker lock(&m_shared->mutex);
    m_shared->credentials = QJsonObject{{QStringLiteral("operator"), operatorCode}, {QStringLiteral("password"), password}};
}

void ScriptedPeer::enqueue(const Reply &reply)
{
    QMutexLocker lock(&m_shared->mutex);
    m_shared->replies.append(reply);
}

void ScriptedPeer::replyResult(const QJsonValue &value, const QJsonObject &refs)
{
    QByteArray text = line({{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                            {QStringLiteral("id"), 0},
                            {QStringLiteral("result"), QJsonObject{{QStringLiteral("value"), value}, {QStringLiteral("refs"), refs}}}});
    replyRaw({text.replace("\"id\":0", "\"id\":%ID%")});
}

void ScriptedPeer::replyError(int code, const QString &message)
{
    QByteArray text = line({{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                            {QStringLiteral("id"), 0},
                            {QStringLiteral("error"), QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}}}});
    replyRaw({text.replace("\"id\":0", "\"id\":%ID%")});
}

void ScriptedPeer::replyRaw(const QList<QByteArray> &chunks)
{
    enqueue(Reply{Reply::Kind::Chunks, chunks});
}

void ScriptedPeer::closeOnNextRequest()
{
    enqueue(Reply{Reply::Kind::Close, {}});
}

void ScriptedPeer::stayQuiet()
{
    enqueue(Reply{Reply::Kind::Silent, {}});
}

void ScriptedPeer::dropClients()
{
    QMetaObject::invokeMethod(m_worker, &PeerWorker::dropClients, Qt::BlockingQueuedConnection);
}

QList<QJsonObject> ScriptedPeer::requests() const
{
    QMutexLocker lock(&m_shared->mutex);
    return m_shared->requests;
}

QList<QJsonObject> ScriptedPeer::calls() const
{
    QList<QJsonObject> calls;
    for (const QJsonObject &request : requests()) {
        if (request.value(QStringLiteral("method")) != QJsonValue(QStringLiteral("connect"))) {
            calls.append(request);
        }
    }
    return calls;
}

int ScriptedPeer::connectionCount() const
{
    QMutexLocker lock(&m_shared->mutex);
    return m_shared->connections;
}

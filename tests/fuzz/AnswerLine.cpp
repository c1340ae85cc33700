#include "AnswerLine.h"

#include "RpcError.h"
#include "WireCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace {

// The request as the server reads it: an object, or nothing.
QJsonObject requestObject(const QByteArray &request)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(request, &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

QJsonValue expectedId(const QJsonObject &request)
{
    const QJsonValue id = request.value(QStringLiteral("id"));
    return id.isString() || id.isDouble() || id.isNull() ? id : QJsonValue(QJsonValue::Null);
}

QString errorFault(const QJsonValue &error)
{
    static const QList<int> documented = {RpcError::ParseError, RpcError::InvalidRequest, RpcError::MethodNotFound,
                                          RpcError::InvalidParams, RpcError::NotConnected, RpcError::UnknownServer,
                                          RpcError::Refused, RpcError::CredentialsRequired, RpcError::CredentialsRefused,
                                          RpcError::ServerBusy};
    const QJsonObject object = error.toObject();
    const QJsonValue code = object.value(QStringLiteral("code"));
    const QJsonValue message = object.value(QStringLiteral("message"));
    if (!error.isObject() || object.size() != 2 || !code.isDouble() || !message.isString() || message.toString().isEmpty()) {
        return QStringLiteral("an error that is not {\"code\":N,\"message\":\"...\"}");
    }
    if (code.toInteger(0) == RpcError::InternalError) {
        return QStringLiteral("the database failed (-32000): %1").arg(message.toString());
    }
    if (!documented.contains(code.toInteger(0)) || code.toInteger(0) != code.toInteger(1)) {
        return QStringLiteral("an undocumented error code %1").arg(code.toDouble());
    }
    return {};
}

// What the codec says of a packet the server sent; empty when it reads it.
QString packetFault(const QJsonValue &packet)
{
    try {
        WireCodec::decodePacket(packet.toObject());
    } catch (const std::exception &error) {
        return QStringLiteral("a packet the codec refuses: %1").arg(QString::fromUtf8(error.what()));
    }
    return packet.isObject() ? QString() : QStringLiteral("a packet that is not an object");
}

QString checkedFault(const QString &method, const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const QJsonValue ok = object.value(QStringLiteral("ok"));
    if (!value.isObject() || object.size() != 2 || !ok.isBool()) {
        return QStringLiteral("a checked answer that is not {\"ok\":...}");
    }
    if (!ok.toBool()) {
        const QJsonValue message = object.value(QStringLiteral("message"));
        return message.isString() && !message.toString().isEmpty() ? QString() : QStringLiteral("a refusal without a message");
    }
    if (!object.contains(QStringLiteral("data"))) {
        return QStringLiteral("an accepted checked answer without data");
    }
    const QJsonValue data = object.value(QStringLiteral("data"));
    if (method == QLatin1String("GetItemOrc")) {
        const QJsonArray packets = data.toArray();
        if (packets.size() != 2) {
            return QStringLiteral("GetItemOrc's data is not two packets");
        }
        const QString first = packetFault(packets.at(0));
        return first.isEmpty() ? packetFault(packets.at(1)) : first;
    }
    if (method == QLatin1String("SetOrcamento") || method == QLatin1String("SetObs")) {
        return data.isDouble() ? QString() : QStringLiteral("%1's data is not the number of changes").arg(method);
    }
    if (method == QLatin1String("SetAnterior")) {
        return data.isNull() ? QString() : QStringLiteral("SetAnterior's data is not null");
    }
    return packetFault(data);
}

QString resultFault(const QString &method, const QJsonValue &result)
{
    const QJsonObject object = result.toObject();
    if (!result.isObject() || object.size() != 2 || !object.contains(QStringLiteral("value"))
        || !object.value(QStringLiteral("refs")).isObject()) {
        return QStringLiteral("a result that is not {\"value\":V,\"refs\":{...}}");
    }
    const QJsonValue value = object.value(QStringLiteral("value"));
    if (method == QLatin1String("connect") || method == QLatin1String("setAgendaSalao")) {
        return value.isNull() ? QString() : QStringLiteral("%1 answered a value").arg(method);
    }
    if (method == QLatin1String("getSituAnterior") || method == QLatin1String("getVerifSalao")) {
        return value.isString() ? QString() : QStringLiteral("%1 answered something other than a text").arg(method);
    }
    return checkedFault(method, value);
}

} // namespace

namespace AnswerLine {

QString fault(const QByteArray &request, const QByteArray &answer)
{
    if (!answer.endsWith('\n')) {
        return QStringLiteral("the answer does not end its line");
    }
    if (answer.indexOf('\n') != answer.size() - 1) {
        return QStringLiteral("the answer is more than one line");
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(answer, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return QStringLiteral("the answer is not a JSON object: %1").arg(error.errorString());
    }
    const QJsonObject object = document.object();
    const QJsonObject asked = requestObject(request);
    if (object.value(QStringLiteral("jsonrpc")) != QJsonValue(QStringLiteral("2.0"))) {
        return QStringLiteral("the answer has no \"jsonrpc\":\"2.0\"");
    }
    // An error may have null for an id the server could not take back as it came.
    const QJsonValue id = object.value(QStringLiteral("id"));
    if (!object.contains(QStringLiteral("id")) || (id != expectedId(asked) && !(id.isNull() && object.contains(QStringLiteral("error"))))) {
        return QStringLiteral("the answer's id is not the request's");
    }
    const bool isResult = object.contains(QStringLiteral("result"));
    if (object.size() != 3 || isResult == object.contains(QStringLiteral("error"))) {
        return QStringLiteral("the answer is not jsonrpc, id and either result or error");
    }
    return isResult ? resultFault(asked.value(QStringLiteral("method")).toString(), object.value(QStringLiteral("result")))
                    : errorFault(object.value(QStringLiteral("error")));
}

} // namespace AnswerLine

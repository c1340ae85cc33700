#include "ServerAnswer.h"

#include "WireCodec.h"
#include "RecordList.h"

#include <QJsonArray>
#include <QJsonObject>

#include <stdexcept>

namespace ServerAnswer {

namespace {

std::runtime_error noPacketFor(const RecordList &list)
{
    return std::runtime_error(
        QStringLiteral("Resposta inválida do servidor: a lista %1 esperava um pacote de dados.").arg(list.name()).toStdString());
}

} // namespace

void LoadPacket(RecordList &list, const QJsonValue &packetJson)
{
    if (!packetJson.isObject()) {
        throw noPacketFor(list);
    }
    DataPacket packet;
    try {
        packet = WireCodec::decodePacket(packetJson.toObject());
    } catch (const std::runtime_error &error) {
        throw std::runtime_error(QStringLiteral("Resposta inválida do servidor para a lista %1: %2")
                                     .arg(list.name(), QString::fromUtf8(error.what()))
                                     .toStdString());
    }
    list.loadPacket(packet);
}

void LoadPacket(RecordList &list, std::optional<PacketColumns> &&packet)
{
    if (!packet) {
        throw noPacketFor(list);
    }
    list.loadPacket(std::move(*packet));
    packet.reset();
}

QJsonValue Element(const QJsonValue &answer, int index)
{
    const QJsonArray elements = answer.toArray();
    if (!answer.isArray() || index < 0 || index >= elements.size()) {
        throw std::runtime_error(
            QStringLiteral("Resposta inválida do servidor: faltou o elemento %1 da resposta.").arg(index).toStdString());
    }
    return elements.at(index);
}

QString AsText(const QJsonValue &answer)
{
    switch (answer.type()) {
    case QJsonValue::String:
        return answer.toString();
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QString();
    case QJsonValue::Double:
        return answer.toVariant().toString();
    case QJsonValue::Bool:
        return answer.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QJsonValue::Array:
    case QJsonValue::Object:
        break;
    }
    throw std::runtime_error("Resposta inválida do servidor: esperava um texto.");
}

} // namespace ServerAnswer

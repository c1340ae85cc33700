#include "ClientPhases.h"

#include "CheckedAnswer.h"
#include "WireCodec.h"
#include "RecordList.h"
#include "Samples.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <stdexcept>

ClientPhases::Medians ClientPhases::measure(const QByteArray &answerLine, int runs)
{
    Samples parse, decode, load;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QJsonDocument document = QJsonDocument::fromJson(answerLine);
        parse.add(double(timer.nsecsElapsed()) / 1e6);
        const QJsonValue value = document.object().value(QStringLiteral("result")).toObject().value(QStringLiteral("value"));
        const QJsonValue packetJson = CheckedAnswer::dataOf(value);
        if (!packetJson.isObject()) {
            throw std::runtime_error("the answer holds no data packet");
        }
        timer.restart();
        const DataPacket packet = WireCodec::decodePacket(packetJson.toObject());
        decode.add(double(timer.nsecsElapsed()) / 1e6);
        auto cdsOrcamento = std::make_unique<RecordList>(QStringLiteral("cdsOrcamento"));
        timer.restart();
        cdsOrcamento->loadPacket(packet);
        load.add(double(timer.nsecsElapsed()) / 1e6);
    }
    return {parse.median(), decode.median(), load.median()};
}

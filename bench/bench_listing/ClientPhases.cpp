#include "ClientPhases.h"

#include "AnswerReader.h"
#include "RecordList.h"
#include "Samples.h"

#include <QElapsedTimer>

#include <memory>
#include <optional>
#include <stdexcept>

ClientPhases::Medians ClientPhases::measure(const QByteArray &answerLine, int runs)
{
    Samples read, load;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        JsonStreamReader reader(answerLine + '\n', {});
        std::optional<PacketColumns> packet;
        AnswerReader::read(reader, &packet);
        read.add(double(timer.nsecsElapsed()) / 1e6);
        if (!packet) {
            throw std::runtime_error("the answer holds no data packet");
        }
        auto cdsOrcamento = std::make_unique<RecordList>(QStringLiteral("cdsOrcamento"));
        timer.restart();
        cdsOrcamento->loadPacket(std::move(*packet));
        load.add(double(timer.nsecsElapsed()) / 1e6);
    }
    return {read.median(), load.median()};
}

#include "QuoteReEnabling.h"

#include "Abort.h"
#include "Consiste.h"
#include "HostDialogs.h"
#include "QuoteServer.h"
#include "QuoteStates.h"
#include "ReadBack.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "TMessages.h"
#include "TNetConnection.h"

#include <optional>
#include <stdexcept>

namespace {

constexpr int writingData = 1;
const QString hallFree = QStringLiteral("OK");
const QString title = QStringLiteral("Cancelamento");
// Where the hall code starts in a blocking answer ("ACIMA_LIMITE:S02").
constexpr int hallCodeStart = 13;

struct Block {
    const char *code;
    const char *message;
};

// Tested in this order: an answer naming two codes reports the first.
constexpr Block blocks[] = {
    {"ACIMA_LIMITE", "Qt_Agen"},
    {"N_LIMITE_DEF", "N_Limite_Param"},
    {"DTA_HRA_MARC", "DtHr_Marc"},
};

// The first blocking code the hall answer holds; none for any other answer.
const Block *blockOf(const QString &hall)
{
    for (const Block &block : blocks) {
        if (hall.contains(QLatin1String(block.code))) {
            return &block;
        }
    }
    return nullptr;
}

QString text(const std::exception &error)
{
    return QString::fromUtf8(error.what());
}

// The bookings that hold the quote's hall, as lines for the operator;
// empty when the server cannot say: they only help, and the refusal stands.
QString whoHoldsHall(QuoteServer &server, const QuoteKey &key, const TMessages &messages)
{
    try {
        const QJsonObject answer =
            server.call(QStringLiteral("getBloqueioSalao"), {key.branch, key.number, key.sequence}).toObject();
        if (!answer.value(QStringLiteral("ok")).toBool()) {
            return QString();
        }
        RecordList holders(QStringLiteral("cdsBloqueioSalao"));
        ServerAnswer::LoadPacket(holders, answer.value(QStringLiteral("data")));
        QStringList rows;
        for (holders.first(); !holders.eof(); holders.next()) {
            const auto field = [&holders](const char *name) {
                return holders.fieldByName(QLatin1String(name)).asString();
            };
            rows << QStringLiteral("%1  Orçamento %2-%3  %4 (%5)")
                          .arg(field("HREVENTO"), field("NRORCAEVENTO"), field("NRSEQORCAEVE"), field("NMFANTCLIE"),
                               messages.Msg(field("IDSITUORCEVE")));
        }
        return rows.isEmpty() ? QString() : QStringLiteral("O salão está ocupado por:\n") + rows.join(QLatin1Char('\n'));
    } catch (const std::exception &) {
        return QString();
    }
}

[[noreturn]] void refuseHall(const QString &hall, const QString &details, const TMessages &messages)
{
    const Block *block = blockOf(hall);
    if (!block) {
        throw std::runtime_error(hall.toStdString());
    }
    QString message = messages.Msg(QLatin1String(block->message));
    message.replace(QStringLiteral("%s"), hall.mid(hallCodeStart));
    HostDialogs::current().showDetailedMessage(HostDialogs::Icon::Error, title, message, details);
    throw Abort();
}

// After `loss` cut SetAnterior off: returns when the server holds the
// quote back in `previous`; otherwise abandons, having said so.
void checkReEnabled(QuoteServer &server, const QuoteKey &key, const QString &previous,
                         const std::exception &loss, const TMessages &messages)
{
    std::optional<StoredQuote> found;
    QString why = QStringLiteral("o servidor não o encontrou");
    try {
        found = ReadBack::quote(server, key);
    } catch (const std::exception &readBackFailure) {
        why = text(readBackFailure);
    }
    if (found && found->state == previous) {
        return;
    }
    if (!found) {
        throw std::runtime_error(QStringLiteral("%1\n\nNão foi possível saber se o orçamento %2 foi habilitado: %3\n"
                                                "Nada foi repetido. Liste de novo (F5) para conferir.")
                                     .arg(text(loss), key.forOperator(), why)
                                     .toStdString());
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, title,
        QStringLiteral("%1\n\nO orçamento %2 não foi habilitado: está %3 no servidor. Nada foi repetido; "
                       "faça a operação de novo se ainda for o caso.")
            .arg(text(loss), key.forOperator(), messages.Msg(found->state)));
    throw Abort();
}

// The hall's calendar told the quote's state again: booking it twice books
// it once, so a call whose answer was lost goes once more. Empty when done;
// otherwise why not.
QString confirmCalendar(QuoteServer &server, const QuoteKey &key, const QString &letter)
{
    QString failure;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            Showavi::Busy busy(writingData);
            server.call(QStringLiteral("setAgendaSalao"), {key.branch, key.number, key.sequence, letter});
            return QString();
        } catch (const TNetConnection::ConnectionLost &loss) {
            failure = text(loss);
        } catch (const std::exception &error) {
            return text(error);
        }
    }
    return failure;
}

} // namespace

namespace QuoteReEnabling {

void reEnable(QuoteServer &server, const QuoteKey &key, const QString &operatorCode,
               const TMessages &messages, const std::function<void()> &discard)
{
    QString previous;
    try {
        QString hall;
        QJsonValue answer;
        std::optional<TNetConnection::ConnectionLost> lost;
        {
            Showavi::Busy busy(writingData);
            previous = ServerAnswer::AsText(
                server.call(QStringLiteral("getSituAnterior"), {key.number, key.branch, key.sequence}));
            hall = ServerAnswer::AsText(
                server.call(QStringLiteral("getVerifSalao"), {key.branch, key.number, key.sequence}));
            if (hall == hallFree) {
                try {
                    answer = server.call(QStringLiteral("SetAnterior"), {key.number, key.branch, key.sequence,
                                                                             operatorCode, TNetArg::textRef(previous)});
                } catch (const TNetConnection::ConnectionLost &loss) {
                    lost = loss;
                }
            }
        }
        // What a lost answer left is found out, and told, once the busy sign is gone.
        if (lost) {
            checkReEnabled(server, key, previous, *lost, messages);
            answer = QJsonObject{{QStringLiteral("ok"), true}};
        }
        if (hall != hallFree) {
            refuseHall(hall, blockOf(hall) ? whoHoldsHall(server, key, messages) : QString(), messages);
        }
        Consiste::CheckResultServ(answer, true, 0);
    } catch (...) {
        discard();
        throw;
    }
    // The quote is back in its state on the server: from here on nothing
    // may read as a refusal.
    discard();
    const QString letter = HallBooking::forState(previous);
    const QString failure = letter.isEmpty() ? QString() : confirmCalendar(server, key, letter);
    if (failure.isEmpty()) {
        HostDialogs::current().showMessage(HostDialogs::Icon::Information, title, messages.Msg(QStringLiteral("SUCESSO")));
        return;
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, title,
        QStringLiteral("O orçamento %1 já está habilitado como %2, mas a agenda do salão não foi atualizada: %3")
            .arg(key.forOperator(), messages.Msg(previous), failure));
}

} // namespace QuoteReEnabling

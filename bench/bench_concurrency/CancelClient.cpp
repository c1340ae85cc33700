#include "CancelClient.h"

#include "BenchConnection.h"
#include "CheckedAnswer.h"
#include "QuoteListing.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ServerAnswer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <memory>
#include <stdexcept>

namespace {

// The server's words when another operator changed the quote first.
const QString conflictMessage = QStringLiteral("alterado por outro usuário");

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

CancelClient::CancelClient(quint16 port, int index, const QStringList &reasons, int sharedPercent, bool notices)
    : m_port(port)
    , m_notices(notices)
    , m_index(index)
    , m_branch(QStringLiteral("%1").arg(index % 10 + 1, 4, 10, QLatin1Char('0')))
    , m_operator(operatorPrefix() + QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0')))
    , m_reasons(reasons)
    , m_sharedPercent(sharedPercent)
{
}

void CancelClient::error(const QString &message)
{
    ++m_tally.errors;
    if (m_tally.errorMessages.size() < 5) {
        m_tally.errorMessages << message;
    }
}

void CancelClient::run(const QDeadlineTimer &deadline)
{
    QRandomGenerator random(quint32(m_index + 1));
    std::unique_ptr<TNetConnection> connection;
    try {
        connection = BenchConnection::open(m_port, m_notices);
    } catch (const std::exception &failure) {
        error(QString::fromUtf8(failure.what()));
        return;
    }
    while (!deadline.hasExpired()) {
        // Between two operations the screen's event loop takes what its
        // connection handed over (the notices); so does each cycle here.
        QCoreApplication::sendPostedEvents();
        ++m_tally.cycles;
        try {
            RecordList cdsOrcamento(QStringLiteral("cdsOrcamento"));
            QuoteListing filter;
            QElapsedTimer timer;
            timer.start();
            ++m_tally.calls;
            ServerAnswer::LoadPacket(cdsOrcamento, CheckedAnswer::dataOf(connection->Call(QStringLiteral("GetOrcamento"), TNetArg::listing(m_branch, filter))));
            m_tally.listingMs.add(elapsedMs(timer));
            if (cdsOrcamento.isEmpty()) {
                continue;
            }
            const bool shared = int(random.bounded(100)) < m_sharedPercent;
            cdsOrcamento.moveTo(shared ? 0 : int(random.bounded(cdsOrcamento.recordCount())));
            const QString number = cdsOrcamento.fieldByName(QStringLiteral("NRORCAEVENTO")).asString();
            const QString sequence = cdsOrcamento.fieldByName(QStringLiteral("NRSEQORCAEVE")).asString();
            cdsOrcamento.edit();
            cdsOrcamento.fieldByName(QStringLiteral("IDSITUORCEVE")).setAsString(QuoteState::Cancelled);
            cdsOrcamento.fieldByName(QStringLiteral("CDJUSTEXCHIS")).setAsString(m_reasons.at(int(random.bounded(m_reasons.size()))));
            cdsOrcamento.fieldByName(QStringLiteral("CDOPEJUSTORC")).setAsString(m_operator);
            cdsOrcamento.post();

            timer.restart();
            ++m_tally.calls;
            const CheckedAnswer answer = CheckedAnswer::from(connection->Call(QStringLiteral("SetOrcamento"), {TNetArg::deltaOf(cdsOrcamento)}));
            m_tally.cancelMs.add(elapsedMs(timer));
            if (!answer.ok) {
                if (answer.message.contains(conflictMessage)) {
                    ++m_tally.conflicts;
                } else {
                    error(QStringLiteral("SetOrcamento refused: %1").arg(answer.message));
                }
                continue;
            }
            m_tally.cancelled << QStringLiteral("%1/%2-%3").arg(m_branch, number, sequence);

            timer.restart();
            ++m_tally.calls;
            connection->Call(QStringLiteral("setAgendaSalao"), {m_branch, number, sequence, HallBooking::Released});
            m_tally.releaseMs.add(elapsedMs(timer));
        } catch (const std::exception &failure) {
            error(QString::fromUtf8(failure.what()));
        }
    }
    connection->Disconnect();
}

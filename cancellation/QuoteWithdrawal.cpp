#include "QuoteWithdrawal.h"

#include "Abort.h"
#include "CancellationMessages.h"
#include "Consiste.h"
#include "HostDialogs.h"
#include "QuoteServer.h"
#include "QuoteStates.h"
#include "ReadBack.h"
#include "Showavi.h"
#include "TNetConnection.h"

#include <stdexcept>

namespace {

constexpr int writingData = 1;

QString text(const std::exception &error)
{
    return QString::fromUtf8(error.what());
}

// Whether the server's copy is the one this operation asked for: the state
// alone is not enough, since another operator may have set the same state
// with a reason of their own.
bool isThisOperation(const StoredQuote &found, const QuoteWithdrawal::Request &request)
{
    return found.state == request.state && found.reason == request.reason && found.operatorCode == request.operatorCode;
}

QString whoStored(const StoredQuote &found, const TMessages &messages)
{
    QString who = found.state.isEmpty() ? QStringLiteral("ausente") : stateWord(messages, found.state);
    if (!found.operatorCode.isEmpty()) {
        who += QStringLiteral(", gravado por %1").arg(found.operatorCode);
    }
    if (!found.reason.isEmpty()) {
        who += QStringLiteral(" com o motivo %1").arg(found.reason);
    }
    return who;
}

// Releasing a hall twice releases it once: the call may go again.
Step releaseHallOf(QuoteServer &server, const QuoteKey &key, QString &failure)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            Showavi::Busy busy(writingData);
            server.call(QStringLiteral("setAgendaSalao"),
                           {key.branch, key.number, key.sequence, HallBooking::Released});
            failure.clear();
            return Step::Stored;
        } catch (const TNetConnection::ConnectionLost &loss) {
            failure = text(loss);
        } catch (const Abort &) {
            failure.clear();
            return Step::NotStored;
        } catch (const std::exception &error) {
            failure = text(error);
            return Step::NotStored;
        }
    }
    return Step::Unknown;
}

} // namespace

QuoteWithdrawal::QuoteWithdrawal(QuoteServer &server, Request request, const TMessages &messages,
                                 std::function<void(const Request &)> lateWrite)
    : m_server(server)
    , m_request(std::move(request))
    , m_messages(messages)
    , m_lateWrite(std::move(lateWrite))
{
}

void QuoteWithdrawal::sendState(const ChangeDelta &delta, const std::function<void()> &discard)
{
    try {
        writeChecked(m_server, QStringLiteral("SetOrcamento"), {TNetArg::delta(delta)}, discard);
    } catch (const TNetConnection::ConnectionLost &loss) {
        checkState(loss, discard);
    }
}

void QuoteWithdrawal::checkState(const std::exception &loss, const std::function<void()> &discard)
{
    const QString quote = m_request.key.forOperator();
    std::optional<StoredQuote> found;
    QString why;
    try {
        found = ReadBack::quote(m_server, m_request.key);
        why = QStringLiteral("o servidor não o encontrou");
    } catch (const std::exception &readBackFailure) {
        why = text(readBackFailure);
    }
    if (found && isThisOperation(*found, m_request)) {
        return;
    }
    discard();
    if (!found) {
        throw std::runtime_error(
            QStringLiteral("%1\n\nNão foi possível saber se o orçamento %2 foi gravado: %3\n"
                           "Nada foi repetido. Liste de novo (F5) para conferir antes de refazer a operação.")
                .arg(text(loss), quote, why)
                .toStdString());
    }
    if (m_lateWrite) {
        m_lateWrite(m_request);
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, QStringLiteral("Cancelamento"),
        QStringLiteral("%1\n\nO orçamento %2 não foi gravado: está %3 no servidor. Nada foi repetido; "
                       "faça a operação de novo se ainda for o caso.\n\nSe o servidor que deixou de responder "
                       "ainda gravar a operação, esta tela avisa e libera o salão.")
            .arg(text(loss), quote, whoStored(*found, m_messages)));
    throw Abort();
}

void QuoteWithdrawal::releaseHall()
{
    QString failure;
    m_hall = releaseHallOf(m_server, m_request.key, failure);
    noteFailure(failure);
}

void QuoteWithdrawal::noteFailure(const QString &failure)
{
    if (!failure.isEmpty()) {
        m_failures << failure;
    }
}

void QuoteWithdrawal::sendJustification(const ChangeDelta &delta, const QString &text)
{
    m_justificationDelta = delta;
    m_text = text;
    if (m_hall != Step::Stored && m_hall != Step::NotNeeded) {
        // The steps go in their order: this one waits with the hall's.
        m_justification = Step::NotStored;
        return;
    }
    try {
        writeChecked(m_server, QStringLiteral("SetObs"), {TNetArg::delta(delta)});
        m_justification = Step::Stored;
    } catch (const TNetConnection::ConnectionLost &loss) {
        m_justification = checkJustification(delta, text, ::text(loss));
    } catch (const Abort &) {
        // The server refused it and said why: the same text would be refused again.
        m_refused = true;
        m_justification = Step::NotStored;
    } catch (const std::exception &error) {
        noteFailure(::text(error));
        m_justification = Step::NotStored;
    }
}

Step QuoteWithdrawal::checkJustification(const ChangeDelta &delta, const QString &text, const QString &loss)
{
    try {
        const std::optional<QString> found = ReadBack::justification(m_server, m_request.key);
        if (found && *found != text) {
            // Another operator's text: ours is not stored, and never will be.
            noteFailure(QStringLiteral("o servidor já tem outra justificativa para ele"));
            m_refused = true;
            return Step::NotStored;
        }
        if (found) {
            return Step::Stored;
        }
        // Not there: written once, now.
        writeChecked(m_server, QStringLiteral("SetObs"), {TNetArg::delta(delta)});
        return Step::Stored;
    } catch (const Abort &) {
        m_refused = true;
        return Step::NotStored;
    } catch (const std::exception &error) {
        noteFailure(loss);
        noteFailure(::text(error));
        return Step::Unknown;
    }
}

void QuoteWithdrawal::listingFailed(const std::exception &failure) const
{
    throw std::runtime_error(QStringLiteral("O orçamento %1 já está gravado como %2, mas a lista não foi lida de novo "
                                            "(F5 lista de novo): %3")
                                 .arg(m_request.key.forOperator(), stateWord(m_messages, m_request.state), text(failure))
                                 .toStdString());
}

bool QuoteWithdrawal::complete() const
{
    const auto done = [](Step etapa) { return etapa == Step::Stored || etapa == Step::NotNeeded; };
    return done(m_hall) && done(m_justification);
}

QString QuoteWithdrawal::report(const QString &stateName) const
{
    const auto part = [](Step etapa, const QString &nao, const QString &incerta) {
        return etapa == Step::NotStored ? nao : etapa == Step::Unknown ? incerta : QString();
    };
    QStringList missing;
    for (const QString &item :
         {part(m_hall, QStringLiteral("o salão não foi liberado"),
                QStringLiteral("não foi possível confirmar que o salão foi liberado")),
          part(m_justification, QStringLiteral("a justificativa não foi gravada"),
                QStringLiteral("não foi possível confirmar que a justificativa foi gravada"))}) {
        if (!item.isEmpty()) {
            missing << item;
        }
    }
    QString report = QStringLiteral("O orçamento %1 já está gravado como %2, mas %3")
                         .arg(m_request.key.forOperator(), stateName, missing.join(QStringLiteral(" e ")));
    report += m_failures.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + m_failures.join(QStringLiteral("; "));
    if (pending()) {
        report += QStringLiteral("\n\nO que falta será concluído na próxima conexão a um servidor, ou agora com Ctrl+G.");
    }
    return report;
}

std::optional<PendingSteps> QuoteWithdrawal::pending() const
{
    if (complete()) {
        return std::nullopt;
    }
    PendingSteps pendingSteps{m_request.key, m_request.state, m_request.reason, m_request.operatorCode, false, std::nullopt, {}};
    pendingSteps.hall = m_hall != Step::Stored && m_hall != Step::NotNeeded;
    if ((m_justification == Step::NotStored || m_justification == Step::Unknown) && !m_refused) {
        pendingSteps.justification = m_justificationDelta;
        pendingSteps.text = m_text;
    }
    if (!pendingSteps.hall && !pendingSteps.justification) {
        return std::nullopt;
    }
    return pendingSteps;
}

std::optional<PendingSteps> QuoteWithdrawal::finish(QuoteServer &server, PendingSteps pendingSteps, QString &said)
{
    const std::optional<StoredQuote> found = ReadBack::quote(server, pendingSteps.key);
    if (!found || !isThisOperation(*found, {pendingSteps.key, pendingSteps.state, pendingSteps.reason, pendingSteps.operatorCode})) {
        said = QStringLiteral("já não está como foi gravado (outra operação o mudou); nada mais foi feito");
        return std::nullopt;
    }
    QString failure;
    if (pendingSteps.hall && releaseHallOf(server, pendingSteps.key, failure) != Step::Stored) {
        said = QStringLiteral("o salão ainda não foi liberado");
        return pendingSteps; // the justification waits with the hall
    }
    QStringList done;
    if (pendingSteps.hall) {
        done << QStringLiteral("o salão foi liberado");
    }
    if (pendingSteps.justification && !found->justification) {
        writeChecked(server, QStringLiteral("SetObs"), {TNetArg::delta(*pendingSteps.justification)});
        done << QStringLiteral("a justificativa foi gravada");
    } else if (pendingSteps.justification) {
        done << QStringLiteral("a justificativa não foi gravada: já há outra");
    }
    said = done.join(QStringLiteral(" e "));
    return std::nullopt;
}

#pragma once

#include "DataPacket.h"
#include "QuoteKey.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QuoteServer;
class TMessages;

// What the server is known to hold of one step of an operation.
enum class Step {
    NotNeeded, // the operation has no such step
    Stored,
    NotStored,
    Unknown,    // the answer was lost and the server could not be asked
};

// A cancellation or postponement whose new state is stored while later steps
// are not: they are finished on a later connection, never by the operator
// doing the operation again.
struct PendingSteps {
    QuoteKey key;
    QString state, reason, operatorCode;
    bool hall = false;                       // the hall is still to be released
    std::optional<ChangeDelta> justification; // the text is still to be stored
    QString text;
};

// Storing a marked quote as cancelled or postponed, step by step: the new
// state, the hall's release, the justification. A step whose answer was lost
// is read back from the next server instead of being taken for stored or for
// failed; a write is sent again only where the server is known not to hold
// it and sending it twice could store nothing twice.
class QuoteWithdrawal final {
public:
    struct Request {
        QuoteKey key;
        QString state, reason, operatorCode;
    };

    // `lateWrite` is told of a state the server was found not to hold after
    // its answer was lost: a frozen server may still store it later.
    QuoteWithdrawal(QuoteServer &server, Request request, const TMessages &messages,
                    std::function<void(const Request &)> lateWrite = {});

    // SetOrcamento. Returns once the server is known to hold the new state.
    // Otherwise runs `discard` first, so no box ever shows a state that is
    // not stored, and then tells the operator and abandons (Abort), or throws
    // std::runtime_error with the sentence for the host's error box.
    void sendState(const ChangeDelta &delta, const std::function<void()> &discard);
    // setAgendaSalao "C". Never throws: the outcome is kept.
    void releaseHall();
    // SetObs with the justification `text`, once the hall is released (else
    // it waits with the hall's release). Never throws: the outcome is kept.
    void sendJustification(const ChangeDelta &delta, const QString &text);

    const Request &request() const { return m_request; }
    Step hall() const { return m_hall; }
    Step justification() const { return m_justification; }
    // Every step is known stored.
    bool complete() const;
    // Everything is stored, but the list read again after it failed with
    // `failure`: throws std::runtime_error saying so.
    [[noreturn]] void listingFailed(const std::exception &failure) const;
    // What is stored and what is not, for the operator; `stateName` is
    // the word of the state asked for.
    QString report(const QString &stateName) const;
    // The steps left; none when complete.
    std::optional<PendingSteps> pending() const;

    // Finishes what `pendingSteps` left, reading the quote back first: the steps
    // run only while the quote is still the one withdrawn by that operation.
    // Returns the steps still left (none: finished, or nothing left to do).
    // `said` tells the operator what was done.
    static std::optional<PendingSteps> finish(QuoteServer &server, PendingSteps pendingSteps, QString &said);

private:
    void checkState(const std::exception &loss, const std::function<void()> &discard);
    Step checkJustification(const ChangeDelta &delta, const QString &text, const QString &loss);
    void noteFailure(const QString &failure);

    QuoteServer &m_server;
    Request m_request;
    const TMessages &m_messages;
    std::function<void(const Request &)> m_lateWrite;
    Step m_hall = Step::NotNeeded;
    Step m_justification = Step::NotNeeded;
    std::optional<ChangeDelta> m_justificationDelta;
    QString m_text;
    bool m_refused = false; // the server will not take this justification
    QStringList m_failures; // why steps failed, but for refusals whose message was shown
};

#pragma once

#include "CancellationCommands.h"
#include "QuoteWithdrawal.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class RecordList;
class QuoteServer;
class TMessages;
struct QuoteListing;

// The screen's lists that its operations read into.
struct CancellationLists {
    RecordList &quotes;
    RecordList &items;
    RecordList &justification;
    RecordList &reasons;
    RecordList &parameters;
};

// What the cancellation screen knows and does, apart from its widgets: the
// facts its commands are decided from, the one operation under way, other
// operators' changes and a lost server, and the stored operations that
// still have steps left.
//
// One operation at a time: a listing, a store, a re-enable, the history,
// an export or a filter runs inside a `Turn`. While one is under way (a call
// waiting for its answer, or a question on screen that belongs to it),
// change notices, a new connection and the finishing of steps left wait,
// and are taken in turn once it ends; so nothing changes an operation's list
// or state under it.
class CancellationOperations final : public QObject {
    Q_OBJECT
public:
    CancellationOperations(QuoteServer &server, const CancellationLists &lists, const TMessages &messages,
                          QObject *parent = nullptr);
    ~CancellationOperations() override;

    QuoteServer &server() { return m_server; }

    // The operation under way, for its own lifetime; they nest, the
    // outermost counts.
    class Turn final {
    public:
        explicit Turn(CancellationOperations &operations);
        ~Turn();
        Turn(const Turn &) = delete;
        Turn &operator=(const Turn &) = delete;

    private:
        CancellationOperations &m_operations;
    };
    bool underWay() const { return m_depth > 0; }

    // The facts, read afresh from the list and from what the screen told.
    CancellationFacts facts() const;
    CancellationCommands commands() const { return commandsFor(facts()); }
    bool editing() const;
    bool listEmpty() const;
    // The current quote's state as the list shows it; empty with no quote.
    QString currentState() const;
    // The current quote's state as stored: a marked quote reads "8" in the
    // list, but until it is posted it is still the quote that needs a reason.
    QString storedState() const;

    // Something the commands follow changed on screen (the page shown, say).
    void recheck() { emit factsChanged(); }
    void setChoosingBranch(bool choosing);
    bool choosingBranch() const { return m_choosingBranch; }
    void setBranchOffered();
    void setClosing(bool closing);
    bool closing() const { return m_closing; }
    // What else keeps the list from changing under the operator: a question
    // on screen, say.
    std::function<bool()> busyElsewhere;

    // Lists `branch`'s quotes with `listing`, whose by-reference values
    // come back as the server settled them; other operators' changes are
    // counted from this listing on.
    void list(const QString &branch, QuoteListing &listing);
    // The current quote's items and justification (empty keys for none).
    void readItems();
    // Empties the items and the justification: until an answer is loaded
    // they belong to no quote, so a failed load never leaves another quote's.
    void emptyItems();
    // The current quote's reason, every reason (for the lookup), or the one
    // of `code` (false when the server knows none), into the reason list.
    void readReason();
    void readAllReasons();
    bool checkReason(const QString &code);
    // Whether the quotes' prices have a price base to show: not when they
    // come from a contract.
    bool hasPriceBase();
    void takeNotices(const QList<QJsonObject> &notices);
    void reconnected();
    // The status line's note: other operators' changes and the steps left.
    QString note() const;

    // A store of the current quote with the state, reason and operator now
    // in the list.
    QuoteWithdrawal newWithdrawal();
    // Ends a store: says "success" only when every step is known stored;
    // otherwise says what is stored and what is not, keeps the steps left and
    // abandons (Abort).
    void finishWithdrawal(const QuoteWithdrawal &withdrawal);
    // Finishes the steps left by earlier stores, quietly unless `tell`;
    // `preface` leads what is told.
    void finishPending(bool tell, const QString &preface = {});
    bool hasPending() const { return !m_pending.isEmpty(); }
    // A withdrawal found not stored after its answer was lost: should the
    // server that lost it store it after all, its notice says so, and the
    // hall is released then.
    void watchLateWrite(const QuoteWithdrawal::Request &request);

signals:
    // A fact changed: the commands are to be decided again.
    void factsChanged();
    // The list may lack what changed while no server told this screen.
    void listingWanted();
    // Another operator changed the quote being edited; the operator was told.
    void editChangedByOther();
    void noteChanged();

private:
    void takeDeferred();
    void applyNotices(const QList<QJsonObject> &notices);
    // Whether `notice` is a write of ours that landed late; it is then taken
    // over as steps left.
    bool takeLateWrite(const QJsonObject &notice);
    void turnEnded();

    QuoteServer &m_server;
    CancellationLists m_lists;
    RecordList &m_quotes;
    const TMessages &m_messages;
    int m_depth = 0;
    bool m_choosingBranch = false;
    bool m_branchOffered = false;
    bool m_closing = false;

    QString m_listedBranch;
    QSet<QString> m_changedByOthers; // "number-sequence"
    QList<QJsonObject> m_deferredNotices;
    bool m_listStale = false;
    bool m_finishDeferred = false;
    bool m_taking = false;
    bool m_waitingForTurn = false; // something waits for the operation under way

    QList<PendingSteps> m_pending;
    QList<QuoteWithdrawal::Request> m_lateWrites;
};

#include "CancellationOperations.h"

#include "Abort.h"
#include "CancellationMessages.h"
#include "Consiste.h"
#include "Corvane.h"
#include "HostDialogs.h"
#include "HostGuard.h"
#include "QuoteListing.h"
#include "QuoteServer.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "TMessages.h"

#include <QScopedValueRollback>
#include <QTimer>

#include <optional>
#include <utility>

namespace {

constexpr int readingData = 6;
// How soon what waited for a question on screen is looked at again.
constexpr int dialogWait = 300; // ms

QString keyOf(const QString &number, const QString &sequence)
{
    return number + QLatin1Char('-') + sequence;
}

QString field(const RecordList &list, const char *name)
{
    return list.fieldByName(QLatin1String(name)).asString();
}

} // namespace

CancellationOperations::CancellationOperations(QuoteServer &server, const CancellationLists &lists,
                                             const TMessages &messages, QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_lists(lists)
    , m_quotes(lists.quotes)
    , m_messages(messages)
{
    // Every change of the list's data, place or state may open or close commands.
    connect(&m_quotes, &RecordList::reset, this, &CancellationOperations::factsChanged);
    connect(&m_quotes, &RecordList::currentChanged, this, &CancellationOperations::factsChanged);
    connect(&m_quotes, &RecordList::stateChanged, this, &CancellationOperations::factsChanged);
}

CancellationOperations::~CancellationOperations() = default;

CancellationOperations::Turn::Turn(CancellationOperations &operations)
    : m_operations(operations)
{
    ++m_operations.m_depth;
}

CancellationOperations::Turn::~Turn()
{
    if (--m_operations.m_depth == 0) {
        m_operations.turnEnded();
    }
}

void CancellationOperations::turnEnded()
{
    if (std::exchange(m_waitingForTurn, false)) {
        // From the event loop, once the handler that ran the operation is done.
        QTimer::singleShot(0, this, &CancellationOperations::takeDeferred);
    }
}

bool CancellationOperations::listEmpty() const
{
    return !m_quotes.isActive() || m_quotes.isEmpty();
}

bool CancellationOperations::editing() const
{
    const RecordList::State state = m_quotes.state();
    return state == RecordList::State::Edit || state == RecordList::State::Insert;
}

QString CancellationOperations::currentState() const
{
    return listEmpty() ? QString() : field(m_quotes, "IDSITUORCEVE");
}

QString CancellationOperations::storedState() const
{
    if (listEmpty()) {
        return QString();
    }
    return m_quotes.fieldByName(QStringLiteral("IDSITUORCEVE")).oldValue().toString();
}

CancellationFacts CancellationOperations::facts() const
{
    CancellationFacts f;
    f.listEmpty = listEmpty();
    f.editing = editing();
    f.withdrawn = QuoteState::isWithdrawn(storedState());
    f.branchOffered = m_branchOffered;
    f.choosingBranch = m_choosingBranch;
    f.branchFixed = Corvane::ModuFili();
    f.pendingSteps = !m_pending.isEmpty();
    return f;
}

void CancellationOperations::setChoosingBranch(bool choosing)
{
    m_choosingBranch = choosing;
    if (choosing) {
        m_branchOffered = true;
    }
    emit factsChanged();
}

void CancellationOperations::setBranchOffered()
{
    m_branchOffered = true;
    emit factsChanged();
}

void CancellationOperations::setClosing(bool closing)
{
    m_closing = closing;
}

void CancellationOperations::list(const QString &branch, QuoteListing &listing)
{
    const Turn turn(*this);
    // A branch's list is read straight into the record list's columns as it
    // arrives: it may run to tens of megabytes.
    std::optional<PacketColumns> quotes;
    QJsonValue answer;
    {
        Showavi::Busy busy(readingData);
        answer = m_server.callPacket(QStringLiteral("GetOrcamento"), TNetArg::listing(branch, listing), quotes);
    }
    Consiste::CheckResultServ(answer, true, 0);
    Showavi::Busy busy(readingData);
    m_listedBranch = branch;
    m_changedByOthers.clear();
    m_listStale = false;
    m_deferredNotices.clear();
    ServerAnswer::LoadPacket(m_quotes, std::move(quotes));
    emit noteChanged();
}

void CancellationOperations::readItems()
{
    const QuoteKey key = QuoteKey::current(m_quotes);
    emptyItems();
    const QJsonValue packets = callChecked(m_server, readingData, QStringLiteral("GetItemOrc"),
                                            {key.branch, key.number, key.sequence});
    ServerAnswer::LoadPacket(m_lists.items, ServerAnswer::Element(packets, 0));
    ServerAnswer::LoadPacket(m_lists.justification, ServerAnswer::Element(packets, 1));
}

void CancellationOperations::emptyItems()
{
    m_lists.items.createDataSet();
    m_lists.justification.createDataSet();
}

void CancellationOperations::readReason()
{
    ServerAnswer::LoadPacket(m_lists.reasons, callChecked(m_server, readingData, QStringLiteral("GetMotivo"),
                                                            {field(m_quotes, "CDJUSTEXCHIS"), QString()}));
}

void CancellationOperations::readAllReasons()
{
    // Both by reference, as the lookup has always asked.
    QString none;
    QString all = QStringLiteral("T");
    ServerAnswer::LoadPacket(m_lists.reasons, callChecked(m_server, readingData, QStringLiteral("GetMotivo"),
                                                            {TNetArg::textRef(none), TNetArg::textRef(all)}));
}

bool CancellationOperations::checkReason(const QString &code)
{
    // Checked without the busy sign: it runs as the operator leaves the field.
    const QJsonValue answer = m_server.call(QStringLiteral("GetMotivo"), {code, QString()});
    ServerAnswer::LoadPacket(m_lists.reasons, Consiste::CheckResultServ(answer, true, 0));
    return !m_lists.reasons.isEmpty();
}

bool CancellationOperations::hasPriceBase()
{
    RecordList &parameters = m_lists.parameters;
    ServerAnswer::LoadPacket(parameters, callChecked(m_server, readingData, QStringLiteral("GetParamOrca")));
    // IDORIGPRUNITORE "C": unit prices taken from a contract.
    return parameters.isEmpty() || field(parameters, "IDORIGPRUNITORE") != QLatin1String("C");
}

void CancellationOperations::takeNotices(const QList<QJsonObject> &notices)
{
    m_deferredNotices += notices;
    takeDeferred();
}

void CancellationOperations::reconnected()
{
    // Whatever changed while no server was telling this screen is read
    // anew, and the steps left are finished on the new connection.
    m_listStale = true;
    m_finishDeferred = !m_pending.isEmpty();
    takeDeferred();
}

void CancellationOperations::takeDeferred()
{
    if (m_deferredNotices.isEmpty() && !m_listStale && !m_finishDeferred) {
        return;
    }
    if (underWay() || m_taking) {
        m_waitingForTurn = true; // taken when the operation ends
        return;
    }
    if (busyElsewhere && busyElsewhere()) {
        QTimer::singleShot(dialogWait, this, &CancellationOperations::takeDeferred);
        return;
    }
    const QScopedValueRollback taking(m_taking, true);
    HostGuard::run([this] {
        const Turn turn(*this);
        if (std::exchange(m_finishDeferred, false)) {
            finishPending(false);
        }
        // A branch being typed is not the one listed: the listing waits for it.
        if (m_listStale && !editing() && !m_choosingBranch && m_quotes.isActive() && !m_closing) {
            // Asked once: a listing that fails says so, and F5 asks again.
            m_listStale = false;
            m_deferredNotices.clear();
            emit listingWanted();
            return;
        }
        applyNotices(std::exchange(m_deferredNotices, {}));
    });
}

void CancellationOperations::applyNotices(const QList<QJsonObject> &notices)
{
    if (!m_quotes.isActive() || m_closing) {
        return;
    }
    const int numberColumn = m_quotes.fieldByName(QStringLiteral("NRORCAEVENTO")).index();
    const int sequenceColumn = m_quotes.fieldByName(QStringLiteral("NRSEQORCAEVE")).index();
    const int stateColumn = m_quotes.fieldByName(QStringLiteral("IDSITUORCEVE")).index();
    const int reasonColumn = m_quotes.fieldByName(QStringLiteral("CDJUSTEXCHIS")).index();
    QHash<QString, int> rows;
    for (int row = 0; row < m_quotes.recordCount(); ++row) {
        rows.insert(keyOf(m_quotes.valueAt(row, numberColumn).toString(),
                              m_quotes.valueAt(row, sequenceColumn).toString()),
                      row);
    }
    std::optional<QJsonObject> ofEdit;
    QStringList landedLate;
    for (const QJsonObject &notice : notices) {
        const bool ours = notice.value(QStringLiteral("what")).toString() == QLatin1String("state") && takeLateWrite(notice);
        if (ours) {
            landedLate << QStringLiteral("O orçamento %1 (seq. %2) acaba de ser gravado como %3 pelo servidor que tinha "
                                         "deixado de responder; a justificativa digitada não foi gravada.")
                              .arg(notice.value(QStringLiteral("number")).toString(),
                                   notice.value(QStringLiteral("sequence")).toString(),
                                   stateWord(m_messages, notice.value(QStringLiteral("state")).toString()));
        }
        if (notice.value(QStringLiteral("branch")).toString() != m_listedBranch) {
            continue;
        }
        const QString key =
            keyOf(notice.value(QStringLiteral("number")).toString(), notice.value(QStringLiteral("sequence")).toString());
        const int row = rows.value(key, -1);
        if (row < 0) {
            continue;
        }
        if (notice.value(QStringLiteral("what")).toString() != QLatin1String("state")) {
            // The justification or the hall: nothing the grid shows.
            m_changedByOthers.insert(key);
            continue;
        }
        const QString state = notice.value(QStringLiteral("state")).toString();
        const QString reason = notice.value(QStringLiteral("reason")).toString();
        const bool edited = editing() && row == m_quotes.recNo();
        // A change the listing already brought is no news.
        if (!edited && m_quotes.valueAt(row, stateColumn).toString() == state
            && m_quotes.valueAt(row, reasonColumn).toString() == reason) {
            continue;
        }
        if (!ours) {
            m_changedByOthers.insert(key);
        }
        const QHash<QString, QVariant> values{
            {QStringLiteral("IDSITUORCEVE"), state},
            {QStringLiteral("CDJUSTEXCHIS"), reason.isEmpty() ? QVariant() : QVariant(reason)}};
        if (!m_quotes.refreshRecord(row, values)) {
            ofEdit = notice;
        }
    }
    emit noteChanged();
    // The current quote's new state may open or close commands.
    emit factsChanged();
    if (!landedLate.isEmpty()) {
        finishPending(true, landedLate.join(QLatin1Char('\n')));
    }
    if (!ofEdit) {
        return;
    }
    const QString who = ofEdit->value(QStringLiteral("operator")).toString();
    const QString reason = ofEdit->value(QStringLiteral("reason")).toString();
    QString now = m_messages.Msg(ofEdit->value(QStringLiteral("state")).toString());
    if (!reason.isEmpty()) {
        now += QStringLiteral(", motivo %1").arg(reason);
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, QStringLiteral("Cancelamento"),
        QStringLiteral("O orçamento %1 (seq. %2), que você está alterando, acaba de ser alterado por %3: agora está %4.\n\n"
                       "A sua alteração será descartada e nada dela será gravado.")
            .arg(ofEdit->value(QStringLiteral("number")).toString(),
                 ofEdit->value(QStringLiteral("sequence")).toString(),
                 who.isEmpty() ? QStringLiteral("outro operador") : who, now));
    emit editChangedByOther();
}

QString CancellationOperations::note() const
{
    QStringList parts;
    if (const qsizetype changed = m_changedByOthers.size()) {
        parts << QStringLiteral("%1 %2 por outros operadores — F5 lista de novo")
                      .arg(changed)
                      .arg(changed == 1 ? QStringLiteral("alterado") : QStringLiteral("alterados"));
    }
    for (const PendingSteps &pendingSteps : m_pending) {
        parts << QStringLiteral("%1-%2: %3 — Ctrl+G conclui")
                      .arg(pendingSteps.key.number, pendingSteps.key.sequence,
                           pendingSteps.hall ? QStringLiteral("salão não liberado")
                                          : QStringLiteral("justificativa não gravada"));
    }
    return parts.join(QStringLiteral("; "));
}

QuoteWithdrawal CancellationOperations::newWithdrawal()
{
    return QuoteWithdrawal(
        m_server,
        {QuoteKey::current(m_quotes), field(m_quotes, "IDSITUORCEVE"), field(m_quotes, "CDJUSTEXCHIS"),
         field(m_quotes, "CDOPEJUSTORC")},
        m_messages, [this](const QuoteWithdrawal::Request &request) { watchLateWrite(request); });
}

void CancellationOperations::watchLateWrite(const QuoteWithdrawal::Request &request)
{
    m_lateWrites.append(request);
}

bool CancellationOperations::takeLateWrite(const QJsonObject &notice)
{
    const auto late = std::find_if(m_lateWrites.cbegin(), m_lateWrites.cend(), [&notice](const auto &request) {
        return notice.value(QStringLiteral("branch")).toString() == request.key.branch
               && notice.value(QStringLiteral("number")).toString() == request.key.number
               && notice.value(QStringLiteral("sequence")).toString() == request.key.sequence
               && notice.value(QStringLiteral("state")).toString() == request.state
               && notice.value(QStringLiteral("reason")).toString() == request.reason
               && notice.value(QStringLiteral("operator")).toString() == request.operatorCode;
    });
    if (late == m_lateWrites.cend()) {
        return false;
    }
    m_pending.append({late->key, late->state, late->reason, late->operatorCode, true, std::nullopt, {}});
    m_lateWrites.erase(late);
    return true;
}

void CancellationOperations::finishWithdrawal(const QuoteWithdrawal &withdrawal)
{
    if (withdrawal.complete()) {
        HostDialogs::current().showMessage(HostDialogs::Icon::Information, QStringLiteral("Cancelamento"),
                                           m_messages.Msg(QStringLiteral("SUCESSO")));
        return;
    }
    if (std::optional<PendingSteps> pendingSteps = withdrawal.pending()) {
        m_pending.append(std::move(*pendingSteps));
        emit noteChanged();
        emit factsChanged();
    }
    HostDialogs::current().showMessage(HostDialogs::Icon::Warning, QStringLiteral("Cancelamento"),
                                       withdrawal.report(m_messages.Msg(withdrawal.request().state)));
    throw Abort();
}

void CancellationOperations::finishPending(bool tell, const QString &preface)
{
    const Turn turn(*this);
    QList<PendingSteps> remaining;
    QStringList reports;
    if (!preface.isEmpty()) {
        reports << preface;
    }
    for (const PendingSteps &pendingSteps : std::exchange(m_pending, {})) {
        const QString quote = pendingSteps.key.forOperator();
        try {
            QString said;
            if (std::optional<PendingSteps> left = QuoteWithdrawal::finish(m_server, pendingSteps, said)) {
                remaining.append(std::move(*left));
            }
            reports << QStringLiteral("O orçamento %1: %2.").arg(quote, said);
        } catch (const std::exception &error) {
            remaining.append(pendingSteps);
            reports << QStringLiteral("O orçamento %1 ainda não foi concluído: %2").arg(quote, QString::fromUtf8(error.what()));
        }
    }
    m_pending = remaining + m_pending;
    emit noteChanged();
    emit factsChanged();
    if (tell && !reports.isEmpty()) {
        HostDialogs::current().showMessage(m_pending.isEmpty() ? HostDialogs::Icon::Information
                                                                  : HostDialogs::Icon::Warning,
                                           QStringLiteral("Cancelamento"), reports.join(QLatin1Char('\n')));
    }
}

#include "StateRestorer.h"

#include "HallSchedule.h"
#include "JustificationWriter.h"
#include "QuoteStates.h"
#include "Refusal.h"
#include "Sql.h"
#include "SqlTransaction.h"
#include "StateHistory.h"
#include "StoredQuote.h"

StateRestorer::StateRestorer(const QSqlDatabase &db, const NoticeSource &notices)
    : m_db(db), m_notices(notices)
{
}

QString StateRestorer::previousState(const QuoteKey &key) const
{
    // Only a cancelled or postponed quote has a state to go back to: one
    // never cancelled, or already re-enabled, has none.
    const auto quote = StoredQuote::load(m_db, key);
    return quote && QuoteState::isWithdrawn(quote->state) ? quote->previousState : QString();
}

QString StateRestorer::restore(const QuoteKey &key, const QString &operatorCode)
{
    if (operatorCode.trimmed().isEmpty()) {
        throw Refusal(QStringLiteral("O operador deve ser informado para habilitar o orçamento %1.").arg(key.display()));
    }
    SqlTransaction transaction(m_db, m_notices);
    // Locked until the end: the state read here is the one replaced, and a
    // "C" or a second re-enable of the same quote waits for this one and
    // then finds the quote as it leaves it.
    const auto quote = StoredQuote::lock(m_db, key);
    if (!quote) {
        throw Refusal(QStringLiteral("O orçamento %1 não existe.").arg(key.display()));
    }
    if (!QuoteState::isWithdrawn(quote->state)) {
        throw Refusal(QStringLiteral("O orçamento %1 não está cancelado nem adiado.").arg(key.display()));
    }
    const QString restored = quote->previousState;
    if (!QuoteState::isOpen(restored)) {
        throw Refusal(QStringLiteral("O orçamento %1 não tem situação anterior registrada.").arg(key.display()));
    }
    Sql::run(m_db, QStringLiteral(
        "UPDATE ORCAEVENTO SET IDSITUORCEVE = ?, IDSITUANTORC = ?, CDJUSTEXCHIS = NULL "
        "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"),
        {restored, quote->state, key.branch, key.number, key.sequence});
    JustificationWriter::retire(m_db, key);
    StoredQuote reopened = *quote;
    reopened.state = restored;
    HallSchedule(m_db).book(reopened, HallBooking::forState(restored));
    StateHistory::append(m_db, key, quote->state, restored, QString(), operatorCode);
    transaction.announce(key, QStringLiteral("state"), operatorCode);
    transaction.commit();
    return restored;
}

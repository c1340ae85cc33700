#pragma once

#include "NoticeSource.h"
#include "QuoteKey.h"

#include <QSqlDatabase>

// Re-enabling: a cancelled or postponed quote goes back to the state it
// had before, and books its hall again.
class StateRestorer final {
public:
    explicit StateRestorer(const QSqlDatabase &db, const NoticeSource &notices = {});

    // The state the quote had before it was cancelled or postponed; empty
    // for an unknown quote and for one that is not cancelled or postponed. Throws
    // std::runtime_error on a database failure.
    QString previousState(const QuoteKey &key) const;

    // In one transaction: checks the hall again, restores the previous state,
    // retires the withdrawal's justification into its history, books the hall
    // ("A" for Aprovado, "R" for Pendente), writes the history and announces a
// change of "state" (SqlTransaction::announce). Returns the
    // restored state. Throws Refusal (nothing written) when the quote is not
    // cancelled or postponed, has no previous state, the operator is missing,
    // the hall cannot take it, or another operator changed it meanwhile;
    // std::runtime_error on a database failure.
    QString restore(const QuoteKey &key, const QString &operatorCode);

private:
    QSqlDatabase m_db;
    NoticeSource m_notices;
};

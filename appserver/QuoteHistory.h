#pragma once

#include "DataPacket.h"
#include "QuoteKey.h"

#include <QSqlDatabase>

// The history of one quote as the screen's history dialog shows it, oldest
// first: its creation, every state change and every justification text the
// server stored, the replaced ones included.
class QuoteHistory final {
public:
    explicit QuoteHistory(const QSqlDatabase &db);

    // Throws Refusal for an unknown quote, std::runtime_error on a database
    // failure.
    DataPacket read(const QuoteKey &key) const;

private:
    QSqlDatabase m_db;
};

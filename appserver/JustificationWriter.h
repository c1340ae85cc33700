#pragma once

#include "DataPacket.h"

#include <QSqlDatabase>

// SetObs: stores the justification text of cancelled or postponed quotes.
// One current justification per quote version; the one it replaces (or a
// deleted one) is kept in the justification history. An insert where one
// already exists,
// or an update or delete of a justification that changed since it was
// read, is another operator's work and refuses the whole delta.
class JustificationWriter final {
public:
    explicit JustificationWriter(const QSqlDatabase &db);

    // One transaction; returns the number of changes applied. Throws
    // Refusal (nothing stored) or std::runtime_error (database failure,
    // nothing stored).
    int apply(const ChangeDelta &delta);

private:
    QSqlDatabase m_db;
};

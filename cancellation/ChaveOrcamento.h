#pragma once

#include <QString>

class RecordList;

// One version of a quote: branch, number and sequence.
struct ChaveOrcamento {
    QString filial, numero, sequencia;

    // The current quote of `lista`.
    static ChaveOrcamento atual(const RecordList &lista);
    // "number (seq. sequence)", as the operator reads it.
    QString paraOperador() const
    {
        return QStringLiteral("%1 (seq. %2)").arg(numero, sequencia);
    }
    bool operator==(const ChaveOrcamento &) const = default;
};

#pragma once

#include <QString>

// Branch, number and sequence: what identifies one version of a quote.
struct QuoteKey {
    QString branch;
    QString number;
    QString sequence;

    // "0001/0000000123-01", the way operators quote it.
    QString display() const { return QStringLiteral("%1/%2-%3").arg(branch, number, sequence); }
};

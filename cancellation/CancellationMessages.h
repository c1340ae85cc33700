#pragma once

#include <QString>
#include <QStringList>

class TMessages;

// The cancellation screen's texts, looked up by key; the quote states are
// keyed by their own codes, so a state shows as its word.
QStringList cancellationMessages();
// The word of a state code as the grid shows it ("Cancelado"); empty for a
// code that is no state.
QString stateWord(const TMessages &messages, const QString &code);
// The state code of a word; empty for a word that names no state.
QString stateOfWord(const TMessages &messages, const QString &word);

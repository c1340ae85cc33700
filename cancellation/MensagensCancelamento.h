#pragma once

#include <QString>
#include <QStringList>

class TMessages;

// The cancellation screen's texts, looked up by key; the quote states are
// keyed by their own codes, so a state shows as its word.
QStringList mensagensCancelamento();
// The word of a state code as the grid shows it ("Cancelado"); empty for a
// code that is no state.
QString palavraDaSituacao(const TMessages &mensagens, const QString &codigo);
// The state code of a word; empty for a word that names no state.
QString situacaoDaPalavra(const TMessages &mensagens, const QString &palavra);

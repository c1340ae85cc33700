#pragma once

#include "ChaveOrcamento.h"

#include <QString>

#include <optional>

class ServidorCancelamento;

// A quote as the server holds it now, read back after a call whose answer
// was lost: what it stores decides what the operator is told.
struct OrcamentoNoServidor {
    QString situacao, motivo, operador;
    // The justification of a cancelled or postponed quote; none when it has none.
    std::optional<QString> justificativa;
};

namespace Releitura {

// The quote in any state; none when the server does not list it (which
// tells nothing: the caller cannot say what was stored). Failures of the
// call go on to the caller.
std::optional<OrcamentoNoServidor> orcamento(ServidorCancelamento &servidor, const ChaveOrcamento &chave);
// The quote's justification, as `orcamento` fills it.
std::optional<QString> justificativa(ServidorCancelamento &servidor, const ChaveOrcamento &chave);

} // namespace Releitura

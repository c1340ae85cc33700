#pragma once

#include "ChaveOrcamento.h"

#include <QString>

#include <functional>

class ServidorCancelamento;
class TMessages;

// Re-enabling a cancelled or postponed quote: the server gives it its
// earlier state back only when the quote's hall can take it again, and
// books the hall for it.
namespace ReabilitacaoOrcamento {

// The calls in their order. Returns once the quote is re-enabled, having
// told the operator (success, or what of the hall's calendar is not known
// done). A blocked hall, a refusal, or a write whose answer was lost and
// whose read-back does not show it stored runs `descarta` and abandons:
// Abort after its own message, or std::runtime_error for the host's box.
void reabilita(ServidorCancelamento &servidor, const ChaveOrcamento &chave, const QString &operador,
               const TMessages &mensagens, const std::function<void()> &descarta);

} // namespace ReabilitacaoOrcamento

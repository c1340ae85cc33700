#include "CancellationMessages.h"

#include "Consiste.h"
#include "QuoteStates.h"
#include "TMessages.h"

namespace {

const QStringList stateCodes = {QuoteState::Pending, QuoteState::Approved, QuoteState::Cancelled,
                                     QuoteState::Postponed};

} // namespace

QStringList cancellationMessages()
{
    return {
        QStringLiteral("Excl|Confirma exclusão?"),
        QStringLiteral("padrao|Padrão"),
        QStringLiteral("Local|Local"),
        QStringLiteral("Filial_N_Inf|Filial deve ser informada."),
        QStringLiteral("1|Pendente"),
        QStringLiteral("2|Aprovado"),
        QStringLiteral("8|Cancelado"),
        QStringLiteral("Motivo|Motivo"),
        QStringLiteral("Motivo_NCad|Motivo não cadastrado."),
        QStringLiteral("Motivo_N_Inf|Motivo deve ser informado."),
        QStringLiteral("Canc_Canc|Deseja cancelar?"),
        QStringLiteral("9|Adiado"),
        QStringLiteral("confirmar|Escollha uma operação"),
        QStringLiteral("btnCancelar|Cancelar"),
        QStringLiteral("btnAdiar|Adiar"),
        QStringLiteral("SUCESSO|Operação realizada com sucesso."),
        QStringLiteral("Motivo_N_cad|Motivo não cadastrado."),
        QStringLiteral("HABI_ORCA|O orçamento selecionado será habilitado. Confirma operação?"),
        QStringLiteral("Filial_N_Cad|Filial não cadastrada."),
        QStringLiteral("btnVoltar|Voltar"),
        QStringLiteral("Qt_Agen|Limite de agendamentos para o salão %s foi atingido. Operação bloqueada."),
        QStringLiteral("DtHr_Marc|O salão %s já possui evento(s) marcado(s) para a data e hora selecionada no "
                       "orçamento. Operação bloqueada."),
        QStringLiteral("N_Limite_Param|Não há limite de agendamento parametrizado para o salão %s. Operação "
                       "bloqueada."),
    };
}

QString stateWord(const TMessages &messages, const QString &code)
{
    if (Consiste::EmptyString(code)) {
        return QString();
    }
    bool number = false;
    const int state = code.trimmed().toInt(&number);
    const QString key = QString::number(state);
    if (!number || !stateCodes.contains(key)) {
        return QString();
    }
    return messages.Msg(key);
}

QString stateOfWord(const TMessages &messages, const QString &word)
{
    for (const QString &code : stateCodes) {
        if (word == messages.Msg(code)) {
            return code;
        }
    }
    return QString();
}

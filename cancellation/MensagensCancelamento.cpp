#include "MensagensCancelamento.h"

#include "Consiste.h"
#include "QuoteStates.h"
#include "TMessages.h"

namespace {

const QStringList codigosSituacao = {QuoteState::Pending, QuoteState::Approved, QuoteState::Cancelled,
                                     QuoteState::Postponed};

} // namespace

QStringList mensagensCancelamento()
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

QString palavraDaSituacao(const TMessages &mensagens, const QString &codigo)
{
    if (Consiste::EmptyString(codigo)) {
        return QString();
    }
    bool numero = false;
    const int situacao = codigo.trimmed().toInt(&numero);
    const QString chave = QString::number(situacao);
    if (!numero || !codigosSituacao.contains(chave)) {
        return QString();
    }
    return mensagens.Msg(chave);
}

QString situacaoDaPalavra(const TMessages &mensagens, const QString &palavra)
{
    for (const QString &codigo : codigosSituacao) {
        if (palavra == mensagens.Msg(codigo)) {
            return codigo;
        }
    }
    return QString();
}

// Re-enabling a cancelled or postponed quote: the server gives its previous
// state back only when the quote's hall can take it again.
#include "TfrmCancelamento.h"

#include "Abort.h"
#include "Consiste.h"
#include "Corvane.h"
#include "HostDialogs.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TMessages.h"

#include <stdexcept>

namespace {

constexpr int gravandoDados = 1;
const QString salaoLivre = QStringLiteral("OK");
// Where the hall code starts in a blocking answer ("ACIMA_LIMITE:S02").
constexpr int inicioCodigoSalao = 13;

struct Bloqueio {
    const char *codigo;
    const char *mensagem;
};

// Tested in this order: an answer naming two codes reports the first.
constexpr Bloqueio bloqueios[] = {
    {"ACIMA_LIMITE", "Qt_Agen"},
    {"N_LIMITE_DEF", "N_Limite_Param"},
    {"DTA_HRA_MARC", "DtHr_Marc"},
};

// The first blocking code the hall answer holds; none for any other answer.
const Bloqueio *bloqueioDe(const QString &salao)
{
    for (const Bloqueio &bloqueio : bloqueios) {
        if (salao.contains(QLatin1String(bloqueio.codigo))) {
            return &bloqueio;
        }
    }
    return nullptr;
}

} // namespace

void TfrmCancelamento::sbtHabilitaClick(QObject * /*sender*/)
{
    reabilitaOrcamento();
}

void TfrmCancelamento::mnuHabilitaClick(QObject * /*sender*/)
{
    reabilitaOrcamento();
}

void TfrmCancelamento::reabilitaOrcamento()
{
    if (!askYesNo(*msgPadrao, QStringLiteral("HABI_ORCA"))) {
        return;
    }
    pgcPadrao->SetActivePage(tshPadrao);
    const auto chave = [this](const char *name) {
        return cdsOrcamento->fieldByName(QLatin1String(name)).asString();
    };
    const QString filial = chave("CDFILIAL");
    const QString numero = chave("NRORCAEVENTO");
    const QString sequencia = chave("NRSEQORCAEVE");
    QString anterior;
    bool habilitado = false;
    QString falhaAgenda;
    try {
        QString salao;
        QString detalhes;
        {
            Showavi::Busy busy(gravandoDados);
            anterior =
                ServerAnswer::AsText(netCancelamento->Call(QStringLiteral("getSituAnterior"), {numero, filial, sequencia}));
            salao = ServerAnswer::AsText(netCancelamento->Call(QStringLiteral("getVerifSalao"), {filial, numero, sequencia}));
            if (salao == salaoLivre) {
                try {
                    Consiste::CheckResultServ(netCancelamento->Call(QStringLiteral("SetAnterior"),
                                                                    {numero, filial, sequencia, Corvane::Operador(),
                                                                     TNetArg::textRef(anterior)}),
                                              true, 0);
                } catch (const TNetConnection::ConnectionLost &queda) {
                    confereGravacao(filial, numero, sequencia, anterior, queda);
                }
                habilitado = true;
                if (anterior == QuoteState::Approved) {
                    netCancelamento->Call(QStringLiteral("setAgendaSalao"), {filial, numero, sequencia, HallBooking::Booked});
                } else if (anterior == QuoteState::Pending) {
                    netCancelamento->Call(QStringLiteral("setAgendaSalao"), {filial, numero, sequencia, HallBooking::Reserved});
                }
            } else if (bloqueioDe(salao)) {
                detalhes = quemOcupaSalao(filial, numero, sequencia);
            }
        }
        if (salao != salaoLivre) {
            recusaSalao(salao, detalhes);
        }
    } catch (const std::exception &error) {
        if (cdsOrcamento->isActive()) {
            cdsOrcamento->cancelUpdates();
        }
        if (!habilitado) {
            throw;
        }
        // The quote is back in its state on the server: the operator must
        // not take the failure for a refusal, and the list must show it.
        falhaAgenda = QString::fromUtf8(error.what());
    }
    if (falhaAgenda.isEmpty()) {
        HostDialogs::current().showMessage(HostDialogs::Icon::Information, Caption(),
                                           msgPadrao->Msg(QStringLiteral("SUCESSO")));
    } else {
        HostDialogs::current().showMessage(
            HostDialogs::Icon::Warning, Caption(),
            QStringLiteral("O orçamento %1 (seq. %2) já está habilitado como %3, mas a agenda do salão não foi "
                           "atualizada: %4")
                .arg(numero, sequencia, msgPadrao->Msg(anterior), falhaAgenda));
    }
    listaOrcamentos();
    Habilita();
}

QString TfrmCancelamento::quemOcupaSalao(const QString &filial, const QString &numero, const QString &sequencia)
{
    // Only a help for the operator: a server that cannot say leaves the
    // refusal as it is.
    try {
        const QJsonValue answer =
            netCancelamento->Call(QStringLiteral("getBloqueioSalao"), {filial, numero, sequencia});
        if (!answer.toObject().value(QStringLiteral("ok")).toBool()) {
            return QString();
        }
        RecordList ocupantes(QStringLiteral("cdsBloqueioSalao"));
        ServerAnswer::LoadPacket(ocupantes, answer.toObject().value(QStringLiteral("data")));
        QStringList linhas;
        for (ocupantes.first(); !ocupantes.eof(); ocupantes.next()) {
            const auto campo = [&ocupantes](const char *name) {
                return ocupantes.fieldByName(QLatin1String(name)).asString();
            };
            linhas << QStringLiteral("%1  Orçamento %2-%3  %4 (%5)")
                          .arg(campo("HREVENTO"), campo("NRORCAEVENTO"), campo("NRSEQORCAEVE"), campo("NMFANTCLIE"),
                               msgPadrao->Msg(campo("IDSITUORCEVE")));
        }
        if (linhas.isEmpty()) {
            return QString();
        }
        return QStringLiteral("O salão está ocupado por:\n") + linhas.join(QLatin1Char('\n'));
    } catch (const std::exception &) {
        return QString();
    }
}

void TfrmCancelamento::recusaSalao(const QString &salao, const QString &detalhes)
{
    const Bloqueio *bloqueio = bloqueioDe(salao);
    if (!bloqueio) {
        throw std::runtime_error(salao.toStdString());
    }
    QString texto = msgPadrao->Msg(QLatin1String(bloqueio->mensagem));
    texto.replace(QStringLiteral("%s"), salao.mid(inicioCodigoSalao));
    HostDialogs::current().showDetailedMessage(HostDialogs::Icon::Error, Caption(), texto, detalhes);
    throw Abort();
}

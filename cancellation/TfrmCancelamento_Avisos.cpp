// What other operators change while this screen shows a list: the server's
// change notices update the quotes in place, a lost server is replaced by the
// next one, and a write whose connection dropped is read back.
#include "TfrmCancelamento.h"

#include "Abort.h"
#include "Consiste.h"
#include "HostDialogs.h"
#include "HostGuard.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "TMessages.h"

#include <QApplication>
#include <QJsonObject>
#include <QScopedValueRollback>
#include <QTimer>

#include <optional>
#include <stdexcept>
#include <utility>

namespace {

constexpr int lendoDados = 6;
// How soon notices held back by a dialog on screen are looked at again.
constexpr int esperaDialogo = 300; // ms

QString chaveDe(const QString &numero, const QString &sequencia)
{
    return numero + QLatin1Char('-') + sequencia;
}

} // namespace

void TfrmCancelamento::recebeAvisos(const QList<QJsonObject> &avisos)
{
    m_avisosPendentes += avisos;
    trataPendencias();
}

void TfrmCancelamento::conexaoRefeita(const QString &servidor)
{
    SetServer(servidor);
    // Whatever changed while no server was telling this screen is read anew.
    m_listaVelha = true;
    trataPendencias();
}

void TfrmCancelamento::trataPendencias()
{
    if (m_avisosPendentes.isEmpty() && !m_listaVelha) {
        return;
    }
    // A question on screen belongs to what the operator is doing; the list
    // changes under it only once it is answered.
    if (m_tratandoPendencias || QApplication::activeModalWidget()) {
        m_esperaPendencias->start(esperaDialogo);
        return;
    }
    const QScopedValueRollback tratando(m_tratandoPendencias, true);
    HostGuard::run([this] {
        // A branch being typed is not the one listed: the listing waits for it.
        if (m_listaVelha && !editando() && !m_escolhendoFilial && cdsOrcamento->isActive() && !m_fechando) {
            m_listaVelha = false;
            m_avisosPendentes.clear();
            listaOrcamentos();
            return;
        }
        aplicaAvisos();
    });
}

void TfrmCancelamento::aplicaAvisos()
{
    const QList<QJsonObject> avisos = std::exchange(m_avisosPendentes, {});
    if (!cdsOrcamento->isActive() || m_fechando) {
        return;
    }
    std::optional<QJsonObject> daEdicao;
    for (const QJsonObject &aviso : avisos) {
        if (aviso.value(QStringLiteral("branch")).toString() != m_filialListada) {
            continue;
        }
        const QString numero = aviso.value(QStringLiteral("number")).toString();
        const QString sequencia = aviso.value(QStringLiteral("sequence")).toString();
        const int linha = linhaDoOrcamento(numero, sequencia);
        if (linha < 0) {
            continue;
        }
        if (aviso.value(QStringLiteral("what")).toString() != QLatin1String("state")) {
            // The justification or the hall: nothing the grid shows.
            m_alteradosPorOutros.insert(chaveDe(numero, sequencia));
            continue;
        }
        const QString situacao = aviso.value(QStringLiteral("state")).toString();
        const QString motivo = aviso.value(QStringLiteral("reason")).toString();
        const bool editada = editando() && linha == cdsOrcamento->recNo();
        // A change the listing already brought is no news.
        if (!editada && valorNaLinha(linha, QStringLiteral("IDSITUORCEVE")) == situacao
            && valorNaLinha(linha, QStringLiteral("CDJUSTEXCHIS")) == motivo) {
            continue;
        }
        m_alteradosPorOutros.insert(chaveDe(numero, sequencia));
        const QHash<QString, QVariant> valores{{QStringLiteral("IDSITUORCEVE"), situacao},
                                               {QStringLiteral("CDJUSTEXCHIS"), motivo.isEmpty() ? QVariant() : QVariant(motivo)}};
        if (!cdsOrcamento->refreshRecord(linha, valores)) {
            daEdicao = aviso;
        }
    }
    RefreshStatus();
    // The current quote's new state may open or close commands.
    Habilita();
    if (daEdicao) {
        descartaEdicaoAlterada(*daEdicao);
    }
}

void TfrmCancelamento::descartaEdicaoAlterada(const QJsonObject &aviso)
{
    const QString quem = aviso.value(QStringLiteral("operator")).toString();
    const QJsonValue motivo = aviso.value(QStringLiteral("reason"));
    QString agora = msgPadrao->Msg(aviso.value(QStringLiteral("state")).toString());
    if (motivo.isString() && !motivo.toString().isEmpty()) {
        agora += QStringLiteral(", motivo %1").arg(motivo.toString());
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, Caption(),
        QStringLiteral("O orçamento %1 (seq. %2), que você está alterando, acaba de ser alterado por %3: agora está %4.\n\n"
                       "A sua alteração será descartada e nada dela será gravado.")
            .arg(aviso.value(QStringLiteral("number")).toString(), aviso.value(QStringLiteral("sequence")).toString(),
                 quem.isEmpty() ? QStringLiteral("outro operador") : quem, agora));
    descartaEdicao();
}

QString TfrmCancelamento::valorNaLinha(int linha, const QString &campo) const
{
    return cdsOrcamento->valueAt(linha, cdsOrcamento->fieldByName(campo).index()).toString();
}

int TfrmCancelamento::linhaDoOrcamento(const QString &numero, const QString &sequencia) const
{
    const int colunaNumero = cdsOrcamento->fieldByName(QStringLiteral("NRORCAEVENTO")).index();
    const int colunaSequencia = cdsOrcamento->fieldByName(QStringLiteral("NRSEQORCAEVE")).index();
    for (int linha = 0; linha < cdsOrcamento->recordCount(); ++linha) {
        if (cdsOrcamento->valueAt(linha, colunaNumero).toString() == numero
            && cdsOrcamento->valueAt(linha, colunaSequencia).toString() == sequencia) {
            return linha;
        }
    }
    return -1;
}

QString TfrmCancelamento::StatusNote() const
{
    const qsizetype alterados = m_alteradosPorOutros.size();
    if (alterados == 0) {
        return {};
    }
    return QStringLiteral("%1 %2 por outros operadores — F5 lista de novo")
        .arg(alterados)
        .arg(alterados == 1 ? QStringLiteral("alterado") : QStringLiteral("alterados"));
}

QString TfrmCancelamento::situacaoNoServidor(const QString &filial, const QString &numero, const QString &sequencia)
{
    QuoteListing estaSo;
    estaSo.number = {numero, numero, QString()};
    estaSo.allStates = QuoteListing::all;
    RecordList lida(QStringLiteral("cdsOrcamentoLido"));
    {
        Showavi::Busy busy(lendoDados);
        std::optional<PacketColumns> orcamentos;
        Consiste::CheckResultServ(
            netCancelamento->CallPacket(QStringLiteral("GetOrcamento"), TNetArg::listing(filial, estaSo), orcamentos), true, 0);
        ServerAnswer::LoadPacket(lida, std::move(orcamentos));
    }
    for (lida.first(); !lida.eof(); lida.next()) {
        if (lida.fieldByName(QStringLiteral("NRSEQORCAEVE")).asString() == sequencia) {
            return lida.fieldByName(QStringLiteral("IDSITUORCEVE")).asString();
        }
    }
    return {};
}

void TfrmCancelamento::confereGravacao(const QString &filial, const QString &numero, const QString &sequencia,
                                       const QString &pedida, const std::exception &queda)
{
    QString situacao;
    try {
        situacao = situacaoNoServidor(filial, numero, sequencia);
    } catch (const std::exception &releitura) {
        throw std::runtime_error(
            QStringLiteral("%1\n\nNão foi possível saber se o orçamento %2 (seq. %3) foi gravado: %4\n"
                           "Nada foi repetido. Liste de novo (F5) para conferir antes de refazer a operação.")
                .arg(QString::fromUtf8(queda.what()), numero, sequencia, QString::fromUtf8(releitura.what()))
                .toStdString());
    }
    if (situacao == pedida) {
        return;
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, Caption(),
        QStringLiteral("%1\n\nO orçamento %2 (seq. %3) não foi gravado: está %4 no servidor. Nada foi repetido; "
                       "faça a operação de novo se ainda for o caso.")
            .arg(QString::fromUtf8(queda.what()), numero, sequencia,
                 situacao.isEmpty() ? QStringLiteral("ausente") : msgPadrao->Msg(situacao)));
    throw Abort();
}

// Listing the quotes and loading the details of the current one.
#include "TfrmCancelamento.h"

#include "Consiste.h"
#include "FiltroListagem.h"
#include "Procurar.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "TCustomPageControl98.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TFiltro.h"

#include <QAction>
#include <QFrame>
#include <QHash>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

namespace {

// Reading data from the server.
constexpr int lendoDados = 6;
// IDORIGPRUNITORE of unit prices taken from a contract.
const QString origemContrato = QStringLiteral("C");

QJsonValue verificado(const QJsonValue &answer)
{
    return Consiste::CheckResultServ(answer, true, 0);
}

} // namespace

void TfrmCancelamento::sbtVerificarClick(QObject * /*sender*/)
{
    listaOrcamentos();
}

void TfrmCancelamento::listaOrcamentos()
{
    listaDeVolta(lugarAtual());
}

void TfrmCancelamento::listaComNovoFiltro()
{
    // The place is taken in the order the operator was looking at.
    const std::optional<Lugar> lugar = lugarAtual();
    cdsOrcamento->setOrder(QString());
    listaDeVolta(lugar);
}

void TfrmCancelamento::listaDeVolta(const std::optional<Lugar> &lugar)
{
    {
        Showavi::Busy busy(lendoDados);
        // The filter travels by reference: whatever the server settles on
        // comes back into the module's filter.
        QuoteListing listagem = FiltroListagem::listagem(Filtro);
        // A branch's list is read straight into the record list's columns
        // as it arrives: it may run to tens of megabytes.
        std::optional<PacketColumns> orcamentos;
        const QJsonValue answer = netCancelamento->CallPacket(
            QStringLiteral("GetOrcamento"), TNetArg::listing(medCdFilial->text(), listagem), orcamentos);
        FiltroListagem::devolve(listagem, Filtro);
        verificado(answer);
        // Other operators' changes are counted from this listing on.
        m_filialListada = medCdFilial->text();
        m_alteradosPorOutros.clear();
        m_listaVelha = false;
        ServerAnswer::LoadPacket(*cdsOrcamento, std::move(orcamentos));
    }
    voltaAoLugar(lugar);
    focaNumeroOrcamento();
    // The page shown reads what it needs for the quote now current.
    atualizaPaginaAtiva();
    Habilita();
}

QStringList TfrmCancelamento::chavesDesde(int primeira) const
{
    const int numero = cdsOrcamento->fieldByName(QStringLiteral("NRORCAEVENTO")).index();
    const int sequencia = cdsOrcamento->fieldByName(QStringLiteral("NRSEQORCAEVE")).index();
    QStringList chaves;
    chaves.reserve(cdsOrcamento->recordCount() - primeira);
    for (int linha = primeira; linha < cdsOrcamento->recordCount(); ++linha) {
        chaves << cdsOrcamento->valueAt(linha, numero).toString() + QLatin1Char('-')
                      + cdsOrcamento->valueAt(linha, sequencia).toString();
    }
    return chaves;
}

std::optional<TfrmCancelamento::Lugar> TfrmCancelamento::lugarAtual() const
{
    if (listaVazia()) {
        return std::nullopt;
    }
    return Lugar{chavesDesde(cdsOrcamento->recNo()),
                 cdsOrcamento->recNo() - dbgPadrao->verticalScrollBar()->value()};
}

void TfrmCancelamento::voltaAoLugar(const std::optional<Lugar> &lugar)
{
    if (!lugar || listaVazia()) {
        return;
    }
    // Whatever the order shown (the list's own or a column's), the quote or
    // the nearest one after it that is still listed.
    const QStringList listadas = chavesDesde(0);
    QHash<QString, int> linhas;
    linhas.reserve(listadas.size());
    for (int linha = 0; linha < listadas.size(); ++linha) {
        linhas.insert(listadas.at(linha), linha);
    }
    int linha = cdsOrcamento->recordCount() - 1;
    for (const QString &chave : lugar->daquiEmDiante) {
        if (const auto achada = linhas.constFind(chave); achada != linhas.cend()) {
            linha = *achada;
            break;
        }
    }
    cdsOrcamento->moveTo(linha);
    // At the same height on the screen as before, as far as the list allows.
    dbgPadrao->verticalScrollBar()->setValue(std::max(0, linha - lugar->alturaNaTela));
}

void TfrmCancelamento::focaNumeroOrcamento()
{
    dbgPadrao->setFocus(Qt::OtherFocusReason);
    dbgPadrao->setSelectedField(QStringLiteral("NRORCAEVENTO"));
}

void TfrmCancelamento::carregaItens()
{
    const bool temOrcamento = !listaVazia();
    const auto chave = [this, temOrcamento](const char *name) {
        return temOrcamento ? cdsOrcamento->fieldByName(QLatin1String(name)).asString() : QString();
    };
    esvaziaItens();
    Showavi::Busy busy(lendoDados);
    const QJsonValue answer = netCancelamento->Call(
        QStringLiteral("GetItemOrc"), {chave("CDFILIAL"), chave("NRORCAEVENTO"), chave("NRSEQORCAEVE")});
    const QJsonValue packets = verificado(answer);
    ServerAnswer::LoadPacket(*cdsItemOrcaEven, ServerAnswer::Element(packets, 0));
    ServerAnswer::LoadPacket(*cdsObs, ServerAnswer::Element(packets, 1));
    // The memo follows the justification list it is bound to.
}

void TfrmCancelamento::esvaziaItens()
{
    cdsItemOrcaEven->createDataSet();
    cdsObs->createDataSet();
}

void TfrmCancelamento::esvaziaMotivo()
{
    cdsMotivo->close();
    edtCdMotivo->clear();
    edtNmMotivo->clear();
}

void TfrmCancelamento::carregaMotivo()
{
    Showavi::Busy busy(lendoDados);
    const QString motivo = cdsOrcamento->fieldByName(QStringLiteral("CDJUSTEXCHIS")).asString();
    const QJsonValue answer = netCancelamento->Call(QStringLiteral("GetMotivo"), {motivo, QString()});
    ServerAnswer::LoadPacket(*cdsMotivo, verificado(answer));
    const bool achou = !cdsMotivo->isEmpty();
    edtCdMotivo->setText(achou ? cdsMotivo->fieldByName(QStringLiteral("CDJUSTEXCHIS")).asString() : QString());
    edtNmMotivo->setText(achou ? cdsMotivo->fieldByName(QStringLiteral("DSJUSTEXCHIS")).asString() : QString());
}

void TfrmCancelamento::cdsOrcamentoAfterScroll(RecordList & /*dataSet*/)
{
    carregaDetalhes();
}

void TfrmCancelamento::carregaDetalhes()
{
    QWidget *active = pgcPadrao->activePage();
    const bool temOrcamento = !listaVazia();
    try {
        if (temOrcamento && active == tshMotivo) {
            // Until this quote's reason is read the page shows none, so a
            // failed call never leaves another quote's on view.
            esvaziaMotivo();
        }
        if (temOrcamento && (active == tshItens || active == tshMotivo)) {
            carregaItens();
        }
        if (temOrcamento && active == tshMotivo) {
            carregaMotivo();
        }
    } catch (...) {
        // The commands must follow the list as the failure left it, or a
        // marked quote could be neither confirmed nor dropped.
        Habilita();
        throw;
    }
    Habilita();
}

void TfrmCancelamento::pgcPadraoOnChange(TCustomPageControl98 & /*sender*/)
{
    atualizaPaginaAtiva();
}

void TfrmCancelamento::atualizaPaginaAtiva()
{
    if (pgcPadrao->activePage() == tshItens) {
        // The items shown may be those of a quote seen earlier; should a call
        // below fail, the page must not show them under this quote's header.
        esvaziaItens();
        ServerAnswer::LoadPacket(*cdsParamOrca,
                                 verificado(netCancelamento->Call(QStringLiteral("GetParamOrca"))));
        const QString origem = cdsParamOrca->isEmpty()
                                   ? QString()
                                   : cdsParamOrca->fieldByName(QStringLiteral("IDORIGPRUNITORE")).asString();
        // Prices taken from a contract have no price base to show.
        mostraPrecoBase(origem != origemContrato);
    }
    carregaDetalhes();
    Habilita();
}

void TfrmCancelamento::mostraPrecoBase(bool visivel)
{
    panPrecoBase->setVisible(visivel);
    panCabecalho->setFixedHeight(visivel ? 100 : 68);
}

void TfrmCancelamento::cdsItemOrcaEvenCalcFields(RecordList &dataSet)
{
    const auto valor = [&dataSet](const char *name) -> long double {
        return dataSet.fieldByName(QLatin1String(name)).asFloat();
    };
    // Formed in extended precision and rounded once, so the cents of the
    // total never drift from those of its parts.
    const long double total =
        valor("QTITEMORCEVE") * valor("VRITEMORCEVE") - valor("VRDESCITOREV") + valor("VRACREITOREV");
    dataSet.fieldByName(QStringLiteral("VRTOTALITEM")).setAsFloat(Consiste::RoundDec(total, 2));
}

RecordList *TfrmCancelamento::listaDaPaginaAtiva() const
{
    QWidget *active = pgcPadrao->activePage();
    RecordList *list = nullptr;
    if (active == tshPadrao) {
        list = dtsPadrao->dataSet();
    } else if (active == tshItens) {
        list = dtsItemOrcaEven->dataSet();
    }
    return list && list->isActive() ? list : nullptr;
}

void TfrmCancelamento::sbtProcurarClick(QObject * /*sender*/)
{
    if (RecordList *list = listaDaPaginaAtiva()) {
        Procurar::Procura(*list);
    }
}

void TfrmCancelamento::ProcurarProximoClick(QObject * /*sender*/)
{
    if (RecordList *list = listaDaPaginaAtiva()) {
        Procurar::ProcuraProximo(*list);
    }
}

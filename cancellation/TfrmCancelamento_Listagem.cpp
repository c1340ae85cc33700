// The list of quotes: listing it, loading the details of the current one,
// the grid's mark column and states as words, the history of the current
// quote and the export of the list.
#include "TfrmCancelamento.h"

#include "CancellationFields.h"
#include "CancellationMessages.h"
#include "CancellationOperations.h"
#include "Cli_cxl04100.h"
#include "FiltroListagem.h"
#include "HistoricoDialog.h"
#include "MarkGlyphs.h"
#include "Procurar.h"
#include "QuoteFileExport.h"
#include "QuoteServer.h"
#include "RecordList.h"
#include "TCustomPageControl98.h"
#include "TDataSource.h"
#include "TMessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace {

constexpr int lendoDados = 6;

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
    const std::optional<ListPlace> lugar = lugarAtual();
    cdsOrcamento->setOrder(QString());
    listaDeVolta(lugar);
}

void TfrmCancelamento::listaDeVolta(const std::optional<ListPlace> &lugar)
{
    const CancellationOperations::Turn vez(*m_operations);
    // The filter travels by reference: whatever the server settles on comes
    // back into the module's filter, even when the listing is refused.
    QuoteListing listagem = FiltroListagem::listagem(Filtro);
    const auto devolve = qScopeGuard([&listagem] { FiltroListagem::devolve(listagem, Filtro); });
    m_operations->list(medCdFilial->text(), listagem);
    if (lugar && !m_operations->listEmpty()) {
        const int linha = lugar->rowIn(*cdsOrcamento);
        cdsOrcamento->moveTo(linha);
        // At the same height on the screen as before, as far as the list allows.
        dbgPadrao->verticalScrollBar()->setValue(std::max(0, linha - lugar->heightOnScreen));
    }
    focaNumeroOrcamento();
    // The page shown reads what it needs for the quote now current.
    atualizaPaginaAtiva();
}

std::optional<ListPlace> TfrmCancelamento::lugarAtual() const
{
    return ListPlace::of(*cdsOrcamento, dbgPadrao->verticalScrollBar()->value());
}

void TfrmCancelamento::focaNumeroOrcamento()
{
    dbgPadrao->setFocus(Qt::OtherFocusReason);
    dbgPadrao->setSelectedField(QStringLiteral("NRORCAEVENTO"));
}

void TfrmCancelamento::cdsOrcamentoAfterScroll(RecordList & /*dataSet*/)
{
    carregaDetalhes();
}

void TfrmCancelamento::carregaDetalhes()
{
    QWidget *active = pgcPadrao->activePage();
    if (m_operations->listEmpty() || active == tshPadrao) {
        return;
    }
    const CancellationOperations::Turn vez(*m_operations);
    // Until this quote's reason is read the page shows none, so a failed
    // call never leaves another quote's on view.
    const auto mostraMotivo = [this](const QString &codigo, const QString &nome) {
        edtCdMotivo->setText(codigo);
        edtNmMotivo->setText(nome);
    };
    if (active == tshMotivo) {
        cdsMotivo->close();
        mostraMotivo({}, {});
    }
    m_operations->readItems();
    if (active == tshMotivo) {
        m_operations->readReason();
        if (!cdsMotivo->isEmpty()) {
            mostraMotivo(cdsMotivo->fieldByName(QStringLiteral("CDJUSTEXCHIS")).asString(),
                         cdsMotivo->fieldByName(QStringLiteral("DSJUSTEXCHIS")).asString());
        }
    }
}

void TfrmCancelamento::pgcPadraoOnChange(TCustomPageControl98 & /*sender*/)
{
    m_operations->recheck();
    atualizaPaginaAtiva();
}

void TfrmCancelamento::atualizaPaginaAtiva()
{
    if (pgcPadrao->activePage() == tshItens) {
        // The items shown may be those of a quote seen earlier; should a call
        // below fail, the page must not show them under this quote's header.
        m_operations->emptyItems();
        tshItens->showPriceBase(m_operations->hasPriceBase());
    }
    carregaDetalhes();
}

void TfrmCancelamento::cdsItemOrcaEvenCalcFields(RecordList &dataSet)
{
    computeItemTotal(dataSet);
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

void TfrmCancelamento::mnuHistoricoClick(QObject * /*sender*/)
{
    const CancellationOperations::Turn vez(*m_operations);
    const QuoteKey chave = QuoteKey::current(*cdsOrcamento);
    const QJsonValue historico = callChecked(m_operations->server(), lendoDados, QStringLiteral("GetHistorico"),
                                              {chave.branch, chave.number, chave.sequence});
    HistoricoDialog dialog(historico, [this](const QString &codigo) { return msgPadrao->Msg(codigo); },
                           QStringLiteral("Histórico do orçamento %1-%2").arg(chave.number, chave.sequence), this);
    dialog.exec();
}

void TfrmCancelamento::mnuExportarClick(QObject * /*sender*/)
{
    const CancellationOperations::Turn vez(*m_operations);
    exportQuotes(this, *cdsOrcamento, dbgPadrao->columns(), m_operations->server());
}

bool TfrmCancelamento::dbgPadraoDrawColumnCell(QPainter *painter, const QStyleOptionViewItem &option,
                                               const Field &field, int row)
{
    if (field.name() != QLatin1String("IDCHECK")) {
        return false;
    }
    QPixmap glyph;
    if (!cdsOrcamento->isEmpty()) {
        const int situacao = cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).index();
        glyph = QuoteState::isOpen(cdsOrcamento->valueAt(row, situacao).toString()) ? imgUncheck->pixmap()
                                                                            : imgCheck->pixmap();
    }
    MarkGlyphs::Paint(*painter, option.rect, TDBGrid::cellBrush(option), glyph);
    return true;
}

void TfrmCancelamento::dbgPadraoDblClick()
{
    marcaOrcamento();
}

void TfrmCancelamento::marcaOrcamento()
{
    edtCdMotivo->clear();
    if (dbgPadrao->selectedFieldName() == QLatin1String("IDCHECK") && !m_operations->listEmpty()) {
        const QString situacao = m_operations->currentState();
        if (QuoteState::isWithdrawn(situacao)) {
            reabilitaOrcamento();
        } else {
            // Edit first: the command state must still see the quote as it was.
            cdsOrcamento->edit();
            if (QuoteState::isOpen(situacao)) {
                cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).setAsString(QuoteState::Cancelled);
            }
        }
    }
    boVd = true;
}

void TfrmCancelamento::dbgPadraoKeyDown(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift)
{
    TfrmPadraoGrid::dbgPadraoKeyDown(sender, key, shift);
    if (sender.selectedFieldName() == QLatin1String("IDCHECK") && key == Qt::Key_Space) {
        marcaOrcamento();
    }
}

void TfrmCancelamento::dbgPadraoEnter()
{
    m_operations->recheck();
}

void TfrmCancelamento::dbgItemKeyDown(TDBGrid & /*sender*/, int &key, Qt::KeyboardModifiers shift)
{
    // Items belong to the quote: this screen never deletes one.
    if (shift.testFlag(Qt::ControlModifier) && key == Qt::Key_Delete) {
        key = 0;
    }
}

QString TfrmCancelamento::cdsOrcamentoIDSITUORCEVEGetText(const Field &field) const
{
    return stateWord(*msgPadrao, field.asString());
}

void TfrmCancelamento::cdsOrcamentoIDSITUORCEVESetText(Field &field, const QString &text) const
{
    if (const QString codigo = stateOfWord(*msgPadrao, text); !codigo.isEmpty()) {
        field.setAsString(codigo);
    }
}

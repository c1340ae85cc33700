// The confirmation: checks, the new `Filtro`, and the listing with it.
#include "TfrmFiltroCancelamento.h"

#include "Cli_cxl04101.h"
#include "Consiste.h"
#include "HostGuard.h"
#include "QuoteStates.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TFiltro.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString Todos = QStringLiteral("T");
constexpr int larguraNumero = 10;

void gravaDatas(TDateRange &intervalo, const TDateEditPlus *de, const TDateEditPlus *ate)
{
    if (Consiste::EmptyString(de->text()) || Consiste::EmptyString(ate->text())) {
        intervalo.De = 0;
        intervalo.Ate = 0;
        intervalo.Todos = Todos;
    } else {
        intervalo.De = de->GetDate();
        intervalo.Ate = ate->GetDate();
        intervalo.Todos.clear();
    }
}

void gravaLista(TCodeList &criterio, const QRadioButton *todos, const QString &lista)
{
    if (todos->isChecked()) {
        criterio.Todos = Todos;
        criterio.Lista.clear();
    } else {
        criterio.Todos.clear();
        criterio.Lista = lista;
    }
}

// The text goes to the server exactly as typed, blanks included; blanks
// alone are no text.
void gravaTexto(QString &texto, QString &flag, const QLineEdit *edit)
{
    if (Consiste::EmptyString(edit->text())) {
        texto.clear();
        flag = Todos;
    } else {
        texto = edit->text();
        flag.clear();
    }
}

} // namespace

void TfrmFiltroCancelamento::sbtConfirmaClick(QObject * /*sender*/)
{
    Vd_Intervalo();
    Vd_DeIntervalo();
    Vd_AteIntervalo();
    Vd_Evento();
    Vd_DeEvento();
    Vd_AteEvento();
    Vd_Validade();
    Vd_DeValidade();
    Vd_AteValidade();
    Vd_Orcamento();
    Vd_DeOrcamento();
    Vd_AteOrcamento();
    Vd_StatusPedido();
    Vd_Lista();

    // Built aside and then taken over whole, so `Filtro` never holds half of
    // the new criteria.
    TFiltro novo = Filtro;
    if (Consiste::EmptyString(medOrcaDe->text()) || Consiste::EmptyString(medOrcaAte->text())) {
        novo.NrOrcaEven.De.clear();
        novo.NrOrcaEven.Ate.clear();
        novo.NrOrcaEven.Todos = Todos;
    } else {
        // A number typed and not left yet is still stored at full width.
        // Writing "de" empties "até", so "até" is read first and put back.
        const QString de = Consiste::Ajusta(medOrcaDe->text(), larguraNumero);
        const QString ate = Consiste::Ajusta(medOrcaAte->text(), larguraNumero);
        medOrcaDe->setText(de);
        medOrcaAte->setText(ate);
        novo.NrOrcaEven.De = de;
        novo.NrOrcaEven.Ate = ate;
        novo.NrOrcaEven.Todos.clear();
    }
    gravaDatas(novo.DtEvento, depDeEvento, depAteEvento);
    gravaDatas(novo.DtValidade, depDeValidade, depAteValidade);
    gravaDatas(novo.DtOrcamento, depDtOrcaIni, depDtOrcaFin);

    // Always in this order, whatever order the boxes were ticked in.
    novo.IdSitu.clear();
    novo.TIdSitu.clear();
    // Pendente alone opens with a separator: "_1_2_", the stored format.
    const QChar separador = QLatin1Char('_');
    if (chbPendente->isChecked()) {
        novo.IdSitu = separador + QuoteState::Pending + separador;
    }
    if (chbAprovado->isChecked()) {
        novo.IdSitu += QuoteState::Approved + separador;
    }
    if (chbCancelado->isChecked()) {
        novo.IdSitu += QuoteState::Cancelled + separador;
    }
    if (chbAdiado->isChecked()) {
        novo.IdSitu += QuoteState::Postponed + separador;
    }
    if (novo.IdSitu.isEmpty()) {
        novo.TIdSitu = Todos;
    }

    gravaLista(novo.Vendedor, rbtTVendedor, stVendedor);
    gravaLista(novo.Cliente, rbtTCliente, stCliente);
    gravaLista(novo.TipoServ, rbtTTipoServ, stTipoServ);
    gravaLista(novo.TipoEven, rbtTTipoEven, stTipoEven);
    gravaTexto(novo.NovoClie, novo.TNovoClie, edtNovoClie);
    gravaTexto(novo.Titulo, novo.TTitulo, edtTitulo);
    Filtro = novo;

    // The operator confirmed: the list is fetched while the dialog still
    // shows, and the dialog ends as confirmed even when that listing fails
    // (the failure has been reported to him by then).
    HostGuard::run([this] {
        if (m_tela.listar) {
            m_tela.listar();
        }
    });
    setModalResult(mrConfirmado);
}

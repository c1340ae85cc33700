// The number pair's handlers, the date edits' leave checks and the checks
// the confirmation runs before it writes anything to `Filtro`.
#include "TfrmFiltroCancelamento.h"

#include "Consiste.h"
#include "TDateEditPlus.h"
#include "TMessages.h"
#include "Windows1252.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

constexpr int larguraNumero = 10;

bool vazio(const QLineEdit *edit)
{
    return Consiste::EmptyString(edit->text());
}

bool ambos(const QLineEdit *de, const QLineEdit *ate)
{
    return !vazio(de) && !vazio(ate);
}

// A range of days may end on the day it starts, never before it.
bool intervaloInvertido(const TDateEditPlus *de, const TDateEditPlus *ate)
{
    return ambos(de, ate) && ate->GetDate() < de->GetDate();
}

} // namespace

void TfrmFiltroCancelamento::medOrcaDeChange()
{
    medOrcaAte->clear();
}

// Most searches are for one quote: the number left in "de" is also the end
// of the range until the operator changes "até". A range already there (a
// change of "de" empties "até") is the operator's, and merely tabbing
// through "de" must not shrink it.
void TfrmFiltroCancelamento::medOrcaDeExit()
{
    medOrcaDe->setText(Consiste::Ajusta(medOrcaDe->text(), larguraNumero));
    if (Consiste::EmptyString(medOrcaAte->text())) {
        medOrcaAte->setText(medOrcaDe->text());
    }
}

void TfrmFiltroCancelamento::medOrcaAteExit()
{
    medOrcaAte->setText(Consiste::Ajusta(medOrcaAte->text(), larguraNumero));
}

void TfrmFiltroCancelamento::depDeEventoExit()
{
    depDeEvento->CheckValidDate();
}

void TfrmFiltroCancelamento::depAteEventoExit()
{
    depAteEvento->CheckValidDate();
}

void TfrmFiltroCancelamento::depDeValidadeExit()
{
    depDeValidade->CheckValidDate();
}

void TfrmFiltroCancelamento::depAteValidadeExit()
{
    depAteValidade->CheckValidDate();
}

void TfrmFiltroCancelamento::depDtOrcaIniExit()
{
    depDtOrcaIni->CheckValidDate();
}

void TfrmFiltroCancelamento::depDtOrcaFinExit()
{
    depDtOrcaFin->CheckValidDate();
}

void TfrmFiltroCancelamento::verifica(const std::function<bool()> &refused, const char *key, QWidget *focus)
{
    try {
        if (refused()) {
            Consiste::MensErro(msgPadrao->Msg(QLatin1String(key)), true);
        }
    } catch (...) {
        // The operator corrects the offending field, whatever stopped here.
        focus->setFocus();
        throw;
    }
}

// Quote numbers may hold letters, so they sort as the 8-bit texts they are
// stored as. They are compared as the confirmation will store them, brought
// to width: a number typed into "até" and not left yet ("60" after an
// adjusted "0000000500") must not pass as a higher one.
void TfrmFiltroCancelamento::Vd_Intervalo()
{
    verifica(
        [this] {
            return ambos(medOrcaDe, medOrcaAte)
                   && Windows1252::compare(Consiste::Ajusta(medOrcaDe->text(), larguraNumero),
                                           Consiste::Ajusta(medOrcaAte->text(), larguraNumero))
                          > 0;
        },
        "NRINI>NRFIN", medOrcaDe);
}

void TfrmFiltroCancelamento::Vd_DeIntervalo()
{
    verifica([this] { return vazio(medOrcaDe) && !vazio(medOrcaAte); }, "NRINI", medOrcaDe);
}

void TfrmFiltroCancelamento::Vd_AteIntervalo()
{
    verifica([this] { return !vazio(medOrcaDe) && vazio(medOrcaAte); }, "NRFIN", medOrcaAte);
}

void TfrmFiltroCancelamento::Vd_Evento()
{
    verifica([this] { return intervaloInvertido(depDeEvento, depAteEvento); }, "DTINI>DTFIN_EVEN", depDeEvento);
}

void TfrmFiltroCancelamento::Vd_DeEvento()
{
    verifica([this] { return vazio(depDeEvento) && !vazio(depAteEvento); }, "DTINI_EVEN", depDeEvento);
}

void TfrmFiltroCancelamento::Vd_AteEvento()
{
    verifica([this] { return !vazio(depDeEvento) && vazio(depAteEvento); }, "DTFIN_EVEN", depAteEvento);
}

void TfrmFiltroCancelamento::Vd_Validade()
{
    verifica([this] { return intervaloInvertido(depDeValidade, depAteValidade); }, "DTINI>DTFIN_VALID",
             depDeValidade);
}

void TfrmFiltroCancelamento::Vd_DeValidade()
{
    verifica([this] { return vazio(depDeValidade) && !vazio(depAteValidade); }, "DTINI_VALID", depDeValidade);
}

void TfrmFiltroCancelamento::Vd_AteValidade()
{
    verifica([this] { return !vazio(depDeValidade) && vazio(depAteValidade); }, "DTFIN_VALID", depAteValidade);
}

void TfrmFiltroCancelamento::Vd_Orcamento()
{
    verifica([this] { return intervaloInvertido(depDtOrcaIni, depDtOrcaFin); }, "DTINI>DTFIN_ORCA", depDtOrcaIni);
}

void TfrmFiltroCancelamento::Vd_DeOrcamento()
{
    verifica([this] { return vazio(depDtOrcaIni) && !vazio(depDtOrcaFin); }, "DTINI_ORCA", depDtOrcaIni);
}

void TfrmFiltroCancelamento::Vd_AteOrcamento()
{
    verifica([this] { return !vazio(depDtOrcaIni) && vazio(depDtOrcaFin); }, "DTFIN_ORCA", depDtOrcaFin);
}

// The boxes of the other states are disabled and never count.
void TfrmFiltroCancelamento::Vd_StatusPedido()
{
    verifica(
        [this] {
            return !chbPendente->isChecked() && !chbAprovado->isChecked() && !chbCancelado->isChecked()
                   && !chbAdiado->isChecked();
        },
        "STATUSORC", chbPendente);
}

#pragma once

#include "TfrmFiltroPadrao.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class TButtonFlat;
class TDateEditPlus;

// The filter dialog of the cancellation screen: which quotes the screen lists.
// It opens on the last confirmed `Filtro` and works on its own controls and
// on the unit's working lists (stVendedor, stCliente, stTipoServ,
// stTipoEven); cancelling, closing or "Desfazer" never change `Filtro`.
// Closed in any way, it clears `boIdCriado` and frees itself (caFree).
// Handlers run inside the host guard, as the base dialog's do.
class TfrmFiltroCancelamento final : public TfrmFiltroPadrao {
    Q_OBJECT
public:
    explicit TfrmFiltroCancelamento(QWidget *parent = nullptr);

    // The base creation step, then the eight range edits start empty.
    void FormCreate() override;
    // Loads the controls and the working lists from `Filtro`, and makes the
    // flags of the two texts agree with their texts again.
    void FormActivate() override;
    // The base close step; then the dialog is no longer there for the unit
    // and is freed once its showing is over.
    void FormClose(CloseAction &action) override;
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift) override;
    // Closes with modal result 2; nothing is written and nothing listed.
    void sbtCancelClick(QObject *sender) override;
    // Closes with modal result 1 and has the cancellation screen list again.
    // `Filtro` keeps its contents: the criteria are not taken over yet. A
    // listing that fails is reported by the host and the dialog still ends
    // as confirmed.
    void sbtConfirmaClick(QObject *sender) override;
    // "Desfazer": empties the working lists and the product list and brings
    // every control back to the open filter (only pending and approved
    // quotes). The dialog stays open; `Filtro` is not touched.
    void sbtLimpaClick(QObject *sender);

    // Each search button is usable exactly while its "Lista" radio is checked.
    void rbtTVendedorClick(QObject *sender);
    void rbtLVendedorClick(QObject *sender);
    void rbtTClienteClick(QObject *sender);
    void rbtLClienteClick(QObject *sender);
    void rbtTTipoServClick(QObject *sender);
    void rbtLTipoServClick(QObject *sender);
    void rbtLTipoEvenClick(QObject *sender); // both event-type radios

    QGroupBox *grbNrOrca;
    QLineEdit *medOrcaDe;
    QLineEdit *medOrcaAte;
    QGroupBox *grbDtEvento;
    TDateEditPlus *depDeEvento;
    TDateEditPlus *depAteEvento;
    QGroupBox *grbValidade;
    TDateEditPlus *depDeValidade;
    TDateEditPlus *depAteValidade;
    QGroupBox *grbDtOrca;
    TDateEditPlus *depDtOrcaIni;
    TDateEditPlus *depDtOrcaFin;

    QGroupBox *grbVendedor;
    QRadioButton *rbtTVendedor;
    QRadioButton *rbtLVendedor;
    TButtonFlat *sbtVendedor;
    QGroupBox *grbCliente;
    QRadioButton *rbtTCliente;
    QRadioButton *rbtLCliente;
    TButtonFlat *sbtCliente;
    QGroupBox *gbrServico;
    QRadioButton *rbtTTipoServ;
    QRadioButton *rbtLTipoServ;
    TButtonFlat *sbtTipoServ;
    QGroupBox *grbEvento;
    QRadioButton *rbtTTipoEven;
    QRadioButton *rbtLTipoEven;
    TButtonFlat *sbtTipoEven;

    QGroupBox *grbSituacao;
    QCheckBox *chbPendente;
    QCheckBox *chbAprovado;
    QCheckBox *chbFechado;
    QCheckBox *chbExecProd;
    QCheckBox *chbExecMate;
    QCheckBox *chbExecTotal;
    QCheckBox *chbEncerrado;
    QCheckBox *chbCancelado;
    QCheckBox *chbAdiado;

    QLineEdit *edtNovoClie;
    QLineEdit *edtTitulo;

    TButtonFlat *sbtLimpa;

private:
    using RadioHandler = void (TfrmFiltroCancelamento::*)(QObject *sender);
    void onChecked(QRadioButton *radio, RadioHandler handler);
    void setTabChain();
};

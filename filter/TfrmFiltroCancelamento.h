#pragma once

#include "TfrmFiltroPadrao.h"
#include "TelaFiltro.h"

#include <functional>

class Field;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class TADOIBQuery;
class TButtonFlat;
class TDataSource;
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
    // Runs every check; the first refusal leaves `Filtro` as it was and the
    // dialog open. Otherwise writes the whole `Filtro` from the controls,
    // has the cancellation screen list its quotes with it while the dialog
    // still shows, and closes with modal result 1 - also when that listing
    // fails (the failure is reported to the operator).
    void sbtConfirmaClick(QObject *sender) override;
    // The base's save and load of option sets, with the five picked lists
    // ("stCliente", "stTipoEven", "stProduto", "stVendedor", "stTipoServ")
    // saved along and read back into the working lists; an empty list is
    // saved as no line and loads as empty. Loading touches neither the
    // controls nor `Filtro`.
    void btfSaveOpcClick(QObject *sender) override;
    // The screen the dialog serves: its branch (for the product lookup) and
    // its listing (run by the confirmation).
    void defineTela(const TelaFiltro &tela) { m_tela = tela; }
    void btfLoadOpcClick(QObject *sender) override;
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

    // The quote-number pair: typing in "de" empties "até"; leaving "de"
    // brings it to width 10 and copies it into "até"; leaving "até" brings
    // it to width 10.
    void medOrcaDeChange();
    void medOrcaDeExit();
    void medOrcaAteExit();
    // A date edit refuses, as it is left, a text that is no date.
    void depDeEventoExit();
    void depAteEventoExit();
    void depDeValidadeExit();
    void depAteValidadeExit();
    void depDtOrcaIniExit();
    void depDtOrcaFinExit();

    // The checks of the confirmation, in the order it runs them. Each one
    // passes silently or shows its message, puts the cursor on its control
    // and abandons (Abort); a date that cannot be read also moves the cursor
    // there before its failure goes on.
    void Vd_Intervalo();
    void Vd_DeIntervalo();
    void Vd_AteIntervalo();
    void Vd_Evento();
    void Vd_DeEvento();
    void Vd_AteEvento();
    void Vd_Validade();
    void Vd_DeValidade();
    void Vd_AteValidade();
    void Vd_Orcamento();
    void Vd_DeOrcamento();
    void Vd_AteOrcamento();
    void Vd_StatusPedido();
    // A criterion on "Lista" needs picked codes: seller, client, service
    // type, event type; the first one without codes stops the confirmation.
    void Vd_Lista();

    // F9 on a "Lista" radio opens its lookup, even while the search button
    // is disabled, and so does F9 on the search button; other keys are the
    // control's.
    void rbtLVendedorKeyDown(int &key, Qt::KeyboardModifiers shift);
    void rbtLClienteKeyDown(int &key, Qt::KeyboardModifiers shift);
    void rbtLTipoServKeyDown(int &key, Qt::KeyboardModifiers shift);
    void rbtLTipoEvenKeyDown(int &key, Qt::KeyboardModifiers shift);

    // The lookups: each offers its table from the local database for
    // multiple choice, starting from the codes picked so far, and keeps the
    // confirmed choice in its working list. An empty seller, client or
    // service-type table is reported and abandons (Abort) with the list
    // unchanged; the event-type and product lookups report an empty table
    // through the picker itself. Lookup tables are read once per opening of
    // the dialog; products are read again at every lookup.
    void sbtVendedorClick(QObject *sender);
    void sbtClienteClick(QObject *sender);
    void sbtTipoServClick(QObject *sender);
    void sbtTipoEvenClick(QObject *sender);
    void sbtProdutoClick(QObject *sender);

    // How the lookups show a client's registration number (through the mask
    // of the client's person type) and a product code (through the host's
    // product mask).
    QString qryClienteNRINSJURCLIEGetText(const Field &field) const;
    QString qryProdutoCDARVPRODGetText(const Field &field) const;

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

    TADOIBQuery *qryVendedor;
    TDataSource *dtsVendedor;
    TADOIBQuery *qryCliente;
    TDataSource *dtsCliente;
    TADOIBQuery *qryTipoServ;
    TDataSource *dtsTipoServ;
    TADOIBQuery *qryTipoEven;
    TDataSource *dtsTipoEven;
    TADOIBQuery *qryProduto;
    TDataSource *dtsProduto;

private:
    using TratadorOpcao = void (TfrmFiltroCancelamento::*)(QObject *sender);
    void aoMarcar(QRadioButton *radio, TratadorOpcao handler);
    void ordenaTabulacao();
    void criaPesquisas();
    void vigiaControles();
    // Runs one check: `refused` tells whether it fails, `key` names its
    // message and `focus` gets the cursor whenever the check stops.
    void verifica(const std::function<bool()> &refused, const char *key, QWidget *focus);
    // A lookup table without rows: shows `key`, puts the cursor on `focus`
    // and abandons (Abort).
    void recusaTabelaVazia(const TADOIBQuery &query, const char *key, QWidget *focus);
    // Each "Lista" says how many codes its working list holds ("Lista (3)"),
    // so a choice shows without opening its lookup.
    void mostraQuantidades();

    TelaFiltro m_tela;
};

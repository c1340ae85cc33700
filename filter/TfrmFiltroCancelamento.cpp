#include "TfrmFiltroCancelamento.h"

#include "Cli_cxl04101.h"
#include "Consiste.h"
#include "ControlKeyDown.h"
#include "FocusEvents.h"
#include "HostGuard.h"
#include "MensagensFiltroCancelamento.h"
#include "QuoteStates.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TFiltro.h"
#include "TMessages.h"
#include "UpperCaseValidator.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <tuple>

namespace {

const QString Todos = QStringLiteral("T");

QLineEdit *campoNumero(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(10);
    edit->setValidator(new UpperCaseValidator(edit));
    return edit;
}

TDateEditPlus *campoData(const QString &name, QWidget *parent)
{
    auto *edit = new TDateEditPlus(parent);
    edit->setObjectName(name);
    edit->SetValidColor(Qt::blue);
    edit->SetNomeSemana({QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"),
                         QStringLiteral("Quarta"), QStringLiteral("Quinta"), QStringLiteral("Sexta"),
                         QStringLiteral("Sábado")});
    edit->SetSaveTime(false);
    return edit;
}

QGroupBox *grupo(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

// A range: "de" above "até", each label leading to its edit.
void dispoeIntervalo(QGroupBox *box, QWidget *from, QWidget *to)
{
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 0, 4, 2);
    grid->setSpacing(2);
    auto *lblDe = new QLabel(QStringLiteral("de"), box);
    lblDe->setBuddy(from);
    auto *lblAte = new QLabel(QStringLiteral("até"), box);
    lblAte->setBuddy(to);
    grid->addWidget(lblDe, 0, 0);
    grid->addWidget(from, 0, 1);
    grid->addWidget(lblAte, 1, 0);
    grid->addWidget(to, 1, 1);
}

// A date range: its group box with "de" above "até".
std::tuple<QGroupBox *, TDateEditPlus *, TDateEditPlus *> dateRange(const QString &boxName, const QString &caption,
                                                                    const QString &fromName, const QString &toName,
                                                                    QWidget *area)
{
    QGroupBox *box = grupo(boxName, caption, area);
    TDateEditPlus *from = campoData(fromName, box);
    TDateEditPlus *to = campoData(toName, box);
    dispoeIntervalo(box, from, to);
    return {box, from, to};
}

QRadioButton *opcao(const QString &name, const QString &caption, QGroupBox *box)
{
    auto *button = new QRadioButton(caption, box);
    button->setObjectName(name);
    // The caption of the group is bold, its choices are not.
    QFont plain = box->font();
    plain.setBold(false);
    button->setFont(plain);
    return button;
}

// A list criterion: its bold group, "Todos" (checked) and "Lista", and the
// search that has nothing to pick for until "Lista" is chosen.
std::tuple<QGroupBox *, QRadioButton *, QRadioButton *, TButtonFlat *>
listCriterion(const QString &boxName, const QString &suffix, const QString &caption, QWidget *area)
{
    auto *box = new QGroupBox(caption, area);
    box->setObjectName(boxName);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    QRadioButton *todos = opcao(QStringLiteral("rbtT") + suffix, QStringLiteral("Todos"), box);
    QRadioButton *lista = opcao(QStringLiteral("rbtL") + suffix, QStringLiteral("Lista"), box);
    auto *search = new TButtonFlat(box);
    search->setObjectName(QStringLiteral("sbt") + suffix);
    search->SetHint(QStringLiteral("Pesquisar"));
    search->SetShortcutHint(QKeySequence(Qt::Key_F9));
    search->SetGlyph(box->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    search->setIconSize(QSize(16, 16));
    search->setFixedSize(21, 21);
    search->setEnabled(false);

    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(1, 0, 0, 2);
    row->setSpacing(0);
    row->addWidget(todos);
    row->addWidget(lista);
    row->addWidget(search);
    todos->setChecked(true);
    return {box, todos, lista, search};
}

QCheckBox *caixaSituacao(const QString &name, const QString &caption, QGroupBox *box, bool usable)
{
    auto *check = new QCheckBox(caption, box);
    check->setObjectName(name);
    check->setEnabled(usable);
    box->layout()->addWidget(check);
    return check;
}

QLineEdit *linhaTexto(const QString &name, const QString &caption, QWidget *parent, QGridLayout *grid, int row)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    auto *label = new QLabel(caption, parent);
    label->setBuddy(edit);
    auto *line = new QHBoxLayout;
    line->addWidget(label);
    line->addWidget(edit, 1);
    grid->addLayout(line, row, 0, 1, 2);
    return edit;
}

// A list criterion loads as "Lista" only when the filter applies its codes.
void carregaLista(const TCodeList &criterion, QRadioButton *todos, QRadioButton *lista, QString &workingList)
{
    if (criterion.Todos == Todos) {
        todos->setChecked(true);
    } else {
        lista->setChecked(true);
    }
    workingList = criterion.Lista;
}

// A text given as blanks only filters nothing, so its flag must say "T".
void carregaTexto(const QString &text, QString &flag, QLineEdit *edit)
{
    if (Consiste::EmptyString(text)) {
        edit->clear();
        flag = Todos;
    } else {
        edit->setText(text);
        flag.clear();
    }
}

} // namespace

TfrmFiltroCancelamento::TfrmFiltroCancelamento(QWidget *parent)
    : TfrmFiltroPadrao(parent)
{
    setObjectName(QStringLiteral("frmFiltroCancelamento"));
    setWindowTitle(QStringLiteral("Filtro de Cancelamento"));
    lblCodTela->setText(QStringLiteral("CXL04101"));
    SetHelpContext(12200101);
    msgPadrao->setLines(MensagensFiltroCancelamento());

    QWidget *area = grbFiltroPadrao;
    grbNrOrca = grupo(QStringLiteral("grbNrOrca"), QStringLiteral("Nr. Orçamento"), area);
    medOrcaDe = campoNumero(QStringLiteral("medOrcaDe"), grbNrOrca);
    medOrcaAte = campoNumero(QStringLiteral("medOrcaAte"), grbNrOrca);
    dispoeIntervalo(grbNrOrca, medOrcaDe, medOrcaAte);

    std::tie(grbDtEvento, depDeEvento, depAteEvento) =
        dateRange(QStringLiteral("grbDtEvento"), QStringLiteral("Data do Evento"), QStringLiteral("depDeEvento"),
                  QStringLiteral("depAteEvento"), area);
    std::tie(grbValidade, depDeValidade, depAteValidade) =
        dateRange(QStringLiteral("grbValidade"), QStringLiteral("Data de Validade"), QStringLiteral("depDeValidade"),
                  QStringLiteral("depAteValidade"), area);
    std::tie(grbDtOrca, depDtOrcaIni, depDtOrcaFin) =
        dateRange(QStringLiteral("grbDtOrca"), QStringLiteral("Data do Orcamento"), QStringLiteral("depDtOrcaIni"),
                  QStringLiteral("depDtOrcaFin"), area);

    std::tie(grbVendedor, rbtTVendedor, rbtLVendedor, sbtVendedor) =
        listCriterion(QStringLiteral("grbVendedor"), QStringLiteral("Vendedor"), QStringLiteral("Vendedor"), area);
    std::tie(grbCliente, rbtTCliente, rbtLCliente, sbtCliente) =
        listCriterion(QStringLiteral("grbCliente"), QStringLiteral("Cliente"), QStringLiteral("Cliente"), area);
    std::tie(gbrServico, rbtTTipoServ, rbtLTipoServ, sbtTipoServ) = listCriterion(
        QStringLiteral("gbrServico"), QStringLiteral("TipoServ"), QStringLiteral("Tipo de Serviço"), area);
    std::tie(grbEvento, rbtTTipoEven, rbtLTipoEven, sbtTipoEven) = listCriterion(
        QStringLiteral("grbEvento"), QStringLiteral("TipoEven"), QStringLiteral("Tipo de Evento"), area);

    grbSituacao = grupo(QStringLiteral("grbSituacao"), QStringLiteral("Situação"), area);
    auto *states = new QVBoxLayout(grbSituacao);
    states->setContentsMargins(4, 0, 2, 2);
    states->setSpacing(2);
    // Only the four states a quote of this screen can be in may be chosen;
    // the others belong to the order workflow and stay off.
    chbPendente = caixaSituacao(QStringLiteral("chbPendente"), QStringLiteral("Pendente"), grbSituacao, true);
    chbAprovado = caixaSituacao(QStringLiteral("chbAprovado"), QStringLiteral("Aprovado"), grbSituacao, true);
    chbFechado = caixaSituacao(QStringLiteral("chbFechado"), QStringLiteral("Fechado"), grbSituacao, false);
    chbExecProd = caixaSituacao(QStringLiteral("chbExecProd"), QStringLiteral("Exec. Produção"), grbSituacao, false);
    chbExecMate = caixaSituacao(QStringLiteral("chbExecMate"), QStringLiteral("Exec. Materias"), grbSituacao, false);
    chbExecTotal = caixaSituacao(QStringLiteral("chbExecTotal"), QStringLiteral("Exec. Totalmente"), grbSituacao, false);
    chbEncerrado = caixaSituacao(QStringLiteral("chbEncerrado"), QStringLiteral("Encerrado"), grbSituacao, false);
    chbCancelado = caixaSituacao(QStringLiteral("chbCancelado"), QStringLiteral("Cancelado"), grbSituacao, true);
    chbAdiado = caixaSituacao(QStringLiteral("chbAdiado"), QStringLiteral("Adiado"), grbSituacao, true);
    states->addStretch(1);
    chbPendente->setChecked(true);
    chbAprovado->setChecked(true);

    // Ranges across the top; below them the lists and the two texts, with
    // the tall state box on the right.
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(2, 0, 2, 2);
    grid->setSpacing(2);
    grid->addWidget(grbNrOrca, 0, 0);
    grid->addWidget(grbDtEvento, 0, 1);
    grid->addWidget(grbValidade, 0, 2);
    grid->addWidget(grbDtOrca, 1, 0);
    auto *sellersAndClients = new QVBoxLayout;
    sellersAndClients->setSpacing(2);
    sellersAndClients->addWidget(grbVendedor);
    sellersAndClients->addWidget(grbCliente);
    grid->addLayout(sellersAndClients, 1, 1, 2, 1);
    grid->addWidget(gbrServico, 3, 0);
    grid->addWidget(grbEvento, 3, 1);
    grid->addWidget(grbSituacao, 1, 2, 5, 1);
    edtNovoClie = linhaTexto(QStringLiteral("edtNovoClie"), QStringLiteral("Novo Cliente"), area, grid, 4);
    edtTitulo = linhaTexto(QStringLiteral("edtTitulo"), QStringLiteral("Título"), area, grid, 5);
    grid->setRowStretch(2, 1);

    sbtLimpa = new TButtonFlat(this);
    sbtLimpa->setObjectName(QStringLiteral("sbtLimpa"));
    sbtLimpa->SetHint(QStringLiteral("Desfazer"));
    sbtLimpa->SetGlyph(style()->standardIcon(QStyle::SP_DialogResetButton));
    sbtLimpa->setIconSize(QSize(24, 24));
    insertMenuButton(sbtLimpa);
    connect(sbtLimpa, &QAbstractButton::clicked, this, [this] { HostGuard::run([this] { sbtLimpaClick(sbtLimpa); }); });

    aoMarcar(rbtTVendedor, &TfrmFiltroCancelamento::rbtTVendedorClick);
    aoMarcar(rbtLVendedor, &TfrmFiltroCancelamento::rbtLVendedorClick);
    aoMarcar(rbtTCliente, &TfrmFiltroCancelamento::rbtTClienteClick);
    aoMarcar(rbtLCliente, &TfrmFiltroCancelamento::rbtLClienteClick);
    aoMarcar(rbtTTipoServ, &TfrmFiltroCancelamento::rbtTTipoServClick);
    aoMarcar(rbtLTipoServ, &TfrmFiltroCancelamento::rbtLTipoServClick);
    aoMarcar(rbtTTipoEven, &TfrmFiltroCancelamento::rbtLTipoEvenClick);
    aoMarcar(rbtLTipoEven, &TfrmFiltroCancelamento::rbtLTipoEvenClick);

    criaPesquisas();
    vigiaControles();
    ordenaTabulacao();
    resize(541, 327);
}

void TfrmFiltroCancelamento::vigiaControles()
{
    connect(medOrcaDe, &QLineEdit::textChanged, this, [this] { medOrcaDeChange(); });
    FocusEvents::watch(medOrcaDe, {}, [this] { medOrcaDeExit(); });
    FocusEvents::watch(medOrcaAte, {}, [this] { medOrcaAteExit(); });
    FocusEvents::watch(depDeEvento, {}, [this] { depDeEventoExit(); });
    FocusEvents::watch(depAteEvento, {}, [this] { depAteEventoExit(); });
    FocusEvents::watch(depDeValidade, {}, [this] { depDeValidadeExit(); });
    FocusEvents::watch(depAteValidade, {}, [this] { depAteValidadeExit(); });
    FocusEvents::watch(depDtOrcaIni, {}, [this] { depDtOrcaIniExit(); });
    FocusEvents::watch(depDtOrcaFin, {}, [this] { depDtOrcaFinExit(); });

    const struct {
        QRadioButton *lista;
        TButtonFlat *button;
        void (TfrmFiltroCancelamento::*keyDown)(int &key, Qt::KeyboardModifiers shift);
        void (TfrmFiltroCancelamento::*handler)(QObject *sender);
    } searches[] = {
        {rbtLVendedor, sbtVendedor, &TfrmFiltroCancelamento::rbtLVendedorKeyDown,
         &TfrmFiltroCancelamento::sbtVendedorClick},
        {rbtLCliente, sbtCliente, &TfrmFiltroCancelamento::rbtLClienteKeyDown,
         &TfrmFiltroCancelamento::sbtClienteClick},
        {rbtLTipoServ, sbtTipoServ, &TfrmFiltroCancelamento::rbtLTipoServKeyDown,
         &TfrmFiltroCancelamento::sbtTipoServClick},
        {rbtLTipoEven, sbtTipoEven, &TfrmFiltroCancelamento::rbtLTipoEvenKeyDown,
         &TfrmFiltroCancelamento::sbtTipoEvenClick}};
    for (const auto &search : searches) {
        connect(search.button, &QAbstractButton::clicked, this, [this, search] {
            HostGuard::run([&] { (this->*search.handler)(search.button); });
        });
        // Enter passes the button by, so the operator reaches the pick list
        // with F9 from wherever the list is: its "Lista" or its button.
        for (QWidget *control : {static_cast<QWidget *>(search.lista), static_cast<QWidget *>(search.button)}) {
            ControlKeyDown::watch(control, [this, search](int &key, Qt::KeyboardModifiers shift) {
                (this->*search.keyDown)(key, shift);
            });
        }
    }
}

// A radio's click also answers the program checking it, as the dialog's
// loading and "Desfazer" do; the radio that loses its check has nothing to say.
void TfrmFiltroCancelamento::aoMarcar(QRadioButton *radio, TratadorOpcao handler)
{
    connect(radio, &QAbstractButton::toggled, this, [this, radio, handler](bool checked) {
        if (checked) {
            HostGuard::run([&] { (this->*handler)(radio); });
        }
    });
}

void TfrmFiltroCancelamento::ordenaTabulacao()
{
    const QList<QWidget *> chain = {
        medOrcaDe,    medOrcaAte,   depDeEvento,  depAteEvento, depDeValidade, depAteValidade, depDtOrcaIni,
        depDtOrcaFin, rbtTVendedor, rbtLVendedor, sbtVendedor,  rbtTCliente,   rbtLCliente,    sbtCliente,
        rbtTTipoServ, rbtLTipoServ, sbtTipoServ,  rbtTTipoEven, rbtLTipoEven,  sbtTipoEven,    chbPendente,
        chbAprovado,  chbFechado,   chbExecProd,  chbExecMate,  chbExecTotal,  chbEncerrado,   chbCancelado,
        chbAdiado,    edtNovoClie,  edtTitulo};
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain.at(i - 1), chain.at(i));
    }
}

void TfrmFiltroCancelamento::FormCreate()
{
    TfrmFiltroPadrao::FormCreate();
    const QList<QLineEdit *> ranges = {depDeValidade, depAteValidade, medOrcaDe, medOrcaAte,
                                       depDeEvento, depAteEvento, depDtOrcaIni, depDtOrcaFin};
    for (QLineEdit *edit : ranges) {
        edit->clear();
    }
}

void TfrmFiltroCancelamento::FormActivate()
{
    // The base puts the cursor in the first criterion, the quote number.
    TfrmFiltroPadrao::FormActivate();
    update();
    // "até" follows "de" whenever "de" changes, so "de" goes first.
    medOrcaDe->setText(Filtro.NrOrcaEven.De);
    medOrcaAte->setText(Filtro.NrOrcaEven.Ate);
    depDeEvento->SetDate(Filtro.DtEvento.De);
    depAteEvento->SetDate(Filtro.DtEvento.Ate);
    depDeValidade->SetDate(Filtro.DtValidade.De);
    depAteValidade->SetDate(Filtro.DtValidade.Ate);
    depDtOrcaIni->SetDate(Filtro.DtOrcamento.De);
    depDtOrcaFin->SetDate(Filtro.DtOrcamento.Ate);
    carregaLista(Filtro.Vendedor, rbtTVendedor, rbtLVendedor, stVendedor);
    carregaLista(Filtro.Cliente, rbtTCliente, rbtLCliente, stCliente);
    carregaLista(Filtro.TipoServ, rbtTTipoServ, rbtLTipoServ, stTipoServ);
    carregaLista(Filtro.TipoEven, rbtTTipoEven, rbtLTipoEven, stTipoEven);
    mostraQuantidades();
    // Both "1_2_" and "_1_2_" select pending and approved: each state is one
    // distinct digit, looked for anywhere in the text.
    chbPendente->setChecked(Filtro.IdSitu.contains(QuoteState::Pending));
    chbAprovado->setChecked(Filtro.IdSitu.contains(QuoteState::Approved));
    chbCancelado->setChecked(Filtro.IdSitu.contains(QuoteState::Cancelled));
    chbAdiado->setChecked(Filtro.IdSitu.contains(QuoteState::Postponed));
    carregaTexto(Filtro.NovoClie, Filtro.TNovoClie, edtNovoClie);
    carregaTexto(Filtro.Titulo, Filtro.TTitulo, edtTitulo);
}

void TfrmFiltroCancelamento::FormClose(CloseAction &action)
{
    TfrmFiltroPadrao::FormClose(action);
    boIdCriado = false;
    action = caFree;
}

// The F9 of a "Lista" is that radio's and its button's own key; the dialog
// as a whole serves only the base dialog's keys.
void TfrmFiltroCancelamento::FormKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    TfrmFiltroPadrao::FormKeyDown(key, shift);
}

void TfrmFiltroCancelamento::sbtCancelClick(QObject *sender)
{
    TfrmFiltroPadrao::sbtCancelClick(sender);
    // The base's cancel normally closes already; closing again would run the
    // close step twice.
    if (ModalResult() != mrCancelado) {
        setModalResult(mrCancelado);
    }
}

void TfrmFiltroCancelamento::sbtLimpaClick(QObject * /*sender*/)
{
    for (QString *list : {&stTipoEven, &stCliente, &stVendedor, &stTipoServ, &stProduto}) {
        list->clear();
    }
    mostraQuantidades();
    const QList<QLineEdit *> edits = {edtNovoClie,  edtTitulo,     medOrcaDe,      medOrcaAte,
                                      depDeEvento,  depAteEvento,  depDeValidade,  depAteValidade,
                                      depDtOrcaIni, depDtOrcaFin};
    for (QLineEdit *edit : edits) {
        edit->clear();
    }
    rbtTVendedor->setChecked(true);
    rbtTCliente->setChecked(true);
    rbtTTipoServ->setChecked(true);
    rbtTTipoEven->setChecked(true);
    chbPendente->setChecked(true);
    chbAprovado->setChecked(true);
    chbCancelado->setChecked(false);
    chbAdiado->setChecked(false);
}

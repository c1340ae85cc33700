// Building the screen's controls, lists and menus.
#include "TfrmCancelamento.h"

#include "Abort.h"
#include "CancellationFields.h"
#include "CancellationOperations.h"
#include "Cli_cxl04100.h"
#include "ControlKeyPress.h"
#include "FocusEvents.h"
#include "HostGuard.h"
#include "MarkGlyphs.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDataSource.h"
#include "TDBEdit.h"
#include "TDBMemo.h"
#include "TDBText.h"

#include <QMenu>

void TfrmCancelamento::criaListas()
{
    cdsOrcamento = new RecordList(QStringLiteral("cdsOrcamento"), this);
    declareQuoteFields(*cdsOrcamento);
    cdsItemOrcaEven = new RecordList(QStringLiteral("cdsItemOrcaEven"), this);
    declareItemFields(*cdsItemOrcaEven);
    cdsMotivo = new RecordList(QStringLiteral("cdsMotivo"), this);
    declareReasonFields(*cdsMotivo);
    cdsObs = new RecordList(QStringLiteral("cdsObs"), this);
    declareJustificationFields(*cdsObs);
    cdsParamOrca = new RecordList(QStringLiteral("cdsParamOrca"), this);
    cdsParamOrca->addField(QStringLiteral("IDORIGPRUNITORE"), FieldType::Text, 1);
    // Ahead of the data sources: the commands follow a change of state
    // before the handlers of that change look at them.
    m_operations = new CancellationOperations(*m_servidor, {*cdsOrcamento, *cdsItemOrcaEven, *cdsObs, *cdsMotivo, *cdsParamOrca},
                                            *msgPadrao, this);
    Field &situacao = cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE"));
    situacao.setOnGetText([this](const Field &field, bool /*displayText*/) {
        return cdsOrcamentoIDSITUORCEVEGetText(field);
    });
    situacao.setOnSetText([this](Field &field, const QString &text) { cdsOrcamentoIDSITUORCEVESetText(field, text); });
    cdsOrcamento->afterScroll = [this](RecordList &list) { cdsOrcamentoAfterScroll(list); };
    cdsOrcamento->beforePost = [this](RecordList &list) { cdsOrcamentoBeforePost(list); };
    cdsOrcamento->afterPost = [this](RecordList &list) { cdsOrcamentoAfterPost(list); };
    cdsOrcamento->afterCancel = [this](RecordList &list) { cdsOrcamentoAfterCancel(list); };
    cdsOrcamento->afterDelete = [this](RecordList &list) { cdsOrcamentoAfterDelete(list); };
    dtsPadrao->setDataSet(cdsOrcamento);
    dtsPadrao->onStateChange = [this](TDataSource &sender) { dtsPadraoStateChange(sender); };

    cdsItemOrcaEven->onCalcFields = [this](RecordList &list) { cdsItemOrcaEvenCalcFields(list); };
    cdsItemOrcaEven->beforeInsert = [](RecordList & /*list*/) {
        if (boInsGrid) {
            throw Abort();
        }
    };
    dtsItemOrcaEven = criaFonte("dtsItemOrcaEven", cdsItemOrcaEven);

    cdsMotivo->afterPost = [this](RecordList &list) { cdsMotivoAfterPost(list); };
    dtsMotivo = criaFonte("dtsMotivo", cdsMotivo);

    dtsObs = criaFonte("dtsObs", cdsObs);
    // Typing the justification is what puts it into edit.
    dtsObs->setAutoEdit(true);
    cdsObs->beforePost = [this](RecordList &list) { cdsObsBeforePost(list); };
    cdsObs->afterPost = [this](RecordList &list) { cdsObsAfterPost(list); };
    dtsObs->onStateChange = [this](TDataSource &sender) { dtsObsStateChange(sender); };
}

TDataSource *TfrmCancelamento::criaFonte(const char *name, RecordList *list)
{
    auto *source = new TDataSource(this);
    source->setObjectName(QLatin1String(name));
    source->setDataSet(list);
    return source;
}

QAction *TfrmCancelamento::criaAcao(const char *name, const QString &caption, const QKeySequence &shortcut,
                                    void (TfrmCancelamento::*handler)(QObject *))
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    // Two open screens never fight over a key.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this,
            [this, action, handler] { HostGuard::run([this, action, handler] { (this->*handler)(action); }); });
    addAction(action);
    return action;
}

QAction *TfrmCancelamento::criaSeparador(const char *name)
{
    auto *separator = new QAction(this);
    separator->setObjectName(QLatin1String(name));
    separator->setSeparator(true);
    return separator;
}

TButtonFlat *TfrmCancelamento::criaBotao(const char *name, const QString &hint, QStyle::StandardPixmap glyph,
                                         void (TfrmCancelamento::*handler)(QObject *))
{
    auto *button = new TButtonFlat(panMenu);
    button->setObjectName(QLatin1String(name));
    button->SetHint(hint);
    button->SetGlyph(style()->standardIcon(glyph));
    connect(button, &QAbstractButton::clicked, this,
            [this, button, handler] { HostGuard::run([this, button, handler] { (this->*handler)(button); }); });
    insertToolButton(button);
    return button;
}

void TfrmCancelamento::criaBarraEMenus()
{
    sbtFiltro = criaBotao("sbtFiltro", QStringLiteral("Filtrar"), QStyle::SP_FileDialogContentsView,
                          &TfrmCancelamento::sbtFiltroClick);
    sbtHabilita = criaBotao("sbtHabilita", QStringLiteral("Habilitar"), QStyle::SP_DialogYesButton,
                            &TfrmCancelamento::sbtHabilitaClick);
    sbtHabilita->setEnabled(false);
    sbtImprimir->setEnabled(false);
    // The mark column's two glyphs, kept out of sight for the grid to draw.
    for (auto [image, name, glyph] : {std::tuple{&imgCheck, "imgCheck", MarkGlyphs::Checked()},
                                      std::tuple{&imgUncheck, "imgUncheck", MarkGlyphs::Unchecked()}}) {
        *image = new QLabel(panMenu);
        (*image)->setObjectName(QLatin1String(name));
        (*image)->setPixmap(glyph);
        (*image)->hide();
    }

    // The page items, the history, the export and the steps a store left come
    // ahead of the base's listing items.
    mnuFolhaDados = criaAcao("mnuFolhaDados", QStringLiteral("&Folha de Dados"), {}, &TfrmCancelamento::mnuFolhaDadosClick);
    mnuItens = criaAcao("mnuItens", QStringLiteral("&Itens"), {}, &TfrmCancelamento::mnuItensClick);
    mnuMotivo = criaAcao("mnuMotivo", QStringLiteral("&Motivo"), {}, &TfrmCancelamento::mnuMotivoClick);
    N1 = criaSeparador("N1");
    N1->setEnabled(false);
    mnuHistorico = criaAcao("mnuHistorico", QStringLiteral("&Histórico"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
                            &TfrmCancelamento::mnuHistoricoClick);
    mnuExportar = criaAcao("mnuExportar", QStringLiteral("&Exportar"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                           &TfrmCancelamento::mnuExportarClick);
    mnuConcluir = criaAcao("mnuConcluir", QStringLiteral("&Concluir gravação"), QKeySequence(Qt::CTRL | Qt::Key_G),
                           &TfrmCancelamento::mnuConcluirClick);
    N4 = criaSeparador("N4");
    mnuOperacao->insertActions(mnuListagem, {mnuFolhaDados, mnuItens, mnuMotivo, N1, mnuHistorico, mnuExportar,
                                             mnuConcluir, N4});
    mnuListagem->setEnabled(false);
    mnuConfigImpressora->setEnabled(false);

    N2 = criaSeparador("N2");
    mnuFiltrar = criaAcao("mnuFiltrar", QStringLiteral("Fi&ltrar"), QKeySequence(Qt::CTRL | Qt::Key_L),
                          &TfrmCancelamento::mnuFiltrarClick);
    N3 = criaSeparador("N3");
    mnuHabilita = criaAcao("mnuHabilita", QStringLiteral("&Habilitar"), QKeySequence(Qt::CTRL | Qt::Key_H),
                           &TfrmCancelamento::mnuHabilitaClick);
    mnuManutencao->addActions({N2, mnuFiltrar, N3, mnuHabilita});
    sbtFiltro->SetShortcutHint(mnuFiltrar->shortcut());
    sbtHabilita->SetShortcutHint(mnuHabilita->shortcut());
    // Nothing is listed yet.
    for (QAction *action : {mnuHabilita, mnuHistorico, mnuExportar, mnuConcluir}) {
        action->setEnabled(false);
    }

    dbtNome->setDataField(QStringLiteral("NMFANTCLIE"));
}

void TfrmCancelamento::criaPaineis()
{
    panFilial = new BranchPanel(this);
    medCdFilial = panFilial->medCdFilial;
    btnFilial = panFilial->btnFilial;
    edtNmFilial = panFilial->edtNmFilial;
    connect(medCdFilial, &QLineEdit::textChanged, this, [this] { medCdFilialChange(); });
    btnFilial->onBeforePesq = [this](TBtnPesquisa &sender, bool &proceed) { btnFilialBeforePesq(sender, proceed); };
    btnFilial->onAfterPesq = [this](TBtnPesquisa &sender) { btnFilialAfterPesq(sender); };
    // The name is shown only for a branch checked or picked: from then on it
    // is the branch the screen works on, which the host names too.
    connect(edtNmFilial, &QLineEdit::textChanged, this, [this](const QString &nome) {
        if (!nome.isEmpty()) {
            SetBranch(medCdFilial->text(), nome);
        }
    });
    insertBand(panFilial);
    pgcPadrao->setEnabled(false);

    tshItens = new ItemsPage(dtsPadrao, dtsItemOrcaEven);
    tshItens->dbgItem->onKeyDown = [this](TDBGrid &sender, int &key, Qt::KeyboardModifiers shift) {
        dbgItemKeyDown(sender, key, shift);
    };
    pgcPadrao->addTab(tshItens, QStringLiteral("Itens"));

    tshMotivo = new ReasonPage(dtsPadrao, dtsMotivo, dtsObs);
    pnlMotivo = tshMotivo->pnlMotivo;
    lblNmMot = tshMotivo->lblNmMot;
    edtCdMotivo = tshMotivo->edtCdMotivo;
    btpMotivo = tshMotivo->btpMotivo;
    edtNmMotivo = tshMotivo->edtNmMotivo;
    dbmMotivo = tshMotivo->dbmMotivo;
    ControlKeyPress::watch(edtCdMotivo, [this](QChar &key) { edtCdMotivoKeyPress(key); });
    btpMotivo->onClick = [this](TBtnPesquisa &sender) { btpMotivoClick(&sender); };
    pgcPadrao->addTab(tshMotivo, QStringLiteral("Motivo"));
    pgcPadrao->onChange = [this](TCustomPageControl98 &sender) { pgcPadraoOnChange(sender); };
}

void TfrmCancelamento::criaColunasGrade()
{
    // A white heavy check mark over the column of marks.
    TDBGrid::Column mark = gridColumn(QStringLiteral("IDCHECK"), QStringLiteral("\u2714"), 18, Qt::AlignCenter);
    mark.titleColor = Qt::white;
    dbgPadrao->setColumns({
        mark,
        gridColumn(QStringLiteral("NRORCAEVENTO"), QStringLiteral("Nr. Orçamento"), 85),
        gridColumn(QStringLiteral("NRSEQORCAEVE"), QStringLiteral("Seq.")),
        gridColumn(QStringLiteral("NMFANTCLIE"), QStringLiteral("Cliente"), 242),
        gridColumn(QStringLiteral("IDSITUORCEVE"), QStringLiteral("Situação"), 80),
        gridColumn(QStringLiteral("NMTPSERVEVEN"), QStringLiteral("Tipo de Serviço"), 130),
        gridColumn(QStringLiteral("NMTIPOEVENTO"), QStringLiteral("Tipo de Evento"), 130),
        gridColumn(QStringLiteral("DTEVENTO"), QStringLiteral("Dt. Evento")),
        gridColumn(QStringLiteral("DTVALIORCEVE"), QStringLiteral("Dt. Validade")),
        gridColumn(QStringLiteral("DTINCLORCEVE"), QStringLiteral("Dt. Origem")),
    });
    dbgPadrao->setConfirmDelete(true);
    dbgPadrao->onDrawColumnCell = [this](QPainter *painter, const QStyleOptionViewItem &option, const Field &field,
                                         int row) { return dbgPadraoDrawColumnCell(painter, option, field, row); };
    dbgPadrao->onDblClick = [this](TDBGrid & /*sender*/) { dbgPadraoDblClick(); };
}

void TfrmCancelamento::ordenaTabulacao()
{
    // Top to bottom, as the operator sees the screen: the branch, then the
    // pages (the tool bar takes no focus).
    QWidget::setTabOrder(medCdFilial, pgcPadrao);
    QWidget::setTabOrder(edtCdMotivo, dbmMotivo);
}

void TfrmCancelamento::vigiaFoco()
{
    const auto semFechar = [this](void (TfrmCancelamento::*handler)()) {
        return [this, handler] {
            if (!m_operations->closing()) {
                (this->*handler)();
            }
        };
    };
    // Entering the branch closes the lists and leaving it lists: never in
    // the middle of an operation, whatever moved the focus there.
    const auto foraDeOperacao = [this](void (TfrmCancelamento::*handler)()) {
        return [this, handler] {
            if (!m_operations->closing() && !m_operations->underWay()) {
                (this->*handler)();
            }
        };
    };
    FocusEvents::watch(panFilial, foraDeOperacao(&TfrmCancelamento::panFilialEnter),
                       foraDeOperacao(&TfrmCancelamento::panFilialExit));
    FocusEvents::watch(medCdFilial, {}, foraDeOperacao(&TfrmCancelamento::medCdFilialExit));
    FocusEvents::watch(dbgPadrao, semFechar(&TfrmCancelamento::dbgPadraoEnter), {});
    FocusEvents::watch(edtCdMotivo, semFechar(&TfrmCancelamento::edtCdMotivoEnter),
                       semFechar(&TfrmCancelamento::edtCdMotivoExit));
    FocusEvents::watch(pnlMotivo, {}, semFechar(&TfrmCancelamento::pnlMotivoExit));
}

// Building the screen's controls, lists and menus.
#include "TfrmCancelamento.h"

#include "Abort.h"
#include "Cli_cxl04100.h"
#include "Consiste.h"
#include "ControlKeyPress.h"
#include "FocusEvents.h"
#include "HostGuard.h"
#include "MarkGlyphs.h"
#include "RecordList.h"
#include "TADOIBQuery.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBMemo.h"
#include "TDBText.h"
#include "TDataSource.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>

namespace {

QLabel *boldLabel(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Code fields take the information-tip colour; names filled by the screen
// take the button face.
void paintBackground(QWidget *widget, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(role));
    widget->setPalette(palette);
}

Field &addShown(RecordList &list, const QString &name, FieldType type, int size, const QString &label)
{
    Field &field = list.addField(name, type, size);
    field.setDisplayLabel(label);
    return field;
}

Field &addHidden(RecordList &list, const QString &name, FieldType type, int size)
{
    Field &field = list.addField(name, type, size);
    field.setVisible(false);
    return field;
}

TDBGrid::Column coluna(const QString &fieldName, const QString &title = QString(), int width = -1,
                       Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    TDBGrid::Column column;
    column.fieldName = fieldName;
    column.title = title;
    column.width = width;
    column.titleAlignment = titleAlignment;
    return column;
}

void declareQuoteFields(RecordList &list)
{
    Field &check = addHidden(list, QStringLiteral("IDCHECK"), FieldType::Text, 1);
    check.setProviderFlags(Field::InUpdate | Field::InWhere | Field::InKey | Field::Hidden);
    addShown(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10, QStringLiteral("Nr. Orçamento"))
        .setReadOnly(true);
    addShown(list, QStringLiteral("NRSEQORCAEVE"), FieldType::Text, 2, QStringLiteral("Seq.")).setFixedChar(true);
    addHidden(list, QStringLiteral("NMCLIEORCEVE"), FieldType::Text, 50).setDisplayLabel(QStringLiteral("Cliente"));
    Field &fantasia = addShown(list, QStringLiteral("NMFANTCLIE"), FieldType::Text, 50, QStringLiteral("Cliente"));
    fantasia.setDisplayWidth(60);
    fantasia.setReadOnly(true);
    addHidden(list, QStringLiteral("IDSITUORCEVE"), FieldType::Text, 1).setDisplayLabel(QStringLiteral("Situação"));
    addHidden(list, QStringLiteral("CDTPSERVEVEN"), FieldType::Text, 3);
    addShown(list, QStringLiteral("NMTPSERVEVEN"), FieldType::Text, 30, QStringLiteral("Tipo de serviço"))
        .setReadOnly(true);
    addHidden(list, QStringLiteral("CDTIPOEVENTO"), FieldType::Text, 3);
    addShown(list, QStringLiteral("NMTIPOEVENTO"), FieldType::Text, 30, QStringLiteral("Tipo de evento"))
        .setReadOnly(true);
    addHidden(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4);
    addHidden(list, QStringLiteral("QTCONVORCEVE"), FieldType::Float, 0)
        .setDisplayLabel(QStringLiteral("Nr. Convidados"));
    addHidden(list, QStringLiteral("DSPRECOBASE"), FieldType::Text, 30);
    addHidden(list, QStringLiteral("CDPRECOBASE"), FieldType::Text, 2);
    addHidden(list, QStringLiteral("CDVENDEDOR"), FieldType::Text, 4);
    addHidden(list, QStringLiteral("CDCLIENTE"), FieldType::Text, 21);
    addHidden(list, QStringLiteral("DSTITUORCEVE"), FieldType::Text, 100);
    addHidden(list, QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4);
    addShown(list, QStringLiteral("DTEVENTO"), FieldType::DateTime, 0, QStringLiteral("Dt. Evento"));
    addShown(list, QStringLiteral("DTVALIORCEVE"), FieldType::DateTime, 0, QStringLiteral("Dt. Validade"));
    addShown(list, QStringLiteral("DTINCLORCEVE"), FieldType::DateTime, 0, QStringLiteral("Dt. Origem"));
    addHidden(list, QStringLiteral("CDOPEJUSTORC"), FieldType::Text, 12);
}

void declareItemFields(RecordList &list)
{
    addHidden(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4).setDisplayLabel(QStringLiteral("Código"));
    addHidden(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10);
    addHidden(list, QStringLiteral("NRITEMORCEVE"), FieldType::Text, 10);
    addHidden(list, QStringLiteral("CDPRODUTO"), FieldType::Text, 10);
    addHidden(list, QStringLiteral("IDITOREVPROD"), FieldType::Text, 1);
    addHidden(list, QStringLiteral("NROPCAITOREV"), FieldType::Text, 2);
    addHidden(list, QStringLiteral("CDGRTOTAPROD"), FieldType::Text, 3);
    Field &produto = addShown(list, QStringLiteral("CDARVPROD"), FieldType::Text, 20, QStringLiteral("Produto"));
    // The product code is shown the way the host writes product codes.
    produto.setOnGetText([](const Field &field, bool /*displayText*/) {
        return Consiste::FormatMaskText(field.editMask(), field.asString());
    });
    addShown(list, QStringLiteral("NMPRODUTO"), FieldType::Text, 50, QStringLiteral("Nome do Produto"));
    addShown(list, QStringLiteral("QTITEMORCEVE"), FieldType::Float, 0, QStringLiteral("Quantidade"))
        .setDisplayFormat(QStringLiteral("#,##0.000"));
    addShown(list, QStringLiteral("SGUNIDADE"), FieldType::Text, 10, QStringLiteral("Un."));
    addShown(list, QStringLiteral("VRITEMORCEVE"), FieldType::Float, 0, QStringLiteral("Preço Unitário"))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    addShown(list, QStringLiteral("VRACREITOREV"), FieldType::Float, 0, QStringLiteral("Vr. Acres."))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    addShown(list, QStringLiteral("VRDESCITOREV"), FieldType::Float, 0, QStringLiteral("Vr. Desc."))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    list.addCalculatedField(QStringLiteral("VRTOTALITEM"), FieldType::Float, 0)
        .setDisplayFormat(QStringLiteral("#,##0.00"));
}

void declareObsFields(RecordList &list)
{
    addShown(list, QStringLiteral("TXOBSJUSTORC"), FieldType::Blob, 0, QStringLiteral("Observação"));
    addHidden(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4);
    addHidden(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10);
    addHidden(list, QStringLiteral("NRSEQORCAEVE"), FieldType::Text, 2).setFixedChar(true);
    addHidden(list, QStringLiteral("DTHRHISTORCA"), FieldType::DateTime, 0);
    addHidden(list, QStringLiteral("CDOPERADOR"), FieldType::Text, 10);
}

} // namespace

void TfrmCancelamento::buildLists()
{
    cdsOrcamento = new RecordList(QStringLiteral("cdsOrcamento"), this);
    declareQuoteFields(*cdsOrcamento);
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

    cdsItemOrcaEven = new RecordList(QStringLiteral("cdsItemOrcaEven"), this);
    declareItemFields(*cdsItemOrcaEven);
    cdsItemOrcaEven->onCalcFields = [this](RecordList &list) { cdsItemOrcaEvenCalcFields(list); };
    cdsItemOrcaEven->beforeInsert = [](RecordList & /*list*/) {
        if (boInsGrid) {
            throw Abort();
        }
    };
    dtsItemOrcaEven = new TDataSource(this);
    dtsItemOrcaEven->setObjectName(QStringLiteral("dtsItemOrcaEven"));
    dtsItemOrcaEven->setDataSet(cdsItemOrcaEven);

    cdsMotivo = new RecordList(QStringLiteral("cdsMotivo"), this);
    addShown(*cdsMotivo, QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4, QStringLiteral("Código"));
    addShown(*cdsMotivo, QStringLiteral("DSJUSTEXCHIS"), FieldType::Text, 40, QStringLiteral("Nome"));
    cdsMotivo->afterPost = [this](RecordList &list) { cdsMotivoAfterPost(list); };
    dtsMotivo = new TDataSource(this);
    dtsMotivo->setObjectName(QStringLiteral("dtsMotivo"));
    dtsMotivo->setDataSet(cdsMotivo);

    cdsObs = new RecordList(QStringLiteral("cdsObs"), this);
    declareObsFields(*cdsObs);
    dtsObs = new TDataSource(this);
    dtsObs->setObjectName(QStringLiteral("dtsObs"));
    dtsObs->setDataSet(cdsObs);
    // Typing the justification is what puts it into edit.
    dtsObs->setAutoEdit(true);
    cdsObs->beforePost = [this](RecordList &list) { cdsObsBeforePost(list); };
    cdsObs->afterPost = [this](RecordList &list) { cdsObsAfterPost(list); };
    dtsObs->onStateChange = [this](TDataSource &sender) { dtsObsStateChange(sender); };

    cdsParamOrca = new RecordList(QStringLiteral("cdsParamOrca"), this);
    cdsParamOrca->addField(QStringLiteral("IDORIGPRUNITORE"), FieldType::Text, 1);

    qryFilial = new TADOIBQuery(QStringLiteral("qryFilial"), this);
    qryFilial->SQL = {QStringLiteral("SELECT CDFILIAL, NMFILIAL"), QStringLiteral("FROM FILIAL"),
                      QStringLiteral("WHERE CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T'"),
                      QStringLiteral("ORDER BY CDFILIAL")};
    addShown(*qryFilial, QStringLiteral("CDFILIAL"), FieldType::Text, 4, QStringLiteral("Código"));
    addShown(*qryFilial, QStringLiteral("NMFILIAL"), FieldType::Text, 30, QStringLiteral("Nome"));
    dstFilial = new TDataSource(this);
    dstFilial->setObjectName(QStringLiteral("dstFilial"));
    dstFilial->setDataSet(qryFilial);
}

QAction *TfrmCancelamento::addScreenAction(QMenu *menu, const QString &objectName, const QString &caption,
                                           const QKeySequence &shortcut,
                                           void (TfrmCancelamento::*handler)(QObject *))
{
    auto *action = new QAction(caption, this);
    action->setObjectName(objectName);
    action->setShortcut(shortcut);
    // Two open screens never fight over a key.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this,
            [this, action, handler] { HostGuard::run([this, action, handler] { (this->*handler)(action); }); });
    if (menu) {
        menu->addAction(action);
    }
    addAction(action);
    return action;
}

void TfrmCancelamento::buildToolBarAndMenus()
{
    sbtFiltro = new TButtonFlat(panMenu);
    sbtFiltro->setObjectName(QStringLiteral("sbtFiltro"));
    sbtFiltro->SetHint(QStringLiteral("Filtrar"));
    // Two pictures: one for use, a greyed one while filtering is not allowed.
    QIcon filtro;
    const QPixmap up = style()->standardPixmap(QStyle::SP_FileDialogContentsView);
    filtro.addPixmap(up, QIcon::Normal);
    QStyleOption option;
    option.initFrom(sbtFiltro);
    filtro.addPixmap(style()->generatedIconPixmap(QIcon::Disabled, up, &option), QIcon::Disabled);
    sbtFiltro->SetGlyph(filtro);
    connect(sbtFiltro, &QAbstractButton::clicked, this,
            [this] { HostGuard::run([this] { sbtFiltroClick(sbtFiltro); }); });
    insertToolButton(sbtFiltro);

    sbtHabilita = new TButtonFlat(panMenu);
    sbtHabilita->setObjectName(QStringLiteral("sbtHabilita"));
    sbtHabilita->SetHint(QStringLiteral("Habilitar"));
    sbtHabilita->SetGlyph(style()->standardIcon(QStyle::SP_DialogYesButton));
    sbtHabilita->setEnabled(false);
    connect(sbtHabilita, &QAbstractButton::clicked, this,
            [this] { HostGuard::run([this] { sbtHabilitaClick(sbtHabilita); }); });
    insertToolButton(sbtHabilita);
    sbtImprimir->setEnabled(false);

    imgCheck = new QLabel(panMenu);
    imgCheck->setObjectName(QStringLiteral("imgCheck"));
    imgCheck->setPixmap(MarkGlyphs::Checked());
    imgCheck->hide();
    imgUncheck = new QLabel(panMenu);
    imgUncheck->setObjectName(QStringLiteral("imgUncheck"));
    imgUncheck->setPixmap(MarkGlyphs::Unchecked());
    imgUncheck->hide();

    // The page items come ahead of the base's listing items.
    mnuFolhaDados = addScreenAction(nullptr, QStringLiteral("mnuFolhaDados"), QStringLiteral("&Folha de Dados"),
                                    QKeySequence(), &TfrmCancelamento::mnuFolhaDadosClick);
    mnuItens = addScreenAction(nullptr, QStringLiteral("mnuItens"), QStringLiteral("&Itens"), QKeySequence(),
                               &TfrmCancelamento::mnuItensClick);
    mnuMotivo = addScreenAction(nullptr, QStringLiteral("mnuMotivo"), QStringLiteral("&Motivo"), QKeySequence(),
                                &TfrmCancelamento::mnuMotivoClick);
    N1 = new QAction(this);
    N1->setObjectName(QStringLiteral("N1"));
    N1->setSeparator(true);
    N1->setEnabled(false);
    mnuOperacao->insertActions(mnuListagem, {mnuFolhaDados, mnuItens, mnuMotivo, N1});
    mnuListagem->setEnabled(false);
    mnuConfigImpressora->setEnabled(false);

    N2 = mnuManutencao->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    mnuFiltrar = addScreenAction(mnuManutencao, QStringLiteral("mnuFiltrar"), QStringLiteral("Fi&ltrar"),
                                 QKeySequence(Qt::CTRL | Qt::Key_L), &TfrmCancelamento::mnuFiltrarClick);
    N3 = mnuManutencao->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    mnuHabilita = addScreenAction(mnuManutencao, QStringLiteral("mnuHabilita"), QStringLiteral("&Habilitar"),
                                  QKeySequence(Qt::CTRL | Qt::Key_H), &TfrmCancelamento::mnuHabilitaClick);
    mnuHabilita->setEnabled(false);
    sbtFiltro->SetShortcutHint(mnuFiltrar->shortcut());
    sbtHabilita->SetShortcutHint(mnuHabilita->shortcut());

    dbtNome->setDataField(QStringLiteral("NMFANTCLIE"));
}

void TfrmCancelamento::buildHistoricoExportar()
{
    mnuHistorico = addScreenAction(nullptr, QStringLiteral("mnuHistorico"), QStringLiteral("&Histórico"),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H), &TfrmCancelamento::mnuHistoricoClick);
    mnuExportar = addScreenAction(nullptr, QStringLiteral("mnuExportar"), QStringLiteral("&Exportar"),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &TfrmCancelamento::mnuExportarClick);
    N4 = new QAction(this);
    N4->setObjectName(QStringLiteral("N4"));
    N4->setSeparator(true);
    mnuOperacao->insertActions(mnuListagem, {mnuHistorico, mnuExportar, N4});
    // Nothing is listed yet.
    mnuHistorico->setEnabled(false);
    mnuExportar->setEnabled(false);
    // A list loaded or emptied without a change of state still opens or
    // closes them. A quote being edited is followed at its change of state:
    // halfway through its post its stored state is not yet known.
    connect(dtsPadrao, &TDataSource::dataChanged, this, [this] {
        if (!editando()) {
            Habilita();
        }
    });
}

void TfrmCancelamento::buildBranchPanel()
{
    panFilial = new QFrame(this);
    panFilial->setObjectName(QStringLiteral("panFilial"));
    panFilial->setFixedHeight(34);
    auto *row = new QHBoxLayout(panFilial);
    row->setContentsMargins(6, 2, 6, 2);

    lblFilial = boldLabel(QStringLiteral("Filial"), panFilial);
    lblFilial->setObjectName(QStringLiteral("lblFilial"));
    medCdFilial = new QLineEdit(panFilial);
    medCdFilial->setObjectName(QStringLiteral("medCdFilial"));
    // Up to four letters or digits, in upper case; an empty place shows as a blank.
    medCdFilial->setInputMask(QStringLiteral(">nnnn; "));
    medCdFilial->setMaxLength(4);
    medCdFilial->setFixedWidth(48);
    paintBackground(medCdFilial, QPalette::ToolTipBase);
    lblFilial->setBuddy(medCdFilial);
    connect(medCdFilial, &QLineEdit::textChanged, this, [this] { medCdFilialChange(); });

    btnFilial = new TBtnPesquisa(panFilial);
    btnFilial->setObjectName(QStringLiteral("btnFilial"));
    btnFilial->setToolTip(QStringLiteral("Pesquisar"));
    btnFilial->setAssociatedEdit(medCdFilial);
    btnFilial->setTitle(QStringLiteral("Filial"));
    btnFilial->setDataSource(dstFilial);
    btnFilial->setEmptyMessage(QStringLiteral("Não há filial cadastrada."));
    btnFilial->onBeforePesq = [this](TBtnPesquisa &sender, bool &proceed) { btnFilialBeforePesq(sender, proceed); };
    btnFilial->onAfterPesq = [this](TBtnPesquisa &sender) { btnFilialAfterPesq(sender); };

    edtNmFilial = new QLineEdit(panFilial);
    edtNmFilial->setObjectName(QStringLiteral("edtNmFilial"));
    edtNmFilial->setEnabled(false);
    edtNmFilial->setFixedWidth(260);
    paintBackground(edtNmFilial, QPalette::Button);

    row->addWidget(lblFilial);
    row->addWidget(medCdFilial);
    row->addWidget(btnFilial);
    row->addWidget(edtNmFilial);
    row->addStretch(1);
    insertBand(panFilial);
    pgcPadrao->setEnabled(false);
}

void TfrmCancelamento::buildItemsPage()
{
    tshItens = new QWidget;
    tshItens->setObjectName(QStringLiteral("tshItens"));
    auto *page = new QVBoxLayout(tshItens);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    panCabecalho = new QFrame(tshItens);
    panCabecalho->setObjectName(QStringLiteral("panCabecalho"));
    auto *header = new QVBoxLayout(panCabecalho);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(0);

    panCabecalhoOrca = new QFrame(panCabecalho);
    panCabecalhoOrca->setObjectName(QStringLiteral("panCabecalhoOrca"));
    panCabecalhoOrca->setMinimumHeight(68);
    auto *quote = new QGridLayout(panCabecalhoOrca);
    quote->setContentsMargins(6, 2, 6, 2);
    quote->setVerticalSpacing(0);
    const auto value = [this](const QString &fieldName) {
        auto *text = new TDBText(panCabecalhoOrca);
        text->setObjectName(QStringLiteral("dbt") + fieldName);
        text->setDataSource(dtsPadrao);
        text->setDataField(fieldName);
        return text;
    };
    quote->addWidget(boldLabel(QStringLiteral("Cliente"), panCabecalhoOrca), 0, 0);
    quote->addWidget(value(QStringLiteral("NMFANTCLIE")), 0, 1, 1, 3);
    quote->addWidget(boldLabel(QStringLiteral("Tipo de Evento"), panCabecalhoOrca), 1, 0);
    quote->addWidget(value(QStringLiteral("NMTIPOEVENTO")), 1, 1);
    quote->addWidget(boldLabel(QStringLiteral("Data/Hora"), panCabecalhoOrca), 1, 2);
    quote->addWidget(value(QStringLiteral("DTEVENTO")), 1, 3);
    quote->addWidget(boldLabel(QStringLiteral("Nr. Convidados"), panCabecalhoOrca), 2, 0);
    quote->addWidget(value(QStringLiteral("QTCONVORCEVE")), 2, 1);
    quote->addWidget(boldLabel(QStringLiteral("Tipo de Serviço"), panCabecalhoOrca), 3, 0);
    quote->addWidget(value(QStringLiteral("NMTPSERVEVEN")), 3, 1);
    quote->setColumnStretch(1, 1);
    quote->setColumnStretch(3, 1);

    panPrecoBase = new QFrame(panCabecalho);
    panPrecoBase->setObjectName(QStringLiteral("panPrecoBase"));
    panPrecoBase->setFixedHeight(30);
    auto *price = new QHBoxLayout(panPrecoBase);
    price->setContentsMargins(6, 2, 6, 2);
    lblPrecoBase = boldLabel(QStringLiteral("Preço Base"), panPrecoBase);
    lblPrecoBase->setObjectName(QStringLiteral("lblPrecoBase"));
    dbePrecoBase = new TDBEdit(panPrecoBase);
    dbePrecoBase->setObjectName(QStringLiteral("dbePrecoBase"));
    dbePrecoBase->setDataSource(dtsPadrao);
    dbePrecoBase->setDataField(QStringLiteral("CDPRECOBASE"));
    dbePrecoBase->setFixedWidth(40);
    dbePrecoBase->setEnabled(false);
    btnPrcBase = new TBtnPesquisa(panPrecoBase);
    btnPrcBase->setObjectName(QStringLiteral("btnPrcBase"));
    btnPrcBase->setToolTip(QStringLiteral("Pesquisar"));
    btnPrcBase->setTitle(QStringLiteral("Preço Base"));
    btnPrcBase->setEmptyMessage(QStringLiteral("Não há preço base cadastrado."));
    btnPrcBase->setAssociatedEdit(dbePrecoBase);
    btnPrcBase->setEnabled(false);
    dbeNmPrecoBase = new TDBEdit(panPrecoBase);
    dbeNmPrecoBase->setObjectName(QStringLiteral("dbeNmPrecoBase"));
    dbeNmPrecoBase->setDataSource(dtsPadrao);
    dbeNmPrecoBase->setDataField(QStringLiteral("DSPRECOBASE"));
    dbeNmPrecoBase->setFixedWidth(220);
    dbeNmPrecoBase->setEnabled(false);
    price->addWidget(lblPrecoBase);
    price->addWidget(dbePrecoBase);
    price->addWidget(btnPrcBase);
    price->addWidget(dbeNmPrecoBase);
    price->addStretch(1);

    header->addWidget(panCabecalhoOrca, 1);
    header->addWidget(panPrecoBase);
    panCabecalho->setFixedHeight(100);

    dbgItem = new TDBGrid(tshItens);
    dbgItem->setObjectName(QStringLiteral("dbgItem"));
    dbgItem->setDataSource(dtsItemOrcaEven);
    dbgItem->setFrameShape(QFrame::NoFrame);
    paintBackground(dbgItem, QPalette::ToolTipBase);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    dbgItem->setColumns({
        coluna(QStringLiteral("CDARVPROD"), {}, 100),
        coluna(QStringLiteral("NMPRODUTO"), {}, 276),
        coluna(QStringLiteral("QTITEMORCEVE"), {}, -1, right),
        coluna(QStringLiteral("SGUNIDADE"), {}, 32),
        coluna(QStringLiteral("VRITEMORCEVE"), {}, 72, right),
        coluna(QStringLiteral("VRDESCITOREV"), {}, 60, right),
        coluna(QStringLiteral("VRACREITOREV"), {}, 60, right),
        coluna(QStringLiteral("VRTOTALITEM"), QStringLiteral("Vr. Total"), 65, right),
    });
    dbgItem->onKeyDown = [this](TDBGrid &sender, int &key, Qt::KeyboardModifiers shift) {
        dbgItemKeyDown(sender, key, shift);
    };

    page->addWidget(panCabecalho);
    page->addWidget(dbgItem, 1);
    pgcPadrao->addTab(tshItens, QStringLiteral("Itens"));
}

void TfrmCancelamento::buildReasonPage()
{
    tshMotivo = new QWidget;
    tshMotivo->setObjectName(QStringLiteral("tshMotivo"));
    auto *page = new QVBoxLayout(tshMotivo);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    lblOrcamentoMotivo = boldLabel(QString(), tshMotivo);
    lblOrcamentoMotivo->setObjectName(QStringLiteral("lblOrcamentoMotivo"));
    lblOrcamentoMotivo->setContentsMargins(6, 4, 6, 0);
    connect(dtsPadrao, &TDataSource::currentChanged, this, &TfrmCancelamento::identificaOrcamentoMotivo);
    connect(dtsPadrao, &TDataSource::dataChanged, this, &TfrmCancelamento::identificaOrcamentoMotivo);

    pnlMotivo = new QFrame(tshMotivo);
    pnlMotivo->setObjectName(QStringLiteral("pnlMotivo"));
    auto *row = new QHBoxLayout(pnlMotivo);
    row->setContentsMargins(6, 2, 6, 2);
    lblNmMot = boldLabel(QStringLiteral("Motivo"), pnlMotivo);
    lblNmMot->setObjectName(QStringLiteral("lblNmMot"));
    edtCdMotivo = new QLineEdit(pnlMotivo);
    edtCdMotivo->setObjectName(QStringLiteral("edtCdMotivo"));
    edtCdMotivo->setMaxLength(4);
    edtCdMotivo->setFixedWidth(48);
    paintBackground(edtCdMotivo, QPalette::ToolTipBase);
    lblNmMot->setBuddy(edtCdMotivo);
    ControlKeyPress::watch(edtCdMotivo, [this](QChar &key) { edtCdMotivoKeyPress(key); });
    btpMotivo = new TBtnPesquisa(pnlMotivo);
    btpMotivo->setObjectName(QStringLiteral("btpMotivo"));
    btpMotivo->setAssociatedEdit(edtCdMotivo);
    btpMotivo->setDataSource(dtsMotivo);
    btpMotivo->setEnabled(false);
    btpMotivo->onClick = [this](TBtnPesquisa &sender) { btpMotivoClick(&sender); };
    edtNmMotivo = new QLineEdit(pnlMotivo);
    edtNmMotivo->setObjectName(QStringLiteral("edtNmMotivo"));
    edtNmMotivo->setEnabled(false);
    edtNmMotivo->setFixedWidth(300);
    paintBackground(edtNmMotivo, QPalette::Button);
    row->addWidget(lblNmMot);
    row->addWidget(edtCdMotivo);
    row->addWidget(btpMotivo);
    row->addWidget(edtNmMotivo);
    row->addStretch(1);

    dbmMotivo = new TDBMemo(tshMotivo);
    dbmMotivo->setObjectName(QStringLiteral("dbmMotivo"));
    dbmMotivo->setFrameShape(QFrame::NoFrame);
    dbmMotivo->setDataSource(dtsObs);
    dbmMotivo->setDataField(QStringLiteral("TXOBSJUSTORC"));
    // Tab leaves the justification as it leaves every other field.
    dbmMotivo->setTabChangesFocus(true);

    page->addWidget(lblOrcamentoMotivo);
    page->addWidget(pnlMotivo);
    page->addWidget(dbmMotivo, 1);
    pgcPadrao->addTab(tshMotivo, QStringLiteral("Motivo"));
    pgcPadrao->onChange = [this](TCustomPageControl98 &sender) { pgcPadraoOnChange(sender); };
}

void TfrmCancelamento::identificaOrcamentoMotivo()
{
    const RecordList *lista = dtsPadrao->dataSet();
    if (!lista || !lista->isActive() || lista->isEmpty()) {
        lblOrcamentoMotivo->clear();
        return;
    }
    const auto campo = [lista](const char *name) { return lista->fieldByName(QLatin1String(name)).asString(); };
    lblOrcamentoMotivo->setText(QStringLiteral("Orçamento %1, sequência %2 — %3")
                                    .arg(campo("NRORCAEVENTO"), campo("NRSEQORCAEVE"), campo("NMFANTCLIE")));
}

void TfrmCancelamento::buildGridColumns()
{
    // A white heavy check mark over the column of marks.
    TDBGrid::Column mark = coluna(QStringLiteral("IDCHECK"), QStringLiteral("\u2714"), 18, Qt::AlignCenter);
    mark.titleColor = Qt::white;
    dbgPadrao->setColumns({
        mark,
        coluna(QStringLiteral("NRORCAEVENTO"), QStringLiteral("Nr. Orçamento"), 85),
        coluna(QStringLiteral("NRSEQORCAEVE"), QStringLiteral("Seq.")),
        coluna(QStringLiteral("NMFANTCLIE"), QStringLiteral("Cliente"), 242),
        coluna(QStringLiteral("IDSITUORCEVE"), QStringLiteral("Situação"), 80),
        coluna(QStringLiteral("NMTPSERVEVEN"), QStringLiteral("Tipo de Serviço"), 130),
        coluna(QStringLiteral("NMTIPOEVENTO"), QStringLiteral("Tipo de Evento"), 130),
        coluna(QStringLiteral("DTEVENTO"), QStringLiteral("Dt. Evento")),
        coluna(QStringLiteral("DTVALIORCEVE"), QStringLiteral("Dt. Validade")),
        coluna(QStringLiteral("DTINCLORCEVE"), QStringLiteral("Dt. Origem")),
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

void TfrmCancelamento::watchFocus()
{
    const auto unlessClosing = [this](void (TfrmCancelamento::*handler)()) {
        return [this, handler] {
            if (!m_fechando) {
                (this->*handler)();
            }
        };
    };
    FocusEvents::watch(panFilial, unlessClosing(&TfrmCancelamento::panFilialEnter),
                       unlessClosing(&TfrmCancelamento::panFilialExit));
    FocusEvents::watch(medCdFilial, {}, unlessClosing(&TfrmCancelamento::medCdFilialExit));
    FocusEvents::watch(dbgPadrao, unlessClosing(&TfrmCancelamento::dbgPadraoEnter), {});
    FocusEvents::watch(edtCdMotivo, unlessClosing(&TfrmCancelamento::edtCdMotivoEnter),
                       unlessClosing(&TfrmCancelamento::edtCdMotivoExit));
    FocusEvents::watch(pnlMotivo, {}, unlessClosing(&TfrmCancelamento::pnlMotivoExit));
}

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
#include <QVBoxLayout>

namespace {

QLabel *rotuloNegrito(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Code fields take the information-tip colour; names filled by the screen
// take the button face.
void pintaFundo(QWidget *widget, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(role));
    widget->setPalette(palette);
}

Field &campoVisivel(RecordList &list, const QString &name, FieldType type, int size, const QString &label)
{
    Field &field = list.addField(name, type, size);
    field.setDisplayLabel(label);
    return field;
}

Field &campoOculto(RecordList &list, const QString &name, FieldType type, int size)
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

void declaraCamposOrcamento(RecordList &list)
{
    Field &check = campoOculto(list, QStringLiteral("IDCHECK"), FieldType::Text, 1);
    check.setProviderFlags(Field::InUpdate | Field::InWhere | Field::InKey | Field::Hidden);
    campoVisivel(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10, QStringLiteral("Nr. Orçamento"))
        .setReadOnly(true);
    campoVisivel(list, QStringLiteral("NRSEQORCAEVE"), FieldType::Text, 2, QStringLiteral("Seq.")).setFixedChar(true);
    campoOculto(list, QStringLiteral("NMCLIEORCEVE"), FieldType::Text, 50).setDisplayLabel(QStringLiteral("Cliente"));
    Field &fantasia = campoVisivel(list, QStringLiteral("NMFANTCLIE"), FieldType::Text, 50, QStringLiteral("Cliente"));
    fantasia.setDisplayWidth(60);
    fantasia.setReadOnly(true);
    campoOculto(list, QStringLiteral("IDSITUORCEVE"), FieldType::Text, 1).setDisplayLabel(QStringLiteral("Situação"));
    campoOculto(list, QStringLiteral("CDTPSERVEVEN"), FieldType::Text, 3);
    campoVisivel(list, QStringLiteral("NMTPSERVEVEN"), FieldType::Text, 30, QStringLiteral("Tipo de serviço"))
        .setReadOnly(true);
    campoOculto(list, QStringLiteral("CDTIPOEVENTO"), FieldType::Text, 3);
    campoVisivel(list, QStringLiteral("NMTIPOEVENTO"), FieldType::Text, 30, QStringLiteral("Tipo de evento"))
        .setReadOnly(true);
    campoOculto(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4);
    campoOculto(list, QStringLiteral("QTCONVORCEVE"), FieldType::Float, 0)
        .setDisplayLabel(QStringLiteral("Nr. Convidados"));
    campoOculto(list, QStringLiteral("DSPRECOBASE"), FieldType::Text, 30);
    campoOculto(list, QStringLiteral("CDPRECOBASE"), FieldType::Text, 2);
    campoOculto(list, QStringLiteral("CDVENDEDOR"), FieldType::Text, 4);
    campoOculto(list, QStringLiteral("CDCLIENTE"), FieldType::Text, 21);
    campoOculto(list, QStringLiteral("DSTITUORCEVE"), FieldType::Text, 100);
    campoOculto(list, QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4);
    campoVisivel(list, QStringLiteral("DTEVENTO"), FieldType::DateTime, 0, QStringLiteral("Dt. Evento"));
    campoVisivel(list, QStringLiteral("DTVALIORCEVE"), FieldType::DateTime, 0, QStringLiteral("Dt. Validade"));
    campoVisivel(list, QStringLiteral("DTINCLORCEVE"), FieldType::DateTime, 0, QStringLiteral("Dt. Origem"));
    campoOculto(list, QStringLiteral("CDOPEJUSTORC"), FieldType::Text, 12);
}

void declaraCamposItens(RecordList &list)
{
    campoOculto(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4).setDisplayLabel(QStringLiteral("Código"));
    campoOculto(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10);
    campoOculto(list, QStringLiteral("NRITEMORCEVE"), FieldType::Text, 10);
    campoOculto(list, QStringLiteral("CDPRODUTO"), FieldType::Text, 10);
    campoOculto(list, QStringLiteral("IDITOREVPROD"), FieldType::Text, 1);
    campoOculto(list, QStringLiteral("NROPCAITOREV"), FieldType::Text, 2);
    campoOculto(list, QStringLiteral("CDGRTOTAPROD"), FieldType::Text, 3);
    Field &produto = campoVisivel(list, QStringLiteral("CDARVPROD"), FieldType::Text, 20, QStringLiteral("Produto"));
    // The product code is shown the way the host writes product codes.
    produto.setOnGetText([](const Field &field, bool /*displayText*/) {
        return Consiste::FormatMaskText(field.editMask(), field.asString());
    });
    campoVisivel(list, QStringLiteral("NMPRODUTO"), FieldType::Text, 50, QStringLiteral("Nome do Produto"));
    campoVisivel(list, QStringLiteral("QTITEMORCEVE"), FieldType::Float, 0, QStringLiteral("Quantidade"))
        .setDisplayFormat(QStringLiteral("#,##0.000"));
    campoVisivel(list, QStringLiteral("SGUNIDADE"), FieldType::Text, 10, QStringLiteral("Un."));
    campoVisivel(list, QStringLiteral("VRITEMORCEVE"), FieldType::Float, 0, QStringLiteral("Preço Unitário"))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    campoVisivel(list, QStringLiteral("VRACREITOREV"), FieldType::Float, 0, QStringLiteral("Vr. Acres."))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    campoVisivel(list, QStringLiteral("VRDESCITOREV"), FieldType::Float, 0, QStringLiteral("Vr. Desc."))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    list.addCalculatedField(QStringLiteral("VRTOTALITEM"), FieldType::Float, 0)
        .setDisplayFormat(QStringLiteral("#,##0.00"));
}

void declaraCamposObs(RecordList &list)
{
    campoVisivel(list, QStringLiteral("TXOBSJUSTORC"), FieldType::Blob, 0, QStringLiteral("Observação"));
    campoOculto(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4);
    campoOculto(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10);
    campoOculto(list, QStringLiteral("NRSEQORCAEVE"), FieldType::Text, 2).setFixedChar(true);
    campoOculto(list, QStringLiteral("DTHRHISTORCA"), FieldType::DateTime, 0);
    campoOculto(list, QStringLiteral("CDOPERADOR"), FieldType::Text, 10);
}

} // namespace

void TfrmCancelamento::criaListas()
{
    cdsOrcamento = new RecordList(QStringLiteral("cdsOrcamento"), this);
    declaraCamposOrcamento(*cdsOrcamento);
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
    declaraCamposItens(*cdsItemOrcaEven);
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
    campoVisivel(*cdsMotivo, QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4, QStringLiteral("Código"));
    campoVisivel(*cdsMotivo, QStringLiteral("DSJUSTEXCHIS"), FieldType::Text, 40, QStringLiteral("Nome"));
    cdsMotivo->afterPost = [this](RecordList &list) { cdsMotivoAfterPost(list); };
    dtsMotivo = new TDataSource(this);
    dtsMotivo->setObjectName(QStringLiteral("dtsMotivo"));
    dtsMotivo->setDataSet(cdsMotivo);

    cdsObs = new RecordList(QStringLiteral("cdsObs"), this);
    declaraCamposObs(*cdsObs);
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
    campoVisivel(*qryFilial, QStringLiteral("CDFILIAL"), FieldType::Text, 4, QStringLiteral("Código"));
    campoVisivel(*qryFilial, QStringLiteral("NMFILIAL"), FieldType::Text, 30, QStringLiteral("Nome"));
    dstFilial = new TDataSource(this);
    dstFilial->setObjectName(QStringLiteral("dstFilial"));
    dstFilial->setDataSet(qryFilial);
}

QAction *TfrmCancelamento::criaAcao(QMenu *menu, const QString &objectName, const QString &caption,
                                    const QKeySequence &shortcut, void (TfrmCancelamento::*handler)(QObject *))
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

void TfrmCancelamento::criaBarraEMenus()
{
    sbtFiltro = new TButtonFlat(panMenu);
    sbtFiltro->setObjectName(QStringLiteral("sbtFiltro"));
    sbtFiltro->SetHint(QStringLiteral("Filtrar"));
    sbtFiltro->SetGlyph(style()->standardIcon(QStyle::SP_FileDialogContentsView));
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
    mnuFolhaDados = criaAcao(nullptr, QStringLiteral("mnuFolhaDados"), QStringLiteral("&Folha de Dados"),
                             QKeySequence(), &TfrmCancelamento::mnuFolhaDadosClick);
    mnuItens = criaAcao(nullptr, QStringLiteral("mnuItens"), QStringLiteral("&Itens"), QKeySequence(),
                        &TfrmCancelamento::mnuItensClick);
    mnuMotivo = criaAcao(nullptr, QStringLiteral("mnuMotivo"), QStringLiteral("&Motivo"), QKeySequence(),
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
    mnuFiltrar = criaAcao(mnuManutencao, QStringLiteral("mnuFiltrar"), QStringLiteral("Fi&ltrar"),
                          QKeySequence(Qt::CTRL | Qt::Key_L), &TfrmCancelamento::mnuFiltrarClick);
    N3 = mnuManutencao->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    mnuHabilita = criaAcao(mnuManutencao, QStringLiteral("mnuHabilita"), QStringLiteral("&Habilitar"),
                           QKeySequence(Qt::CTRL | Qt::Key_H), &TfrmCancelamento::mnuHabilitaClick);
    mnuHabilita->setEnabled(false);
    sbtFiltro->SetShortcutHint(mnuFiltrar->shortcut());
    sbtHabilita->SetShortcutHint(mnuHabilita->shortcut());

    dbtNome->setDataField(QStringLiteral("NMFANTCLIE"));
}

void TfrmCancelamento::criaHistoricoExportar()
{
    mnuHistorico = criaAcao(nullptr, QStringLiteral("mnuHistorico"), QStringLiteral("&Histórico"),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H), &TfrmCancelamento::mnuHistoricoClick);
    mnuExportar = criaAcao(nullptr, QStringLiteral("mnuExportar"), QStringLiteral("&Exportar"),
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

void TfrmCancelamento::criaPainelFilial()
{
    panFilial = new QFrame(this);
    panFilial->setObjectName(QStringLiteral("panFilial"));
    panFilial->setFixedHeight(34);
    auto *row = new QHBoxLayout(panFilial);
    row->setContentsMargins(6, 2, 6, 2);

    lblFilial = rotuloNegrito(QStringLiteral("Filial"), panFilial);
    lblFilial->setObjectName(QStringLiteral("lblFilial"));
    medCdFilial = new QLineEdit(panFilial);
    medCdFilial->setObjectName(QStringLiteral("medCdFilial"));
    // Up to four letters or digits, in upper case; an empty place shows as a blank.
    medCdFilial->setInputMask(QStringLiteral(">nnnn; "));
    medCdFilial->setMaxLength(4);
    medCdFilial->setFixedWidth(48);
    pintaFundo(medCdFilial, QPalette::ToolTipBase);
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
    pintaFundo(edtNmFilial, QPalette::Button);
    // The name is shown only for a branch checked or picked: from then on it
    // is the branch the screen works on, which the host names too.
    connect(edtNmFilial, &QLineEdit::textChanged, this, [this](const QString &nome) {
        if (!nome.isEmpty()) {
            SetBranch(medCdFilial->text(), nome);
        }
    });

    row->addWidget(lblFilial);
    row->addWidget(medCdFilial);
    row->addWidget(btnFilial);
    row->addWidget(edtNmFilial);
    row->addStretch(1);
    insertBand(panFilial);
    pgcPadrao->setEnabled(false);
}

void TfrmCancelamento::criaPaginaItens()
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
    quote->addWidget(rotuloNegrito(QStringLiteral("Cliente"), panCabecalhoOrca), 0, 0);
    quote->addWidget(value(QStringLiteral("NMFANTCLIE")), 0, 1, 1, 3);
    quote->addWidget(rotuloNegrito(QStringLiteral("Tipo de Evento"), panCabecalhoOrca), 1, 0);
    quote->addWidget(value(QStringLiteral("NMTIPOEVENTO")), 1, 1);
    quote->addWidget(rotuloNegrito(QStringLiteral("Data/Hora"), panCabecalhoOrca), 1, 2);
    quote->addWidget(value(QStringLiteral("DTEVENTO")), 1, 3);
    quote->addWidget(rotuloNegrito(QStringLiteral("Nr. Convidados"), panCabecalhoOrca), 2, 0);
    quote->addWidget(value(QStringLiteral("QTCONVORCEVE")), 2, 1);
    quote->addWidget(rotuloNegrito(QStringLiteral("Tipo de Serviço"), panCabecalhoOrca), 3, 0);
    quote->addWidget(value(QStringLiteral("NMTPSERVEVEN")), 3, 1);
    quote->setColumnStretch(1, 1);
    quote->setColumnStretch(3, 1);

    panPrecoBase = new QFrame(panCabecalho);
    panPrecoBase->setObjectName(QStringLiteral("panPrecoBase"));
    panPrecoBase->setFixedHeight(30);
    auto *price = new QHBoxLayout(panPrecoBase);
    price->setContentsMargins(6, 2, 6, 2);
    lblPrecoBase = rotuloNegrito(QStringLiteral("Preço Base"), panPrecoBase);
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
    pintaFundo(dbgItem, QPalette::ToolTipBase);
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

void TfrmCancelamento::criaPaginaMotivo()
{
    tshMotivo = new QWidget;
    tshMotivo->setObjectName(QStringLiteral("tshMotivo"));
    auto *page = new QVBoxLayout(tshMotivo);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    lblOrcamentoMotivo = rotuloNegrito(QString(), tshMotivo);
    lblOrcamentoMotivo->setObjectName(QStringLiteral("lblOrcamentoMotivo"));
    lblOrcamentoMotivo->setContentsMargins(6, 4, 6, 0);
    connect(dtsPadrao, &TDataSource::currentChanged, this, &TfrmCancelamento::identificaOrcamentoMotivo);
    connect(dtsPadrao, &TDataSource::dataChanged, this, &TfrmCancelamento::identificaOrcamentoMotivo);

    pnlMotivo = new QFrame(tshMotivo);
    pnlMotivo->setObjectName(QStringLiteral("pnlMotivo"));
    auto *row = new QHBoxLayout(pnlMotivo);
    row->setContentsMargins(6, 2, 6, 2);
    lblNmMot = rotuloNegrito(QStringLiteral("Motivo"), pnlMotivo);
    lblNmMot->setObjectName(QStringLiteral("lblNmMot"));
    edtCdMotivo = new QLineEdit(pnlMotivo);
    edtCdMotivo->setObjectName(QStringLiteral("edtCdMotivo"));
    edtCdMotivo->setMaxLength(4);
    edtCdMotivo->setFixedWidth(48);
    pintaFundo(edtCdMotivo, QPalette::ToolTipBase);
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
    // The reason's name is read, never typed: it reads as plain text beside
    // the code, and Tab passes it by; a click still selects it for copying.
    edtNmMotivo->setReadOnly(true);
    edtNmMotivo->setFrame(false);
    edtNmMotivo->setFocusPolicy(Qt::ClickFocus);
    edtNmMotivo->setFixedWidth(300);
    pintaFundo(edtNmMotivo, QPalette::Window);
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

void TfrmCancelamento::criaColunasGrade()
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

void TfrmCancelamento::vigiaFoco()
{
    const auto semFechar = [this](void (TfrmCancelamento::*handler)()) {
        return [this, handler] {
            if (!m_fechando) {
                (this->*handler)();
            }
        };
    };
    FocusEvents::watch(panFilial, semFechar(&TfrmCancelamento::panFilialEnter),
                       semFechar(&TfrmCancelamento::panFilialExit));
    FocusEvents::watch(medCdFilial, {}, semFechar(&TfrmCancelamento::medCdFilialExit));
    FocusEvents::watch(dbgPadrao, semFechar(&TfrmCancelamento::dbgPadraoEnter), {});
    FocusEvents::watch(edtCdMotivo, semFechar(&TfrmCancelamento::edtCdMotivoEnter),
                       semFechar(&TfrmCancelamento::edtCdMotivoExit));
    FocusEvents::watch(pnlMotivo, {}, semFechar(&TfrmCancelamento::pnlMotivoExit));
}

#include "CancellationPanels.h"

#include "CancellationFields.h"
#include "Consiste.h"
#include "RecordList.h"
#include "TADOIBQuery.h"
#include "TBtnPesquisa.h"
#include "TDataSource.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBMemo.h"
#include "TDBText.h"
#include "TMessages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
void paintBase(QWidget *widget, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(role));
    widget->setPalette(palette);
}

} // namespace

BranchPanel::BranchPanel(QWidget *parent)
    : QFrame(parent)
    , qryFilial(new TADOIBQuery(QStringLiteral("qryFilial"), this))
{
    qryFilial->SQL = {QStringLiteral("SELECT CDFILIAL, NMFILIAL"), QStringLiteral("FROM FILIAL"),
                      QStringLiteral("WHERE CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T'"),
                      QStringLiteral("ORDER BY CDFILIAL")};
    declareBranchFields(*qryFilial);
    auto *branches = new TDataSource(this);
    branches->setObjectName(QStringLiteral("dstFilial"));
    branches->setDataSet(qryFilial);

    setObjectName(QStringLiteral("panFilial"));
    setFixedHeight(34);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);

    auto *lblFilial = boldLabel(QStringLiteral("Filial"), this);
    lblFilial->setObjectName(QStringLiteral("lblFilial"));
    medCdFilial = new QLineEdit(this);
    medCdFilial->setObjectName(QStringLiteral("medCdFilial"));
    // Up to four letters or digits, in upper case; an empty place shows as a blank.
    medCdFilial->setInputMask(QStringLiteral(">nnnn; "));
    medCdFilial->setMaxLength(4);
    medCdFilial->setFixedWidth(48);
    paintBase(medCdFilial, QPalette::ToolTipBase);
    lblFilial->setBuddy(medCdFilial);

    btnFilial = new TBtnPesquisa(this);
    btnFilial->setObjectName(QStringLiteral("btnFilial"));
    btnFilial->setToolTip(QStringLiteral("Pesquisar"));
    btnFilial->setAssociatedEdit(medCdFilial);
    btnFilial->setTitle(QStringLiteral("Filial"));
    btnFilial->setDataSource(branches);
    btnFilial->setEmptyMessage(QStringLiteral("Não há filial cadastrada."));

    edtNmFilial = new QLineEdit(this);
    edtNmFilial->setObjectName(QStringLiteral("edtNmFilial"));
    edtNmFilial->setEnabled(false);
    edtNmFilial->setFixedWidth(260);
    paintBase(edtNmFilial, QPalette::Button);
    row->addWidget(lblFilial);
    row->addWidget(medCdFilial);
    row->addWidget(btnFilial);
    row->addWidget(edtNmFilial);
    row->addStretch(1);
}

void BranchPanel::find(const QString &code, const QString &all)
{
    qryFilial->ParamByName(QStringLiteral("P_CDFILIAL")).setAsString(code);
    qryFilial->ParamByName(QStringLiteral("P_TCDFILIAL")).setAsString(all);
    qryFilial->Open();
}

void BranchPanel::check(const TMessages &messages)
{
    if (Consiste::EmptyString(medCdFilial->text())) {
        medCdFilial->setFocus(Qt::OtherFocusReason);
        Consiste::MensErro(messages.Msg(QStringLiteral("Filial_N_Inf")), true);
    }
    medCdFilial->setText(Consiste::Ajusta(medCdFilial->text(), 4));
    find(medCdFilial->text(), QString());
    if (qryFilial->isEmpty()) {
        medCdFilial->setFocus(Qt::OtherFocusReason);
        Consiste::MensErro(messages.Msg(QStringLiteral("Filial_N_Cad")), true);
    }
    edtNmFilial->setText(qryFilial->fieldByName(QStringLiteral("NMFILIAL")).asString());
}

void BranchPanel::offerAll()
{
    find(QString(), QStringLiteral("T"));
}

void BranchPanel::takePicked()
{
    medCdFilial->setText(qryFilial->fieldByName(QStringLiteral("CDFILIAL")).asString());
    edtNmFilial->setText(qryFilial->fieldByName(QStringLiteral("NMFILIAL")).asString());
}

ItemsPage::ItemsPage(TDataSource *quotes, TDataSource *items)
{
    setObjectName(QStringLiteral("tshItens"));
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    panCabecalho = new QFrame(this);
    panCabecalho->setObjectName(QStringLiteral("panCabecalho"));
    auto *header = new QVBoxLayout(panCabecalho);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(0);

    auto *panCabecalhoOrca = new QFrame(panCabecalho);
    panCabecalhoOrca->setObjectName(QStringLiteral("panCabecalhoOrca"));
    panCabecalhoOrca->setMinimumHeight(68);
    auto *quote = new QGridLayout(panCabecalhoOrca);
    quote->setContentsMargins(6, 2, 6, 2);
    quote->setVerticalSpacing(0);
    const auto value = [panCabecalhoOrca, quotes](const QString &fieldName) {
        auto *text = new TDBText(panCabecalhoOrca);
        text->setObjectName(QStringLiteral("dbt") + fieldName);
        text->setDataSource(quotes);
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
    auto *lblPrecoBase = boldLabel(QStringLiteral("Preço Base"), panPrecoBase);
    lblPrecoBase->setObjectName(QStringLiteral("lblPrecoBase"));
    auto *dbePrecoBase = new TDBEdit(panPrecoBase);
    dbePrecoBase->setObjectName(QStringLiteral("dbePrecoBase"));
    dbePrecoBase->setDataSource(quotes);
    dbePrecoBase->setDataField(QStringLiteral("CDPRECOBASE"));
    dbePrecoBase->setFixedWidth(40);
    dbePrecoBase->setEnabled(false);
    auto *btnPrcBase = new TBtnPesquisa(panPrecoBase);
    btnPrcBase->setObjectName(QStringLiteral("btnPrcBase"));
    btnPrcBase->setToolTip(QStringLiteral("Pesquisar"));
    btnPrcBase->setTitle(QStringLiteral("Preço Base"));
    btnPrcBase->setEmptyMessage(QStringLiteral("Não há preço base cadastrado."));
    btnPrcBase->setAssociatedEdit(dbePrecoBase);
    btnPrcBase->setEnabled(false);
    auto *dbeNmPrecoBase = new TDBEdit(panPrecoBase);
    dbeNmPrecoBase->setObjectName(QStringLiteral("dbeNmPrecoBase"));
    dbeNmPrecoBase->setDataSource(quotes);
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

    dbgItem = new TDBGrid(this);
    dbgItem->setObjectName(QStringLiteral("dbgItem"));
    dbgItem->setDataSource(items);
    dbgItem->setFrameShape(QFrame::NoFrame);
    paintBase(dbgItem, QPalette::ToolTipBase);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    dbgItem->setColumns({
        gridColumn(QStringLiteral("CDARVPROD"), {}, 100),
        gridColumn(QStringLiteral("NMPRODUTO"), {}, 276),
        gridColumn(QStringLiteral("QTITEMORCEVE"), {}, -1, right),
        gridColumn(QStringLiteral("SGUNIDADE"), {}, 32),
        gridColumn(QStringLiteral("VRITEMORCEVE"), {}, 72, right),
        gridColumn(QStringLiteral("VRDESCITOREV"), {}, 60, right),
        gridColumn(QStringLiteral("VRACREITOREV"), {}, 60, right),
        gridColumn(QStringLiteral("VRTOTALITEM"), QStringLiteral("Vr. Total"), 65, right),
    });

    page->addWidget(panCabecalho);
    page->addWidget(dbgItem, 1);
}

void ItemsPage::showPriceBase(bool visivel)
{
    panPrecoBase->setVisible(visivel);
    panCabecalho->setFixedHeight(visivel ? 100 : 68);
}

ReasonPage::ReasonPage(TDataSource *quotes, TDataSource *reasons, TDataSource *justifications)
    : m_quotes(quotes)
{
    setObjectName(QStringLiteral("tshMotivo"));
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    lblOrcamentoMotivo = boldLabel(QString(), this);
    lblOrcamentoMotivo->setObjectName(QStringLiteral("lblOrcamentoMotivo"));
    lblOrcamentoMotivo->setContentsMargins(6, 4, 6, 0);
    connect(quotes, &TDataSource::currentChanged, this, &ReasonPage::nameQuote);
    connect(quotes, &TDataSource::dataChanged, this, &ReasonPage::nameQuote);

    pnlMotivo = new QFrame(this);
    pnlMotivo->setObjectName(QStringLiteral("pnlMotivo"));
    auto *row = new QHBoxLayout(pnlMotivo);
    row->setContentsMargins(6, 2, 6, 2);
    lblNmMot = boldLabel(QStringLiteral("Motivo"), pnlMotivo);
    lblNmMot->setObjectName(QStringLiteral("lblNmMot"));
    edtCdMotivo = new QLineEdit(pnlMotivo);
    edtCdMotivo->setObjectName(QStringLiteral("edtCdMotivo"));
    edtCdMotivo->setMaxLength(4);
    edtCdMotivo->setFixedWidth(48);
    paintBase(edtCdMotivo, QPalette::ToolTipBase);
    lblNmMot->setBuddy(edtCdMotivo);
    btpMotivo = new TBtnPesquisa(pnlMotivo);
    btpMotivo->setObjectName(QStringLiteral("btpMotivo"));
    btpMotivo->setAssociatedEdit(edtCdMotivo);
    btpMotivo->setDataSource(reasons);
    btpMotivo->setEnabled(false);
    edtNmMotivo = new QLineEdit(pnlMotivo);
    edtNmMotivo->setObjectName(QStringLiteral("edtNmMotivo"));
    // The reason's name is read, never typed: it reads as plain text beside
    // the code, and Tab passes it by; a click still selects it for copying.
    edtNmMotivo->setReadOnly(true);
    edtNmMotivo->setFrame(false);
    edtNmMotivo->setFocusPolicy(Qt::ClickFocus);
    edtNmMotivo->setFixedWidth(300);
    paintBase(edtNmMotivo, QPalette::Window);
    row->addWidget(lblNmMot);
    row->addWidget(edtCdMotivo);
    row->addWidget(btpMotivo);
    row->addWidget(edtNmMotivo);
    row->addStretch(1);

    dbmMotivo = new TDBMemo(this);
    dbmMotivo->setObjectName(QStringLiteral("dbmMotivo"));
    dbmMotivo->setFrameShape(QFrame::NoFrame);
    dbmMotivo->setDataSource(justifications);
    dbmMotivo->setDataField(QStringLiteral("TXOBSJUSTORC"));
    // Tab leaves the justification as it leaves every other field.
    dbmMotivo->setTabChangesFocus(true);

    page->addWidget(lblOrcamentoMotivo);
    page->addWidget(pnlMotivo);
    page->addWidget(dbmMotivo, 1);
}

void ReasonPage::nameQuote()
{
    const RecordList *list = m_quotes->dataSet();
    if (!list || !list->isActive() || list->isEmpty()) {
        lblOrcamentoMotivo->clear();
        return;
    }
    const auto field = [list](const char *name) { return list->fieldByName(QLatin1String(name)).asString(); };
    lblOrcamentoMotivo->setText(QStringLiteral("Orçamento %1, sequência %2 — %3")
                                    .arg(field("NRORCAEVENTO"), field("NRSEQORCAEVE"), field("NMFANTCLIE")));
}

TDBGrid::Column gridColumn(const QString &fieldName, const QString &title, int width, Qt::Alignment titleAlignment)
{
    TDBGrid::Column column;
    column.fieldName = fieldName;
    column.title = title;
    column.width = width;
    column.titleAlignment = titleAlignment;
    return column;
}

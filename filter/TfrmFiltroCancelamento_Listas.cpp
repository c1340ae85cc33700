// The list criteria: their radio pairs, the lookups over the local database
// that pick codes into the working lists, and the check that a criterion on
// "Lista" has codes.
#include "TfrmFiltroCancelamento.h"

#include "Cli_cxl04101.h"
#include "Consiste.h"
#include "ControlKeyDown.h"
#include "Corvane.h"
#include "Lib00210.h"
#include "Pesqlista.h"
#include "TADOIBQuery.h"
#include "TButtonFlat.h"
#include "TDataSource.h"
#include "TMessages.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

// The lookups never narrow their first choice: an empty list opens with
// nothing ticked.
constexpr bool semMarcarTodos = false;
constexpr int codigoProduto = 0;

TADOIBQuery *consulta(const QString &name, const QStringList &sql, TDataSource *&source, QObject *owner)
{
    auto *query = new TADOIBQuery(name, owner);
    query->SQL = sql;
    source = new TDataSource(owner);
    source->setObjectName(QStringLiteral("dts") + name.mid(3));
    source->setDataSet(query);
    return query;
}

Field &campo(TADOIBQuery *query, const char *name, int size, const QString &label)
{
    Field &field = query->addField(QLatin1String(name), FieldType::Text, size);
    field.setDisplayLabel(label);
    return field;
}

Field &oculto(TADOIBQuery *query, const char *name, int size)
{
    Field &field = query->addField(QLatin1String(name), FieldType::Text, size);
    field.setVisible(false);
    return field;
}

// Seller, client and service-type tables are read once per opening of the
// dialog: the dialog is short-lived and these tables hardly change.
void abre(TADOIBQuery &query)
{
    if (!query.Active()) {
        query.Open();
    }
}

} // namespace

void TfrmFiltroCancelamento::criaPesquisas()
{
    const QString codigo = QStringLiteral("Código");
    const QString nome = QStringLiteral("Nome");

    qryVendedor = consulta(QStringLiteral("qryVendedor"),
                           {QStringLiteral("SELECT"), QStringLiteral("   CDVENDEDOR,"), QStringLiteral("   NMFANVEN"),
                            QStringLiteral("FROM"), QStringLiteral("   VENDEDOR"), QStringLiteral("ORDER BY"),
                            QStringLiteral("   CDVENDEDOR")},
                           dtsVendedor, this);
    campo(qryVendedor, "CDVENDEDOR", 4, codigo).setRequired(true);
    campo(qryVendedor, "NMFANVEN", 50, nome);

    qryCliente = consulta(QStringLiteral("qryCliente"),
                          {QStringLiteral("SELECT"),
                           QStringLiteral("   C.CDCLIENTE , C.IDTPIJURCLIE, C.NRINSJURCLIE,"),
                           QStringLiteral("   C.NMFANTCLIE, C.NMRAZSOCCLIE, P.NMPAIS, "),
                           QStringLiteral("   M.SGESTADO  , M.NMMUNICIPIO , E.DSENDECLIE "),
                           QStringLiteral("FROM"),
                           QStringLiteral("   CLIENTE C, PAIS P, "),
                           QStringLiteral("   MUNICIPIO M, ENDECLIE E"),
                           QStringLiteral("WHERE "),
                           QStringLiteral("   (C.CDCLIENTE   = E.CDCLIENTE  ) AND"),
                           QStringLiteral("   (E.CDPAIS      = M.CDPAIS     ) AND"),
                           QStringLiteral("   (E.SGESTADO    = M.SGESTADO   ) AND"),
                           QStringLiteral("   (E.CDMUNICIPIO = M.CDMUNICIPIO) AND"),
                           QStringLiteral("   (M.CDPAIS      = P.CDPAIS     ) AND"),
                           QStringLiteral("   (IDTPENDECLIE  = 'P')"),
                           QStringLiteral("ORDER BY"),
                           QStringLiteral("   NRINSJURCLIE")},
                          dtsCliente, this);
    oculto(qryCliente, "CDCLIENTE", 21).setRequired(true);
    oculto(qryCliente, "IDTPIJURCLIE", 1);
    campo(qryCliente, "NRINSJURCLIE", 14, QStringLiteral("Nr. Inscrição"))
        .setOnGetText([this](const Field &field, bool /*displayText*/) { return qryClienteNRINSJURCLIEGetText(field); });
    campo(qryCliente, "NMFANTCLIE", 50, nome);
    campo(qryCliente, "NMRAZSOCCLIE", 50, QStringLiteral("Razão Social"));
    campo(qryCliente, "NMPAIS", 30, QStringLiteral("País"));
    campo(qryCliente, "SGESTADO", 2, QStringLiteral("Estado")).setRequired(true);
    campo(qryCliente, "NMMUNICIPIO", 30, QStringLiteral("Municipio"));
    campo(qryCliente, "DSENDECLIE", 50, QStringLiteral("Endereço"));

    qryTipoServ = consulta(QStringLiteral("qryTipoServ"),
                           {QStringLiteral("SELECT CDTPSERVEVEN, NMTPSERVEVEN"), QStringLiteral("FROM TIPOSERVEVEN"),
                            QStringLiteral("ORDER BY CDTPSERVEVEN")},
                           dtsTipoServ, this);
    campo(qryTipoServ, "CDTPSERVEVEN", 3, codigo);
    campo(qryTipoServ, "NMTPSERVEVEN", 30, nome);

    qryTipoEven = consulta(QStringLiteral("qryTipoEven"),
                           {QStringLiteral("SELECT CDTIPOEVENTO, NMTIPOEVENTO"), QStringLiteral("FROM TIPOEVENTO"),
                            QStringLiteral("ORDER BY CDTIPOEVENTO"), QStringLiteral(" ")},
                           dtsTipoEven, this);
    campo(qryTipoEven, "CDTIPOEVENTO", 3, codigo);
    campo(qryTipoEven, "NMTIPOEVENTO", 30, nome);

    qryProduto = consulta(QStringLiteral("qryProduto"),
                          {QStringLiteral("SELECT"), QStringLiteral("   CDARVPROD,"), QStringLiteral("   NMPRODUTO"),
                           QStringLiteral("FROM"), QStringLiteral("   PRODUTO"), QStringLiteral("ORDER BY"),
                           QStringLiteral("   CDARVPROD")},
                          dtsProduto, this);
    Field &produto = campo(qryProduto, "CDARVPROD", 20, codigo);
    produto.setDisplayWidth(20);
    produto.setOnGetText([this](const Field &field, bool /*displayText*/) { return qryProdutoCDARVPRODGetText(field); });
    campo(qryProduto, "NMPRODUTO", 50, nome);
}

void TfrmFiltroCancelamento::rbtTVendedorClick(QObject * /*sender*/)
{
    sbtVendedor->setEnabled(!rbtTVendedor->isChecked());
}

void TfrmFiltroCancelamento::rbtLVendedorClick(QObject * /*sender*/)
{
    sbtVendedor->setEnabled(rbtLVendedor->isChecked());
}

void TfrmFiltroCancelamento::rbtTClienteClick(QObject * /*sender*/)
{
    sbtCliente->setEnabled(!rbtTCliente->isChecked());
}

void TfrmFiltroCancelamento::rbtLClienteClick(QObject * /*sender*/)
{
    sbtCliente->setEnabled(rbtLCliente->isChecked());
}

void TfrmFiltroCancelamento::rbtTTipoServClick(QObject * /*sender*/)
{
    sbtTipoServ->setEnabled(!rbtTTipoServ->isChecked());
}

void TfrmFiltroCancelamento::rbtLTipoServClick(QObject * /*sender*/)
{
    sbtTipoServ->setEnabled(rbtLTipoServ->isChecked());
}

void TfrmFiltroCancelamento::rbtLTipoEvenClick(QObject * /*sender*/)
{
    sbtTipoEven->setEnabled(rbtLTipoEven->isChecked());
}

void TfrmFiltroCancelamento::rbtLVendedorKeyDown(int &key, Qt::KeyboardModifiers /*shift*/)
{
    if (key == Qt::Key_F9) {
        key = 0;
        sbtVendedorClick(sbtVendedor);
    }
}

void TfrmFiltroCancelamento::rbtLClienteKeyDown(int &key, Qt::KeyboardModifiers /*shift*/)
{
    if (key == Qt::Key_F9) {
        key = 0;
        sbtClienteClick(sbtCliente);
    }
}

void TfrmFiltroCancelamento::rbtLTipoServKeyDown(int &key, Qt::KeyboardModifiers /*shift*/)
{
    if (key == Qt::Key_F9) {
        key = 0;
        sbtTipoServClick(sbtTipoServ);
    }
}

void TfrmFiltroCancelamento::rbtLTipoEvenKeyDown(int &key, Qt::KeyboardModifiers /*shift*/)
{
    if (key == Qt::Key_F9) {
        key = 0;
        sbtTipoEvenClick(sbtTipoEven);
    }
}

void TfrmFiltroCancelamento::recusaTabelaVazia(const TADOIBQuery &query, const char *key, QWidget *focus)
{
    if (query.isEmpty()) {
        focus->setFocus();
        Consiste::MensErro(msgPadrao->Msg(QLatin1String(key)), true);
    }
}

void TfrmFiltroCancelamento::sbtVendedorClick(QObject * /*sender*/)
{
    abre(*qryVendedor);
    recusaTabelaVazia(*qryVendedor, "VEND", rbtLVendedor);
    Pesqlista::PesquisaLista(*dtsVendedor, QStringLiteral("CDVENDEDOR"), msgPadrao->Msg(QStringLiteral("VENDEDOR")),
                             semMarcarTodos, stVendedor);
    mostraQuantidades();
}

void TfrmFiltroCancelamento::sbtClienteClick(QObject * /*sender*/)
{
    abre(*qryCliente);
    recusaTabelaVazia(*qryCliente, "CLIE", rbtLCliente);
    Pesqlista::PesquisaLista(*dtsCliente, QStringLiteral("CDCLIENTE"), msgPadrao->Msg(QStringLiteral("CLIENTE")),
                             semMarcarTodos, stCliente);
    mostraQuantidades();
}

// An empty service-type table leaves nothing to pick: the cursor goes back
// to "Todos", the one choice that still makes sense.
void TfrmFiltroCancelamento::sbtTipoServClick(QObject * /*sender*/)
{
    abre(*qryTipoServ);
    recusaTabelaVazia(*qryTipoServ, "TPSERV_N_CAD", rbtTTipoServ);
    Pesqlista::PesquisaLista(*dtsTipoServ, QStringLiteral("CDTPSERVEVEN"), msgPadrao->Msg(QStringLiteral("TIPOSERV")),
                             semMarcarTodos, stTipoServ);
    mostraQuantidades();
}

void TfrmFiltroCancelamento::sbtTipoEvenClick(QObject * /*sender*/)
{
    abre(*qryTipoEven);
    const QString titulo =
        msgPadrao->Msg(QStringLiteral("TIPOEVEN")) + QLatin1Char('|') + msgPadrao->Msg(QStringLiteral("TIPOEVEN_N_CAD"));
    Pesqlista::PesquisaLista(*dtsTipoEven, QStringLiteral("CDTIPOEVENTO"), titulo, semMarcarTodos, stTipoEven);
    mostraQuantidades();
}

// Products are read again at every lookup, for the branch on the screen.
void TfrmFiltroCancelamento::sbtProdutoClick(QObject * /*sender*/)
{
    qryProduto->Close();
    qryProduto->Open();
    const QString filial = m_tela.filial ? m_tela.filial() : QString();
    const QString semProduto = Lib00210::SQL_Pesquisa_Produto(filial, QString(), *qryProduto, true);
    const QString titulo = msgPadrao->Msg(QStringLiteral("PRODUTO")) + QLatin1Char('|') + semProduto;
    Pesqlista::PesquisaLista(*dtsProduto, QStringLiteral("CDARVPROD"), titulo, semMarcarTodos, stProduto);
}

void TfrmFiltroCancelamento::mostraQuantidades()
{
    const std::pair<QRadioButton *, const QString &> listas[] = {
        {rbtLVendedor, stVendedor}, {rbtLCliente, stCliente}, {rbtLTipoServ, stTipoServ}, {rbtLTipoEven, stTipoEven}};
    for (const auto &[radio, lista] : listas) {
        const qsizetype codigos = lista.split(QLatin1Char('_'), Qt::SkipEmptyParts).size();
        radio->setText(codigos > 0 ? QStringLiteral("Lista (%1)").arg(codigos) : QStringLiteral("Lista"));
    }
}

void TfrmFiltroCancelamento::Vd_Lista()
{
    const struct {
        QRadioButton *lista;
        const QString &codigos;
        const char *key;
    } criterios[] = {
        {rbtLVendedor, stVendedor, "LVendedor"},
        {rbtLCliente, stCliente, "LCliente"},
        {rbtLTipoServ, stTipoServ, "LTipoServ"},
        {rbtLTipoEven, stTipoEven, "LTipoEven"},
    };
    for (const auto &criterio : criterios) {
        if (criterio.lista->isChecked() && Consiste::EmptyString(criterio.codigos)) {
            criterio.lista->setFocus();
            Consiste::MensErro(msgPadrao->Msg(QLatin1String(criterio.key)), true);
        }
    }
}

QString TfrmFiltroCancelamento::qryClienteNRINSJURCLIEGetText(const Field &field) const
{
    const QString tipoPessoa = field.recordList().fieldByName(QStringLiteral("IDTPIJURCLIE")).asString();
    return Consiste::FormatMaskText(Consiste::PictPess(tipoPessoa), field.asString());
}

QString TfrmFiltroCancelamento::qryProdutoCDARVPRODGetText(const Field &field) const
{
    return Consiste::FormatMaskText(Corvane::DBPict(codigoProduto), field.asString());
}

int ContaChecked(const QString &lista)
{
    return int(lista.count(QLatin1Char('_'))) + 1;
}

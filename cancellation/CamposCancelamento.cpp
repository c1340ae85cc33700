#include "CamposCancelamento.h"

#include "Consiste.h"
#include "RecordList.h"

namespace {

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

} // namespace

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

void declaraCamposMotivo(RecordList &list)
{
    campoVisivel(list, QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4, QStringLiteral("Código"));
    campoVisivel(list, QStringLiteral("DSJUSTEXCHIS"), FieldType::Text, 40, QStringLiteral("Nome"));
}

void declaraCamposFilial(RecordList &list)
{
    campoVisivel(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4, QStringLiteral("Código"));
    campoVisivel(list, QStringLiteral("NMFILIAL"), FieldType::Text, 30, QStringLiteral("Nome"));
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

#include "CancellationFields.h"

#include "Consiste.h"
#include "DayCount.h"
#include "QuoteKey.h"
#include "RecordList.h"

#include <QDate>

namespace {

Field &shownField(RecordList &list, const QString &name, FieldType type, int size, const QString &label)
{
    Field &field = list.addField(name, type, size);
    field.setDisplayLabel(label);
    return field;
}

Field &hiddenField(RecordList &list, const QString &name, FieldType type, int size)
{
    Field &field = list.addField(name, type, size);
    field.setVisible(false);
    return field;
}

} // namespace

void declareQuoteFields(RecordList &list)
{
    Field &check = hiddenField(list, QStringLiteral("IDCHECK"), FieldType::Text, 1);
    check.setProviderFlags(Field::InUpdate | Field::InWhere | Field::InKey | Field::Hidden);
    shownField(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10, QStringLiteral("Nr. Orçamento"))
        .setReadOnly(true);
    shownField(list, QStringLiteral("NRSEQORCAEVE"), FieldType::Text, 2, QStringLiteral("Seq.")).setFixedChar(true);
    hiddenField(list, QStringLiteral("NMCLIEORCEVE"), FieldType::Text, 50).setDisplayLabel(QStringLiteral("Cliente"));
    Field &fantasia = shownField(list, QStringLiteral("NMFANTCLIE"), FieldType::Text, 50, QStringLiteral("Cliente"));
    fantasia.setDisplayWidth(60);
    fantasia.setReadOnly(true);
    hiddenField(list, QStringLiteral("IDSITUORCEVE"), FieldType::Text, 1).setDisplayLabel(QStringLiteral("Situação"));
    hiddenField(list, QStringLiteral("CDTPSERVEVEN"), FieldType::Text, 3);
    shownField(list, QStringLiteral("NMTPSERVEVEN"), FieldType::Text, 30, QStringLiteral("Tipo de serviço"))
        .setReadOnly(true);
    hiddenField(list, QStringLiteral("CDTIPOEVENTO"), FieldType::Text, 3);
    shownField(list, QStringLiteral("NMTIPOEVENTO"), FieldType::Text, 30, QStringLiteral("Tipo de evento"))
        .setReadOnly(true);
    hiddenField(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4);
    hiddenField(list, QStringLiteral("QTCONVORCEVE"), FieldType::Float, 0)
        .setDisplayLabel(QStringLiteral("Nr. Convidados"));
    hiddenField(list, QStringLiteral("DSPRECOBASE"), FieldType::Text, 30);
    hiddenField(list, QStringLiteral("CDPRECOBASE"), FieldType::Text, 2);
    hiddenField(list, QStringLiteral("CDVENDEDOR"), FieldType::Text, 4);
    hiddenField(list, QStringLiteral("CDCLIENTE"), FieldType::Text, 21);
    hiddenField(list, QStringLiteral("DSTITUORCEVE"), FieldType::Text, 100);
    hiddenField(list, QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4);
    shownField(list, QStringLiteral("DTEVENTO"), FieldType::DateTime, 0, QStringLiteral("Dt. Evento"));
    shownField(list, QStringLiteral("DTVALIORCEVE"), FieldType::DateTime, 0, QStringLiteral("Dt. Validade"));
    shownField(list, QStringLiteral("DTINCLORCEVE"), FieldType::DateTime, 0, QStringLiteral("Dt. Origem"));
    hiddenField(list, QStringLiteral("CDOPEJUSTORC"), FieldType::Text, 12);
}

void declareItemFields(RecordList &list)
{
    hiddenField(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4).setDisplayLabel(QStringLiteral("Código"));
    hiddenField(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10);
    hiddenField(list, QStringLiteral("NRITEMORCEVE"), FieldType::Text, 10);
    hiddenField(list, QStringLiteral("CDPRODUTO"), FieldType::Text, 10);
    hiddenField(list, QStringLiteral("IDITOREVPROD"), FieldType::Text, 1);
    hiddenField(list, QStringLiteral("NROPCAITOREV"), FieldType::Text, 2);
    hiddenField(list, QStringLiteral("CDGRTOTAPROD"), FieldType::Text, 3);
    Field &produto = shownField(list, QStringLiteral("CDARVPROD"), FieldType::Text, 20, QStringLiteral("Produto"));
    // The product code is shown the way the host writes product codes.
    produto.setOnGetText([](const Field &field, bool /*displayText*/) {
        return Consiste::FormatMaskText(field.editMask(), field.asString());
    });
    shownField(list, QStringLiteral("NMPRODUTO"), FieldType::Text, 50, QStringLiteral("Nome do Produto"));
    shownField(list, QStringLiteral("QTITEMORCEVE"), FieldType::Float, 0, QStringLiteral("Quantidade"))
        .setDisplayFormat(QStringLiteral("#,##0.000"));
    shownField(list, QStringLiteral("SGUNIDADE"), FieldType::Text, 10, QStringLiteral("Un."));
    shownField(list, QStringLiteral("VRITEMORCEVE"), FieldType::Float, 0, QStringLiteral("Preço Unitário"))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    shownField(list, QStringLiteral("VRACREITOREV"), FieldType::Float, 0, QStringLiteral("Vr. Acres."))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    shownField(list, QStringLiteral("VRDESCITOREV"), FieldType::Float, 0, QStringLiteral("Vr. Desc."))
        .setDisplayFormat(QStringLiteral("#,##0.00"));
    list.addCalculatedField(QStringLiteral("VRTOTALITEM"), FieldType::Float, 0)
        .setDisplayFormat(QStringLiteral("#,##0.00"));
}

void declareReasonFields(RecordList &list)
{
    shownField(list, QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4, QStringLiteral("Código"));
    shownField(list, QStringLiteral("DSJUSTEXCHIS"), FieldType::Text, 40, QStringLiteral("Nome"));
}

void declareBranchFields(RecordList &list)
{
    shownField(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4, QStringLiteral("Código"));
    shownField(list, QStringLiteral("NMFILIAL"), FieldType::Text, 30, QStringLiteral("Nome"));
}

void declareJustificationFields(RecordList &list)
{
    shownField(list, QStringLiteral("TXOBSJUSTORC"), FieldType::Blob, 0, QStringLiteral("Observação"));
    hiddenField(list, QStringLiteral("CDFILIAL"), FieldType::Text, 4);
    hiddenField(list, QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10);
    hiddenField(list, QStringLiteral("NRSEQORCAEVE"), FieldType::Text, 2).setFixedChar(true);
    hiddenField(list, QStringLiteral("DTHRHISTORCA"), FieldType::DateTime, 0);
    hiddenField(list, QStringLiteral("CDOPERADOR"), FieldType::Text, 10);
}

void computeItemTotal(RecordList &items)
{
    const auto value = [&items](const char *name) -> long double {
        return items.fieldByName(QLatin1String(name)).asFloat();
    };
    // Formed in extended precision and rounded once, so the cents of the
    // total never drift from those of its parts.
    const long double total =
        value("QTITEMORCEVE") * value("VRITEMORCEVE") - value("VRDESCITOREV") + value("VRACREITOREV");
    items.fieldByName(QStringLiteral("VRTOTALITEM")).setAsFloat(Consiste::RoundDec(total, 2));
}

void fillJustification(RecordList &justification, const QuoteKey &key, const QString &text, const QString &operatorCode)
{
    const auto set = [&justification](const char *name, const QString &value) {
        justification.fieldByName(QLatin1String(name)).setAsString(value);
    };
    set("CDOPERADOR", operatorCode);
    set("CDFILIAL", key.branch);
    set("NRORCAEVENTO", key.number);
    set("NRSEQORCAEVE", key.sequence);
    set("TXOBSJUSTORC", text);
    justification.fieldByName(QStringLiteral("DTHRHISTORCA")).setAsDateTime(DayCount::fromDate(QDate::currentDate()));
}

#include "PacketLayouts.h"

namespace {

FieldDef text(const char *name, int size)
{
    return FieldDef{QString::fromLatin1(name), FieldType::Text, size};
}

FieldDef typed(const char *name, FieldType type)
{
    return FieldDef{QString::fromLatin1(name), type, 0};
}

QVariant stored(const QVariant &value, FieldType type)
{
    if (value.isNull()) {
        return {};
    }
    switch (type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Float:
    case FieldType::DateTime:
        return value.toDouble();
    case FieldType::Integer:
        return value.toLongLong();
    case FieldType::Blob:
        return value.toString().toUtf8();
    }
    return {};
}

} // namespace

namespace PacketLayouts {

QList<FieldDef> quoteFields()
{
    return {
        text("IDCHECK", 1),
        text("NRORCAEVENTO", 10),
        text("NRSEQORCAEVE", 2),
        text("NMCLIEORCEVE", 50),
        text("NMFANTCLIE", 50),
        text("IDSITUORCEVE", 1),
        text("CDTPSERVEVEN", 3),
        text("NMTPSERVEVEN", 30),
        text("CDTIPOEVENTO", 3),
        text("NMTIPOEVENTO", 30),
        text("CDFILIAL", 4),
        typed("QTCONVORCEVE", FieldType::Float),
        text("DSPRECOBASE", 30),
        text("CDPRECOBASE", 2),
        text("CDVENDEDOR", 4),
        text("CDCLIENTE", 21),
        text("DSTITUORCEVE", 100),
        text("CDJUSTEXCHIS", 4),
        typed("DTEVENTO", FieldType::DateTime),
        typed("DTVALIORCEVE", FieldType::DateTime),
        typed("DTINCLORCEVE", FieldType::DateTime),
        text("CDOPEJUSTORC", 12),
    };
}

QList<FieldDef> itemFields()
{
    return {
        text("CDFILIAL", 4),
        text("NRORCAEVENTO", 10),
        text("NRITEMORCEVE", 10),
        text("CDPRODUTO", 10),
        text("IDITOREVPROD", 1),
        text("NROPCAITOREV", 2),
        text("CDGRTOTAPROD", 3),
        text("CDARVPROD", 20),
        text("NMPRODUTO", 50),
        typed("QTITEMORCEVE", FieldType::Float),
        text("SGUNIDADE", 10),
        typed("VRITEMORCEVE", FieldType::Float),
        typed("VRACREITOREV", FieldType::Float),
        typed("VRDESCITOREV", FieldType::Float),
    };
}

QList<FieldDef> justificationFields()
{
    return {
        typed("TXOBSJUSTORC", FieldType::Blob),
        text("CDFILIAL", 4),
        text("NRORCAEVENTO", 10),
        text("NRSEQORCAEVE", 2),
        typed("DTHRHISTORCA", FieldType::DateTime),
        text("CDOPERADOR", 10),
    };
}

QList<FieldDef> reasonFields()
{
    return {text("CDJUSTEXCHIS", 4), text("DSJUSTEXCHIS", 40)};
}

QList<FieldDef> parameterFields()
{
    return {text("IDORIGPRUNITORE", 1)};
}

QList<FieldDef> hallBlockerFields()
{
    return {text("NRORCAEVENTO", 10), text("NRSEQORCAEVE", 2), text("NMFANTCLIE", 50), text("IDSITUORCEVE", 1),
            text("HREVENTO", 5)};
}

QList<FieldDef> historyFields()
{
    return {text("IDTIPOHIST", 1),   typed("DTHRHISTORCA", FieldType::DateTime), text("IDSITUANTORC", 1),
            text("IDSITUORCEVE", 1), text("CDJUSTEXCHIS", 4), text("DSJUSTEXCHIS", 40),
            text("CDOPERADOR", 12),  typed("TXOBSJUSTORC", FieldType::Blob)};
}

DataPacket read(QSqlQuery &query, const QList<FieldDef> &fields, int firstStored)
{
    DataPacket packet;
    packet.fields = fields;
    const int width = int(fields.size());
    while (query.next()) {
        QVariantList row;
        row.reserve(width);
        for (int i = 0; i < firstStored; ++i) {
            row.append(QVariant());
        }
        for (int i = firstStored; i < width; ++i) {
            row.append(stored(query.value(i - firstStored), fields.at(i).type));
        }
        packet.rows.append(std::move(row));
    }
    return packet;
}

} // namespace PacketLayouts

#include "PacketDifference.h"

#include "IntendedDifferences.h"

namespace {

bool sameValue(const QVariant &a, const QVariant &b, PacketDifference::Texts texts)
{
    if (a.metaType() != b.metaType()) {
        return false;
    }
    if (texts == PacketDifference::Texts::AsUtf8Keeps && a.metaType().id() == QMetaType::QString) {
        return IntendedDifferences::asUtf8Keeps(a.toString()) == IntendedDifferences::asUtf8Keeps(b.toString());
    }
    return a == b;
}

} // namespace

namespace PacketDifference {

QString between(const QList<FieldDef> &fields, const QList<QVariantList> &rows, const DataPacket &expected, Texts texts)
{
    QList<FieldDef> expectedFields = expected.fields;
    if (texts == Texts::AsUtf8Keeps) {
        for (FieldDef &field : expectedFields) {
            field.name = IntendedDifferences::asUtf8Keeps(field.name);
        }
    }
    if (fields != expectedFields) {
        return QStringLiteral("other fields");
    }
    if (rows.size() != expected.rows.size()) {
        return QStringLiteral("%1 rows instead of %2").arg(rows.size()).arg(expected.rows.size());
    }
    for (qsizetype row = 0; row < rows.size(); ++row) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QVariant got = rows.at(row).value(i);
            const QVariant want = expected.rows.at(row).value(i);
            if (!sameValue(got, want, texts)) {
                return QStringLiteral("row %1, field %2: %3 instead of %4").arg(row).arg(i).arg(got.toString(), want.toString());
            }
        }
    }
    return {};
}

} // namespace PacketDifference

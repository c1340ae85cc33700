#include "DeltaRows.h"

#include "FieldRules.h"
#include "Refusal.h"

namespace {

const QStringList keyFields{QStringLiteral("CDFILIAL"), QStringLiteral("NRORCAEVENTO"), QStringLiteral("NRSEQORCAEVE")};

} // namespace

DeltaRows::DeltaRows(const ChangeDelta &delta, const QList<FieldDef> &layout, const QString &what)
{
    for (int i = 0; i < delta.fields.size(); ++i) {
        const FieldDef &declared = delta.fields.at(i);
        const QString name = declared.name.toUpper();
        const auto known = std::find_if(layout.begin(), layout.end(), [&](const FieldDef &field) { return field.name == name; });
        if (known == layout.end()) {
            throw Refusal(QStringLiteral("O campo %1 não pertence a %2.").arg(declared.name, what));
        }
        if (declared.type != known->type) {
            throw Refusal(QStringLiteral("O campo %1 de %2 é %3, não %4.")
                              .arg(name, what, FieldRules::typeName(known->type), FieldRules::typeName(declared.type)));
        }
        m_index.insert(name, i);
        m_fields.append(*known);
    }
    for (const QString &field : keyFields) {
        if (!m_index.contains(field)) {
            throw Refusal(QStringLiteral("Falta o campo %1 nas alterações de %2.").arg(field, what));
        }
    }
    for (const RowChange &change : delta.changes) {
        for (const QVariantList *row : {&change.oldValues, &change.newValues}) {
            for (int i = 0; i < row->size(); ++i) {
                FieldRules::check(m_fields.at(i), row->at(i));
            }
        }
    }
}

QVariant DeltaRows::value(const QVariantList &row, const QString &field) const
{
    const int index = m_index.value(field, -1);
    if (index < 0 || index >= row.size()) {
        return {};
    }
    return row.at(index);
}

QString DeltaRows::text(const QVariantList &row, const QString &field) const
{
    const QVariant stored = value(row, field);
    const QString text = stored.typeId() == QMetaType::QByteArray ? QString::fromUtf8(stored.toByteArray()) : stored.toString();
    // QtSql binds a null QString as SQL NULL, which equals nothing.
    return text.isNull() ? QStringLiteral("") : text;
}

QuoteKey DeltaRows::key(const QVariantList &row) const
{
    return QuoteKey{text(row, keyFields.at(0)), text(row, keyFields.at(1)), text(row, keyFields.at(2))};
}

FieldType DeltaRows::type(const QString &field) const
{
    return m_fields.at(m_index.value(field)).type;
}

QVariant DeltaRows::comparable(const QVariantList &row, const QString &field) const
{
    switch (type(field)) {
    case FieldType::Float:
    case FieldType::DateTime:
        return value(row, field).isNull() ? 0.0 : value(row, field).toDouble();
    case FieldType::Integer:
        return value(row, field).isNull() ? qint64(0) : value(row, field).toLongLong();
    case FieldType::Text:
    case FieldType::Blob:
        return text(row, field);
    }
    return {};
}

QStringList DeltaRows::changedFields(const RowChange &change) const
{
    QStringList changed;
    for (auto it = m_index.constBegin(); it != m_index.constEnd(); ++it) {
        if (comparable(change.oldValues, it.key()) != comparable(change.newValues, it.key())) {
            changed.append(it.key());
        }
    }
    changed.sort();
    return changed;
}

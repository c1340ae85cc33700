#pragma once

#include "DataPacket.h"
#include "QuoteKey.h"

#include <QStringList>

// Reads the rows of a change delta by field name and compares original and
// current values the way storage does: an empty text equals NULL, an empty
// number or date equals 0.
class DeltaRows final {
public:
    // Checks the delta against the server's own layout of the table, never
    // against what the client declares: throws Refusal when a field is not
    // one of `layout` or has another type there, one of the key fields is
    // missing, or any original or current value breaks FieldRules.
    DeltaRows(const ChangeDelta &delta, const QList<FieldDef> &layout, const QString &what);

    bool has(const QString &field) const { return m_index.contains(field); }
    QVariant value(const QVariantList &row, const QString &field) const;
    QString text(const QVariantList &row, const QString &field) const;
    QuoteKey key(const QVariantList &row) const;
    // The fields whose current value differs from the original one.
    QStringList changedFields(const RowChange &change) const;
    // The value as storage compares it (see class comment).
    QVariant comparable(const QVariantList &row, const QString &field) const;
    FieldType type(const QString &field) const;

private:
    QHash<QString, int> m_index;
    QList<FieldDef> m_fields; // the layout's definition of each delta field, in delta order
};

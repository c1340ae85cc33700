#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QVariant>

// The shapes that travel between the client and the application server.
// In memory a value is a QVariant holding: QString for text, double for
// float and date-time (days since 1899-12-30, 0 = empty date), qint64 for
// integer, QByteArray for blob; an invalid QVariant is the empty value.

enum class FieldType { Text, Float, Integer, DateTime, Blob };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters for text; 0 where the type has no size

    friend bool operator==(const FieldDef &, const FieldDef &) = default;
};

// The position of the field named `name` (without regard to case), -1 when
// there is none.
int fieldIndex(const QList<FieldDef> &fields, const QString &name);

struct DataPacket {
    QList<FieldDef> fields;
    QList<QVariantList> rows;

    int indexOf(const QString &fieldName) const;
};

struct RowChange {
    enum class Op { Insert, Update, Delete };
    Op op = Op::Update;
    QVariantList oldValues; // original values (update, delete)
    QVariantList newValues; // current values (insert, update)
};

struct ChangeDelta {
    QList<FieldDef> fields;
    QList<RowChange> changes;

    bool isEmpty() const { return changes.isEmpty(); }
};

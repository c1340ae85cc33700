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

// JSON codec of the wire protocol. The decoders throw std::runtime_error with
// a message naming what is wrong when the JSON does not have the documented
// shape (unknown type, row of the wrong width, value of the wrong kind).
namespace WireCodec {
QString typeName(FieldType type);
FieldType typeFromName(const QString &name); // throws on an unknown name

QJsonObject encodePacket(const DataPacket &packet);
DataPacket decodePacket(const QJsonObject &json);

QJsonObject encodeDelta(const ChangeDelta &delta);
ChangeDelta decodeDelta(const QJsonObject &json);

QJsonValue encodeValue(const QVariant &value, FieldType type);
QVariant decodeValue(const QJsonValue &json, FieldType type); // throws on a mismatch
} // namespace WireCodec

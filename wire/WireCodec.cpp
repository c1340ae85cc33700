#include "WireCodec.h"

#include "DayCount.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QJsonValue requiredKey(const QJsonObject &json, const QString &key, const QString &where)
{
    const auto it = json.constFind(key);
    if (it == json.constEnd()) {
        fail(QStringLiteral("%1: falta a chave \"%2\".").arg(where, key));
    }
    return it.value();
}

QJsonArray requiredArray(const QJsonObject &json, const QString &key, const QString &where)
{
    const QJsonValue value = requiredKey(json, key, where);
    if (!value.isArray()) {
        fail(QStringLiteral("%1: \"%2\" deveria ser uma lista.").arg(where, key));
    }
    return value.toArray();
}

QJsonArray encodeFields(const QList<FieldDef> &fields)
{
    QJsonArray array;
    for (const FieldDef &field : fields) {
        array.append(QJsonObject{{QStringLiteral("name"), field.name},
                                 {QStringLiteral("type"), WireCodec::typeName(field.type)},
                                 {QStringLiteral("size"), field.size}});
    }
    return array;
}

FieldDef decodeField(const QJsonValue &json, int position)
{
    const QString where = QStringLiteral("campo %1").arg(position);
    if (!json.isObject()) {
        fail(where + QStringLiteral(": deveria ser um objeto."));
    }
    const QJsonObject object = json.toObject();
    const QJsonValue name = requiredKey(object, QStringLiteral("name"), where);
    if (!name.isString() || name.toString().isEmpty()) {
        fail(where + QStringLiteral(": \"name\" deveria ser um texto não vazio."));
    }
    const QJsonValue type = requiredKey(object, QStringLiteral("type"), where);
    if (!type.isString()) {
        fail(where + QStringLiteral(": \"type\" deveria ser um texto."));
    }
    const QJsonValue size = requiredKey(object, QStringLiteral("size"), where);
    const qint64 sizeValue = size.toInteger(-1);
    if (!size.isDouble() || sizeValue < 0 || sizeValue > std::numeric_limits<int>::max()) {
        fail(where + QStringLiteral(": \"size\" deveria ser um inteiro não negativo."));
    }
    return FieldDef{name.toString(), WireCodec::typeFromName(type.toString()), static_cast<int>(sizeValue)};
}

QJsonArray encodeRow(const QVariantList &row, const QList<FieldDef> &fields)
{
    if (row.size() != fields.size()) {
        fail(QStringLiteral("Linha com %1 valores para %2 campos.").arg(row.size()).arg(fields.size()));
    }
    QJsonArray array;
    for (int i = 0; i < fields.size(); ++i) {
        array.append(WireCodec::encodeValue(row.at(i), fields.at(i).type));
    }
    return array;
}

QVariantList decodeRow(const QJsonValue &json, const QList<FieldDef> &fields, const QString &where)
{
    if (!json.isArray()) {
        fail(where + QStringLiteral(": deveria ser uma lista de valores."));
    }
    const QJsonArray array = json.toArray();
    if (array.size() != fields.size()) {
        fail(QStringLiteral("%1: tem %2 valores para %3 campos.").arg(where).arg(array.size()).arg(fields.size()));
    }
    QVariantList row;
    row.reserve(array.size());
    for (int i = 0; i < array.size(); ++i) {
        try {
            row.append(WireCodec::decodeValue(array.at(i), fields.at(i).type));
        } catch (const std::runtime_error &error) {
            fail(QStringLiteral("%1, campo \"%2\": %3").arg(where, fields.at(i).name, QString::fromStdString(error.what())));
        }
    }
    return row;
}

QString packetRowPlace(qsizetype index)
{
    return QStringLiteral("Pacote de dados: linha %1").arg(index);
}

// A row of a data packet, read where it lies in the JSON document. A branch's
// quote list has over a million values, so the usual ones (null, a text for a
// text field, a number for a float or date-time) are taken without copying
// each into a value of its own first; any other row goes the general way,
// which also says what is wrong with it.
QVariantList rowOf(const QJsonValueConstRef json, const QList<FieldDef> &fields, qsizetype index)
{
    if (!json.isArray()) {
        return decodeRow(json, fields, packetRowPlace(index));
    }
    const QJsonArray array = json.toArray();
    if (array.size() != fields.size()) {
        return decodeRow(json, fields, packetRowPlace(index));
    }
    QVariantList row;
    row.reserve(array.size());
    qsizetype column = 0;
    for (const QJsonValueConstRef cell : array) {
        const FieldType type = fields.at(column).type;
        const QJsonValue::Type kind = cell.type();
        if (kind == QJsonValue::Null) {
            row.emplace_back();
        } else if (type == FieldType::Text && kind == QJsonValue::String) {
            row.emplace_back(cell.toString());
        } else if ((type == FieldType::Float || type == FieldType::DateTime) && kind == QJsonValue::Double) {
            row.emplace_back(cell.toDouble());
        } else {
            return decodeRow(json, fields, packetRowPlace(index));
        }
        ++column;
    }
    return row;
}

QString opName(RowChange::Op op)
{
    switch (op) {
    case RowChange::Op::Insert:
        return QStringLiteral("insert");
    case RowChange::Op::Update:
        return QStringLiteral("update");
    case RowChange::Op::Delete:
        return QStringLiteral("delete");
    }
    fail(QStringLiteral("Operação de alteração desconhecida."));
}

RowChange decodeChange(const QJsonValue &json, const QList<FieldDef> &fields, int position)
{
    const QString where = QStringLiteral("alteração %1").arg(position);
    if (!json.isObject()) {
        fail(where + QStringLiteral(": deveria ser um objeto."));
    }
    const QJsonObject object = json.toObject();
    const QJsonValue op = requiredKey(object, QStringLiteral("op"), where);
    RowChange change;
    if (op == QJsonValue(QStringLiteral("insert"))) {
        change.op = RowChange::Op::Insert;
    } else if (op == QJsonValue(QStringLiteral("update"))) {
        change.op = RowChange::Op::Update;
    } else if (op == QJsonValue(QStringLiteral("delete"))) {
        change.op = RowChange::Op::Delete;
    } else {
        fail(where + QStringLiteral(": operação desconhecida \"%1\".").arg(op.toVariant().toString()));
    }
    if (change.op != RowChange::Op::Insert) {
        change.oldValues = decodeRow(requiredKey(object, QStringLiteral("old"), where), fields, where + QStringLiteral(" \"old\""));
    }
    if (change.op != RowChange::Op::Delete) {
        change.newValues = decodeRow(requiredKey(object, QStringLiteral("new"), where), fields, where + QStringLiteral(" \"new\""));
    }
    return change;
}

double toDayCount(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return DayCount::fromDate(value.toDate());
    case QMetaType::QDateTime:
        return DayCount::fromDateTime(value.toDateTime());
    default:
        break;
    }
    bool ok = false;
    const double days = value.toDouble(&ok);
    if (!ok) {
        fail(QStringLiteral("o valor \"%1\" não é uma data.").arg(value.toString()));
    }
    return days;
}

} // namespace

namespace WireCodec {

QString typeName(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return QStringLiteral("text");
    case FieldType::Float:
        return QStringLiteral("float");
    case FieldType::Integer:
        return QStringLiteral("integer");
    case FieldType::DateTime:
        return QStringLiteral("datetime");
    case FieldType::Blob:
        return QStringLiteral("blob");
    }
    fail(QStringLiteral("Tipo de campo desconhecido."));
}

FieldType typeFromName(const QString &name)
{
    for (FieldType type : {FieldType::Text, FieldType::Float, FieldType::Integer, FieldType::DateTime, FieldType::Blob}) {
        if (typeName(type) == name) {
            return type;
        }
    }
    fail(QStringLiteral("Tipo de campo desconhecido: \"%1\".").arg(name));
}

QJsonObject encodePacket(const DataPacket &packet)
{
    QJsonArray rows;
    for (const QVariantList &row : packet.rows) {
        rows.append(encodeRow(row, packet.fields));
    }
    return QJsonObject{{QStringLiteral("fields"), encodeFields(packet.fields)}, {QStringLiteral("rows"), rows}};
}

DataPacket decodePacket(const QJsonObject &json)
{
    const QString where = QStringLiteral("Pacote de dados");
    DataPacket packet;
    packet.fields = decodeFields(json, where);
    const QJsonArray rows = requiredArray(json, QStringLiteral("rows"), where);
    packet.rows.reserve(rows.size());
    qsizetype index = 0;
    for (const QJsonValueConstRef row : rows) {
        packet.rows.append(rowOf(row, packet.fields, index++));
    }
    return packet;
}

QJsonObject encodeDelta(const ChangeDelta &delta)
{
    QJsonArray changes;
    for (const RowChange &change : delta.changes) {
        QJsonObject object{{QStringLiteral("op"), opName(change.op)}};
        if (change.op != RowChange::Op::Insert) {
            object.insert(QStringLiteral("old"), encodeRow(change.oldValues, delta.fields));
        }
        if (change.op != RowChange::Op::Delete) {
            object.insert(QStringLiteral("new"), encodeRow(change.newValues, delta.fields));
        }
        changes.append(object);
    }
    return QJsonObject{{QStringLiteral("fields"), encodeFields(delta.fields)}, {QStringLiteral("changes"), changes}};
}

ChangeDelta decodeDelta(const QJsonObject &json)
{
    ChangeDelta delta;
    delta.fields = decodeFields(json, QStringLiteral("Delta"));
    const QJsonArray changes = requiredArray(json, QStringLiteral("changes"), QStringLiteral("Delta"));
    for (int i = 0; i < changes.size(); ++i) {
        delta.changes.append(decodeChange(changes.at(i), delta.fields, i));
    }
    return delta;
}

QList<FieldDef> decodeFields(const QJsonObject &json, const QString &where)
{
    const QJsonArray array = requiredArray(json, QStringLiteral("fields"), where);
    QList<FieldDef> fields;
    for (int i = 0; i < array.size(); ++i) {
        FieldDef field = decodeField(array.at(i), i);
        for (const FieldDef &earlier : fields) {
            if (earlier.name.compare(field.name, Qt::CaseInsensitive) == 0) {
                fail(QStringLiteral("%1: o campo \"%2\" aparece duas vezes.").arg(where, field.name));
            }
        }
        fields.append(std::move(field));
    }
    return fields;
}

QVariantList decodePacketRow(const QJsonValue &row, const QList<FieldDef> &fields, qsizetype index)
{
    return decodeRow(row, fields, packetRowPlace(index));
}

QJsonValue encodeValue(const QVariant &value, FieldType type)
{
    if (!value.isValid()) {
        return QJsonValue(QJsonValue::Null);
    }
    bool ok = true;
    switch (type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Blob:
        return QString::fromLatin1(value.toByteArray().toBase64());
    case FieldType::Integer: {
        const qint64 integer = value.toLongLong(&ok);
        if (!ok) {
            fail(QStringLiteral("o valor \"%1\" não é um inteiro.").arg(value.toString()));
        }
        return integer;
    }
    case FieldType::Float: {
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number)) {
            fail(QStringLiteral("o valor \"%1\" não é um número.").arg(value.toString()));
        }
        return number;
    }
    case FieldType::DateTime:
        return toDayCount(value);
    }
    fail(QStringLiteral("Tipo de campo desconhecido."));
}

QVariant decodeValue(const QJsonValue &json, FieldType type)
{
    if (json.isNull()) {
        return {};
    }
    switch (type) {
    case FieldType::Text:
        if (!json.isString()) {
            fail(QStringLiteral("esperava um texto."));
        }
        return json.toString();
    case FieldType::Blob: {
        if (!json.isString()) {
            fail(QStringLiteral("esperava um texto em base64."));
        }
        auto decoded = QByteArray::fromBase64Encoding(json.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            fail(QStringLiteral("o texto não está em base64."));
        }
        return *decoded;
    }
    case FieldType::Integer: {
        // Two different fall-backs tell a whole number from one that is not.
        const qint64 integer = json.toInteger(0);
        if (!json.isDouble() || integer != json.toInteger(1)) {
            fail(QStringLiteral("esperava um número inteiro."));
        }
        return integer;
    }
    case FieldType::Float:
    case FieldType::DateTime:
        if (!json.isDouble()) {
            fail(type == FieldType::Float ? QStringLiteral("esperava um número.")
                                          : QStringLiteral("esperava uma data (número de dias)."));
        }
        return json.toDouble();
    }
    fail(QStringLiteral("Tipo de campo desconhecido."));
}

} // namespace WireCodec

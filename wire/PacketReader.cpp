#include "PacketReader.h"

#include "WireCodec.h"

#include <QJsonArray>

namespace {

bool startsNumber(char c)
{
    return c == '-' || (c >= '0' && c <= '9');
}

// One row as the server writes it: a list of exactly one value per field,
// each null or of its field's own kind. False, with the row partly stored,
// as soon as it is anything else.
bool readUsualRow(JsonStreamReader &reader, std::vector<Column> &columns)
{
    if (!reader.consume('[')) {
        return false;
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i > 0 && !reader.consume(',')) {
            return false;
        }
        Column &column = columns[i];
        const char next = reader.peek();
        if (next == 'n') {
            reader.readNull();
            column.appendNull();
        } else if (next == '"' && column.type() == FieldType::Text) {
            column.appendBytes(reader.readString());
        } else if (startsNumber(next) && (column.type() == FieldType::Float || column.type() == FieldType::DateTime)) {
            column.appendNumber(reader.readNumber().value);
        } else if (startsNumber(next) && column.type() == FieldType::Integer) {
            const JsonStreamReader::Number number = reader.readNumber();
            if (!number.isInteger) {
                return false;
            }
            column.appendInteger(number.integer);
        } else {
            return false;
        }
    }
    return reader.consume(']');
}

void readRows(JsonStreamReader &reader, PacketColumns &packet)
{
    packet.columns.clear();
    for (const FieldDef &field : packet.fields) {
        packet.columns.emplace_back(field.type);
    }
    packet.rowCount = 0;
    reader.expect('[');
    if (reader.consume(']')) {
        return;
    }
    do {
        reader.discardConsumed();
        const qsizetype rowStart = reader.position();
        if (!readUsualRow(reader, packet.columns)) {
            reader.rewind(rowStart);
            const QVariantList row = WireCodec::decodePacketRow(reader.readValue(), packet.fields, packet.rowCount);
            for (size_t i = 0; i < packet.columns.size(); ++i) {
                packet.columns[i].resize(packet.rowCount);
                packet.columns[i].append(row.at(qsizetype(i)));
            }
        }
        ++packet.rowCount;
    } while (reader.consume(','));
    reader.expect(']');
    for (Column &column : packet.columns) {
        column.squeeze();
    }
}

} // namespace

namespace PacketReader {

PacketColumns read(JsonStreamReader &reader)
{
    const QString where = QStringLiteral("Pacote de dados");
    PacketColumns packet;
    QJsonObject general; // what the codec reads when the rows cannot take the fast way
    bool rowsRead = false;
    reader.readObject([&](const QString &key, QJsonObject &) {
        if (key != QLatin1String("fields") && key != QLatin1String("rows")) {
            return false;
        }
        if (general.contains(key) || (key == QLatin1String("rows") && rowsRead)) {
            throw std::runtime_error(QStringLiteral("%1: a chave \"%2\" aparece duas vezes.").arg(where, key).toStdString());
        }
        if (key == QLatin1String("rows") && general.contains(QLatin1String("fields"))) {
            readRows(reader, packet);
            rowsRead = true;
        } else {
            general.insert(key, reader.readValue());
            if (key == QLatin1String("fields")) {
                packet.fields = WireCodec::decodeFields(general, where);
            }
        }
        return true;
    });
    if (rowsRead) {
        return packet;
    }
    return PacketColumns::fromPacket(WireCodec::decodePacket(general));
}

} // namespace PacketReader

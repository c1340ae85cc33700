#include "PacketJson.h"

#include "JsonText.h"
#include "WireCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace PacketJson {

void beginRows(QByteArray &out, const QList<FieldDef> &fields)
{
    out.append(R"({"fields":)");
    out.append(QJsonDocument(WireCodec::encodePacket(DataPacket{fields, {}}).value(QStringLiteral("fields")).toArray()).toJson(QJsonDocument::Compact));
    out.append(R"(,"rows":[)");
}

void endRows(QByteArray &out)
{
    out.append("]}");
}

void appendValue(QByteArray &out, const QVariant &value, FieldType type)
{
    if (value.isNull()) {
        out.append("null");
        return;
    }
    switch (type) {
    case FieldType::Text:
        if (value.metaType().id() == QMetaType::QString) {
            JsonText::appendString(out, *static_cast<const QString *>(value.constData()));
        } else {
            JsonText::appendString(out, value.toString());
        }
        break;
    case FieldType::Blob:
        JsonText::appendString(out, QString::fromLatin1(value.toString().toUtf8().toBase64()));
        break;
    case FieldType::Integer:
        JsonText::appendInteger(out, value.toLongLong());
        break;
    case FieldType::Float:
    case FieldType::DateTime:
        JsonText::appendNumber(out, value.toDouble());
        break;
    }
}

qsizetype write(QSqlQuery &query, const QList<FieldDef> &fields, int firstStored, AnswerStream &out)
{
    // The driver's value is written as it comes, without the converted copy
    // PacketLayouts::read() keeps.
    return writeRows(fields, firstStored, out, [&query] { return query.next(); },
                     [&query](QByteArray &text, int column, FieldType type) { appendValue(text, query.value(column), type); });
}

} // namespace PacketJson

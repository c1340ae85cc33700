#include "IntendedDifferences.h"

#include <QByteArrayView>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// Whether the bytes of a number starting at `at` are not one by JSON's
// grammar.
bool badNumberAt(const QByteArray &input, qsizetype at)
{
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][+-]?[0-9]+)?$"));
    qsizetype end = at;
    while (end < input.size() && QByteArrayView("+-.0123456789eE").contains(input.at(end))) {
        ++end;
    }
    return end > at && !number.match(QString::fromLatin1(input.mid(at, end - at))).hasMatch();
}

} // namespace

namespace IntendedDifferences {

QString asUtf8Keeps(const QString &text)
{
    QString kept = text;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (kept.at(i).isHighSurrogate() && i + 1 < kept.size() && kept.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (kept.at(i).isSurrogate()) {
            kept[i] = QChar::ReplacementCharacter;
        }
    }
    return kept;
}

bool sameJson(const QJsonValue &stream, const QJsonValue &document)
{
    if (stream.type() != document.type()) {
        return false;
    }
    switch (document.type()) {
    case QJsonValue::Double:
        return stream.toDouble() == document.toDouble() && stream.toInteger(0) == document.toInteger(0);
    case QJsonValue::String:
        return stream.toString() == asUtf8Keeps(document.toString());
    case QJsonValue::Array: {
        const QJsonArray a = stream.toArray();
        const QJsonArray b = document.toArray();
        if (a.size() != b.size()) {
            return false;
        }
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (!sameJson(a.at(i), b.at(i))) {
                return false;
            }
        }
        return true;
    }
    case QJsonValue::Object: {
        const QJsonObject a = stream.toObject();
        const QJsonObject b = document.toObject();
        if (a.size() != b.size()) {
            return false;
        }
        for (auto it = b.begin(); it != b.end(); ++it) {
            const auto found = a.constFind(asUtf8Keeps(it.key()));
            if (found == a.constEnd() || !sameJson(found.value(), it.value())) {
                return false;
            }
        }
        return true;
    }
    default:
        return stream == document;
    }
}

bool strictOnPurpose(const JsonStreamReader::SyntaxError &error, const QByteArray &input)
{
    const QString message = QString::fromUtf8(error.what());
    static const QRegularExpression place(QStringLiteral("no byte (\\d+):"));
    const qsizetype at = place.match(message).captured(1).toLongLong();
    return message.contains(QStringLiteral("aninhamento profundo demais"))
        || message.contains(QStringLiteral("caractere de controle dentro de um texto"))
        || message.contains(QStringLiteral("sequência de escape desconhecida"))
        || badNumberAt(input, at);
}

bool sameMessage(QString stream, QString codec)
{
    return stream.replace(QChar::ReplacementCharacter, QLatin1Char('?')) == codec.replace(QChar::ReplacementCharacter, QLatin1Char('?'));
}

bool refusesANameTwice(const QString &message)
{
    return message.contains(QStringLiteral("aparece duas vezes"));
}

} // namespace IntendedDifferences

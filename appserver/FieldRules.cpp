#include "FieldRules.h"

#include "Refusal.h"

namespace {

// Characters as PostgreSQL counts them for VARCHAR(n): a letter outside
// the Basic Multilingual Plane is one character, not two UTF-16 units.
qsizetype characters(const QString &text)
{
    qsizetype count = 0;
    for (const QChar c : text) {
        count += c.isLowSurrogate() ? 0 : 1;
    }
    return count;
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

} // namespace

namespace FieldRules {

bool isCode(const QString &fieldName)
{
    return fieldName.startsWith(QLatin1String("CD")) || fieldName.startsWith(QLatin1String("NR"))
        || fieldName.startsWith(QLatin1String("ID"));
}

void check(const FieldDef &field, const QVariant &value)
{
    if (value.isNull() || (field.type != FieldType::Text && field.type != FieldType::Blob)) {
        return;
    }
    if (field.type == FieldType::Blob) {
        if (value.toByteArray().contains('\0')) {
            throw Refusal(QStringLiteral("O campo %1 contém um caractere nulo.").arg(field.name));
        }
        return;
    }
    const QString text = value.toString();
    if (field.size > 0 && characters(text) > field.size) {
        throw Refusal(QStringLiteral("O campo %1 aceita no máximo %2 caracteres; o valor enviado tem %3.")
                          .arg(field.name)
                          .arg(field.size)
                          .arg(characters(text)));
    }
    if (text.contains(QChar::Null)) {
        throw Refusal(QStringLiteral("O campo %1 contém um caractere nulo.").arg(field.name));
    }
    if (isCode(field.name) && std::any_of(text.cbegin(), text.cend(), isControl)) {
        throw Refusal(QStringLiteral("O campo %1 contém caracteres de controle.").arg(field.name));
    }
}

QString typeName(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return QStringLiteral("texto");
    case FieldType::Float:
        return QStringLiteral("número");
    case FieldType::Integer:
        return QStringLiteral("número inteiro");
    case FieldType::DateTime:
        return QStringLiteral("data e hora");
    case FieldType::Blob:
        return QStringLiteral("texto longo");
    }
    return {};
}

} // namespace FieldRules

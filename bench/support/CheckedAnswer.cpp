#include "CheckedAnswer.h"

#include <QJsonObject>

#include <stdexcept>

CheckedAnswer CheckedAnswer::from(const QJsonValue &answer)
{
    CheckedAnswer checked;
    const QJsonObject object = answer.toObject();
    if (!answer.isObject() || !object.value(QStringLiteral("ok")).isBool()) {
        checked.message = QStringLiteral("answer is not a checked answer");
        return checked;
    }
    checked.ok = object.value(QStringLiteral("ok")).toBool();
    checked.message = object.value(QStringLiteral("message")).toString();
    checked.data = object.value(QStringLiteral("data"));
    return checked;
}

QJsonValue CheckedAnswer::dataOf(const QJsonValue &answer)
{
    const CheckedAnswer checked = from(answer);
    if (!checked.ok) {
        throw std::runtime_error(QStringLiteral("refused: %1").arg(checked.message).toStdString());
    }
    return checked.data;
}

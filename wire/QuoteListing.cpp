#include "QuoteListing.h"

#include <QJsonValue>

#include <cmath>
#include <stdexcept>

namespace {

[[noreturn]] void wrongKind(int position, const char *kind)
{
    throw std::invalid_argument(
        QStringLiteral("argumento %1 deveria ser %2").arg(position).arg(QLatin1String(kind)).toStdString());
}

} // namespace

QJsonArray QuoteListing::toJson() const
{
    QJsonArray json;
    QuoteListing copy = *this;
    copy.forEach([&json](const auto &value) { json.append(value); });
    return json;
}

QJsonArray QuoteListing::arguments(const QString &branch) const
{
    QJsonArray json{branch};
    for (const QJsonValue &value : toJson()) {
        json.append(value);
    }
    return json;
}

QuoteListing QuoteListing::fromJson(const QJsonArray &params, int first)
{
    QuoteListing listing;
    int position = first;
    const auto read = [&](auto &target) {
        const QJsonValue value = params.at(position);
        using Target = std::decay_t<decltype(target)>;
        if constexpr (std::is_same_v<Target, QString>) {
            if (!value.isNull() && !value.isUndefined() && !value.isString()) {
                wrongKind(position, "um texto");
            }
            target = value.toString();
        } else {
            if (!value.isNull() && !value.isUndefined() && (!value.isDouble() || !std::isfinite(value.toDouble()))) {
                wrongKind(position, "uma data (número de dias)");
            }
            target = value.toDouble();
        }
        ++position;
    };
    listing.forEach(read);
    return listing;
}

#include "LookupTitle.h"

LookupTitle LookupTitle::parse(const QString &title)
{
    const qsizetype bar = title.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        return {title, genericEmptyMessage()};
    }
    const QString message = title.mid(bar + 1);
    return {title.left(bar), message.isEmpty() ? genericEmptyMessage() : message};
}

QString LookupTitle::genericEmptyMessage()
{
    return QStringLiteral("Não há registros para pesquisa.");
}

#pragma once

#include <QString>

// A lookup's title as the screens pass it: "Title" or "Title|message for a
// lookup without rows". Without the second part the generic message applies.
struct LookupTitle {
    QString caption;
    QString emptyMessage;

    static LookupTitle parse(const QString &title);
    static QString genericEmptyMessage(); // "Não há registros para pesquisa."
};

#pragma once

#include <QHash>
#include <QList>
#include <QString>

// What "Exportar" writes of the listed quotes, whatever the file type: the
// grid's columns in its order under its titles, then the quotes counted by
// state and by reason.
struct ExportRequest {
    struct Column {
        QString fieldName;
        QString title;
    };

    QList<Column> columns;
    QString stateField;
    QString reasonField;
    // Each reason's name by its code, from the server's list of reasons; a
    // code missing here (a reason since removed) is counted without a name.
    QHash<QString, QString> reasonNames;
};

#pragma once

#include "RecordList.h"

#include <QStringList>

#include <memory>

// A small code/name list like the host's lookup lists: CODE (text 4,
// "Código") and NAME (text 30, "Nome"), loaded with the given rows.
inline DataPacket codeNamePacket(const QList<QStringList> &rows)
{
    DataPacket packet;
    packet.fields = {{QStringLiteral("CODE"), FieldType::Text, 4}, {QStringLiteral("NAME"), FieldType::Text, 30}};
    for (const QStringList &row : rows) {
        packet.rows.append({row.value(0), row.value(1)});
    }
    return packet;
}

inline std::unique_ptr<RecordList> makeCodeNameList(const QList<QStringList> &rows,
                                                    const QString &name = QStringLiteral("cdsTeste"))
{
    auto list = std::make_unique<RecordList>(name);
    list->addField(QStringLiteral("CODE"), FieldType::Text, 4).setDisplayLabel(QStringLiteral("Código"));
    list->addField(QStringLiteral("NAME"), FieldType::Text, 30).setDisplayLabel(QStringLiteral("Nome"));
    list->loadPacket(codeNamePacket(rows));
    return list;
}

inline QList<QStringList> fourBranches()
{
    return {{QStringLiteral("0001"), QStringLiteral("Matriz")},
            {QStringLiteral("0002"), QStringLiteral("Barra")},
            {QStringLiteral("0003"), QStringLiteral("Centro")},
            {QStringLiteral("0004"), QStringLiteral("Beira Mar")}};
}

// The row whose CODE holds `code`, -1 when none does.
inline int rowOfCode(const RecordList &list, const QString &code)
{
    const int column = list.fieldByName(QStringLiteral("CODE")).index();
    for (int row = 0; row < list.recordCount(); ++row) {
        if (list.valueAt(row, column).toString() == code) {
            return row;
        }
    }
    return -1;
}

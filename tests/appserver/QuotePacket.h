#pragma once

#include "JsonLineClient.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QStringList>

// Quote packets as the server's tests read and change them over raw lines.

struct Packet {
    QStringList fields;
    QJsonArray fieldDefs;
    QList<QJsonArray> rows;

    explicit Packet(const QJsonObject &json)
    {
        fieldDefs = json.value("fields").toArray();
        for (const QJsonValue &field : fieldDefs) {
            fields << field.toObject().value("name").toString();
        }
        for (const QJsonValue &row : json.value("rows").toArray()) {
            rows << row.toArray();
        }
    }

    QJsonValue at(int row, const QString &field) const { return rows.at(row).at(fields.indexOf(field)); }
    QString text(int row, const QString &field) const { return at(row, field).toString(); }
    int find(const QString &number, const QString &sequence) const
    {
        for (int i = 0; i < rows.size(); ++i) {
            if (text(i, "NRORCAEVENTO") == number && text(i, "NRSEQORCAEVE") == sequence) {
                return i;
            }
        }
        return -1;
    }
};

inline Packet listQuotes(JsonLineClient &client, const QJsonArray &filter)
{
    return Packet(client.checked("GetOrcamento", filter).value("data").toObject());
}

// A delta that changes one row of a packet, the way the screen's list sends it.
inline QJsonObject updateDelta(const Packet &packet, int row, const QMap<QString, QJsonValue> &changes)
{
    QJsonArray current = packet.rows.at(row);
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        current[packet.fields.indexOf(it.key())] = it.value();
    }
    return QJsonObject{{"fields", packet.fieldDefs},
                       {"changes", QJsonArray{QJsonObject{{"op", "update"}, {"old", packet.rows.at(row)}, {"new", current}}}}};
}

inline QMap<QString, QJsonValue> cancellation(const QString &state, const QString &reason, const QString &operatorCode)
{
    return {{"IDSITUORCEVE", state}, {"CDJUSTEXCHIS", reason}, {"CDOPEJUSTORC", operatorCode}};
}

// The storage engines to run on: APPSERVER_TEST_DRIVERS, "sqlite" unless set.
inline QStringList drivers()
{
    const QString configured = qEnvironmentVariable("APPSERVER_TEST_DRIVERS", QStringLiteral("sqlite"));
    return configured.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

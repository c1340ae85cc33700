#pragma once

#include "DataPacket.h"
#include "QuoteListing.h"

#include <QJsonValue>
#include <QString>

class RecordList;

// One positional argument of a server call (TNetConnection::Call).
//
// By value: a text, a date-time (day count), a data packet or a change delta;
// the value is taken when the argument is made. By reference: a text or a
// date-time variable of the caller; its value is read when the request is
// sent and the server's final value is written back into it when the answer
// comes, so the variable must outlive the call.
//
// A text converts implicitly (by value), so short calls read naturally:
// `Call("GetItemOrc", {filial, numero, sequencia})`. References are always
// asked for by name (textRef, dateTimeRef), so a variable is never written
// back by accident.
class TNetArg final {
public:
    enum class Kind { Text, DateTime, Packet, Delta };

    TNetArg(const QString &text); // a text by value

    static TNetArg text(const QString &text);
    static TNetArg textRef(QString &variable);
    static TNetArg dateTime(double dayCount);
    static TNetArg dateTimeRef(double &variable);
    static TNetArg packet(const DataPacket &packet);
    static TNetArg delta(const ChangeDelta &delta);
    // The list's pending changes (list.delta()) as one value argument, the way
    // a write hands its changes to the server.
    static TNetArg deltaOf(const RecordList &list);
    // The 27 arguments of GetOrcamento: the branch by value, then the 26
    // listing values by reference, so the server's final values come back
    // into `values` (which must outlive the call).
    static QList<TNetArg> listing(const QString &branch, QuoteListing &values);

    Kind kind() const { return m_kind; }
    bool isReference() const { return m_textRef || m_dateTimeRef; }

    // The argument as it goes on the wire: text as a JSON string, date-time
    // as a number, packet and delta as their JSON objects.
    QJsonValue toJson() const;

    // Writes the server's final value into the referenced variable. A text
    // takes a string, a date-time a number; null is the empty value (empty
    // text, date 0). Anything else is refused: false and the variable keeps
    // its value. Does nothing and returns true for a value argument.
    bool acceptsReturned(const QJsonValue &value) const;
    void writeBack(const QJsonValue &value) const; // only after acceptsReturned

private:
    TNetArg(Kind kind, const QJsonValue &value);

    Kind m_kind;
    QJsonValue m_value;             // by value
    QString *m_textRef = nullptr;   // by reference, text
    double *m_dateTimeRef = nullptr; // by reference, date-time
};

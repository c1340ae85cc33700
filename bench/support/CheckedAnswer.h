#pragma once

#include <QJsonValue>
#include <QString>

// A checked answer of the server ({"ok":true,"data":...} or
// {"ok":false,"message":...}) taken apart the way the screen's result check
// does. An answer of any other shape counts as refused, with a message
// saying so.
struct CheckedAnswer {
    bool ok = false;
    QString message;
    QJsonValue data;

    static CheckedAnswer from(const QJsonValue &answer);
    // The payload of an accepted answer; throws std::runtime_error with the
    // server's message for a refused one.
    static QJsonValue dataOf(const QJsonValue &answer);
};

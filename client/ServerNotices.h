#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>

// The server's change notices: JSON-RPC notifications (a "method", no "id")
// that come between answers on a connection that asked for them.
namespace ServerNotices {

// A notification line, whatever its method: never an answer to a call.
bool isNotice(const QJsonObject &line);
// Keeps the params of a "quoteChanged" notice in `notices`; other
// notifications are not this client's and are skipped.
void keep(const QJsonObject &notice, QList<QJsonObject> &notices);
// Takes the whole notice lines out of `received` into `notices`; every other
// line (a late answer, say) and an unfinished last line stay as they were,
// in order, for the next call to read.
void takeWholeLines(QByteArray &received, QList<QJsonObject> &notices);

} // namespace ServerNotices

#pragma once

#include <QObject>
#include <QStringList>

// Announces that the host's cached copies of some tables were refreshed, so
// the host (and anything holding such a copy) can read them again.
class CorvaneNotifier final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void localCacheRefreshed(const QStringList &tables);
};

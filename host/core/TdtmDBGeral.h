#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

// The host's shared local database: an SQLite file with the reference data
// the lookups read (branches, sellers, clients...) and the record of cached
// tables. One connection, named "dtmDBGeral", for the whole client; the host
// client creates the one instance and points `dtmDBGeral` at it.
class TdtmDBGeral final : public QObject {
    Q_OBJECT
public:
    static constexpr const char *connectionName = "dtmDBGeral";

    explicit TdtmDBGeral(QObject *parent = nullptr);
    ~TdtmDBGeral() override; // closes the connection

    // Opens the SQLite file at `path` (":memory:" for a throwaway one),
    // closing any file opened before. The file must exist: a mistyped path
    // must not silently become a new empty database. Throws
    // std::runtime_error naming the path when it is missing or cannot be
    // opened.
    void open(const QString &path);
    void close(); // does nothing when not open
    bool isOpen() const;
    QString path() const { return m_path; }

    // The connection; not valid while closed.
    QSqlDatabase database() const;

private:
    QString m_path;
};

// The client's one local database, or nullptr before the host has opened it.
extern TdtmDBGeral *dtmDBGeral;

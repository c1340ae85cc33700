#pragma once

#include <QSqlDatabase>
#include <QString>

class PostgresCluster;

// A QtSql connection of the benchmark's own, beside the server's: to time
// the bare query or to audit what the server wrote. Closed and removed with
// the object.
class SqlConnection final {
public:
    enum class Access { ReadWrite, ReadOnly };

    // A SQLite file. Throws std::runtime_error when it cannot be opened.
    SqlConnection(const QString &sqliteFile, Access access);
    // A database of a running cluster, as its `postgres` user. Throws
    // std::runtime_error when it cannot be opened.
    SqlConnection(const PostgresCluster &cluster, const QString &database);
    ~SqlConnection();

    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    QSqlDatabase db() const { return m_db; }

private:
    void open(const QString &what);

    QString m_name;
    QSqlDatabase m_db;
};

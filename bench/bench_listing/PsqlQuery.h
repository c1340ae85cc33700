#pragma once

#include <QString>
#include <QStringList>

// The listing's SELECT run by PostgreSQL's own command-line tool `psql` on
// the cluster the server serves, its rows printed into /dev/null: the
// PostgreSQL counterpart of SqliteShellQuery, the floor under the bare QtSql
// query. The time is the tool's own timer for the statement (`\timing`), so
// starting the tool and connecting are left out.
class PsqlQuery final {
public:
    // False, with the reason, when the cluster's `psql` is not installed.
    static bool available(QString *reason);

    // `statement` with its values written in; the cluster listens on
    // 127.0.0.1:`port`.
    PsqlQuery(quint16 port, const QString &database, const QString &statement);

    // Runs the tool once; the statement's time in ms. Throws
    // std::runtime_error when the tool fails or prints no time.
    double run() const;

private:
    QStringList m_arguments;
    QByteArray m_script;
};

#pragma once

#include <QString>

// The listing's SELECT run by SQLite's own command-line tool `sqlite3` on
// the server's file, its rows printed into /dev/null: SQLite alone reading
// and formatting those rows, the floor under the bare QtSql query. The time
// is the tool's own timer for the statement (`.timer on`), so starting the
// tool and opening the file are left out.
class SqliteShellQuery final {
public:
    // False, with the reason, when `sqlite3` is not on the PATH.
    static bool available(QString *reason);

    // `statement` with its values written in (the tool binds none).
    SqliteShellQuery(const QString &file, const QString &statement);

    // Runs the tool once; the statement's time in ms (whole milliseconds,
    // as the tool prints it). Throws std::runtime_error when the tool fails
    // or prints no time.
    double run() const;

private:
    QString m_file;
    QByteArray m_script;
};

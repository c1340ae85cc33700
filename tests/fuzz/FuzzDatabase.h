#pragma once

#include <QSqlDatabase>
#include <QTemporaryDir>

// The request-line target's database: a temporary SQLite file with the demo
// business (200 quotes of seed value 1, the rows docs/protocol.md's
// examples name), as seeded for every input: after an input that changed
// it, the file is copied back from the one seeded at the start.
class FuzzDatabase final {
public:
    FuzzDatabase(); // throws std::runtime_error when seeding fails
    ~FuzzDatabase();

    // The connection an input's session opens at its connect, holding the
    // seeded rows.
    QSqlDatabase connection() const { return m_db; }
    // After each input: a call that left a transaction open breaks a rule;
    // an input that changed a row has the seeded file back.
    void afterInput();

private:
    QString path(const QString &name) const;
    void openCopy();
    void close();
    // Whether any row was written since the connection opened (SQLite
    // counts rows written, even by a transaction rolled back).
    bool changedAnything() const;

    QTemporaryDir m_dir;
    QSqlDatabase m_db;
};

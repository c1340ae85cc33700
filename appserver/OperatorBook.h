#pragma once

#include <QSqlDatabase>
#include <QString>

// The operators the server lets in, with their salted password hashes
// (table OPERADORSERVIDOR). Codes are compared exactly as written.
namespace OperatorBook {
// The longest operator code the server takes: the width of the narrowest
// column that records an operator, the justification's (PacketLayouts). A
// longer code would pass a cancellation and then fail every justification.
int maxCodeLength();
// Why `code` is too long for the server to record, in the operator's
// words; empty when it fits.
QString lengthProblem(const QString &code);

bool hasOperators(const QSqlDatabase &db);
// Whether `code` names an operator whose password is `password`. An
// unknown operator costs the same hashing as a wrong password, so the time
// of the answer does not tell which codes exist.
bool verify(const QSqlDatabase &db, const QString &code, const QString &password);
// Adds the operator, or gives an existing one this password; true when it
// is new. Throws std::invalid_argument for a code or password the server
// would not take.
bool set(const QSqlDatabase &db, const QString &code, const QString &password);
} // namespace OperatorBook

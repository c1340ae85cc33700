#include "OperatorBook.h"

#include "PacketLayouts.h"
#include "Sql.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>

#include <stdexcept>

namespace {

// About 50 ms of one core per check: nothing an operator notices once a
// screen, far too slow to try passwords by the million.
constexpr int iterations = 60000;
constexpr int saltBytes = 16;
constexpr int hashBytes = 32;

QByteArray hashOf(const QString &password, const QByteArray &salt, int rounds)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, rounds, hashBytes);
}

bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    // Every byte is compared, so how long it takes says nothing of where
    // they first differ.
    if (a.size() != b.size()) {
        return false;
    }
    char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        difference |= char(a.at(i) ^ b.at(i));
    }
    return difference == 0;
}

bool isValidCode(const QString &code)
{
    if (code.isEmpty() || code.size() > OperatorBook::maxCodeLength()) {
        return false;
    }
    for (const QChar c : code) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('_') || c == QLatin1Char('-'))) {
            return false;
        }
    }
    return true;
}

} // namespace

namespace OperatorBook {

int maxCodeLength()
{
    const QList<FieldDef> fields = PacketLayouts::justificationFields();
    return fields.at(fieldIndex(fields, QStringLiteral("CDOPERADOR"))).size;
}

QString lengthProblem(const QString &code)
{
    if (code.size() <= maxCodeLength()) {
        return {};
    }
    return QStringLiteral("O código de operador tem %1 caracteres; o servidor registra códigos de no máximo %2.")
        .arg(code.size())
        .arg(maxCodeLength());
}

bool hasOperators(const QSqlDatabase &db)
{
    QSqlQuery query = Sql::run(db, QStringLiteral("SELECT COUNT(*) FROM OPERADORSERVIDOR"));
    return query.next() && query.value(0).toLongLong() > 0;
}

bool verify(const QSqlDatabase &db, const QString &code, const QString &password)
{
    QSqlQuery query = Sql::run(db, QStringLiteral("SELECT DSSENHASAL, DSSENHAHASH, NRITERACOES FROM OPERADORSERVIDOR WHERE CDOPERADOR = ?"),
                               {code.left(maxCodeLength() + 1)});
    if (!query.next()) {
        hashOf(password, QByteArray(saltBytes, '\0'), iterations);
        return false;
    }
    const QByteArray salt = QByteArray::fromHex(query.value(0).toString().toLatin1());
    const QByteArray stored = QByteArray::fromHex(query.value(1).toString().toLatin1());
    return sameBytes(hashOf(password, salt, query.value(2).toInt()), stored);
}

bool set(const QSqlDatabase &db, const QString &code, const QString &password)
{
    if (!isValidCode(code)) {
        throw std::invalid_argument(QStringLiteral("código de operador inválido: use de 1 a %1 letras, algarismos, '.', '_' ou '-'.")
                                        .arg(maxCodeLength()).toStdString());
    }
    if (password.size() < 8) {
        throw std::invalid_argument("a senha precisa de pelo menos 8 caracteres.");
    }
    QByteArray salt(saltBytes, '\0');
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    const QVariantList values{QString::fromLatin1(salt.toHex()), QString::fromLatin1(hashOf(password, salt, iterations).toHex()),
                              iterations, code};
    QSqlQuery updated = Sql::run(db, QStringLiteral("UPDATE OPERADORSERVIDOR SET DSSENHASAL = ?, DSSENHAHASH = ?, NRITERACOES = ? "
                                                    "WHERE CDOPERADOR = ?"), values);
    if (updated.numRowsAffected() > 0) {
        return false;
    }
    Sql::run(db, QStringLiteral("INSERT INTO OPERADORSERVIDOR (DSSENHASAL, DSSENHAHASH, NRITERACOES, CDOPERADOR) VALUES (?, ?, ?, ?)"), values);
    return true;
}

} // namespace OperatorBook

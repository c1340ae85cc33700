#include "WriteOperator.h"

#include "FieldRules.h"
#include "OperatorBook.h"
#include "Refusal.h"

namespace WriteOperator {

QString resolve(const QString &authenticated, const QString &named, const FieldDef &field)
{
    FieldRules::check(field, named);
    if (authenticated.isEmpty()) {
        // Without operators the server records whom the client names; a code
        // the justification cannot take is refused before anything it writes.
        const QString tooLong = OperatorBook::lengthProblem(named);
        if (!tooLong.isEmpty()) {
            throw Refusal(tooLong);
        }
        return named;
    }
    if (!named.isEmpty() && named != authenticated) {
        throw Refusal(QStringLiteral("Esta conexão é do operador %1; a alteração não pode ser gravada em nome de %2.")
                          .arg(authenticated, named.left(field.size)));
    }
    FieldRules::check(field, authenticated);
    return authenticated;
}

} // namespace WriteOperator

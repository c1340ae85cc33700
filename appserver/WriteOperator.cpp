#include "WriteOperator.h"

#include "FieldRules.h"
#include "Refusal.h"

namespace WriteOperator {

QString resolve(const QString &authenticated, const QString &named, const FieldDef &field)
{
    FieldRules::check(field, named);
    if (authenticated.isEmpty()) {
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

#include "UpperCaseValidator.h"

QValidator::State UpperCaseValidator::validate(QString &input, int & /*pos*/) const
{
    input = input.toUpper();
    return Acceptable;
}

#include "TaxIds.h"

#include <QList>

namespace {

int checkDigit(const QString &digits, const QList<int> &weights)
{
    int sum = 0;
    for (int i = 0; i < weights.size(); ++i) {
        sum += digits.at(i).digitValue() * weights.at(i);
    }
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

const QList<int> cpfFirst{10, 9, 8, 7, 6, 5, 4, 3, 2};
const QList<int> cpfSecond{11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
const QList<int> cnpjFirst{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
const QList<int> cnpjSecond{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};

QString withCheckDigits(QString digits, const QList<int> &first, const QList<int> &second)
{
    digits += QString::number(checkDigit(digits, first));
    digits += QString::number(checkDigit(digits, second));
    return digits;
}

bool allDigits(const QString &text, int length)
{
    if (text.size() != length) {
        return false;
    }
    for (const QChar c : text) {
        if (!c.isDigit()) {
            return false;
        }
    }
    return true;
}

} // namespace

namespace TaxIds {

QString cpf(quint64 base)
{
    return withCheckDigits(QString::number(base % 1000000000ULL).rightJustified(9, QLatin1Char('0')), cpfFirst, cpfSecond);
}

QString cnpj(quint64 root)
{
    const QString digits = QString::number(root % 100000000ULL).rightJustified(8, QLatin1Char('0')) + QStringLiteral("0001");
    return withCheckDigits(digits, cnpjFirst, cnpjSecond);
}

bool isValidCpf(const QString &digits)
{
    return allDigits(digits, 11) && withCheckDigits(digits.left(9), cpfFirst, cpfSecond) == digits;
}

bool isValidCnpj(const QString &digits)
{
    return allDigits(digits, 14) && withCheckDigits(digits.left(12), cnpjFirst, cnpjSecond) == digits;
}

} // namespace TaxIds

#pragma once

#include <QString>

// Brazilian registration numbers with their check digits, so demo clients
// pass the same validation real ones do.
namespace TaxIds {
// 11 digits: the 9 base digits of `base` (taken modulo 10^9) and two check digits.
QString cpf(quint64 base);
// 14 digits: the 8 root digits of `root`, the 4-digit branch "0001" and two check digits.
QString cnpj(quint64 root);
bool isValidCpf(const QString &digits);
bool isValidCnpj(const QString &digits);
} // namespace TaxIds

#include "Consiste.h"

#include "Abort.h"
#include "HostDialogs.h"
#include "InputMask.h"

#include <QJsonObject>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

// A double holds 15 significant decimal digits reliably; rounding works on
// that decimal text, so 2.675 (stored as 2.67499999...) is rounded as 2.675.
constexpr int significantDigits = 15;

bool canTakeFocus(const QWidget *widget, bool byTabOnly)
{
    if (!widget->isEnabled() || !widget->isVisibleTo(widget->window())) {
        return false;
    }
    if (byTabOnly) {
        return (widget->focusPolicy() & Qt::TabFocus) != 0;
    }
    return widget->focusPolicy() != Qt::NoFocus;
}

// Adds one to a string of decimal digits ("129" -> "130", "99" -> "100").
std::string incremented(std::string digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return digits;
        }
        *it = '0';
    }
    return '1' + digits;
}

} // namespace

namespace Consiste {

void MensErro(const QString &text, bool abandon)
{
    HostDialogs::current().showMessage(HostDialogs::Icon::Warning, QStringLiteral("Atenção"), text);
    if (abandon) {
        throw Abort();
    }
}

bool EmptyString(const QString &text)
{
    return text.trimmed().isEmpty();
}

QString Ajusta(const QString &code, int width)
{
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty()) {
        return QString();
    }
    return trimmed.rightJustified(width, QLatin1Char('0'), false);
}

QJsonValue CheckResultServ(const QJsonValue &answer, bool abandon, int context)
{
    Q_UNUSED(context);
    const QJsonObject object = answer.toObject();
    const QJsonValue ok = object.value(QStringLiteral("ok"));
    if (!answer.isObject() || !ok.isBool()) {
        throw std::runtime_error("Resposta inválida do servidor.");
    }
    if (ok.toBool()) {
        const QJsonValue data = object.value(QStringLiteral("data"));
        return data.isUndefined() ? QJsonValue(QJsonValue::Null) : data;
    }
    const QJsonValue message = object.value(QStringLiteral("message"));
    if (!message.isString()) {
        throw std::runtime_error("Resposta inválida do servidor.");
    }
    HostDialogs::current().showMessage(HostDialogs::Icon::Error, QStringLiteral("Erro"),
                                       message.toString());
    if (abandon) {
        throw Abort();
    }
    return QJsonValue(QJsonValue::Undefined);
}

QString PictPess(const QString &personType)
{
    if (personType == QLatin1String("F")) {
        return QStringLiteral("999.999.999-99;_");
    }
    if (personType == QLatin1String("J")) {
        return QStringLiteral("99.999.999/9999-99;_");
    }
    return QString();
}

QString FormatMaskText(const QString &mask, const QString &raw)
{
    return InputMask::format(mask, raw);
}

double RoundDec(long double value, int decimals)
{
    if (!std::isfinite(value) || value == 0.0L) {
        return static_cast<double>(value);
    }
    // "d.dddddddddddddde±XX": the 15 significant digits and the exponent.
    char text[64];
    std::snprintf(text, sizeof text, "%.*Le", significantDigits - 1, std::fabs(value));
    const std::string scientific(text);
    const std::string digits = scientific.substr(0, 1) + scientific.substr(2, significantDigits - 1);
    const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);

    const int kept = exponent + 1 + decimals; // digits before the rounding place
    if (kept >= significantDigits) {
        return static_cast<double>(value);
    }
    if (kept < 0) {
        return 0.0;
    }
    std::string rounded = kept == 0 ? std::string("0") : digits.substr(0, kept);
    if (digits.at(kept) >= '5') {
        rounded = incremented(rounded);
    }
    const std::string result = rounded + 'e' + std::to_string(exponent + 1 - kept);
    const double magnitude = std::strtod(result.c_str(), nullptr);
    if (magnitude == 0.0) {
        return 0.0;
    }
    return value < 0 ? -magnitude : magnitude;
}

void SetChildEnabled(QWidget *container, bool enabled)
{
    if (!container) {
        return;
    }
    const QList<QWidget *> children = container->findChildren<QWidget *>();
    for (QWidget *child : children) {
        child->setEnabled(enabled);
    }
}

QWidget *SelectNextControl(QWidget *current, bool goForward, bool checkTabStop, bool checkParent)
{
    if (!current) {
        return nullptr;
    }
    QWidget *candidate = current;
    while (true) {
        candidate = goForward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (!candidate || candidate == current) {
            return nullptr;
        }
        if (candidate->window() != current->window()) {
            continue;
        }
        if (checkParent && candidate->parentWidget() != current->parentWidget()) {
            continue;
        }
        if (canTakeFocus(candidate, checkTabStop)) {
            return candidate;
        }
    }
}

void SelectFirstControl(QWidget *container)
{
    if (!container) {
        return;
    }
    for (QWidget *candidate = container->nextInFocusChain(); candidate && candidate != container;
         candidate = candidate->nextInFocusChain()) {
        if (container->isAncestorOf(candidate) && canTakeFocus(candidate, true)) {
            candidate->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace Consiste

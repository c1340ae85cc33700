#pragma once

#include <QJsonValue>
#include <QString>

class QWidget;

// The host's validation and formatting routines shared by every screen.
namespace Consiste {

// Shows `text` as a warning titled "Atenção" through the host dialogs; with
// `abandon` it then throws Abort, the silent stop of the operation. Throws
// std::logic_error when no host dialogs are installed.
void MensErro(const QString &text, bool abandon);

// True for the empty text and for text made only of blanks or other
// whitespace.
bool EmptyString(const QString &text);

// Brings a code to `width` characters the way codes are stored: zeros are
// filled in on the LEFT ("12", 4 -> "0012"). A longer code is never cut, so a
// wrong code stays visible as such ("12345", 4 -> "12345"). Blanks around the
// code are dropped first (a masked edit shows empty positions as blanks), and
// an empty or blank code stays empty: there is no code to adjust.
QString Ajusta(const QString &code, int width);

// Checks a server answer of the checked form {"ok":true,"data":X} or
// {"ok":false,"message":"text"}. On success returns X (null when absent).
// On failure shows the message as an error box titled "Erro"; with `abandon`
// then throws Abort, otherwise returns an undefined QJsonValue. Any other
// shape throws std::runtime_error("Resposta inválida do servidor.").
// `context` names the help topic of the message; the host shows none.
QJsonValue CheckResultServ(const QJsonValue &answer, bool abandon, int context);

// The edit mask of a registration number by person type, in input-mask
// syntax: "F" (person) gives the CPF mask "999.999.999-99;_", "J" (company)
// the CNPJ mask "99.999.999/9999-99;_", any other type the empty mask.
QString PictPess(const QString &personType);

// The text an input mask shows for a raw value: the mask's literal
// characters are put between the raw characters ("999.999.999-99;_" and
// "12345678901" -> "123.456.789-01"), with the mask's case conversions
// (">" upper, "<" lower, "!" none) applied. A raw character that already is
// the literal of its place is taken as that literal, so formatted text is not
// formatted twice. The output stops where the raw value ends; raw characters
// beyond the mask are dropped, as in the masked edit. The empty mask returns
// `raw` unchanged.
QString FormatMaskText(const QString &mask, const QString &raw);

// Rounds half away from zero at `decimals` places on the DECIMAL value the
// number stands for, not on its binary approximation: 2.675 -> 2.68,
// 1.005 -> 1.01, -0.125 -> -0.13, although each of them is stored a little
// below its decimal value. The value is first written with 15 significant
// digits (all a double holds reliably), that decimal text is rounded, and the
// result read back as the nearest double. A value whose decimals are already
// within those 15 digits comes back unchanged; NaN and infinities too.
// Negative `decimals` round to tens, hundreds...
double RoundDec(long double value, int decimals);

// Enables or disables every widget inside `container`, at every depth; the
// container itself keeps its own state. Does nothing for nullptr.
void SetChildEnabled(QWidget *container, bool enabled);

// The next (or, with goForward false, the previous) widget after `current`
// in the tab chain of current's window that can take the focus (enabled,
// shown in the window, focus policy other than none). `checkTabStop` admits
// only widgets that take the focus by Tab; `checkParent` only widgets with
// the same parent as `current`. Returns nullptr when no widget qualifies or
// `current` is nullptr. Moves no focus.
QWidget *SelectNextControl(QWidget *current, bool goForward, bool checkTabStop, bool checkParent);

// Gives the focus to the first widget inside `container`, in tab order, that
// takes the focus by Tab and is enabled and shown; nothing happens when none
// does or `container` is nullptr.
void SelectFirstControl(QWidget *container);

} // namespace Consiste

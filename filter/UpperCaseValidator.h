#pragma once

#include <QValidator>

// Quote numbers may hold letters, and they are stored upper-case: the
// validator turns every letter typed or pasted into an edit to upper case.
// It never refuses a text; the edit's own length limit still applies.
class UpperCaseValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
};

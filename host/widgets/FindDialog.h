#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class RecordList;

// The find window of the Qt host dialogs: which field (a list of the list's
// visible fields by label) and what text. Enter confirms, Esc cancels.
class FindDialog final : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(const RecordList &list, QWidget *parent = nullptr);

    int fieldIndex() const; // the chosen field's index in the list; -1 when none
    QString text() const;

private:
    QComboBox *m_fields;
    QLineEdit *m_text;
};

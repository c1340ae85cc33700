#pragma once

#include "FindInList.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class RecordList;

// The find window of the Qt host dialogs: which field (a list of the list's
// visible fields by label) and what text. Enter confirms, Esc cancels. It
// opens with the field and text last searched in the list, the text selected
// so that typing replaces it.
class FindDialog final : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(const RecordList &list, QWidget *parent = nullptr);

    // The chosen field and text; none when the list shows no field.
    std::optional<FindInList::Criterion> criterion() const;

private:
    QComboBox *m_fields;
    QLineEdit *m_text;
};

#pragma once

#include <QDialog>

class QComboBox;

// The saved-options chooser of the Qt host dialogs: a list of the names
// already saved, in which a new name may be typed when creating is allowed.
// Enter confirms, Esc cancels.
class NameDialog final : public QDialog {
    Q_OBJECT
public:
    NameDialog(const QString &title, const QStringList &existing, bool mayCreate, QWidget *parent = nullptr);

    QString name() const; // the chosen or typed name, without surrounding blanks

private:
    QComboBox *m_names;
};

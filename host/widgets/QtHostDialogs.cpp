#include "QtHostDialogs.h"

#include "FindDialog.h"
#include "FindInList.h"
#include "NameDialog.h"
#include "PasswordDialog.h"
#include "PickDialog.h"
#include "RecordList.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
QMessageBox::Icon boxIcon(HostDialogs::Icon icon)
{
    switch (icon) {
    case HostDialogs::Icon::Information:
        return QMessageBox::Information;
    case HostDialogs::Icon::Warning:
        return QMessageBox::Warning;
    case HostDialogs::Icon::Error:
        return QMessageBox::Critical;
    case HostDialogs::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString defaultTitle(HostDialogs::Icon icon)
{
    switch (icon) {
    case HostDialogs::Icon::Information:
        return QStringLiteral("Informação");
    case HostDialogs::Icon::Warning:
        return QStringLiteral("Atenção");
    case HostDialogs::Icon::Error:
        return QStringLiteral("Erro");
    case HostDialogs::Icon::Question:
        return QStringLiteral("Confirmação");
    }
    return {};
}

QString titleOrDefault(HostDialogs::Icon icon, const QString &title)
{
    return title.isEmpty() ? defaultTitle(icon) : title;
}
} // namespace

QtHostDialogs &QtHostDialogs::instance()
{
    static QtHostDialogs dialogs;
    return dialogs;
}

QWidget *QtHostDialogs::window()
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

void QtHostDialogs::showMessage(Icon icon, const QString &title, const QString &text)
{
    showDetailedMessage(icon, title, text, QString());
}

void QtHostDialogs::showDetailedMessage(Icon icon, const QString &title, const QString &text, const QString &details)
{
    QMessageBox box(boxIcon(icon), titleOrDefault(icon, title), text, QMessageBox::NoButton, window());
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    box.setDetailedText(details);
    box.exec();
}

int QtHostDialogs::ask(Icon icon, const QString &title, const QString &text, const QStringList &buttons)
{
    QMessageBox box(boxIcon(icon), titleOrDefault(icon, title), text, QMessageBox::NoButton, window());
    QList<QPushButton *> added;
    for (const QString &caption : buttons) {
        added << box.addButton(caption, QMessageBox::ActionRole);
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(added.first());
        box.setEscapeButton(added.last());
    }
    box.exec();
    return static_cast<int>(added.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
}

bool QtHostDialogs::pickOne(RecordList &list, const QString &, const QString &title)
{
    PickDialog dialog(list, title, PickDialog::Mode::Single, window());
    if (dialog.exec() != QDialog::Accepted || dialog.currentRow() < 0) {
        return false;
    }
    list.moveTo(dialog.currentRow());
    return true;
}

bool QtHostDialogs::pickMany(RecordList &list, const QString &keyField, const QString &title, QStringList &keys)
{
    const int keyColumn = list.fieldByName(keyField).index();
    PickDialog dialog(list, title, PickDialog::Mode::Multiple, window());
    int firstTicked = -1;
    for (int row = 0; row < list.recordCount(); ++row) {
        if (keys.contains(list.valueAt(row, keyColumn).toString())) {
            dialog.setTicked(row, true);
            firstTicked = firstTicked < 0 ? row : firstTicked;
        }
    }
    dialog.setCurrentRow(firstTicked);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    keys.clear();
    for (int row : dialog.tickedRows()) {
        keys << list.valueAt(row, keyColumn).toString();
    }
    return true;
}

bool QtHostDialogs::find(RecordList &list)
{
    FindDialog dialog(list, window());
    const auto criterion = dialog.exec() == QDialog::Accepted ? dialog.criterion() : std::nullopt;
    if (!criterion) {
        return false;
    }
    if (FindInList::From(list, *criterion, 0)) {
        return true;
    }
    showMessage(Icon::Information, QStringLiteral("Procurar"), QStringLiteral("Registro não encontrado."));
    return false;
}

QString QtHostDialogs::chooseName(const QString &title, const QStringList &existing, bool mayCreate)
{
    NameDialog dialog(title, existing, mayCreate, window());
    return dialog.exec() == QDialog::Accepted ? dialog.name() : QString();
}

QString QtHostDialogs::askPassword(const QString &title, const QString &text)
{
    PasswordDialog dialog(title, text, window());
    return dialog.exec() == QDialog::Accepted ? dialog.password() : QString();
}

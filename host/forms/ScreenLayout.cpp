#include "ScreenLayout.h"

#include "Corvane.h"
#include "TDBGrid.h"
#include "THostForm.h"

#include <QHeaderView>
#include <QMdiSubWindow>
#include <QSettings>

namespace {

QString group(const THostForm &form)
{
    return QStringLiteral("telas/%1/%2").arg(Corvane::Operador(), form.ScreenCode());
}

QString widthsKey(const TDBGrid &grid)
{
    return QStringLiteral("colunas/") + grid.objectName();
}

} // namespace

namespace ScreenLayout {

void Restore(THostForm &form)
{
    QMdiSubWindow *window = form.subWindow();
    QSettings settings;
    settings.beginGroup(group(form));
    if (!window || Corvane::Operador().isEmpty() || !settings.contains(QStringLiteral("tamanho"))) {
        return;
    }
    window->resize(settings.value(QStringLiteral("tamanho")).toSize());
    for (TDBGrid *grid : form.findChildren<TDBGrid *>()) {
        const QVariantMap widths = settings.value(widthsKey(*grid)).toMap();
        // Resized as the operator would drag them: the grid keeps them across
        // reloads, and its current cell stays where it is.
        for (auto width = widths.constBegin(); width != widths.constEnd(); ++width) {
            const int column = grid->columnOfField(width.key());
            if (column >= 0) {
                grid->horizontalHeader()->resizeSection(column, width.value().toInt());
            }
        }
    }
    if (settings.value(QStringLiteral("maximizada")).toBool()) {
        window->showMaximized();
    }
}

void Save(const THostForm &form)
{
    const QMdiSubWindow *window = form.subWindow();
    if (!window || Corvane::Operador().isEmpty()) {
        return;
    }
    QSettings settings;
    settings.beginGroup(group(form));
    // A maximised window keeps the size saved before, the one it goes back to
    // (the document area does not tell a sub-window's normal size).
    if (!window->isMaximized() || !settings.contains(QStringLiteral("tamanho"))) {
        settings.setValue(QStringLiteral("tamanho"), window->size());
    }
    settings.setValue(QStringLiteral("maximizada"), window->isMaximized());
    for (const TDBGrid *grid : form.findChildren<TDBGrid *>()) {
        QVariantMap widths;
        for (const TDBGrid::Column &column : grid->columns()) {
            if (column.width >= 0) {
                widths.insert(column.fieldName, column.width);
            }
        }
        settings.setValue(widthsKey(*grid), widths);
    }
}

} // namespace ScreenLayout

#include "ScreenLayout.h"

#include "Corvane.h"
#include "TDBGrid.h"
#include "THostForm.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
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

// How much wider the grid must be to show all its columns beside the
// vertical scroll bar.
int missingWidth(const TDBGrid &grid)
{
    const int needed = grid.horizontalHeader()->length() + 2 * grid.frameWidth() +
                       grid.verticalScrollBar()->sizeHint().width();
    return needed - grid.width();
}

// A screen seen for the first time opens wide enough to show its grids'
// columns, as far as the document area allows.
void fitToGrids(THostForm &form, QMdiSubWindow &window)
{
    int missing = 0;
    for (const TDBGrid *grid : form.findChildren<TDBGrid *>()) {
        missing = std::max(missing, missingWidth(*grid));
    }
    const QMdiArea *area = window.mdiArea();
    if (missing <= 0 || !area) {
        return;
    }
    const int widest = area->viewport()->width() - window.x();
    window.resize(std::max(window.width(), std::min(window.width() + missing, widest)), window.height());
}

} // namespace

namespace ScreenLayout {

void Restore(THostForm &form)
{
    QMdiSubWindow *window = form.subWindow();
    QSettings settings;
    settings.beginGroup(group(form));
    if (!window) {
        return;
    }
    if (Corvane::Operador().isEmpty() || !settings.contains(QStringLiteral("tamanho"))) {
        fitToGrids(form, *window);
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

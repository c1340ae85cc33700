#include "ScreenLayout.h"

#include "AreaFit.h"
#include "Corvane.h"
#include "NormalGeometry.h"
#include "TDBGrid.h"
#include "THostForm.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSettings>

#include <algorithm>

namespace {

const QString geometryKey = QStringLiteral("geometria");
const QString maximizedKey = QStringLiteral("maximizada");

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

// A screen seen for the first time goes back, when the operator restores
// it, to a size wide enough to show its grids' columns.
QSize widenedToGrids(const THostForm &form, const QSize &size)
{
    int missing = 0;
    for (const TDBGrid *grid : form.findChildren<TDBGrid *>()) {
        missing = std::max(missing, missingWidth(*grid));
    }
    return {size.width() + missing, size.height()};
}

void restoreWidths(THostForm &form, const QSettings &settings)
{
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
}

} // namespace

namespace ScreenLayout {

bool Restore(THostForm &form)
{
    QMdiSubWindow *window = form.subWindow();
    const QMdiArea *area = window ? window->mdiArea() : nullptr;
    if (!area) {
        return false;
    }
    QSettings settings;
    settings.beginGroup(group(form));
    const bool seenBefore = !Corvane::Operador().isEmpty() && settings.contains(geometryKey);
    const QSize designed = window->size();
    const QRect wanted = seenBefore ? settings.value(geometryKey).toRect()
                                    : QRect(window->pos(), widenedToGrids(form, designed));
    window->setGeometry(AreaFit::inside(wanted, designed, area->viewport()->size()));
    NormalGeometry::follow(*window);
    if (seenBefore) {
        restoreWidths(form, settings);
    }
    // Maximised, the screen follows the area when the main window changes
    // size or display; its normal geometry stays the operator's own.
    return !seenBefore || settings.value(maximizedKey).toBool();
}

void Save(const THostForm &form)
{
    const QMdiSubWindow *window = form.subWindow();
    if (!window || Corvane::Operador().isEmpty()) {
        return;
    }
    QSettings settings;
    settings.beginGroup(group(form));
    settings.setValue(geometryKey, NormalGeometry::of(*window));
    settings.setValue(maximizedKey, window->isMaximized());
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

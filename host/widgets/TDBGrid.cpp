#include "TDBGrid.h"

#include "Abort.h"
#include "ColumnFit.h"
#include "CursorOverride.h"
#include "Field.h"
#include "GridCellDelegate.h"
#include "GridTitleModel.h"
#include "HostDialogs.h"
#include "HostGuard.h"
#include "RecordList.h"
#include "RecordListModel.h"
#include "TDataSource.h"

#include <QDebug>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>

#include <algorithm>

namespace {
// A column whose field the list lacks gets the width a grid gives an
// unknown column.
constexpr int unknownFieldWidth = 64;
} // namespace

struct TDBGrid::Private {
    QPointer<TDataSource> source;
    RecordListModel *model = nullptr;
    GridTitleModel *titles = nullptr;
    QList<Column> columns;
    // Set while the grid itself moves its current cell to the list's record,
    // or while the model is being reshaped, so those moves are not taken for
    // the operator's.
    int followingList = 0;
    bool applyingWidths = false;
    // Fields whose column the operator sized: their width is taken as it is.
    QSet<QString> sizedByOperator;
    // The field of the current column while the model resets: the cell
    // comes back in the same column, not in the first.
    QString fieldBeforeReset;
};

TDBGrid::TDBGrid(QWidget *parent)
    : QTableView(parent)
    , d(std::make_unique<Private>())
{
    d->titles = new GridTitleModel(this);
    setModel(d->titles);
    setItemDelegate(new GridCellDelegate(
        [this](QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) {
            return paintCell(painter, option, index);
        },
        this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    // The operator must still see which quote is current while working in
    // another control of the screen.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setBrush(QPalette::Inactive, role, colours.brush(QPalette::Active, role));
    }
    setPalette(colours);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                currentCellChanged(current, previous);
            });
    connect(d->titles, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        ++d->followingList;
        d->fieldBeforeReset = selectedFieldName();
    });
    connect(d->titles, &QAbstractItemModel::modelReset, this, [this] {
        --d->followingList;
        applyTitles();
        applyColumnWidths();
        showOrder();
        followList();
    });
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TDBGrid::sortByColumn);
    // Rows coming and going move the view's current cell by themselves;
    // only the list says which record is current.
    const auto holdCurrent = [this] { ++d->followingList; };
    const auto releaseCurrent = [this] {
        --d->followingList;
        followList();
    };
    connect(d->titles, &QAbstractItemModel::rowsAboutToBeInserted, this, holdCurrent);
    connect(d->titles, &QAbstractItemModel::rowsInserted, this, releaseCurrent);
    connect(d->titles, &QAbstractItemModel::rowsAboutToBeRemoved, this, holdCurrent);
    connect(d->titles, &QAbstractItemModel::rowsRemoved, this, releaseCurrent);
    connect(d->titles, &QAbstractItemModel::layoutAboutToBeChanged, this, holdCurrent);
    connect(d->titles, &QAbstractItemModel::layoutChanged, this, releaseCurrent);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        const int entry = d->applyingWidths ? -1 : declaredColumn(column);
        if (entry >= 0) {
            d->columns[entry].width = width;
            d->sizedByOperator.insert(d->columns.at(entry).fieldName);
        }
    });
}

TDBGrid::~TDBGrid()
{
    // The view's base destructors still tear down the models and header;
    // nothing they signal may reach a grid whose state is gone.
    disconnect(d->titles, nullptr, this, nullptr);
    disconnect(selectionModel(), nullptr, this, nullptr);
    disconnect(horizontalHeader(), nullptr, this, nullptr);
}

void TDBGrid::setDataSource(TDataSource *source)
{
    if (d->source == source) {
        return;
    }
    if (d->source) {
        disconnect(d->source, nullptr, this, nullptr);
    }
    d->source = source;
    if (source) {
        connect(source, &TDataSource::dataSetChanged, this, &TDBGrid::rebuildModel);
        connect(source, &TDataSource::currentChanged, this, &TDBGrid::followList);
        connect(source, &QObject::destroyed, this, &TDBGrid::rebuildModel);
    }
    rebuildModel();
}

TDataSource *TDBGrid::dataSource() const
{
    return d->source;
}

void TDBGrid::setColumns(const QList<Column> &columns)
{
    d->columns = columns;
    d->sizedByOperator.clear();
    applyColumns();
}

QList<TDBGrid::Column> TDBGrid::columns() const
{
    return d->columns;
}

int TDBGrid::selectedIndex() const
{
    return currentIndex().column();
}

void TDBGrid::setSelectedIndex(int column)
{
    if (column < 0 || column >= d->titles->columnCount()) {
        return;
    }
    const int row = currentIndex().isValid() ? currentIndex().row() : currentListRow();
    if (row < 0 || row >= d->titles->rowCount()) {
        return;
    }
    selectionModel()->setCurrentIndex(d->titles->index(row, column), QItemSelectionModel::ClearAndSelect);
    scrollTo(currentIndex());
}

QString TDBGrid::selectedFieldName() const
{
    const Field *field = selectedField();
    return field ? field->name() : QString();
}

int TDBGrid::columnOfField(const QString &fieldName) const
{
    return d->model ? d->model->columnOfField(fieldName) : -1;
}

Field *TDBGrid::selectedField() const
{
    const int column = selectedIndex();
    return d->model && column >= 0 ? d->model->fieldAt(column) : nullptr;
}

void TDBGrid::setSelectedField(const QString &fieldName)
{
    setSelectedIndex(columnOfField(fieldName));
}

RecordListModel *TDBGrid::recordModel() const
{
    return d->model;
}

QString TDBGrid::titleOfField(const QString &fieldName) const
{
    const int column = columnOfField(fieldName);
    return column < 0 ? QString() : d->titles->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

void TDBGrid::sortByColumn(int column)
{
    RecordList *list = d->source ? d->source->dataSet() : nullptr;
    const Field *field = d->model ? d->model->fieldAt(column) : nullptr;
    if (!list || !field || list->isEditing()) {
        showOrder(); // the header may have flipped its arrow by itself
        return;
    }
    const bool ordered = list->orderField().compare(field->name(), Qt::CaseInsensitive) == 0;
    HostGuard::run([&] {
        CursorOverride busy(Qt::WaitCursor);
        if (!ordered) {
            list->setOrder(field->name(), Qt::AscendingOrder);
        } else if (list->orderDirection() == Qt::AscendingOrder) {
            list->setOrder(field->name(), Qt::DescendingOrder);
        } else {
            list->setOrder(QString());
        }
    });
    showOrder();
}

void TDBGrid::showOrder()
{
    const RecordList *list = d->source ? d->source->dataSet() : nullptr;
    const int column = list && !list->orderField().isEmpty() ? columnOfField(list->orderField()) : -1;
    horizontalHeader()->setSortIndicatorShown(column >= 0);
    horizontalHeader()->setSortIndicator(column, list ? list->orderDirection() : Qt::AscendingOrder);
}

QBrush TDBGrid::cellBrush(const QStyleOptionViewItem &option)
{
    if (option.state & QStyle::State_Selected) {
        return option.palette.brush(QPalette::Active, QPalette::Highlight);
    }
    if (option.backgroundBrush.style() != Qt::NoBrush) {
        return option.backgroundBrush;
    }
    return option.palette.brush(QPalette::Active, QPalette::Base);
}

void TDBGrid::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    if (onKeyDown) {
        const bool ran = HostGuard::run([&] { onKeyDown(*this, key, event->modifiers()); });
        // An abandoned handler stops the key as well: what it guarded
        // must not happen.
        if (!ran || key == 0) {
            event->accept();
            return;
        }
    }
    if (key == Qt::Key_O && event->modifiers() == Qt::ControlModifier) {
        event->accept();
        sortByColumn(currentIndex().column());
        return;
    }
    if (key == Qt::Key_Delete && event->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        deleteCurrentRecord();
        return;
    }
    if (key != event->key()) {
        QKeyEvent changed(event->type(), key, event->modifiers());
        QTableView::keyPressEvent(&changed);
        event->setAccepted(changed.isAccepted());
        return;
    }
    QTableView::keyPressEvent(event);
}

bool TDBGrid::focusNextPrevChild(bool next)
{
    const QModelIndex current = currentIndex();
    int firstShown = 0;
    while (firstShown < horizontalHeader()->count() && isColumnHidden(horizontalHeader()->logicalIndex(firstShown))) {
        ++firstShown;
    }
    const bool onFirstColumn =
        !current.isValid() || horizontalHeader()->visualIndex(current.column()) <= firstShown;
    if (!next && onFirstColumn) {
        return QAbstractScrollArea::focusNextPrevChild(false);
    }
    return QTableView::focusNextPrevChild(next);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (onDblClick) {
        HostGuard::run([this] { onDblClick(*this); });
    }
}

void TDBGrid::rebuildModel()
{
    RecordList *list = d->source ? d->source->dataSet() : nullptr;
    RecordListModel *old = d->model;
    d->model = list ? new RecordListModel(list, this) : nullptr;
    d->titles->setSourceModel(d->model);
    delete old;
    applyColumns();
}

void TDBGrid::applyColumns()
{
    if (d->model) {
        d->model->setColumns(columnFieldNames());
    }
    applyTitles();
    applyColumnWidths();
    followList();
}

QStringList TDBGrid::columnFieldNames() const
{
    QStringList names;
    for (const Column &column : std::as_const(d->columns)) {
        names << column.fieldName;
    }
    return names;
}

int TDBGrid::declaredColumn(int column) const
{
    const Field *field = d->model ? d->model->fieldAt(column) : nullptr;
    if (!field) {
        return -1;
    }
    for (int entry = 0; entry < d->columns.size(); ++entry) {
        if (d->columns.at(entry).fieldName.compare(field->name(), Qt::CaseInsensitive) == 0) {
            return entry;
        }
    }
    return -1;
}

void TDBGrid::applyTitles()
{
    // The model skips the columns whose field the list does not have (yet),
    // so titles go by field name, not by position.
    QList<GridTitleModel::Title> titles;
    for (int column = 0; column < d->titles->columnCount(); ++column) {
        const int entry = declaredColumn(column);
        if (entry < 0) {
            titles.append(GridTitleModel::Title{});
            continue;
        }
        const Column &given = d->columns.at(entry);
        titles.append(GridTitleModel::Title{given.title, given.titleAlignment, given.titleColor});
    }
    d->titles->setTitles(titles);
}

void TDBGrid::applyColumnWidths()
{
    d->applyingWidths = true;
    for (int column = 0; column < d->titles->columnCount(); ++column) {
        const int entry = declaredColumn(column);
        const Column *given = entry >= 0 ? &d->columns.at(entry) : nullptr;
        int width = given && given->width >= 0 ? given->width : defaultColumnWidth(column);
        // A designed width was chosen for another font: it still has to show
        // the title and a usual value. What the operator dragged stays.
        if (!given || !d->sizedByOperator.contains(given->fieldName)) {
            width = std::max(width, readableWidth(column));
        }
        horizontalHeader()->resizeSection(column, width);
    }
    d->applyingWidths = false;
}

int TDBGrid::defaultColumnWidth(int column) const
{
    const Field *field = d->model ? d->model->fieldAt(column) : nullptr;
    if (!field) {
        return unknownFieldWidth;
    }
    return ColumnFit::textWidth(*this, field->displayWidth());
}

int TDBGrid::readableWidth(int column) const
{
    return ColumnFit::readableWidth(*this, d->titles->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
                                    d->model ? d->model->fieldAt(column) : nullptr);
}

int TDBGrid::currentListRow() const
{
    const RecordList *list = d->source ? d->source->dataSet() : nullptr;
    return list && list->isActive() ? list->recNo() : -1;
}

void TDBGrid::followList()
{
    if (d->followingList > 0) {
        return;
    }
    const int row = currentListRow();
    if (row < 0 || row >= d->titles->rowCount() || d->titles->columnCount() == 0) {
        return;
    }
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row && selectionModel()->isSelected(current)) {
        return;
    }
    const int column = current.isValid() ? current.column() : std::max(0, columnOfField(d->fieldBeforeReset));
    ++d->followingList;
    selectionModel()->setCurrentIndex(d->titles->index(row, column), QItemSelectionModel::ClearAndSelect);
    --d->followingList;
    scrollTo(currentIndex());
}

void TDBGrid::currentCellChanged(const QModelIndex &current, const QModelIndex &previous)
{
    Q_UNUSED(previous);
    if (d->followingList > 0 || !current.isValid()) {
        return;
    }
    RecordList *list = d->source ? d->source->dataSet() : nullptr;
    if (!list || !list->isActive() || list->recNo() == current.row()) {
        return;
    }
    const int wanted = current.row();
    HostGuard::run([list, wanted] { list->moveTo(wanted); });
    if (list->recNo() != wanted) {
        // The list refused the move (or a handler moved it elsewhere): put
        // the cell back on the list's record once the view has finished
        // with the click or key that asked for the move.
        QMetaObject::invokeMethod(this, &TDBGrid::followList, Qt::QueuedConnection);
    }
}

bool TDBGrid::paintCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (!onDrawColumnCell || !d->model) {
        return false;
    }
    Field *field = d->model->fieldAt(index.column());
    if (!field) {
        return false;
    }
    // Not the host guard's error box: a box opened from inside a paint would
    // be painted over by the very grid that failed, again and again. The
    // cell falls back to the standard painting and the log says why.
    try {
        return onDrawColumnCell(painter, option, *field, index.row());
    } catch (const Abort &) {
        return false;
    } catch (const std::exception &failure) {
        qWarning() << "TDBGrid: drawing" << field->name() << "row" << index.row() << "failed:" << failure.what();
        return false;
    }
}

void TDBGrid::deleteCurrentRecord()
{
    RecordList *list = d->source ? d->source->dataSet() : nullptr;
    if (!list || !list->isActive() || list->isEmpty()) {
        return;
    }
    HostGuard::run([this, list] {
        if (m_confirmDelete) {
            const int answer = HostDialogs::current().ask(HostDialogs::Icon::Question, QStringLiteral("Confirmação"),
                                                          QStringLiteral("Confirma exclusão?"),
                                                          {QStringLiteral("Sim"), QStringLiteral("Não")});
            if (answer != 0) {
                return;
            }
        }
        list->remove();
    });
}

#include "PickDialog.h"

#include "ColumnFit.h"
#include "Field.h"
#include "PickCheckModel.h"
#include "RecordList.h"
#include "RecordListModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int widestColumn = 360;
// The rows measured for what their columns show (a code through its mask
// is longer than its size).
constexpr int sampledRows = 200;
// Between the tick and the text of a multiple choice's first column.
constexpr int tickSpacing = 8;

QStringList visibleFieldNames(const RecordList &list)
{
    QStringList names;
    for (int index = 0; index < list.fieldCount(); ++index) {
        if (list.field(index).isVisible()) {
            names << list.field(index).name();
        }
    }
    return names;
}
} // namespace

PickDialog::PickDialog(RecordList &list, const QString &title, Mode mode, QWidget *parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_records(new RecordListModel(&list, this))
    , m_search(new QLineEdit(this))
    , m_grid(new QTableView(this))
{
    setObjectName(QStringLiteral("pickDialog"));
    setWindowTitle(title);
    m_records->setColumns(visibleFieldNames(list));

    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->setPlaceholderText(QStringLiteral("Pesquisar"));
    m_grid->setObjectName(QStringLiteral("pickGrid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    if (mode == Mode::Multiple) {
        m_ticks = new PickCheckModel(this);
        m_ticks->setSourceModel(m_records);
        m_grid->setModel(m_ticks);
    } else {
        m_grid->setModel(m_records);
    }
    // Codes and titles whole, names as long as the first rows' up to a
    // limit. The first column of a multiple choice also holds the tick.
    const int tickWidth = mode == Mode::Multiple ? style()->pixelMetric(QStyle::PM_IndicatorWidth) + tickSpacing : 0;
    for (int column = 0; column < m_records->columnCount(); ++column) {
        const Field *field = m_records->fieldAt(column);
        const QString title = m_records->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        // What the rows show, or the field's display width while there are none.
        const int text = std::min(widestColumn, m_records->rowCount() > 0
                                                    ? sampledWidth(column)
                                                    : ColumnFit::textWidth(*m_grid, field ? field->displayWidth() : 10));
        m_grid->setColumnWidth(column, std::max(text, ColumnFit::readableWidth(*m_grid, title, field)) +
                                           (column == 0 ? tickWidth : 0));
    }

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const QString keys = mode == Mode::Multiple
                             ? QStringLiteral("Espaço marca ou desmarca; Ctrl+T marca ou desmarca todos; "
                                              "digite para pesquisar; Enter confirma; Esc cancela.")
                             : QStringLiteral("Digite para pesquisar; Enter escolhe; Esc cancela.");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_grid, 1);
    layout->addWidget(new QLabel(keys, this));
    layout->addWidget(buttons);
    // Wide enough for every column, as far as the screen allows.
    const int columnsWidth = m_grid->horizontalHeader()->length() + m_grid->verticalScrollBar()->sizeHint().width() +
                             2 * m_grid->frameWidth() + layout->contentsMargins().left() + layout->contentsMargins().right();
    const int screenWidth = screen() ? screen()->availableGeometry().width() * 9 / 10 : columnsWidth;
    resize(std::max(640, std::min(columnsWidth, screenWidth)), 420);

    connect(m_search, &QLineEdit::textEdited, this, &PickDialog::search);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_mode == Mode::Multiple) {
            m_ticks->toggle(index.row());
        } else {
            accept();
        }
    });
    m_search->installEventFilter(this);
    m_grid->installEventFilter(this);

    setCurrentRow(list.isActive() && list.recNo() >= 0 ? list.recNo() : 0);
    m_search->setFocus();
}

int PickDialog::sampledWidth(int column) const
{
    int widest = 0;
    for (int row = 0; row < std::min(sampledRows, m_records->rowCount()); ++row) {
        widest = std::max(widest, ColumnFit::valueWidth(*m_grid, m_records->index(row, column).data().toString()));
    }
    return widest;
}

int PickDialog::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void PickDialog::setCurrentRow(int row)
{
    QAbstractItemModel *shown = m_grid->model();
    if (row < 0 || row >= shown->rowCount() || shown->columnCount() == 0) {
        return;
    }
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() : 0;
    m_grid->selectionModel()->setCurrentIndex(shown->index(row, column),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(m_grid->currentIndex());
}

QList<int> PickDialog::tickedRows() const
{
    return m_ticks ? m_ticks->tickedRows() : QList<int>();
}

void PickDialog::setTicked(int row, bool ticked)
{
    if (m_ticks) {
        m_ticks->setTicked(row, ticked);
    }
}

bool PickDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(watched, static_cast<QKeyEvent *>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool PickDialog::handleKey(QObject *watched, QKeyEvent *event)
{
    const bool inSearch = watched == m_search;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (inSearch) {
            QKeyEvent moved(event->type(), event->key(), event->modifiers());
            QCoreApplication::sendEvent(m_grid, &moved);
            return true;
        }
        return false;
    case Qt::Key_Space:
        if (m_ticks && event->modifiers() == Qt::NoModifier) {
            m_ticks->toggle(currentRow());
            return true;
        }
        return typeIntoSearch(inSearch, event);
    case Qt::Key_T:
        if (m_ticks && event->modifiers() == Qt::ControlModifier) {
            m_ticks->toggleAll();
            return true;
        }
        return typeIntoSearch(inSearch, event);
    case Qt::Key_A:
        if (event->modifiers() == Qt::ControlModifier) {
            m_search->setFocus();
            m_search->selectAll();
            return true;
        }
        return typeIntoSearch(inSearch, event);
    default:
        return typeIntoSearch(inSearch, event);
    }
}

bool PickDialog::typeIntoSearch(bool inSearch, QKeyEvent *event)
{
    const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (inSearch || !typed) {
        return false;
    }
    m_search->setFocus();
    QKeyEvent retyped(event->type(), event->key(), event->modifiers(), event->text());
    QCoreApplication::sendEvent(m_search, &retyped);
    return true;
}

void PickDialog::search(const QString &text)
{
    if (text.isEmpty()) {
        return;
    }
    const int row = findRow(text);
    if (row >= 0) {
        setCurrentRow(row);
    }
}

int PickDialog::findRow(const QString &text) const
{
    const int rows = m_records->rowCount();
    const int columns = m_records->columnCount();
    const int searched = std::max(0, m_grid->currentIndex().column());
    for (int row = 0; row < rows; ++row) {
        const QString shown = m_records->index(row, searched).data(Qt::DisplayRole).toString();
        if (shown.startsWith(text, Qt::CaseInsensitive)) {
            return row;
        }
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (m_records->index(row, column).data(Qt::DisplayRole).toString().contains(text, Qt::CaseInsensitive)) {
                return row;
            }
        }
    }
    return -1;
}

#pragma once

#include <QColor>
#include <QList>
#include <QTableView>

#include <functional>
#include <memory>

class Field;
class TDataSource;
class RecordListModel;

// A grid over the list behind a data source. Its current row follows the
// list's current record both ways; cells are never edited in place.
//
// - Clicking or arrowing to another row moves the list (moveTo) inside the
//   host guard; when the list refuses (an event abandons or fails, the
//   failure being reported) the cell goes back to the list's record.
// - A column whose field the list does not have is left out until a load
//   brings that field; titles and widths follow the field, not the position.
// - A column without a width is as wide as its field's display width in
//   average characters plus the cell margin. No column is narrower than its
//   title, nor a code (a text of up to 10 characters) than its size, nor a
//   date or money column than a date with its time or a total in the
//   millions, unless the operator dragged it so; widths the operator drags
//   are kept across reloads.
// - Ctrl+Delete removes the current record, after "Confirma exclusão?" with
//   "Sim"/"Não" through the host dialogs when confirmDelete is set.
// - The vertical header (row indicator) is hidden, Tab moves between cells,
//   the selection keeps its colour while the grid is not focused.
// - Shift+Tab on the first column leaves the grid for the control before it,
//   instead of going back through every earlier record's cells.
// - A click on a column's title, or Ctrl+O in the grid for the current
//   column, puts the list in that column's order: ascending, then
//   descending, then the list's own order again (RecordList::setOrder). The
//   title of the column the list is ordered by shows an arrow. Nothing is
//   reordered while the list is being edited.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    struct Column {
        QString fieldName;
        QString title;                // the field's display label when empty
        int width = -1;               // pixels; -1 = from the field's display width
        Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        QColor titleColor;            // the style's title colour when invalid
    };

    explicit TDBGrid(QWidget *parent = nullptr);
    ~TDBGrid() override;

    void setDataSource(TDataSource *source);
    TDataSource *dataSource() const;

    // Without columns the grid shows the visible fields of the list.
    void setColumns(const QList<Column> &columns);
    QList<Column> columns() const;

    int selectedIndex() const;             // the current column
    void setSelectedIndex(int column);
    QString selectedFieldName() const;     // the field of the current column
    int columnOfField(const QString &fieldName) const; // -1 when not shown
    // The field of the current column; nullptr when the list is closed, has
    // no such field or no column is current.
    Field *selectedField() const;
    // Makes the column of that field current; nothing when it is not shown.
    void setSelectedField(const QString &fieldName);
    // The model the grid shows (nullptr while no list is bound).
    RecordListModel *recordModel() const;
    // The title the grid shows over that field; empty when not shown.
    QString titleOfField(const QString &fieldName) const;
    // The next step of the column's order, as a click on its title.
    void sortByColumn(int column);

    // The background the grid chose for a cell: the selection colour on the
    // selected cell, else the cell's own or the base colour. For drawing
    // hooks that fill the cell before painting over it.
    static QBrush cellBrush(const QStyleOptionViewItem &option);

    // The key and double-click handlers run inside the host guard. A key
    // handler may set `key` to 0: the key is then consumed and goes no
    // further; a handler that abandons or fails stops the key as well. Key
    // codes are Qt::Key values.
    std::function<void(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift)> onKeyDown;
    std::function<void(TDBGrid &sender)> onDblClick;
    // Custom painting of a data cell; return true when the cell was painted.
    // `option` is filled in for the cell (rectangle, selected state, text);
    // `row` is the record's row in the list. A hook that throws paints the
    // standard way and leaves a warning in the log (no error box from inside
    // a paint).
    std::function<bool(QPainter *painter, const QStyleOptionViewItem &option,
                       const Field &field, int row)> onDrawColumnCell;

    // Asked before a row is deleted with Ctrl+Delete (options: confirm delete).
    bool confirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void rebuildModel();
    void applyColumns();
    QStringList columnFieldNames() const;
    // The entry of setColumns() that shows the view's `column`; -1 for none.
    int declaredColumn(int column) const;
    void applyTitles();
    void applyColumnWidths();
    int defaultColumnWidth(int column) const;
    int readableWidth(int column) const;
    int currentListRow() const;
    void followList();
    void currentCellChanged(const QModelIndex &current, const QModelIndex &previous);
    bool paintCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);
    void deleteCurrentRecord();
    void showOrder();

    struct Private;
    std::unique_ptr<Private> d;
    bool m_confirmDelete = true;
};

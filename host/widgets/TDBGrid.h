#pragma once

#include <QColor>
#include <QList>
#include <QTableView>

#include <functional>

class Field;
class TDataSource;
class RecordListModel;

// A grid over the list behind a data source. Its current row follows the
// list's current record both ways; cells are never edited in place.
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

    // The background the grid chose for a cell: the selection colour on the
    // selected cell, else the cell's own or the base colour. For drawing
    // hooks that fill the cell before painting over it.
    static QBrush cellBrush(const QStyleOptionViewItem &option);

    // Handlers, all run inside the host guard. A key handler may set `key`
    // to 0: the key is then consumed and goes no further.
    std::function<void(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift)> onKeyDown;
    std::function<void(TDBGrid &sender)> onDblClick;
    // Custom painting of a data cell; return true when the cell was painted.
    std::function<bool(QPainter *painter, const QStyleOptionViewItem &option,
                       const Field &field, int row)> onDrawColumnCell;

    // Asked before a row is deleted with Ctrl+Delete (options: confirm delete).
    bool confirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void rebuildModel();
    void applyColumns();
    QStringList columnFieldNames() const;
    int columnSpec(int column) const;
    void applyTitles();
    void applyColumnWidths();
    int defaultColumnWidth(int column) const;
    int currentListRow() const;
    void followList();
    void currentCellChanged(const QModelIndex &current, const QModelIndex &previous);
    bool paintCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);
    void deleteCurrentRecord();

    struct Private;
    Private *d;
    bool m_confirmDelete = true;
};

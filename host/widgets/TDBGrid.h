#pragma once

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
    struct Private;
    Private *d;
    bool m_confirmDelete = true;
};

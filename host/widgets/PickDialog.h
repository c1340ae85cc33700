#pragma once

#include <QDialog>

class PickCheckModel;
class QLineEdit;
class QTableView;
class RecordList;
class RecordListModel;

// The lookup window of the Qt host dialogs: the visible fields of a list in a
// grid under a search line. The focus starts in the search line; typing
// there moves to the first record whose text in the current column starts
// with what was typed (else the first whose text in any column contains it);
// Up, Down, Page Up and Page Down move through the grid from the search line
// too; what is typed in the grid goes on in the search line, and Ctrl+A
// selects the search text. Enter confirms, Esc cancels, a double-click picks
// (single) or ticks (multiple). With ticks, Space ticks or clears the current
// record wherever the focus is, and Ctrl+T ticks all, or clears all when all
// were ticked.
//
// The dialog never moves the list's current record; the caller applies the
// outcome.
class PickDialog final : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Single, Multiple };

    PickDialog(RecordList &list, const QString &title, Mode mode, QWidget *parent = nullptr);

    int currentRow() const; // -1 when the list shows no record
    void setCurrentRow(int row);
    // Multiple mode: the ticked rows, ascending.
    QList<int> tickedRows() const;
    void setTicked(int row, bool ticked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search(const QString &text);
    int findRow(const QString &text) const;
    int sampledWidth(int column) const;
    bool handleKey(QObject *watched, QKeyEvent *event);
    // A character typed in the grid is taken to the search line.
    bool typeIntoSearch(bool inSearch, QKeyEvent *event);

    Mode m_mode;
    RecordListModel *m_records;
    PickCheckModel *m_ticks = nullptr;
    QLineEdit *m_search;
    QTableView *m_grid;
};

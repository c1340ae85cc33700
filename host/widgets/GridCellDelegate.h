#pragma once

#include <QStyledItemDelegate>

#include <functional>

// The grid's cell painter: offers each data cell to the screen's drawing
// hook first and paints it the standard way when the hook declines.
class GridCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Returns true when it painted the cell. `option` is already filled in
    // for the cell (state, palette, text).
    using Painter = std::function<bool(QPainter *painter, const QStyleOptionViewItem &option,
                                       const QModelIndex &index)>;

    explicit GridCellDelegate(Painter painter, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    Painter m_painter;
};

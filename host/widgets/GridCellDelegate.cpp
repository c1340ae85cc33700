#include "GridCellDelegate.h"

#include <QPainter>

GridCellDelegate::GridCellDelegate(Painter painter, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_painter(std::move(painter))
{
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    painter->save();
    const bool painted = m_painter(painter, cell, index);
    painter->restore();
    if (!painted) {
        QStyledItemDelegate::paint(painter, option, index);
    }
}

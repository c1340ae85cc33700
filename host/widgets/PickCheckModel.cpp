#include "PickCheckModel.h"

#include <algorithm>

PickCheckModel::PickCheckModel(QObject *parent)
    : QIdentityProxyModel(parent)
{
    connect(this, &QAbstractItemModel::modelReset, this, [this] { m_ticked.clear(); });
}

void PickCheckModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= rowCount() || isTicked(row) == ticked) {
        return;
    }
    if (ticked) {
        m_ticked.insert(row);
    } else {
        m_ticked.remove(row);
    }
    tickChanged(row);
}

void PickCheckModel::toggle(int row)
{
    setTicked(row, !isTicked(row));
}

void PickCheckModel::toggleAll()
{
    const bool tickAll = m_ticked.size() < rowCount();
    for (int row = 0; row < rowCount(); ++row) {
        setTicked(row, tickAll);
    }
}

QList<int> PickCheckModel::tickedRows() const
{
    QList<int> rows(m_ticked.begin(), m_ticked.end());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QVariant PickCheckModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::CheckStateRole && index.column() == 0) {
        return isTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
    }
    return QIdentityProxyModel::data(index, role);
}

bool PickCheckModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role == Qt::CheckStateRole && index.column() == 0) {
        setTicked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    return QIdentityProxyModel::setData(index, value, role);
}

Qt::ItemFlags PickCheckModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QIdentityProxyModel::flags(index);
    if (index.column() == 0) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

void PickCheckModel::tickChanged(int row)
{
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

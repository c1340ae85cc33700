#include "GridTitleModel.h"

GridTitleModel::GridTitleModel(QObject *parent)
    : QIdentityProxyModel(parent)
{
}

void GridTitleModel::setTitles(const QList<Title> &titles)
{
    m_titles = titles;
    if (columnCount() > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
}

QVariant GridTitleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_titles.size()) {
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
    const Title &title = m_titles.at(section);
    switch (role) {
    case Qt::DisplayRole:
        if (!title.text.isEmpty()) {
            return title.text;
        }
        break;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(title.alignment);
    case Qt::ForegroundRole:
        if (title.color.isValid()) {
            return title.color;
        }
        break;
    default:
        break;
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

#include "RecordListModel.h"

#include "RecordList.h"

#include <QDebug>

#include <exception>

RecordListModel::RecordListModel(RecordList *list, QObject *parent) : QAbstractTableModel(parent), m_list(list)
{
    Q_ASSERT(list);
    connect(list, &RecordList::aboutToReset, this, [this] { beginResetModel(); });
    connect(list, &RecordList::reset, this, &RecordListModel::finishReset);
    connect(list, &RecordList::rowAboutToBeInserted, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(list, &RecordList::rowInserted, this, [this] { endInsertRows(); });
    connect(list, &RecordList::rowAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(list, &RecordList::rowRemoved, this, [this] { endRemoveRows(); });
    connect(list, &RecordList::rowChanged, this, &RecordListModel::onRowChanged);
    connect(list, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_fieldIndexes.clear();
        endResetModel();
    });
    resolveColumns();
}

void RecordListModel::setColumns(const QStringList &fieldNames)
{
    beginResetModel();
    m_requested = fieldNames;
    resolveColumns();
    endResetModel();
}

void RecordListModel::finishReset()
{
    resolveColumns();
    endResetModel();
}

void RecordListModel::resolveColumns()
{
    m_fieldIndexes.clear();
    if (!m_list) {
        return;
    }
    if (m_requested.isEmpty()) {
        for (int i = 0; i < m_list->fieldCount(); ++i) {
            if (m_list->field(i).isVisible()) {
                m_fieldIndexes.append(i);
            }
        }
        return;
    }
    for (const QString &name : m_requested) {
        if (const Field *field = m_list->findField(name)) {
            m_fieldIndexes.append(field->index());
        }
    }
}

Field *RecordListModel::fieldAt(int column) const
{
    if (!m_list || column < 0 || column >= m_fieldIndexes.size() || m_fieldIndexes.at(column) >= m_list->fieldCount()) {
        return nullptr;
    }
    return &m_list->field(m_fieldIndexes.at(column));
}

int RecordListModel::columnOfField(const QString &name) const
{
    for (int column = 0; column < m_fieldIndexes.size(); ++column) {
        const Field *field = fieldAt(column);
        if (field && field->name().compare(name, Qt::CaseInsensitive) == 0) {
            return column;
        }
    }
    return -1;
}

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_list || !m_list->isActive()) {
        return 0;
    }
    return m_list->recordCount();
}

int RecordListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_fieldIndexes.size());
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_list) {
        return {};
    }
    const int fieldIndex = m_fieldIndexes.at(index.column());
    try {
        switch (role) {
        case Qt::DisplayRole:
            return m_list->displayTextAt(index.row(), fieldIndex);
        case Qt::EditRole:
            return m_list->editTextAt(index.row(), fieldIndex);
        case Qt::UserRole:
            return m_list->valueAt(index.row(), fieldIndex);
        case Qt::TextAlignmentRole: {
            const FieldType type = m_list->field(fieldIndex).type();
            if (type == FieldType::Float || type == FieldType::Integer) {
                return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            }
            return {};
        }
        default:
            return {};
        }
    } catch (const std::exception &error) {
        // A grid paints many cells; one failing hook must not take the screen down.
        qWarning() << "RecordListModel:" << m_list->name() << error.what();
        return {};
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const Field *field = fieldAt(section);
        return field ? QVariant(field->displayLabel()) : QVariant();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void RecordListModel::onRowChanged(int row)
{
    if (row < 0 || row >= rowCount() || m_fieldIndexes.isEmpty()) {
        return;
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

#pragma once

#include <QIdentityProxyModel>
#include <QSet>

// A tick box in the first column of each row, over another model; the
// multi-select lookup's choice. Rows are ticked by their number.
class PickCheckModel final : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit PickCheckModel(QObject *parent = nullptr);

    bool isTicked(int row) const { return m_ticked.contains(row); }
    void setTicked(int row, bool ticked);
    void toggle(int row);
    // Ticks every row, or clears them all when every row was ticked.
    void toggleAll();
    QList<int> tickedRows() const; // ascending

    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void tickChanged(int row);

    QSet<int> m_ticked;
};

#pragma once

#include <QColor>
#include <QIdentityProxyModel>
#include <QList>

// Puts a grid's own column titles, title alignments and title colours over
// the record-list model, whose header gives the fields' display labels.
// Everything else passes through unchanged.
class GridTitleModel final : public QIdentityProxyModel {
    Q_OBJECT
public:
    struct Title {
        QString text; // the source's header when empty
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        QColor color; // the style's colour when invalid
    };

    explicit GridTitleModel(QObject *parent = nullptr);

    void setTitles(const QList<Title> &titles);

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Title> m_titles;
};

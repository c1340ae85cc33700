#pragma once

#include <QLabel>

class FieldLink;
class TDataSource;

// A label showing the display text of a field of the current record; empty
// when the list is closed or empty or has no such field.
class TDBText final : public QLabel {
    Q_OBJECT
public:
    explicit TDBText(QWidget *parent = nullptr);

    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);
    QString dataField() const;
    void setDataField(const QString &fieldName);

private:
    void refresh();

    FieldLink *m_link;
};

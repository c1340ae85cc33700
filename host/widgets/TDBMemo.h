#pragma once

#include <QPlainTextEdit>

class FieldLink;
class TDataSource;

// A multi-line editor bound to a (text or blob) field of the list behind a
// data source; same rules as TDBEdit: what the operator types goes into the
// field at once, read-only unless the list is editing (or browsed, with the
// data source's auto-edit) or when the field is read-only. A refused edit or
// text is reported by the host guard and the memo shows the field again.
class TDBMemo final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget *parent = nullptr);

    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);
    QString dataField() const;
    void setDataField(const QString &fieldName);

private:
    void refresh();
    void writeBack();

    FieldLink *m_link;
    bool m_refreshing = false;
};

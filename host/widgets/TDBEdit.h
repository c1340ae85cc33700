#pragma once

#include <QLineEdit>

class FieldLink;
class TDataSource;

// A one-line edit bound to a field of the list behind a data source. It
// shows the field's display text, and its edit text while it has the focus
// and may write; what the operator types goes into the field at once. It is
// read-only unless the list is editing (or browsed, with the data source's
// auto-edit), and always when the field is read-only. The field's edit mask
// becomes the edit's input mask. A refused edit or text is reported by the
// host guard and the edit shows the field's value again.
class TDBEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);

    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);
    QString dataField() const;
    void setDataField(const QString &fieldName);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void refresh();
    void writeBack(const QString &text);

    FieldLink *m_link;
};

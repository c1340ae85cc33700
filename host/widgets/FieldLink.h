#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class Field;
class TDataSource;

// What a data-bound edit, memo or label shares: the data source and field
// name it shows, when it may write, and the write itself. The field is looked
// up by name at each use, because a list that builds its fields from each
// packet replaces them on every load.
class FieldLink final : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QObject *parent = nullptr);

    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);
    QString fieldName() const { return m_fieldName; }
    void setFieldName(const QString &fieldName);

    // The field of the record on show; nullptr when there is no list, the
    // list is closed or empty, or it has no field of that name.
    Field *field() const;
    QString displayText() const; // empty without a field
    QString editText() const;    // empty without a field
    QString editMask() const;    // empty without a field
    int maxLength() const;       // the text field's size; 0 when unlimited

    // True when typing may change the field: the field exists and is not
    // read-only, and the list is editing (or browsed, with auto-edit).
    bool canModify() const;
    // True while write() runs: the control keeps what the operator typed
    // instead of reloading it from the field.
    bool isWriting() const { return m_writing; }
    // Puts the list into edit first when auto-edit allows it (insert when it
    // has no record), then assigns
    // the text through the field. Runs inside the host guard: returns false
    // when the list refused the edit or the field refused the text (the
    // failure has then been reported to the operator).
    bool write(const QString &text);

signals:
    // The control should show the field again: another record, new data,
    // another state, another source or field.
    void changed();

private:
    QPointer<TDataSource> m_source;
    QString m_fieldName;
    bool m_writing = false;
};

#pragma once

#include "DataPacket.h"

#include <QFlags>
#include <QString>
#include <QVariant>

#include <functional>

class RecordList;

// One column of a record list. A field reads and writes the list's active
// record: the current record, or the record being calculated or painted.
class Field final {
public:
    enum ProviderFlag { InUpdate = 0x1, InWhere = 0x2, InKey = 0x4, Hidden = 0x8 };
    Q_DECLARE_FLAGS(ProviderFlags, ProviderFlag)

    // displayText is true when the text is shown, false when it is edited.
    using GetTextHook = std::function<QString(const Field &field, bool displayText)>;
    using SetTextHook = std::function<void(Field &field, const QString &text)>;

    Field(RecordList &list, int index, const FieldDef &definition);

    RecordList &recordList() const { return m_list; }
    int index() const { return m_index; }
    const FieldDef &definition() const { return m_definition; }
    QString name() const { return m_definition.name; }
    FieldType type() const { return m_definition.type; }
    int size() const { return m_definition.size; }

    QString displayLabel() const; // the name when no label was given
    void setDisplayLabel(const QString &label) { m_displayLabel = label; }
    int displayWidth() const; // characters; the size when not set
    void setDisplayWidth(int characters) { m_displayWidth = characters; }
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString &format) { m_displayFormat = format; } // "#,##0.00"
    QString editMask() const { return m_editMask; }
    void setEditMask(const QString &mask) { m_editMask = mask; } // QLineEdit input-mask syntax
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isRequired() const { return m_required; }
    void setRequired(bool required) { m_required = required; }
    bool isFixedChar() const { return m_fixedChar; }
    void setFixedChar(bool fixed) { m_fixedChar = fixed; }
    ProviderFlags providerFlags() const { return m_providerFlags; }
    void setProviderFlags(ProviderFlags flags) { m_providerFlags = flags; }
    // A calculated field is filled by the list's calcFields hook and never
    // sent to the server.
    bool isCalculated() const { return m_calculated; }
    void setCalculated(bool calculated) { m_calculated = calculated; }

    void setOnGetText(GetTextHook hook) { m_onGetText = std::move(hook); }
    // A text shown as it is stored: no get-text hook, no edit mask laid
    // over it.
    bool showsStoredText() const;
    void setOnSetText(SetTextHook hook) { m_onSetText = std::move(hook); }

    // Values of the active record. Writing requires the list to be in edit or
    // insert state (or calculating, for a calculated field) and throws
    // std::runtime_error otherwise, or when the field is read-only.
    // A value is converted to the field's kind (text "1.234,5" to a float,
    // QDate to a day count...) and a value that cannot be converted throws
    // naming the field. Empty text stays empty text in text and blob fields
    // and is the empty value for numbers and dates. Text longer than size()
    // is kept whole (see RecordList.h). Calculated fields can be written
    // only while the list calculates.
    QVariant value() const;
    void setValue(const QVariant &value);
    // The value of the current record as it was when its pending edit began
    // (the stored value, before the operator's changes); outside an edit, and
    // for a record being inserted, the value itself.
    QVariant oldValue() const;
    bool isNull() const;
    void clear();
    QString asString() const;          // empty for null
    void setAsString(const QString &text);
    double asFloat() const;            // 0 for null
    void setAsFloat(double value);
    qint64 asInteger() const;          // 0 for null
    void setAsInteger(qint64 value);
    double asDateTime() const;         // day count, 0 for null
    void setAsDateTime(double dayCount);

    // The text shown in grids (display format applied) and the text offered
    // for editing; both go through the get-text hook when one is set.
    // Display: numbers through the display format with Brazilian separators
    // ("#,##0.00": 1234.5 -> "1.234,50"), or plain ("1234,5") without one;
    // integers plain unless a format is set; date-times "dd/MM/yyyy", with
    // " hh:mm" when the time of day is not midnight (a display format is a
    // QDateTime pattern). Edit text: numbers with a decimal comma and no
    // grouping, date-times "dd/MM/yyyy[ hh:mm:ss]". Empty for the empty value.
    QString displayText() const;
    QString text() const;
    // Assigns text through the set-text hook when one is set, else as value.
    void setText(const QString &text);

private:
    QString formattedValue(bool displayText) const;
    bool masksDisplay() const;

    RecordList &m_list;
    int m_index;
    FieldDef m_definition;
    QString m_displayLabel;
    int m_displayWidth = 0;
    QString m_displayFormat;
    QString m_editMask;
    bool m_visible = true;
    bool m_readOnly = false;
    bool m_required = false;
    bool m_fixedChar = false;
    bool m_calculated = false;
    ProviderFlags m_providerFlags = ProviderFlags(InUpdate | InWhere);
    GetTextHook m_onGetText;
    SetTextHook m_onSetText;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Field::ProviderFlags)

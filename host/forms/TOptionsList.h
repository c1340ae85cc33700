#pragma once

#include <QStringList>

// The options of a filter dialog as lines "name=value", kept in the order
// they were first set. Names are matched without regard to case; the value
// is everything after the first "=", so a value may hold "=" itself.
class TOptionsList final {
public:
    // The value of `name`; the empty text when no line has that name.
    QString Values(const QString &name) const;
    // A non-empty value replaces the line of `name` or adds one at the end;
    // the empty value removes the line, so an empty option is never stored.
    void SetValues(const QString &name, const QString &value);

    QStringList lines() const { return m_lines; }
    void setLines(const QStringList &lines) { m_lines = lines; }
    void clear() { m_lines.clear(); }
    int count() const { return int(m_lines.size()); }

private:
    int indexOfName(const QString &name) const; // -1 when absent

    QStringList m_lines;
};

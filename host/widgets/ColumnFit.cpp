#include "ColumnFit.h"

#include "DayCount.h"
#include "DisplayFormat.h"
#include "Field.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

namespace {
// Texts this short are codes, shown whole.
constexpr int longestCode = 10;
// Room for the cell's margins and grid line around the text.
constexpr int cellPadding = 8;
} // namespace

namespace ColumnFit {

QString usualValue(const Field &field)
{
    switch (field.type()) {
    case FieldType::Text:
        return field.size() <= longestCode ? QString(field.size(), QLatin1Char('0')) : QString();
    case FieldType::DateTime:
        return DisplayFormat::formatDateTime(DayCount::fromDateTime(QDateTime(QDate(2026, 12, 28), QTime(20, 0))),
                                             field.displayFormat());
    case FieldType::Float:
        return field.displayFormat().isEmpty() ? QString() : DisplayFormat::formatNumber(1234567.89, field.displayFormat());
    default:
        return QString();
    }
}

int textWidth(const QTableView &table, int characters)
{
    return characters * table.fontMetrics().averageCharWidth() + cellPadding;
}

int valueWidth(const QTableView &table, const QString &text)
{
    return table.fontMetrics().horizontalAdvance(text) + cellPadding;
}

int readableWidth(const QTableView &table, const QString &title, const Field *field)
{
    const QHeaderView *header = table.horizontalHeader();
    const int headerMargin = table.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int titleWidth = header->fontMetrics().horizontalAdvance(title) + 2 * headerMargin;
    const int valueWidth = field ? table.fontMetrics().horizontalAdvance(usualValue(*field)) : 0;
    return std::max(titleWidth, valueWidth) + cellPadding;
}

} // namespace ColumnFit

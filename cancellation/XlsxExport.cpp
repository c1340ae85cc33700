#include "XlsxExport.h"

#include "DisplayFormat.h"
#include "ExportCounts.h"
#include "ExportDate.h"
#include "ExportText.h"
#include "RecordList.h"
#include "XlsxWorkbook.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

// How often a long export tells it is still at work.
constexpr int rowsBetweenSigns = 1000;
// Column widths, in characters: the longest value's, plus a margin, up to
// a limit: a long name is better cut at the column's edge than pushing the
// next columns off the screen.
constexpr int widthMargin = 2;
constexpr int widestColumn = 60;
// A title also leaves room for its filter's button.
constexpr int filterButtonWidth = 3;

const QString quotesSheet = QStringLiteral("Orçamentos");
const QString countsSheet = QStringLiteral("Contagens");
const QString dateFormat = QStringLiteral("dd/mm/yyyy");
const QString dateTimeFormat = QStringLiteral("dd/mm/yyyy hh:mm");
// Totals: the business counts money in cents.
const QString floatFormat = QStringLiteral("#,##0.00");
const QString integerFormat = QStringLiteral("0");

enum class Kind { Text, Number, Date };

struct Formats {
    lxw_format *title;
    lxw_format *date;
    lxw_format *dateTime;
};

// A column of the quotes sheet and what it has seen of its values, for its
// width.
struct SheetColumn {
    int field = 0;
    Kind kind = Kind::Text;
    std::optional<ExportText> text;
    QString numberFormat;
    lxw_format *format = nullptr;
    int longestText = 0;
    double largestMagnitude = 0.0;
    bool anyNegative = false;
    bool anyTime = false;

    int width() const
    {
        switch (kind) {
        case Kind::Number: {
            const double largest = anyNegative ? -largestMagnitude : largestMagnitude;
            return std::max(longestText, int(DisplayFormat::formatNumber(largest, numberFormat).size()));
        }
        case Kind::Date:
            return std::max(longestText, int((anyTime ? dateTimeFormat : dateFormat).size()));
        case Kind::Text:
            break;
        }
        return longestText;
    }
};

double columnWidth(int characters)
{
    return std::min(characters, widestColumn) + widthMargin;
}

SheetColumn sheetColumn(XlsxWorkbook &workbook, const RecordList &list, const Field &field, const QString &title)
{
    SheetColumn column;
    column.field = field.index();
    column.longestText = int(title.size()) + filterButtonWidth;
    switch (field.type()) {
    case FieldType::Float:
    case FieldType::Integer:
        column.kind = Kind::Number;
        column.numberFormat = !field.displayFormat().isEmpty()       ? field.displayFormat()
                              : field.type() == FieldType::Integer ? integerFormat
                                                                   : floatFormat;
        column.format = workbook.addFormat(column.numberFormat);
        break;
    case FieldType::DateTime:
        column.kind = Kind::Date;
        break;
    case FieldType::Text:
    case FieldType::Blob:
        column.text.emplace(list, field.index());
        break;
    }
    return column;
}

// Characters, not bytes, of UTF-8 text: the width a column needs.
int characters(QByteArrayView utf8)
{
    return int(std::count_if(utf8.cbegin(), utf8.cend(), [](char byte) { return (byte & 0xC0) != 0x80; }));
}

void writeText(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, const QString &text, lxw_format *format = nullptr)
{
    XlsxWorkbook::check(worksheet_write_string(sheet, row, col, text.toUtf8().constData(), format));
}

void writeCell(lxw_worksheet *sheet, lxw_row_t sheetRow, lxw_col_t col, const RecordList &list, int row,
               SheetColumn &column, const Formats &formats)
{
    if (column.kind == Kind::Text) {
        // A spreadsheet cell breaks its lines with a line feed alone.
        const QByteArray text = column.text->utf8(row).toByteArray().replace("\r\n", "\n");
        if (!text.isEmpty()) {
            XlsxWorkbook::check(worksheet_write_string(sheet, sheetRow, col, text.constData(), nullptr));
            column.longestText = std::max(column.longestText, characters(text));
        }
        return;
    }
    const double number = list.storedNumberAt(row, column.field);
    if (std::isnan(number)) {
        return;
    }
    if (column.kind == Kind::Number) {
        XlsxWorkbook::check(worksheet_write_number(sheet, sheetRow, col, number, column.format));
        column.largestMagnitude = std::max(column.largestMagnitude, std::fabs(number));
        column.anyNegative = column.anyNegative || number < 0;
        return;
    }
    // The day count is the spreadsheet's own serial date.
    if (const auto parts = ExportDate::parts(number)) {
        XlsxWorkbook::check(worksheet_write_number(sheet, sheetRow, col, number, parts->hasTime ? formats.dateTime : formats.date));
        column.anyTime = column.anyTime || parts->hasTime;
    }
}

void writeQuotes(XlsxWorkbook &workbook, const RecordList &list, const ExportRequest &request, const Formats &formats,
                 const std::function<void()> &stillBusy)
{
    lxw_worksheet *sheet = workbook.addSheet(quotesSheet);
    std::vector<SheetColumn> columns;
    for (const ExportRequest::Column &column : request.columns) {
        writeText(sheet, 0, lxw_col_t(columns.size()), column.title, formats.title);
        columns.push_back(sheetColumn(workbook, list, list.fieldByName(column.fieldName), column.title));
    }
    for (int row = 0; row < list.recordCount(); ++row) {
        for (size_t col = 0; col < columns.size(); ++col) {
            writeCell(sheet, lxw_row_t(row + 1), lxw_col_t(col), list, row, columns[col], formats);
        }
        if (stillBusy && row % rowsBetweenSigns == rowsBetweenSigns - 1) {
            stillBusy();
        }
    }
    const lxw_col_t lastCol = lxw_col_t(std::max<size_t>(columns.size(), 1) - 1);
    for (size_t col = 0; col < columns.size(); ++col) {
        XlsxWorkbook::check(
            worksheet_set_column(sheet, lxw_col_t(col), lxw_col_t(col), columnWidth(columns[col].width()), nullptr));
    }
    worksheet_freeze_panes(sheet, 1, 0);
    XlsxWorkbook::check(worksheet_autofilter(sheet, 0, 0, lxw_row_t(list.recordCount()), lastCol));
}

// The counts sheet, its rows and the longest text of each of its columns.
class CountsSheet {
public:
    CountsSheet(XlsxWorkbook &workbook, const Formats &formats)
        : m_sheet(workbook.addSheet(countsSheet)), m_formats(formats)
    {
    }

    void titles(const QStringList &titles)
    {
        for (qsizetype col = 0; col < titles.size(); ++col) {
            text(col, titles.at(col), m_formats.title);
        }
        ++m_row;
    }

    void line(const QStringList &texts, int quantity)
    {
        for (qsizetype col = 0; col < texts.size(); ++col) {
            text(col, texts.at(col));
        }
        XlsxWorkbook::check(worksheet_write_number(m_sheet, m_row, lxw_col_t(texts.size()), quantity, nullptr));
        ++m_row;
    }

    void skipLine() { ++m_row; }

    void fitColumns()
    {
        for (qsizetype col = 0; col < m_longest.size(); ++col) {
            XlsxWorkbook::check(worksheet_set_column(m_sheet, lxw_col_t(col), lxw_col_t(col), columnWidth(m_longest.at(col)), nullptr));
        }
    }

private:
    void text(qsizetype col, const QString &text, lxw_format *format = nullptr)
    {
        if (!text.isEmpty()) {
            writeText(m_sheet, m_row, lxw_col_t(col), text, format);
        }
        m_longest.resize(std::max(m_longest.size(), col + 1));
        m_longest[col] = std::max(m_longest.at(col), int(text.size()));
    }

    lxw_worksheet *m_sheet;
    const Formats &m_formats;
    lxw_row_t m_row = 0;
    QList<int> m_longest;
};

void writeCounts(XlsxWorkbook &workbook, const ExportCounts &counts, const Formats &formats)
{
    CountsSheet sheet(workbook, formats);
    sheet.titles(ExportCounts::stateTitles);
    for (const ExportCounts::ByState &count : counts.byState) {
        sheet.line({count.state}, count.quantity);
    }
    sheet.skipLine();
    sheet.titles(ExportCounts::reasonTitles);
    for (const ExportCounts::ByReason &count : counts.byReason) {
        sheet.line({count.code, count.name}, count.quantity);
    }
    sheet.fitColumns();
}

} // namespace

namespace XlsxExport {

void write(const RecordList &list, const ExportRequest &request, QIODevice &out, const std::function<void()> &stillBusy)
{
    if (list.recordCount() > maxQuotes) {
        const QLocale brazilian = DisplayFormat::brazilian();
        throw std::runtime_error(QStringLiteral("Uma planilha comporta até %1 orçamentos e a lista tem %2. "
                                                "Exporte-a em CSV ou liste menos orçamentos.")
                                     .arg(brazilian.toString(maxQuotes), brazilian.toString(list.recordCount()))
                                     .toStdString());
    }
    const ExportCounts counts = ExportCounts::of(list, request);
    XlsxWorkbook workbook;
    Formats formats{workbook.addFormat(), workbook.addFormat(dateFormat), workbook.addFormat(dateTimeFormat)};
    format_set_bold(formats.title);
    writeQuotes(workbook, list, request, formats, stillBusy);
    writeCounts(workbook, counts, formats);
    workbook.saveTo(out);
}

} // namespace XlsxExport

#include "CsvExport.h"

#include "DisplayFormat.h"
#include "ExportCounts.h"
#include "ExportDate.h"
#include "RecordList.h"

#include <QIODevice>
#include <QLocale>
#include <QStringEncoder>

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace {

// About a mebibyte gathered before each write: few system calls, little
// memory.
constexpr qsizetype chunkBytes = 1 << 20;
// How often a long export tells it is still at work.
constexpr int rowsBetweenSigns = 1000;

enum class Kind { Text, Number, GridDate, FormattedDate };

struct CsvColumn {
    int field;
    Kind kind;
    QString dateFormat;
};

CsvColumn csvColumn(const Field &field)
{
    switch (field.type()) {
    case FieldType::Float:
    case FieldType::Integer:
        return {field.index(), Kind::Number, {}};
    case FieldType::DateTime:
        return field.displayFormat().isEmpty() ? CsvColumn{field.index(), Kind::GridDate, {}}
                                               : CsvColumn{field.index(), Kind::FormattedDate, field.displayFormat()};
    case FieldType::Text:
    case FieldType::Blob:
        break;
    }
    return {field.index(), Kind::Text, {}};
}

char *twoDigits(char *at, int number)
{
    *at++ = char('0' + number / 10);
    *at++ = char('0' + number % 10);
    return at;
}

char *fourDigitYear(char *at, int year)
{
    if (year < 0) {
        *at++ = '-';
        year = -year;
    }
    char digits[12];
    const char *end = std::to_chars(digits, digits + sizeof digits, year).ptr;
    at = std::fill_n(at, std::max<std::ptrdiff_t>(0, 4 - (end - digits)), '0');
    return std::copy(static_cast<const char *>(digits), end, at);
}

// The bytes of the file, written to the device a chunk at a time.
class Output {
public:
    explicit Output(QIODevice &device) : m_device(device) { m_bytes.reserve(chunkBytes + chunkBytes / 4); }

    void text(QStringView text)
    {
        const auto special = [](QChar c) { return c == u';' || c == u'"' || c == u'\r' || c == u'\n'; };
        if (std::none_of(text.cbegin(), text.cend(), special)) {
            utf8(text);
            return;
        }
        m_bytes += '"';
        for (qsizetype start = 0;;) {
            const qsizetype quote = text.indexOf(u'"', start);
            utf8(text.mid(start, quote < 0 ? -1 : quote - start + 1));
            if (quote < 0) {
                break;
            }
            m_bytes += '"';
            start = quote + 1;
        }
        m_bytes += '"';
    }

    void date(const ExportDate::Parts &parts)
    {
        char digits[32];
        char *at = twoDigits(digits, parts.day);
        *at++ = '/';
        at = twoDigits(at, parts.month);
        *at++ = '/';
        at = fourDigitYear(at, parts.year);
        if (parts.hasTime) {
            *at++ = ' ';
            at = twoDigits(at, parts.hour);
            *at++ = ':';
            at = twoDigits(at, parts.minute);
        }
        m_bytes.append(digits, at - digits);
    }

    void separator() { m_bytes += ';'; }

    void endLine()
    {
        m_bytes += "\r\n";
        if (m_bytes.size() >= chunkBytes) {
            flush();
        }
    }

    void line(const QStringList &fields)
    {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0) {
                separator();
            }
            text(fields.at(i));
        }
        endLine();
    }

    void flush()
    {
        if (m_device.write(m_bytes) != m_bytes.size()) {
            throw std::runtime_error(m_device.errorString().toStdString());
        }
        m_bytes.clear();
    }

private:
    void utf8(QStringView text)
    {
        const qsizetype used = m_bytes.size();
        m_bytes.resize(used + m_encoder.requiredSpace(text.size()));
        char *end = m_encoder.appendToBuffer(m_bytes.data() + used, text);
        m_bytes.resize(end - m_bytes.constData());
    }

    QIODevice &m_device;
    QByteArray m_bytes;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};

QString numberText(double value)
{
    QString text = QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

void writeCell(Output &out, const RecordList &list, int row, const CsvColumn &column)
{
    if (column.kind == Kind::Text) {
        out.text(list.displayTextAt(row, column.field));
        return;
    }
    const QVariant value = list.valueAt(row, column.field);
    if (value.isNull()) {
        return;
    }
    switch (column.kind) {
    case Kind::Number:
        out.text(numberText(value.toDouble()));
        break;
    case Kind::GridDate:
        if (const auto parts = ExportDate::parts(value.toDouble())) {
            out.date(*parts);
        }
        break;
    case Kind::FormattedDate:
        out.text(DisplayFormat::formatDateTime(value.toDouble(), column.dateFormat));
        break;
    case Kind::Text:
        break;
    }
}

void writeCounts(Output &out, const ExportCounts &counts)
{
    out.endLine();
    out.line(ExportCounts::stateTitles);
    for (const ExportCounts::ByState &count : counts.byState) {
        out.line({count.state, QString::number(count.quantity)});
    }
    out.endLine();
    out.line(ExportCounts::reasonTitles);
    for (const ExportCounts::ByReason &count : counts.byReason) {
        out.line({count.code, count.name, QString::number(count.quantity)});
    }
}

} // namespace

namespace CsvExport {

void write(const RecordList &list, const ExportRequest &request, QIODevice &out, const std::function<void()> &stillBusy)
{
    const ExportCounts counts = ExportCounts::of(list, request);
    QStringList titles;
    QList<CsvColumn> columns;
    for (const ExportRequest::Column &column : request.columns) {
        titles << column.title;
        columns << csvColumn(list.fieldByName(column.fieldName));
    }
    if (out.write("\xEF\xBB\xBF") != 3) {
        throw std::runtime_error(out.errorString().toStdString());
    }
    Output file(out);
    file.line(titles);
    for (int row = 0; row < list.recordCount(); ++row) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i > 0) {
                file.separator();
            }
            writeCell(file, list, row, columns.at(i));
        }
        file.endLine();
        if (stillBusy && row % rowsBetweenSigns == rowsBetweenSigns - 1) {
            stillBusy();
        }
    }
    writeCounts(file, counts);
    file.flush();
}

} // namespace CsvExport

#include "CsvExport.h"

#include "DisplayFormat.h"
#include "ExportCounts.h"
#include "ExportDate.h"
#include "ExportText.h"
#include "RecordList.h"

#include <QIODevice>
#include <QLocale>
#include <QStringEncoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

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
    std::optional<ExportText> text;
};

CsvColumn csvColumn(const RecordList &list, const Field &field)
{
    switch (field.type()) {
    case FieldType::Float:
    case FieldType::Integer:
        return {field.index(), Kind::Number, {}, {}};
    case FieldType::DateTime:
        return {field.index(), field.displayFormat().isEmpty() ? Kind::GridDate : Kind::FormattedDate,
                field.displayFormat(), {}};
    case FieldType::Text:
    case FieldType::Blob:
        break;
    }
    return {field.index(), Kind::Text, {}, ExportText(list, field.index())};
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

// The bytes of the file, gathered in a buffer of its own and written to the
// device a chunk at a time: a cell costs a few copies, no allocation.
class Output {
public:
    explicit Output(QIODevice &device) : m_device(device), m_buffer(chunkBytes, Qt::Uninitialized) {}

    void text(QStringView value)
    {
        const auto special = [](QChar c) { return c == u';' || c == u'"' || c == u'\r' || c == u'\n'; };
        if (std::none_of(value.cbegin(), value.cend(), special)) {
            utf8(value);
            return;
        }
        text(QByteArrayView(value.toUtf8()));
    }

    // Text already in UTF-8, between double quotes (doubled inside) when it
    // holds ";", a quote or a line break.
    void text(QByteArrayView bytes)
    {
        const auto special = [](char c) { return c == ';' || c == '"' || c == '\r' || c == '\n'; };
        if (std::none_of(bytes.cbegin(), bytes.cend(), special)) {
            put(bytes);
            return;
        }
        char *at = room(2 * bytes.size() + 2);
        *at++ = '"';
        for (char c : bytes) {
            if (c == '"') {
                *at++ = '"';
            }
            *at++ = c;
        }
        *at++ = '"';
        m_used = at - m_buffer.constData();
    }

    void date(const ExportDate::Parts &parts)
    {
        char *at = twoDigits(room(32), parts.day);
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
        m_used = at - m_buffer.constData();
    }

    void separator() { put(';'); }

    void endLine()
    {
        put(QByteArrayView("\r\n"));
    }

    void line(const QStringList &fields)
    {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0) {
                separator();
            }
            text(QStringView(fields.at(i)));
        }
        endLine();
    }

    void flush()
    {
        if (m_device.write(m_buffer.constData(), m_used) != m_used) {
            throw std::runtime_error(m_device.errorString().toStdString());
        }
        m_used = 0;
    }

private:
    // Where the next `bytes` bytes go; the caller moves m_used past them.
    char *room(qsizetype bytes)
    {
        if (m_used + bytes > m_buffer.size()) {
            flush();
            if (bytes > m_buffer.size()) {
                m_buffer.resize(bytes);
            }
        }
        return m_buffer.data() + m_used;
    }

    void put(char c)
    {
        *room(1) = c;
        ++m_used;
    }

    void put(QByteArrayView bytes)
    {
        std::memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
        m_used += bytes.size();
    }

    void utf8(QStringView text)
    {
        char *end = m_encoder.appendToBuffer(room(m_encoder.requiredSpace(text.size())), text);
        m_used = end - m_buffer.constData();
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};

QString numberText(double value)
{
    QString text = QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

void writeCell(Output &out, const RecordList &list, int row, CsvColumn &column)
{
    if (column.kind == Kind::Text) {
        out.text(column.text->utf8(row));
        return;
    }
    const double value = list.storedNumberAt(row, column.field);
    if (std::isnan(value)) {
        return;
    }
    switch (column.kind) {
    case Kind::Number:
        out.text(QStringView(numberText(value)));
        break;
    case Kind::GridDate:
        if (const auto parts = ExportDate::parts(value)) {
            out.date(*parts);
        }
        break;
    case Kind::FormattedDate:
        out.text(QStringView(DisplayFormat::formatDateTime(value, column.dateFormat)));
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
    std::vector<CsvColumn> columns;
    for (const ExportRequest::Column &column : request.columns) {
        titles << column.title;
        columns.push_back(csvColumn(list, list.fieldByName(column.fieldName)));
    }
    if (out.write("\xEF\xBB\xBF") != 3) {
        throw std::runtime_error(out.errorString().toStdString());
    }
    Output file(out);
    file.line(titles);
    for (int row = 0; row < list.recordCount(); ++row) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) {
                file.separator();
            }
            writeCell(file, list, row, columns[i]);
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

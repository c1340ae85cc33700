#include "CsvExport.h"

#include "DisplayFormat.h"
#include "RecordList.h"

#include <QIODevice>
#include <QLocale>
#include <QMap>

#include <algorithm>
#include <stdexcept>

namespace {

// About a mebibyte of text gathered before each write: few system calls,
// little memory.
constexpr qsizetype chunkBytes = 1 << 20;
// How often a long export tells it is still at work.
constexpr int rowsBetweenSigns = 1000;

const QString noReason = QStringLiteral("(sem motivo)");
const QString datePattern = QStringLiteral("dd/MM/yyyy hh:mm");

QString numberText(double value)
{
    QString text = QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString cellText(const RecordList &list, int row, int field)
{
    const QVariant value = list.valueAt(row, field);
    switch (list.field(field).type()) {
    case FieldType::DateTime:
        return value.isNull() ? QString() : DisplayFormat::formatDateTime(value.toDouble(), datePattern);
    case FieldType::Float:
        return value.isNull() ? QString() : numberText(value.toDouble());
    default:
        return list.displayTextAt(row, field);
    }
}

class Output {
public:
    explicit Output(QIODevice &device) : m_device(device) {}

    void line(const QStringList &fields)
    {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0) {
                m_text += QLatin1Char(';');
            }
            m_text += CsvExport::quoted(fields.at(i));
        }
        m_text += QLatin1String("\r\n");
        if (m_text.size() >= chunkBytes) {
            flush();
        }
    }

    void flush()
    {
        const QByteArray bytes = m_text.toUtf8();
        if (m_device.write(bytes) != bytes.size()) {
            throw std::runtime_error(m_device.errorString().toStdString());
        }
        m_text.clear();
    }

private:
    QIODevice &m_device;
    QString m_text;
};

void writeCounts(Output &out, const QString &title, const QMap<QString, int> &counts)
{
    out.line({});
    out.line({title, QStringLiteral("Quantidade")});
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        out.line({it.key(), QString::number(it.value())});
    }
}

} // namespace

namespace CsvExport {

QString quoted(const QString &text)
{
    const auto special = [](QChar c) { return c == u';' || c == u'"' || c == u'\r' || c == u'\n'; };
    if (std::none_of(text.cbegin(), text.cend(), special)) {
        return text;
    }
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

void write(const RecordList &list, const QList<Column> &columns, const QString &stateField, const QString &reasonField,
           QIODevice &out, const std::function<void()> &stillBusy)
{
    if (out.write("\xEF\xBB\xBF") != 3) {
        throw std::runtime_error(out.errorString().toStdString());
    }
    Output file(out);
    QStringList titles;
    QList<int> fields;
    for (const Column &column : columns) {
        titles << column.title;
        fields << list.fieldByName(column.fieldName).index();
    }
    file.line(titles);
    const int state = list.fieldByName(stateField).index();
    const int reason = list.fieldByName(reasonField).index();
    QMap<QString, int> byState;
    QMap<QString, int> byReason;
    QStringList values;
    for (int row = 0; row < list.recordCount(); ++row) {
        values.clear();
        for (const int field : std::as_const(fields)) {
            values << cellText(list, row, field);
        }
        file.line(values);
        ++byState[list.displayTextAt(row, state)];
        const QString code = list.displayTextAt(row, reason);
        ++byReason[code.trimmed().isEmpty() ? noReason : code];
        if (stillBusy && row % rowsBetweenSigns == rowsBetweenSigns - 1) {
            stillBusy();
        }
    }
    writeCounts(file, QStringLiteral("Situação"), byState);
    writeCounts(file, QStringLiteral("Motivo"), byReason);
    file.flush();
}

} // namespace CsvExport

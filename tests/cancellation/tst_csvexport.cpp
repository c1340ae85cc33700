// The export of the listed quotes read back by independent readers: Python's
// csv module for the CSV file and openpyxl for the .xlsx workbook.
#include "CsvExport.h"
#include "DayCount.h"
#include "DisplayFormat.h"
#include "RecordList.h"
#include "XlsxExport.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

using Writer = void (*)(const RecordList &, const ExportRequest &, QIODevice &, const std::function<void()> &);

Writer writer(const QString &format)
{
    return format == QLatin1String("xlsx") ? &XlsxExport::write : &CsvExport::write;
}

QVariant noValue()
{
    return {};
}

// The screen's fields that the export touches, with its state words, and
// the grid's columns over them.
void declareQuoteFields(RecordList &list)
{
    list.addField(QStringLiteral("NRORCAEVENTO"), FieldType::Text, 10);
    list.addField(QStringLiteral("NMFANTCLIE"), FieldType::Text, 50);
    list.addField(QStringLiteral("IDSITUORCEVE"), FieldType::Text, 1).setOnGetText([](const Field &field, bool) {
        const QString code = field.asString();
        return code == QLatin1String("8") ? QStringLiteral("Cancelado") : code == QLatin1String("9") ? QStringLiteral("Adiado")
                                                                                                    : QStringLiteral("Pendente");
    });
    list.addField(QStringLiteral("QTCONVORCEVE"), FieldType::Float);
    list.addField(QStringLiteral("CDJUSTEXCHIS"), FieldType::Text, 4);
    list.addField(QStringLiteral("DTEVENTO"), FieldType::DateTime);
    list.addField(QStringLiteral("DTVALIORCEVE"), FieldType::DateTime);
}

ExportRequest gridRequest()
{
    ExportRequest request;
    request.columns = {{"NRORCAEVENTO", QStringLiteral("Nr. Orçamento")}, {"NMFANTCLIE", "Cliente"},
                       {"IDSITUORCEVE", QStringLiteral("Situação")},      {"QTCONVORCEVE", "Convidados"},
                       {"DTEVENTO", "Dt. Evento"},                        {"DTVALIORCEVE", "Dt. Validade"}};
    request.stateField = QStringLiteral("IDSITUORCEVE");
    request.reasonField = QStringLiteral("CDJUSTEXCHIS");
    request.reasonNames = {{"0001", QStringLiteral("Desistência do cliente")}, {"0002", QStringLiteral("Data indisponível")}};
    return request;
}

QByteArray exported(const QString &format, const QList<QVariantList> &quotes,
                    const std::function<void()> &stillBusy = {})
{
    RecordList list(QStringLiteral("cdsOrcamento"));
    declareQuoteFields(list);
    list.loadPacket(DataPacket{list.dataFieldDefs(), quotes});
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    writer(format)(list, gridRequest(), file, stillBusy);
    return file.data();
}

// Debian's interpreter, where scripts/ensure-packages.sh installs openpyxl;
// a python3 found first on PATH (a virtual environment) may lack it.
QString python()
{
    const QString debian = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    return debian.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("python3")) : debian;
}

// What `script` prints as JSON after reading `file` from its standard input;
// Python's complaint in place of the JSON when it fails.
QJsonDocument readBy(const char *script, const QByteArray &file)
{
    QProcess reader;
    reader.start(python(), {"-c", script});
    reader.write(file);
    reader.closeWriteChannel();
    reader.waitForFinished(30000);
    const QByteArray json = reader.readAllStandardOutput();
    if (json.isEmpty()) {
        qWarning().noquote() << reader.readAllStandardError();
    }
    return QJsonDocument::fromJson(json);
}

QList<QStringList> rowsOf(const QJsonArray &rows)
{
    QList<QStringList> texts;
    for (const QJsonValue &row : rows) {
        QStringList fields;
        for (const QJsonValue &field : row.toArray()) {
            fields << field.toString();
        }
        texts << fields;
    }
    return texts;
}

QList<QStringList> csvRows(const QByteArray &file)
{
    return rowsOf(readBy("import csv, io, json, sys\n"
                         "text = sys.stdin.buffer.read().decode('utf-8-sig')\n"
                         "print(json.dumps(list(csv.reader(io.StringIO(text, newline=''), delimiter=';'))))",
                         file)
                      .array());
}

// Each sheet by its name: the frozen cell, the filter's range, the column
// widths, which titles are bold, and each cell as "kind:value [format]".
QJsonObject workbook(const QByteArray &file)
{
    return readBy("import datetime, io, json, sys, openpyxl\n"
                  "book = openpyxl.load_workbook(io.BytesIO(sys.stdin.buffer.read()))\n"
                  "def cell(c):\n"
                  "    v = c.value\n"
                  "    if v is None: return ''\n"
                  "    if isinstance(v, str): return 'text:' + v\n"
                  "    if isinstance(v, datetime.datetime): return 'date:%s [%s]' % (v.isoformat(timespec='minutes'), c.number_format)\n"
                  "    return 'number:%r [%s]' % (v, c.number_format)\n"
                  "letter = openpyxl.utils.get_column_letter\n"
                  "print(json.dumps({s.title: {'freeze': s.freeze_panes, 'filter': s.auto_filter.ref,\n"
                  "    'widths': [s.column_dimensions[letter(i + 1)].width for i in range(s.max_column)],\n"
                  "    'bold': [bool(c.font.b) for c in s[1]],\n"
                  "    'rows': [[cell(c) for c in row] for row in s.iter_rows()]} for s in book.worksheets}))",
                  file)
        .object();
}

QJsonObject quotesSheet(const QByteArray &file)
{
    return workbook(file).value(QStringLiteral("Orçamentos")).toObject();
}

const double evening = DayCount::fromDateTime(QDateTime(QDate(2026, 10, 19), QTime(19, 30)));
const double midnight = DayCount::fromDate(QDate(2026, 11, 18));

} // namespace

class TestCsvExport final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (python().isEmpty()) {
            QSKIP("python3 não está instalado: o arquivo não tem com quem ser conferido");
        }
    }

    void eachQuoteReadsBackAsTheGridShowsIt_data()
    {
        QTest::addColumn<QVariantList>("stored");
        QTest::addColumn<QStringList>("csv");
        QTest::addColumn<QStringList>("xlsx");
        QTest::newRow("plain, a time only where there is one")
            << QVariantList{"0000000001", "Ana Souza", "1", 120.0, "", evening, midnight}
            << QStringList{"0000000001", "Ana Souza", "Pendente", "120", "19/10/2026 19:30", "18/11/2026"}
            << QStringList{"text:0000000001", "text:Ana Souza", "text:Pendente", "number:120 [#,##0.00]",
                           "date:2026-10-19T19:30 [dd/mm/yyyy hh:mm]", "date:2026-11-18T00:00 [dd/mm/yyyy]"};
        QTest::newRow("accents and a decimal comma")
            << QVariantList{"0000000002", QStringLiteral("João Conceição — coração"), "8", 1234.5, "0001", evening, midnight}
            << QStringList{"0000000002", QStringLiteral("João Conceição — coração"), "Cancelado", "1234,5", "19/10/2026 19:30",
                           "18/11/2026"}
            << QStringList{"text:0000000002", QStringLiteral("text:João Conceição — coração"), "text:Cancelado",
                           "number:1234.5 [#,##0.00]", "date:2026-10-19T19:30 [dd/mm/yyyy hh:mm]",
                           "date:2026-11-18T00:00 [dd/mm/yyyy]"};
        QTest::newRow("quotes, semicolons, line breaks, null dates")
            << QVariantList{"0000000003", QStringLiteral("Buffet \"Sabor; Arte\"\r\nfilial 2"), "9", -0.25, "0003", noValue(), noValue()}
            << QStringList{"0000000003", QStringLiteral("Buffet \"Sabor; Arte\"\r\nfilial 2"), "Adiado", "-0,25", "", ""}
            << QStringList{"text:0000000003", QStringLiteral("text:Buffet \"Sabor; Arte\"\nfilial 2"), "text:Adiado",
                           "number:-0.25 [#,##0.00]", "", ""};
        QTest::newRow("empty dates and nulls") << QVariantList{"0000000004", noValue(), "1", noValue(), noValue(), 0.0, 0.0}
                                               << QStringList{"0000000004", "", "Pendente", "", "", ""}
                                               << QStringList{"text:0000000004", "", "text:Pendente", "", "", ""};
    }
    void eachQuoteReadsBackAsTheGridShowsIt()
    {
        QFETCH(QVariantList, stored);
        QFETCH(QStringList, csv);
        QFETCH(QStringList, xlsx);
        const QByteArray csvFile = exported(QStringLiteral("csv"), {stored});
        QVERIFY(csvFile.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> csvLines = csvRows(csvFile);
        QVERIFY(csvLines.size() >= 3);
        QCOMPARE(csvLines.at(0), (QStringList{QStringLiteral("Nr. Orçamento"), "Cliente", QStringLiteral("Situação"), "Convidados",
                                              "Dt. Evento", "Dt. Validade"}));
        QCOMPARE(csvLines.at(1), csv);
        QCOMPARE(csvLines.at(2), QStringList());
        const QList<QStringList> sheet = rowsOf(quotesSheet(exported(QStringLiteral("xlsx"), {stored})).value("rows").toArray());
        QCOMPARE(sheet.size(), 2);
        QCOMPARE(sheet.at(1), xlsx);
    }

    void datesReadBackAsTheGridShowsThem_data()
    {
        QTest::addColumn<double>("dayCount");
        const double day = DayCount::fromDate(QDate(2024, 2, 29));
        QTest::newRow("a leap day at midnight") << day;
        QTest::newRow("a minute before midnight") << day + 1439.0 / 1440;
        QTest::newRow("half a second in") << day + 0.5 / 86400;
        QTest::newRow("a hair before the next day") << day + 0.9999999999;
        QTest::newRow("before the base day, in the morning") << -1.25;
        QTest::newRow("the base day's eve at noon") << -0.5;
    }
    void datesReadBackAsTheGridShowsThem()
    {
        QFETCH(double, dayCount);
        const QByteArray file = exported(QStringLiteral("csv"), {{"0000000001", "Ana", "1", 1.0, noValue(), dayCount, noValue()}});
        QCOMPARE(csvRows(file).at(1).at(4), DisplayFormat::formatDateTime(dayCount, QString()));
    }

    void theSheetKeepsItsTitlesInViewWithAFilterAndRoomForTheText()
    {
        const QList<QVariantList> quotes{
            {"0000000001", QStringLiteral("Buffet São João, salão de festas da matriz"), "8", 98765.5, "0001", evening, midnight},
            {"0000000002", "Ana", "1", 1.0, noValue(), midnight, noValue()}};
        const QJsonObject sheet = quotesSheet(exported(QStringLiteral("xlsx"), quotes));
        QCOMPARE(sheet.value("freeze").toString(), QStringLiteral("A2"));
        QCOMPARE(sheet.value("filter").toString(), QStringLiteral("A1:F3"));
        QCOMPARE(sheet.value("bold").toArray(), QJsonArray({true, true, true, true, true, true}));
        // Wide enough for what the grid shows, which is what the CSV holds.
        const QList<QStringList> shown = csvRows(exported(QStringLiteral("csv"), quotes)).mid(0, 3);
        const QJsonArray widths = sheet.value("widths").toArray();
        for (qsizetype column = 0; column < shown.at(0).size(); ++column) {
            for (const QStringList &line : shown) {
                QVERIFY2(widths.at(column).toDouble() >= line.at(column).size(), qPrintable(line.at(column)));
            }
        }
    }

    void countsMatchTheListWithTheReasonsNames()
    {
        QList<QVariantList> quotes;
        const QList<std::pair<QString, QString>> states{{"8", "0001"}, {"8", "0003"}, {"9", "0001"}, {"1", ""}, {"8", "0001"}, {"2", ""}};
        for (const auto &[state, reason] : states) {
            quotes << QVariantList{"0000000001", "Cliente; \"um\"", state, 1.0, reason.isEmpty() ? noValue() : QVariant(reason), 0.0, 0.0};
        }
        const QList<QStringList> csv{
            {},
            {QStringLiteral("Situação"), "Quantidade"},
            {"Adiado", "1"},
            {"Cancelado", "3"},
            {"Pendente", "2"},
            {},
            {"Motivo", QStringLiteral("Descrição do motivo"), "Quantidade"},
            {"(sem motivo)", "", "2"},
            {"0001", QStringLiteral("Desistência do cliente"), "3"},
            {"0003", "", "1"},
        };
        QCOMPARE(csvRows(exported(QStringLiteral("csv"), quotes)).mid(1 + quotes.size()), csv);
        const QList<QStringList> xlsx{
            {QStringLiteral("text:Situação"), "text:Quantidade", ""},
            {"text:Adiado", "number:1 [General]", ""},
            {"text:Cancelado", "number:3 [General]", ""},
            {"text:Pendente", "number:2 [General]", ""},
            {"", "", ""},
            {"text:Motivo", QStringLiteral("text:Descrição do motivo"), "text:Quantidade"},
            {"text:(sem motivo)", "", "number:2 [General]"},
            {"text:0001", QStringLiteral("text:Desistência do cliente"), "number:3 [General]"},
            {"text:0003", "", "number:1 [General]"},
        };
        const QJsonObject counts = workbook(exported(QStringLiteral("xlsx"), quotes)).value("Contagens").toObject();
        QCOMPARE(rowsOf(counts.value("rows").toArray()), xlsx);
    }

    void aLongExportTellsItIsStillAtWork_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("csv") << QStringLiteral("csv");
        QTest::newRow("xlsx") << QStringLiteral("xlsx");
    }
    void aLongExportTellsItIsStillAtWork()
    {
        QFETCH(QString, format);
        const QList<QVariantList> quotes(2500, QVariantList{"0000000001", "Cliente", "1", 1.0, noValue(), 0.0, 0.0});
        int signs = 0;
        exported(format, quotes, [&signs] { ++signs; });
        QCOMPARE(signs, 2);
    }

    void aRefusedWriteIsAnError_data()
    {
        aLongExportTellsItIsStillAtWork_data();
    }
    void aRefusedWriteIsAnError()
    {
        QFETCH(QString, format);
        RecordList list(QStringLiteral("cdsOrcamento"));
        declareQuoteFields(list);
        list.loadPacket(DataPacket{list.dataFieldDefs(), {{"0000000001", "Cliente", "1", 1.0, noValue(), 0.0, 0.0}}});
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, writer(format)(list, gridRequest(), readOnly, {}));
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"

// The export of the listed quotes read back by an independent parser
// (Python's csv module): every field as the grid shows it, and the counts.
#include "CsvExport.h"
#include "DayCount.h"
#include "RecordList.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

QVariant noValue()
{
    return {};
}

// The screen's fields that the export touches, with its state words.
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
}

const QList<CsvExport::Column> columns{{"NRORCAEVENTO", "Nr. Orçamento"}, {"NMFANTCLIE", "Cliente"}, {"IDSITUORCEVE", "Situação"},
                                       {"QTCONVORCEVE", "Convidados"},  {"DTEVENTO", "Dt. Evento"}};

// Python's reading of the file: a list of rows, each a list of fields.
QList<QStringList> readBack(const QByteArray &file)
{
    QProcess python;
    python.start(QStandardPaths::findExecutable(QStringLiteral("python3")),
                 {"-c", "import csv, io, json, sys\n"
                        "text = sys.stdin.buffer.read().decode('utf-8-sig')\n"
                        "print(json.dumps(list(csv.reader(io.StringIO(text, newline=''), delimiter=';'))))"});
    python.write(file);
    python.closeWriteChannel();
    python.waitForFinished(30000);
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue &field : row.toArray()) {
            fields << field.toString();
        }
        rows << fields;
    }
    return rows;
}

} // namespace

class TestCsvExport final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty()) {
            QSKIP("python3 não está instalado: o arquivo não tem com quem ser conferido");
        }
    }

    void fieldsReadBackAsTheGridShowsThem_data()
    {
        QTest::addColumn<QVariantList>("stored");
        QTest::addColumn<QStringList>("exported");
        const double evening = DayCount::fromDateTime(QDateTime(QDate(2026, 10, 19), QTime(19, 30)));
        QTest::newRow("plain") << QVariantList{"0000000001", "Ana Souza", "1", 120.0, "", evening}
                               << QStringList{"0000000001", "Ana Souza", "Pendente", "120", "19/10/2026 19:30"};
        QTest::newRow("accents and a decimal comma")
            << QVariantList{"0000000002", QStringLiteral("João Conceição — coração"), "8", 1234.5, "0001", evening}
            << QStringList{"0000000002", QStringLiteral("João Conceição — coração"), "Cancelado", "1234,5", "19/10/2026 19:30"};
        QTest::newRow("quotes, semicolons, line breaks, a null date")
            << QVariantList{"0000000003", QStringLiteral("Buffet \"Sabor; Arte\"\r\nfilial 2"), "9", -0.25, "0003", noValue()}
            << QStringList{"0000000003", QStringLiteral("Buffet \"Sabor; Arte\"\r\nfilial 2"), "Adiado", "-0,25", ""};
        QTest::newRow("empty date and nulls") << QVariantList{"0000000004", noValue(), "1", noValue(), noValue(), 0.0}
                                              << QStringList{"0000000004", "", "Pendente", "", ""};
    }
    void fieldsReadBackAsTheGridShowsThem()
    {
        QFETCH(QVariantList, stored);
        QFETCH(QStringList, exported);
        RecordList list(QStringLiteral("cdsOrcamento"));
        declareQuoteFields(list);
        DataPacket packet{list.dataFieldDefs(), {stored}};
        list.loadPacket(packet);
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        CsvExport::write(list, columns, QStringLiteral("IDSITUORCEVE"), QStringLiteral("CDJUSTEXCHIS"), file);
        QVERIFY(file.data().startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = readBack(file.data());
        QVERIFY(rows.size() >= 2);
        QCOMPARE(rows.at(0), (QStringList{QStringLiteral("Nr. Orçamento"), "Cliente", QStringLiteral("Situação"), "Convidados", "Dt. Evento"}));
        QCOMPARE(rows.at(1), exported);
        QCOMPARE(rows.at(2), QStringList());
    }

    void countsMatchTheList()
    {
        RecordList list(QStringLiteral("cdsOrcamento"));
        declareQuoteFields(list);
        DataPacket packet{list.dataFieldDefs(), {}};
        const QList<std::pair<QString, QString>> quotes{{"8", "0001"}, {"8", "0003"}, {"9", "0001"}, {"1", ""}, {"8", "0001"}, {"2", ""}};
        for (const auto &[state, reason] : quotes) {
            packet.rows << QVariantList{"0000000001", "Cliente; \"um\"", state, 1.0, reason.isEmpty() ? noValue() : QVariant(reason), 0.0};
        }
        list.loadPacket(packet);
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        CsvExport::write(list, columns, QStringLiteral("IDSITUORCEVE"), QStringLiteral("CDJUSTEXCHIS"), file);
        const QList<QStringList> rows = readBack(file.data());
        const QList<QStringList> counts = rows.mid(1 + quotes.size());
        const QList<QStringList> expected{
            {},
            {QStringLiteral("Situação"), "Quantidade"},
            {"Adiado", "1"},
            {"Cancelado", "3"},
            {"Pendente", "2"},
            {},
            {"Motivo", "Quantidade"},
            {"(sem motivo)", "2"},
            {"0001", "3"},
            {"0003", "1"},
        };
        QCOMPARE(counts, expected);
    }

    void aLongExportTellsItIsStillAtWork()
    {
        RecordList list(QStringLiteral("cdsOrcamento"));
        declareQuoteFields(list);
        DataPacket packet{list.dataFieldDefs(), {}};
        for (int row = 0; row < 2500; ++row) {
            packet.rows << QVariantList{"0000000001", "Cliente", "1", 1.0, noValue(), 0.0};
        }
        list.loadPacket(packet);
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        int signs = 0;
        CsvExport::write(list, columns, QStringLiteral("IDSITUORCEVE"), QStringLiteral("CDJUSTEXCHIS"), file,
                         [&signs] { ++signs; });
        QCOMPARE(signs, 2);
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"

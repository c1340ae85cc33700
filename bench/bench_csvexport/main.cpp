// The export of a 100,000-quote list, as CSV against the floor of writing
// the same bytes with one QFile::write, and as .xlsx against the CSV.
//
// The list has the screen's grid fields, with accents, quotes and ";" in
// its texts, some empty values, and the state's words from a get-text hook
// as on the screen. Each side is timed five times, in turns; the table
// gives the medians and their ratios.

#include "CsvExport.h"
#include "RecordList.h"
#include "XlsxExport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int rows = 100000;
constexpr int runs = 5;

ExportRequest gridRequest()
{
    ExportRequest request;
    request.columns = {{"NRORCAEVENTO", "Nr. Orçamento"},    {"NRSEQORCAEVE", "Seq."},
                       {"NMFANTCLIE", "Cliente"},            {"IDSITUORCEVE", "Situação"},
                       {"NMTPSERVEVEN", "Tipo de Serviço"},  {"NMTIPOEVENTO", "Tipo de Evento"},
                       {"DTEVENTO", "Dt. Evento"},           {"DTVALIORCEVE", "Dt. Validade"},
                       {"DTINCLORCEVE", "Dt. Origem"}};
    request.stateField = QStringLiteral("IDSITUORCEVE");
    request.reasonField = QStringLiteral("CDJUSTEXCHIS");
    for (int reason = 0; reason < 7; ++reason) {
        request.reasonNames.insert(QStringLiteral("000%1").arg(reason), QStringLiteral("Motivo nº %1").arg(reason));
    }
    return request;
}

void fill(RecordList &list)
{
    for (const char *name : {"NRORCAEVENTO", "NRSEQORCAEVE", "NMFANTCLIE", "IDSITUORCEVE", "NMTPSERVEVEN", "NMTIPOEVENTO",
                             "CDJUSTEXCHIS"}) {
        list.addField(QLatin1String(name), FieldType::Text, 50);
    }
    for (const char *name : {"DTEVENTO", "DTVALIORCEVE", "DTINCLORCEVE"}) {
        list.addField(QLatin1String(name), FieldType::DateTime);
    }
    const QStringList words{QString(), QStringLiteral("Pendente"), QStringLiteral("Aprovado"), {}, {}, {}, {}, {},
                            QStringLiteral("Cancelado"), QStringLiteral("Adiado")};
    list.fieldByName(QStringLiteral("IDSITUORCEVE")).setOnGetText([words](const Field &field, bool) {
        return words.value(field.asString().toInt());
    });
    DataPacket packet{list.dataFieldDefs(), {}};
    const QStringList states{"1", "2", "8", "9"};
    for (int i = 0; i < rows; ++i) {
        packet.rows << QVariantList{QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')), "01",
                                    i % 11 == 0 ? QVariant() : QVariant(QStringLiteral("Buffet \"São João\"; Conceição %1").arg(i)),
                                    states.at(i % 4), QStringLiteral("Café da manhã"), QStringLiteral("Bodas"),
                                    i % 4 >= 2 ? QVariant(QStringLiteral("000%1").arg(i % 7)) : QVariant(),
                                    46000 + i / 24.0, i % 9 == 0 ? 0.0 : 46100.0 + i % 300, 45000.5 + i % 500};
    }
    list.loadPacket(packet);
}

double median(QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.at(samples.size() / 2);
}

// Milliseconds `write` takes to fill the file at `path` from scratch.
template<typename Write>
double timed(const QString &path, Write write)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QElapsedTimer timer;
    timer.start();
    write(file);
    file.close();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    RecordList list(QStringLiteral("cdsOrcamento"));
    fill(list);
    const ExportRequest request = gridRequest();
    QTemporaryDir dir;
    const QString csvPath = dir.filePath(QStringLiteral("orcamentos.csv"));
    const QString xlsxPath = dir.filePath(QStringLiteral("orcamentos.xlsx"));
    QList<double> csvMs;
    QList<double> writeMs;
    QList<double> xlsxMs;
    QByteArray bytes;
    for (int run = 0; run < runs; ++run) {
        csvMs << timed(csvPath, [&](QFile &file) { CsvExport::write(list, request, file); });
        QFile csv(csvPath);
        csv.open(QIODevice::ReadOnly);
        bytes = csv.readAll();
        writeMs << timed(dir.filePath(QStringLiteral("bytes.csv")), [&](QFile &file) { file.write(bytes); });
        xlsxMs << timed(xlsxPath, [&](QFile &file) { XlsxExport::write(list, request, file); });
    }
    const double csv = median(csvMs);
    const double floor = median(writeMs);
    const double xlsx = median(xlsxMs);
    std::printf("%-34s %12s\n", "100,000 quotes (median of 5)", "ms");
    std::printf("%-34s %12.1f\n", "CsvExport::write", csv);
    std::printf("%-34s %12.1f\n", "one QFile::write of the CSV bytes", floor);
    std::printf("%-34s %12.1fx\n", "CSV / bare write", csv / floor);
    std::printf("%-34s %12.1f\n", "XlsxExport::write", xlsx);
    std::printf("%-34s %12.1fx\n", ".xlsx / CSV", xlsx / csv);
    std::printf("%-34s %12.1f\n", "CSV size (MiB)", bytes.size() / 1048576.0);
    std::printf("%-34s %12.1f\n", ".xlsx size (MiB)", QFile(xlsxPath).size() / 1048576.0);
    return 0;
}

// The export of a 100,000-quote list to a spreadsheet file, against the
// floor of writing the same bytes with one QFile::write.
//
// The list has the screen's grid fields, with accents, quotes and ";" in
// its texts, some empty values, and the state's words from a get-text hook
// as on the screen. Each side is timed five times; the table gives the
// medians and their ratio.

#include "CsvExport.h"
#include "DayCount.h"
#include "RecordList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int rows = 100000;
constexpr int runs = 5;

const QList<CsvExport::Column> gridColumns{
    {"NRORCAEVENTO", "Nr. Orçamento"}, {"NRSEQORCAEVE", "Seq."},        {"NMFANTCLIE", "Cliente"},
    {"IDSITUORCEVE", "Situação"},      {"NMTPSERVEVEN", "Tipo de Serviço"}, {"NMTIPOEVENTO", "Tipo de Evento"},
    {"DTEVENTO", "Dt. Evento"},        {"DTVALIORCEVE", "Dt. Validade"}, {"DTINCLORCEVE", "Dt. Origem"}};

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    RecordList list(QStringLiteral("cdsOrcamento"));
    fill(list);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orcamentos.csv"));
    QList<double> exportMs;
    QList<double> writeMs;
    QByteArray bytes;
    for (int run = 0; run < runs; ++run) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QElapsedTimer timer;
        timer.start();
        CsvExport::write(list, gridColumns, QStringLiteral("IDSITUORCEVE"), QStringLiteral("CDJUSTEXCHIS"), file);
        file.close();
        exportMs << timer.nsecsElapsed() / 1e6;

        file.open(QIODevice::ReadOnly);
        bytes = file.readAll();
        file.close();
        QFile floor(dir.filePath(QStringLiteral("bytes.csv")));
        floor.open(QIODevice::WriteOnly | QIODevice::Truncate);
        timer.restart();
        floor.write(bytes);
        floor.close();
        writeMs << timer.nsecsElapsed() / 1e6;
    }
    std::printf("%-32s %12s\n", "100,000 quotes (median of 5)", "ms");
    std::printf("%-32s %12.1f\n", "CsvExport::write", median(exportMs));
    std::printf("%-32s %12.1f\n", "one QFile::write of the bytes", median(writeMs));
    std::printf("%-32s %12.1fx\n", "ratio", median(exportMs) / median(writeMs));
    std::printf("%-32s %12.1f\n", "file size (MiB)", bytes.size() / 1048576.0);
    return 0;
}

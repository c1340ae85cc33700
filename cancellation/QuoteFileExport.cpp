#include "QuoteFileExport.h"

#include "CsvExport.h"
#include "ExportRequest.h"
#include "HostDialogs.h"
#include "QuoteServer.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "XlsxExport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

constexpr int readingData = 6;
constexpr int writingData = 1;
// From this many quotes on the export takes long enough to show the busy
// indicator.
constexpr int longList = 5000;

const QString markColumn = QStringLiteral("IDCHECK");

// The file types "Exportar" writes, the first one offered first.
struct ExportType {
    QString filter;
    QString suffix;
    void (*write)(const RecordList &, const ExportRequest &, QIODevice &, const std::function<void()> &);
};

const QList<ExportType> exportTypes{
    {QStringLiteral("Planilha XLSX (*.xlsx)"), QStringLiteral("xlsx"), &XlsxExport::write},
    {QStringLiteral("Planilha CSV (*.csv)"), QStringLiteral("csv"), &CsvExport::write},
};

const ExportType &typeOfFilter(const QString &filter)
{
    const auto type = std::find_if(exportTypes.cbegin(), exportTypes.cend(),
                                   [&filter](const ExportType &type) { return type.filter == filter; });
    return type == exportTypes.cend() ? exportTypes.first() : *type;
}

struct Export {
    QString file;
    const ExportType *type;
};

// The file the operator names and its type: the one its extension names,
// else the one chosen in the dialog. A name typed without an extension
// takes the chosen type's before the dialog asks about replacing a file.
std::optional<Export> chooseFile(QWidget *screen)
{
    QFileDialog dialog(screen, QStringLiteral("Exportar orçamentos"),
                        QDir::home().filePath(QStringLiteral("orcamentos.") + exportTypes.first().suffix));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const ExportType &type : exportTypes) {
        filters << type.filter;
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(exportTypes.first().suffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { dialog.setDefaultSuffix(typeOfFilter(filter).suffix); });
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QString file = dialog.selectedFiles().constFirst();
    const QString suffix = QFileInfo(file).suffix();
    for (const ExportType &type : exportTypes) {
        if (suffix.compare(type.suffix, Qt::CaseInsensitive) == 0) {
            return Export{file, &type};
        }
    }
    return Export{file, &typeOfFilter(dialog.selectedNameFilter())};
}

// The names of the reasons the counts show, all in the one call the
// reason lookup makes.
QHash<QString, QString> reasonNames(QuoteServer &server)
{
    RecordList reasons(QStringLiteral("cdsMotivosExportados"));
    ServerAnswer::LoadPacket(
        reasons, callChecked(server, readingData, QStringLiteral("GetMotivo"), {QString(), QStringLiteral("T")}));
    const int code = reasons.fieldByName(QStringLiteral("CDJUSTEXCHIS")).index();
    const int name = reasons.fieldByName(QStringLiteral("DSJUSTEXCHIS")).index();
    QHash<QString, QString> names;
    for (int row = 0; row < reasons.recordCount(); ++row) {
        names.insert(reasons.valueAt(row, code).toString(), reasons.valueAt(row, name).toString());
    }
    return names;
}

} // namespace

void exportQuotes(QWidget *window, const RecordList &quotes, const QList<TDBGrid::Column> &columns,
                       QuoteServer &server)
{
    const std::optional<Export> exportChoice = chooseFile(window);
    if (!exportChoice) {
        return;
    }
    ExportRequest request;
    for (const TDBGrid::Column &coluna : columns) {
        if (coluna.fieldName != markColumn) {
            request.columns << ExportRequest::Column{coluna.fieldName, coluna.title.isEmpty()
                                                                          ? quotes.fieldByName(coluna.fieldName).displayLabel()
                                                                          : coluna.title};
        }
    }
    request.stateField = QStringLiteral("IDSITUORCEVE");
    request.reasonField = QStringLiteral("CDJUSTEXCHIS");
    request.reasonNames = reasonNames(server);
    const QString &file = exportChoice->file;
    QSaveFile out(file);
    {
        std::optional<Showavi::Busy> busy;
        if (quotes.recordCount() >= longList) {
            busy.emplace(writingData);
        }
        if (!out.open(QIODevice::WriteOnly)) {
            throw std::runtime_error(QStringLiteral("Não foi possível criar %1: %2").arg(file, out.errorString()).toStdString());
        }
        // A failure leaves the file that was there, if any, as it was: the
        // save file replaces it only on commit.
        try {
            exportChoice->type->write(quotes, request, out, &Showavi::StillBusy);
        } catch (const std::runtime_error &error) {
            throw std::runtime_error(
                QStringLiteral("Não foi possível gravar %1: %2").arg(file, QString::fromUtf8(error.what())).toStdString());
        }
        if (!out.commit()) {
            throw std::runtime_error(QStringLiteral("Não foi possível gravar %1: %2").arg(file, out.errorString()).toStdString());
        }
    }
    HostDialogs::current().showMessage(HostDialogs::Icon::Information, QStringLiteral("Informação"),
                                       QStringLiteral("%1 orçamento(s) exportado(s) para %2.")
                                           .arg(quotes.recordCount())
                                           .arg(QDir::toNativeSeparators(file)));
}

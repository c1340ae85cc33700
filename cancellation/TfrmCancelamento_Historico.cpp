// Two commands of the "Operação" menu beside the cancellation itself: the
// history of the current quote and the export of the listed quotes to a
// spreadsheet file.
#include "TfrmCancelamento.h"

#include "Consiste.h"
#include "CsvExport.h"
#include "HistoricoDialog.h"
#include "HostDialogs.h"
#include "RecordList.h"
#include "Showavi.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TMessages.h"
#include "TNetConnection.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>

#include <optional>
#include <stdexcept>

namespace {

constexpr int lendoDados = 6;
constexpr int gravandoDados = 1;
// From this many quotes on the export takes long enough to show the busy
// indicator.
constexpr int listaLonga = 5000;

const QString colunaMarca = QStringLiteral("IDCHECK");

} // namespace

void TfrmCancelamento::mnuHistoricoClick(QObject * /*sender*/)
{
    const auto campo = [this](const char *name) { return cdsOrcamento->fieldByName(QLatin1String(name)).asString(); };
    const QString numero = campo("NRORCAEVENTO");
    const QString sequencia = campo("NRSEQORCAEVE");
    QJsonValue historico;
    {
        Showavi::Busy busy(lendoDados);
        historico = Consiste::CheckResultServ(
            netCancelamento->Call(QStringLiteral("GetHistorico"), {campo("CDFILIAL"), numero, sequencia}), true, 0);
    }
    HistoricoDialog dialog(historico, [this](const QString &codigo) { return msgPadrao->Msg(codigo); },
                           QStringLiteral("Histórico do orçamento %1-%2").arg(numero, sequencia), this);
    dialog.exec();
}

void TfrmCancelamento::mnuExportarClick(QObject * /*sender*/)
{
    const QString arquivo = QFileDialog::getSaveFileName(
        this, QStringLiteral("Exportar orçamentos"), QDir::home().filePath(QStringLiteral("orcamentos.csv")),
        QStringLiteral("Planilha CSV (*.csv)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (arquivo.isEmpty()) {
        return;
    }
    QList<CsvExport::Column> colunas;
    for (const TDBGrid::Column &coluna : dbgPadrao->columns()) {
        if (coluna.fieldName != colunaMarca) {
            colunas << CsvExport::Column{coluna.fieldName, coluna.title.isEmpty()
                                                               ? cdsOrcamento->fieldByName(coluna.fieldName).displayLabel()
                                                               : coluna.title};
        }
    }
    QSaveFile saida(arquivo);
    {
        std::optional<Showavi::Busy> busy;
        if (cdsOrcamento->recordCount() >= listaLonga) {
            busy.emplace(gravandoDados);
        }
        if (!saida.open(QIODevice::WriteOnly)) {
            throw std::runtime_error(QStringLiteral("Não foi possível criar %1: %2").arg(arquivo, saida.errorString()).toStdString());
        }
        CsvExport::write(*cdsOrcamento, colunas, QStringLiteral("IDSITUORCEVE"), QStringLiteral("CDJUSTEXCHIS"), saida,
                         &Showavi::StillBusy);
        if (!saida.commit()) {
            throw std::runtime_error(QStringLiteral("Não foi possível gravar %1: %2").arg(arquivo, saida.errorString()).toStdString());
        }
    }
    HostDialogs::current().showMessage(HostDialogs::Icon::Information, QStringLiteral("Informação"),
                                       QStringLiteral("%1 orçamento(s) exportado(s) para %2.")
                                           .arg(cdsOrcamento->recordCount())
                                           .arg(QDir::toNativeSeparators(arquivo)));
}

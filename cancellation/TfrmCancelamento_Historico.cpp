// Two commands of the "Operação" menu beside the cancellation itself: the
// history of the current quote and the export of the listed quotes to a
// spreadsheet file (.xlsx or CSV).
#include "TfrmCancelamento.h"

#include "Consiste.h"
#include "CsvExport.h"
#include "ExportRequest.h"
#include "HistoricoDialog.h"
#include "HostDialogs.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"
#include "TDBGrid.h"
#include "TDataSource.h"
#include "TMessages.h"
#include "TNetConnection.h"
#include "XlsxExport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

constexpr int lendoDados = 6;
constexpr int gravandoDados = 1;
// From this many quotes on the export takes long enough to show the busy
// indicator.
constexpr int listaLonga = 5000;

const QString colunaMarca = QStringLiteral("IDCHECK");

// The file types "Exportar" writes, the first one offered first.
struct TipoExportacao {
    QString filtro;
    QString sufixo;
    void (*grava)(const RecordList &, const ExportRequest &, QIODevice &, const std::function<void()> &);
};

const QList<TipoExportacao> tiposExportacao{
    {QStringLiteral("Planilha XLSX (*.xlsx)"), QStringLiteral("xlsx"), &XlsxExport::write},
    {QStringLiteral("Planilha CSV (*.csv)"), QStringLiteral("csv"), &CsvExport::write},
};

const TipoExportacao &tipoDoFiltro(const QString &filtro)
{
    const auto tipo = std::find_if(tiposExportacao.cbegin(), tiposExportacao.cend(),
                                   [&filtro](const TipoExportacao &tipo) { return tipo.filtro == filtro; });
    return tipo == tiposExportacao.cend() ? tiposExportacao.first() : *tipo;
}

struct Exportacao {
    QString arquivo;
    const TipoExportacao *tipo;
};

// The file the operator names and its type: the one its extension names,
// else the one chosen in the dialog. A name typed without an extension
// takes the chosen type's before the dialog asks about replacing a file.
std::optional<Exportacao> escolheArquivo(QWidget *tela)
{
    QFileDialog dialogo(tela, QStringLiteral("Exportar orçamentos"),
                        QDir::home().filePath(QStringLiteral("orcamentos.") + tiposExportacao.first().sufixo));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filtros;
    for (const TipoExportacao &tipo : tiposExportacao) {
        filtros << tipo.filtro;
    }
    dialogo.setNameFilters(filtros);
    dialogo.setDefaultSuffix(tiposExportacao.first().sufixo);
    QObject::connect(&dialogo, &QFileDialog::filterSelected, &dialogo,
                     [&dialogo](const QString &filtro) { dialogo.setDefaultSuffix(tipoDoFiltro(filtro).sufixo); });
    if (dialogo.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QString arquivo = dialogo.selectedFiles().constFirst();
    const QString sufixo = QFileInfo(arquivo).suffix();
    for (const TipoExportacao &tipo : tiposExportacao) {
        if (sufixo.compare(tipo.sufixo, Qt::CaseInsensitive) == 0) {
            return Exportacao{arquivo, &tipo};
        }
    }
    return Exportacao{arquivo, &tipoDoFiltro(dialogo.selectedNameFilter())};
}

// The names of the reasons the counts show, all in the one call the
// reason lookup makes.
QHash<QString, QString> nomesDosMotivos(TNetConnection &conexao)
{
    RecordList motivos(QStringLiteral("cdsMotivosExportados"));
    {
        Showavi::Busy busy(lendoDados);
        ServerAnswer::LoadPacket(motivos, Consiste::CheckResultServ(
                                              conexao.Call(QStringLiteral("GetMotivo"), {QString(), QStringLiteral("T")}), true, 0));
    }
    const int codigo = motivos.fieldByName(QStringLiteral("CDJUSTEXCHIS")).index();
    const int nome = motivos.fieldByName(QStringLiteral("DSJUSTEXCHIS")).index();
    QHash<QString, QString> nomes;
    for (int linha = 0; linha < motivos.recordCount(); ++linha) {
        nomes.insert(motivos.valueAt(linha, codigo).toString(), motivos.valueAt(linha, nome).toString());
    }
    return nomes;
}

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
    const std::optional<Exportacao> exportacao = escolheArquivo(this);
    if (!exportacao) {
        return;
    }
    ExportRequest pedido;
    for (const TDBGrid::Column &coluna : dbgPadrao->columns()) {
        if (coluna.fieldName != colunaMarca) {
            pedido.columns << ExportRequest::Column{coluna.fieldName, coluna.title.isEmpty()
                                                                          ? cdsOrcamento->fieldByName(coluna.fieldName).displayLabel()
                                                                          : coluna.title};
        }
    }
    pedido.stateField = QStringLiteral("IDSITUORCEVE");
    pedido.reasonField = QStringLiteral("CDJUSTEXCHIS");
    pedido.reasonNames = nomesDosMotivos(*netCancelamento);
    const QString &arquivo = exportacao->arquivo;
    QSaveFile saida(arquivo);
    {
        std::optional<Showavi::Busy> busy;
        if (cdsOrcamento->recordCount() >= listaLonga) {
            busy.emplace(gravandoDados);
        }
        if (!saida.open(QIODevice::WriteOnly)) {
            throw std::runtime_error(QStringLiteral("Não foi possível criar %1: %2").arg(arquivo, saida.errorString()).toStdString());
        }
        // A failure leaves the file that was there, if any, as it was: the
        // save file replaces it only on commit.
        try {
            exportacao->tipo->grava(*cdsOrcamento, pedido, saida, &Showavi::StillBusy);
        } catch (const std::runtime_error &erro) {
            throw std::runtime_error(
                QStringLiteral("Não foi possível gravar %1: %2").arg(arquivo, QString::fromUtf8(erro.what())).toStdString());
        }
        if (!saida.commit()) {
            throw std::runtime_error(QStringLiteral("Não foi possível gravar %1: %2").arg(arquivo, saida.errorString()).toStdString());
        }
    }
    HostDialogs::current().showMessage(HostDialogs::Icon::Information, QStringLiteral("Informação"),
                                       QStringLiteral("%1 orçamento(s) exportado(s) para %2.")
                                           .arg(cdsOrcamento->recordCount())
                                           .arg(QDir::toNativeSeparators(arquivo)));
}

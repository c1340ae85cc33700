#include "ExportacaoOrcamentos.h"

#include "CsvExport.h"
#include "ExportRequest.h"
#include "HostDialogs.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "ServidorCancelamento.h"
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
QHash<QString, QString> nomesDosMotivos(ServidorCancelamento &servidor)
{
    RecordList motivos(QStringLiteral("cdsMotivosExportados"));
    ServerAnswer::LoadPacket(
        motivos, chamaChecado(servidor, lendoDados, QStringLiteral("GetMotivo"), {QString(), QStringLiteral("T")}));
    const int codigo = motivos.fieldByName(QStringLiteral("CDJUSTEXCHIS")).index();
    const int nome = motivos.fieldByName(QStringLiteral("DSJUSTEXCHIS")).index();
    QHash<QString, QString> nomes;
    for (int linha = 0; linha < motivos.recordCount(); ++linha) {
        nomes.insert(motivos.valueAt(linha, codigo).toString(), motivos.valueAt(linha, nome).toString());
    }
    return nomes;
}

} // namespace

void exportaOrcamentos(QWidget *janela, const RecordList &orcamentos, const QList<TDBGrid::Column> &colunas,
                       ServidorCancelamento &servidor)
{
    const std::optional<Exportacao> exportacao = escolheArquivo(janela);
    if (!exportacao) {
        return;
    }
    ExportRequest pedido;
    for (const TDBGrid::Column &coluna : colunas) {
        if (coluna.fieldName != colunaMarca) {
            pedido.columns << ExportRequest::Column{coluna.fieldName, coluna.title.isEmpty()
                                                                          ? orcamentos.fieldByName(coluna.fieldName).displayLabel()
                                                                          : coluna.title};
        }
    }
    pedido.stateField = QStringLiteral("IDSITUORCEVE");
    pedido.reasonField = QStringLiteral("CDJUSTEXCHIS");
    pedido.reasonNames = nomesDosMotivos(servidor);
    const QString &arquivo = exportacao->arquivo;
    QSaveFile saida(arquivo);
    {
        std::optional<Showavi::Busy> busy;
        if (orcamentos.recordCount() >= listaLonga) {
            busy.emplace(gravandoDados);
        }
        if (!saida.open(QIODevice::WriteOnly)) {
            throw std::runtime_error(QStringLiteral("Não foi possível criar %1: %2").arg(arquivo, saida.errorString()).toStdString());
        }
        // A failure leaves the file that was there, if any, as it was: the
        // save file replaces it only on commit.
        try {
            exportacao->tipo->grava(orcamentos, pedido, saida, &Showavi::StillBusy);
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
                                           .arg(orcamentos.recordCount())
                                           .arg(QDir::toNativeSeparators(arquivo)));
}

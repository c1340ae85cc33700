// The quote grid: the mark column, the state shown as a word, and the
// keyboard guard of the items grid.
#include "TfrmCancelamento.h"

#include "Cli_cxl04100.h"
#include "MarkGlyphs.h"
#include "CancellationMessages.h"
#include "CancellationOperations.h"
#include "RecordList.h"

#include <QLabel>
#include <QLineEdit>


bool TfrmCancelamento::dbgPadraoDrawColumnCell(QPainter *painter, const QStyleOptionViewItem &option,
                                               const Field &field, int row)
{
    if (field.name() != QLatin1String("IDCHECK")) {
        return false;
    }
    QPixmap glyph;
    if (!cdsOrcamento->isEmpty()) {
        const int situacao = cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).index();
        glyph = QuoteState::isOpen(cdsOrcamento->valueAt(row, situacao).toString()) ? imgUncheck->pixmap()
                                                                            : imgCheck->pixmap();
    }
    MarkGlyphs::Paint(*painter, option.rect, TDBGrid::cellBrush(option), glyph);
    return true;
}

void TfrmCancelamento::dbgPadraoDblClick()
{
    marcaOrcamento();
}

void TfrmCancelamento::marcaOrcamento()
{
    edtCdMotivo->clear();
    if (dbgPadrao->selectedFieldName() == QLatin1String("IDCHECK") && !m_operations->listEmpty()) {
        const QString situacao = situacaoAtual();
        if (QuoteState::isWithdrawn(situacao)) {
            reabilitaOrcamento();
        } else {
            // Edit first: the command state must still see the quote as it was.
            cdsOrcamento->edit();
            if (QuoteState::isOpen(situacao)) {
                cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).setAsString(QuoteState::Cancelled);
            }
        }
    }
    boVd = true;
}

void TfrmCancelamento::dbgPadraoKeyDown(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift)
{
    TfrmPadraoGrid::dbgPadraoKeyDown(sender, key, shift);
    if (sender.selectedFieldName() == QLatin1String("IDCHECK") && key == Qt::Key_Space) {
        marcaOrcamento();
    }
}

void TfrmCancelamento::dbgPadraoEnter()
{
    m_operations->recheck();
}

void TfrmCancelamento::dbgItemKeyDown(TDBGrid & /*sender*/, int &key, Qt::KeyboardModifiers shift)
{
    // Items belong to the quote: this screen never deletes one.
    if (shift.testFlag(Qt::ControlModifier) && key == Qt::Key_Delete) {
        key = 0;
    }
}

QString TfrmCancelamento::cdsOrcamentoIDSITUORCEVEGetText(const Field &field) const
{
    return stateWord(*msgPadrao, field.asString());
}

void TfrmCancelamento::cdsOrcamentoIDSITUORCEVESetText(Field &field, const QString &text) const
{
    if (const QString codigo = stateOfWord(*msgPadrao, text); !codigo.isEmpty()) {
        field.setAsString(codigo);
    }
}

#pragma once

#include "TfrmPadraoGrid.h"

// The cancellation screen: lists a branch's event quotes and cancels,
// postpones or re-enables them.
class TfrmCancelamento final : public TfrmPadraoGrid {
    Q_OBJECT
public:
    explicit TfrmCancelamento(QWidget *parent = nullptr);

    void FormCreate() override;
    void FormClose(CloseAction &action) override;

    bool PrimeiraAtivacao() const { return boPrimeiraAtivacao; }

private:
    bool boPrimeiraAtivacao = false;
};

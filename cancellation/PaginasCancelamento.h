#pragma once

#include "TDBGrid.h"

#include <QFrame>
#include <QWidget>

class QLabel;
class QLineEdit;
class TBtnPesquisa;
class TDBMemo;
class TDataSource;

// The cancellation screen's panels as the operator sees them. They only lay
// out their controls and bind them to the screen's data sources; the screen
// wires the controls to its handlers. Each control carries its member name
// as its object name.

// The branch the quotes are listed for, at the top of the screen.
class PainelFilial final : public QFrame {
    Q_OBJECT
public:
    PainelFilial(TDataSource *filiais, QWidget *parent);
    QLineEdit *medCdFilial;
    TBtnPesquisa *btnFilial;
    QLineEdit *edtNmFilial;
};

// The items of the current quote, under a header that names the quote.
class PaginaItens final : public QWidget {
    Q_OBJECT
public:
    PaginaItens(TDataSource *orcamentos, TDataSource *itens);
    // Prices taken from a contract have no price base to show.
    void mostraPrecoBase(bool visivel);
    TDBGrid *dbgItem;

private:
    QFrame *panCabecalho;
    QFrame *panPrecoBase;
};

// The reason and the justification of a cancellation or postponement, under
// a line naming the quote they are for.
class PaginaMotivo final : public QWidget {
    Q_OBJECT
public:
    PaginaMotivo(TDataSource *orcamentos, TDataSource *motivos, TDataSource *justificativas);
    QFrame *pnlMotivo;
    QLabel *lblNmMot;
    QLineEdit *edtCdMotivo;
    TBtnPesquisa *btpMotivo;
    QLineEdit *edtNmMotivo;
    TDBMemo *dbmMotivo;

private:
    void identificaOrcamento();
    TDataSource *m_orcamentos;
    QLabel *lblOrcamentoMotivo;
};

// A grid column of the screen's grids.
TDBGrid::Column coluna(const QString &fieldName, const QString &title = QString(), int width = -1,
                       Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter);

#pragma once

#include "TDBGrid.h"

#include <QFrame>
#include <QWidget>

class QLabel;
class TADOIBQuery;
class TMessages;
class QLineEdit;
class TBtnPesquisa;
class TDBMemo;
class TDataSource;

// The cancellation screen's panels as the operator sees them. They only lay
// out their controls and bind them to the screen's data sources; the screen
// wires the controls to its handlers. Each control carries its member name
// as its object name.

// The branch the quotes are listed for, at the top of the screen, checked
// against the local database's branches (qryFilial).
class BranchPanel final : public QFrame {
    Q_OBJECT
public:
    explicit BranchPanel(QWidget *parent);
    // The code typed, adjusted to four characters, with its name; a code
    // missing or unknown puts the focus back and abandons with its message.
    void check(const TMessages &messages);
    // The lookup offers every branch, in code order; the one picked is taken.
    void offerAll();
    void takePicked();

    QLineEdit *medCdFilial;
    TBtnPesquisa *btnFilial;
    QLineEdit *edtNmFilial;

private:
    void find(const QString &code, const QString &all);
    TADOIBQuery *qryFilial;
};

// The items of the current quote, under a header that names the quote.
class ItemsPage final : public QWidget {
    Q_OBJECT
public:
    ItemsPage(TDataSource *quotes, TDataSource *items);
    // Prices taken from a contract have no price base to show.
    void showPriceBase(bool visivel);
    TDBGrid *dbgItem;

private:
    QFrame *panCabecalho;
    QFrame *panPrecoBase;
};

// The reason and the justification of a cancellation or postponement, under
// a line naming the quote they are for.
class ReasonPage final : public QWidget {
    Q_OBJECT
public:
    ReasonPage(TDataSource *quotes, TDataSource *reasons, TDataSource *justifications);
    QFrame *pnlMotivo;
    QLabel *lblNmMot;
    QLineEdit *edtCdMotivo;
    TBtnPesquisa *btpMotivo;
    QLineEdit *edtNmMotivo;
    TDBMemo *dbmMotivo;

private:
    void nameQuote();
    TDataSource *m_quotes;
    QLabel *lblOrcamentoMotivo; // which quote the reason is for: number, sequence and client
};

// A grid column of the screen's grids.
TDBGrid::Column gridColumn(const QString &fieldName, const QString &title = QString(), int width = -1,
                       Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter);

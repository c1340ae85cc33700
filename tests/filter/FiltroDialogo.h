#pragma once

// What the filter dialog's tests share: opening the dialog as the screen
// does with steps run inside its modal showing, the filter record as a list
// of texts to compare, and the dialog's controls by criterion.
#include "TFiltro.h"
#include "TelaFiltro.h"

#include <QList>
#include <QStringList>

#include <functional>

class QLineEdit;
class QObject;
class QRadioButton;
class TButtonFlat;
class TfrmFiltroCancelamento;

using Step = std::function<void(TfrmFiltroCancelamento &dialog)>;

// Runs `step` on the dialog once its modal showing has begun and it is the
// active window. A dialog that a
// failed step left open is closed with a result no test expects, so the test
// fails instead of hanging.
void whenShown(QObject &guard, const Step &step);
// What the open cancellation screen hands the dialog; nothing without one.
TelaFiltro telaAberta();
// Opens the dialog as the screen does, runs `step` in it and returns the
// modal result the screen would read.
int openWith(const Step &step);

// Every field of the record, dates as fixed-point texts.
QStringList campos(const TFiltro &f);
// Every criterion applied, as a confirmation would have left it.
TFiltro filtroRestrito();

struct Criterio {
    QRadioButton *todos;
    QRadioButton *lista;
    TButtonFlat *search;
    QString *workingList;
};

// "Vendedor", "Cliente", "TipoServ" or "TipoEven".
Criterio criterio(TfrmFiltroCancelamento &d, const QString &name);
TCodeList &criterioDoFiltro(const QString &name);
extern const QStringList listCriteria;

// The two number edits, then the six date edits, in tab order.
QList<QLineEdit *> rangeEdits(TfrmFiltroCancelamento &d);
// What an opening on the default filter shows, and what "Desfazer" restores.
void verifyOpenFilterShown(TfrmFiltroCancelamento &d);

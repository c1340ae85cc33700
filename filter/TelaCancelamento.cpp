#include "TelaCancelamento.h"

#include "TfrmPadraoGrid.h"

#include <QApplication>

TfrmPadraoGrid *TelaCancelamento()
{
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (widget->objectName() == QLatin1String("frmCancelamento")) {
            if (auto *screen = qobject_cast<TfrmPadraoGrid *>(widget)) {
                return screen;
            }
        }
    }
    return nullptr;
}

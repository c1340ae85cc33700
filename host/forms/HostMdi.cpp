#include "HostMdi.h"

#include "HostGuard.h"
#include "ScreenLayout.h"
#include "THostForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <stdexcept>

namespace {
QPointer<QMdiArea> area;
QMetaObject::Connection activation;

void activated(QMdiSubWindow *window)
{
    auto *form = window ? qobject_cast<THostForm *>(window->widget()) : nullptr;
    if (form) {
        HostGuard::run([form] { form->FormActivate(); });
    }
}
} // namespace

namespace HostMdi {

void SetArea(QMdiArea *newArea)
{
    QObject::disconnect(activation);
    area = newArea;
    if (newArea) {
        activation = QObject::connect(newArea, &QMdiArea::subWindowActivated, newArea, &activated);
    }
}

QMdiArea *Area()
{
    return area;
}

void ShowChild(THostForm *form)
{
    if (!form) {
        throw std::invalid_argument("HostMdi::ShowChild: no screen given");
    }
    if (!area) {
        throw std::logic_error("HostMdi::ShowChild: the client has no document area");
    }
    QMdiSubWindow *window = form->subWindow();
    QSize designed;
    const bool firstShow = !window;
    if (firstShow) {
        // A screen opens in the size it was designed with, not squeezed to
        // the least its controls need.
        designed = form->testAttribute(Qt::WA_Resized) ? form->size() : QSize();
        window = new QMdiSubWindow;
        window->setWidget(form);
        // The screen decides in FormClose whether its window is freed.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        area->addSubWindow(window);
    }
    form->show();
    window->showNormal();
    if (designed.isValid()) {
        // The window's margins are its frame and title bar, known once shown.
        window->resize(designed.grownBy(window->contentsMargins()));
    }
    if (firstShow) {
        ScreenLayout::Restore(*form);
    }
    window->raise();
    area->setActiveSubWindow(window);
}

} // namespace HostMdi

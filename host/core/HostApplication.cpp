#include "HostApplication.h"

#include "HostGuard.h"

HostApplication::HostApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool HostApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    HostGuard::run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

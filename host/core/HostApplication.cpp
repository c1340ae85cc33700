#include "HostApplication.h"

#include "HostGuard.h"
#include "Showavi.h"
#include "TNetConnection.h"

HostApplication::HostApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Server calls block the event loop; their wait keeps the busy indicator
    // on the screen.
    TNetConnection::SetWaitHook(&Showavi::StillBusy);
}

HostApplication::~HostApplication()
{
    TNetConnection::SetWaitHook({});
}

bool HostApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    HostGuard::run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

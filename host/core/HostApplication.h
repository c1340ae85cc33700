#pragma once

#include <QApplication>

// The host client's application object. Every event the toolkit dispatches
// runs inside HostGuard, so a handler that abandons (Abort) stops silently
// and any other failure ends in the error box; no exception ever reaches the
// toolkit's event loop. An event whose handler failed counts as not handled.
// While a server call waits, the busy indicator is kept on the screen.
class HostApplication final : public QApplication {
    Q_OBJECT
public:
    HostApplication(int &argc, char **argv);
    ~HostApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;
};

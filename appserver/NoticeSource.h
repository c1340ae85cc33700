#pragma once

#include <QString>

#include <functional>

class NoticeHub;

// Where one connection's writes come from and announce their changes: the
// server's hub (null when the server runs without notices), the connection's
// origin, and whether its client is still there to hear the answer (empty:
// always).
struct NoticeSource {
    NoticeHub *hub = nullptr;
    QString origin;
    std::function<bool()> clientStillThere;
};

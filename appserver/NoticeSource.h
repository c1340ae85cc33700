#pragma once

#include <QString>

class NoticeHub;

// Where one connection's writes announce their changes: the server's hub
// (null when the server runs without notices) and the connection's origin.
struct NoticeSource {
    NoticeHub *hub = nullptr;
    QString origin;
};

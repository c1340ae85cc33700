#include "BenchConnection.h"

namespace BenchConnection {

std::unique_ptr<TNetConnection> open(quint16 port, bool notices)
{
    auto connection = std::make_unique<TNetConnection>();
    connection->SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
    connection->SetThrowException(true);
    connection->SetHost(QStringLiteral("127.0.0.1"));
    connection->SetPort(port);
    connection->SetCallTimeout(600000);
    connection->SetNotices(notices);
    connection->Connect();
    return connection;
}

} // namespace BenchConnection

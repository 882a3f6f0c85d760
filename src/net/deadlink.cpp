#include "deadlink.h"

#include <QTcpSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace quorin {
namespace {

template <typename Value> void Set(qintptr socket, int level, int option, Value value) {
    setsockopt(static_cast<decltype(socket)>(socket), level, option,
               reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

void WatchForDeadLink(QTcpSocket& socket) {
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const qintptr fd = socket.socketDescriptor();
    if (fd < 0)
        return;
        // Where the system knows an option, it is set; elsewhere its own times hold.
#ifdef TCP_KEEPIDLE
    Set(fd, IPPROTO_TCP, TCP_KEEPIDLE, kIdleSeconds);
#elif defined(TCP_KEEPALIVE)
    Set(fd, IPPROTO_TCP, TCP_KEEPALIVE, kIdleSeconds);
#endif
#ifdef TCP_KEEPINTVL
    Set(fd, IPPROTO_TCP, TCP_KEEPINTVL, kProbeSeconds);
#endif
#ifdef TCP_KEEPCNT
    Set(fd, IPPROTO_TCP, TCP_KEEPCNT, kProbes);
#endif
#ifdef TCP_USER_TIMEOUT
    Set(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, static_cast<unsigned>(kUnacknowledgedMs));
#endif
}

} // namespace quorin

#pragma once

#include <QAbstractSocket>

namespace quorin {

// The Windows Sockets error code of the same meaning as a Qt socket error, so that
// SocketErrorText gives the player the usual message for it. Qt reports unreachable
// networks and hosts as NetworkError; they map to "network unreachable" (10051).
// An error without such a code (proxy and TLS errors, UnknownSocketError ...) gives the
// Qt enumerator's own value, which has no text and so shows as that number, e.g. "(-1)".
int SocketErrorCode(QAbstractSocket::SocketError error);

} // namespace quorin

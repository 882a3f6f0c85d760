#include "socketerrorcode.h"

namespace quorin {

int SocketErrorCode(QAbstractSocket::SocketError error) {
    using E = QAbstractSocket::SocketError;
    switch (error) {
    case E::ConnectionRefusedError:
        return 10061; // WSAECONNREFUSED
    case E::RemoteHostClosedError:
        return 10054; // WSAECONNRESET
    case E::HostNotFoundError:
        return 11001; // WSAHOST_NOT_FOUND
    case E::SocketAccessError:
        return 10013; // WSAEACCES
    case E::SocketResourceError:
        return 10055; // WSAENOBUFS
    case E::SocketTimeoutError:
        return 10060; // WSAETIMEDOUT
    case E::DatagramTooLargeError:
        return 10040; // WSAEMSGSIZE
    case E::NetworkError:
        return 10051; // WSAENETUNREACH
    case E::AddressInUseError:
        return 10048; // WSAEADDRINUSE
    case E::SocketAddressNotAvailableError:
        return 10049; // WSAEADDRNOTAVAIL
    case E::UnsupportedSocketOperationError:
        return 10045; // WSAEOPNOTSUPP
    case E::UnfinishedSocketOperationError:
        return 10036; // WSAEINPROGRESS
    case E::OperationError:
        return 10022; // WSAEINVAL
    case E::TemporaryError:
        return 10035; // WSAEWOULDBLOCK
    default:
        return static_cast<int>(error);
    }
}

} // namespace quorin

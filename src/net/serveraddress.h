#pragma once

#include <QString>

namespace quorin {

// Where the client connects, from the text of the address box or an entry of the address
// list: "host", "host:port", "a.b.c.d:port", "[IPv6]", "[IPv6]:port", or an IPv6 address
// without brackets (which then has no port). Without a port it is the program's own port.
struct ServerAddress {
    QString host;     // a name or an address, without brackets
    quint16 port = 0; // 1..65535
    QString failure;  // why the text names no server, for the message line; empty if it does
};
ServerAddress ParseServerAddress(const QString& text, quint16 defaultPort);

// `host` and `port` as the address box takes them: the port left out when it is
// `defaultPort`, an IPv6 address in brackets when a port follows it or always with
// `brackets`.
QString ServerAddressText(const QString& host, quint16 port, quint16 defaultPort,
                          bool brackets = false);

} // namespace quorin

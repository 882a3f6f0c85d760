#pragma once

#include <QHostAddress>
#include <QString>

namespace quorin {

// Whether a friend on the internet can reach `address`: not a private, shared (carrier
// translation), loopback, link-local, unspecified, multicast or reserved address; for
// IPv6 a global unicast one.
bool ReachableFromInternet(const QHostAddress& address);

// A global IPv6 address of this computer, one without an end of life before others, and
// none that is being given up; null when it has none.
QHostAddress GlobalIPv6Address();

// The one address a friend should type to reach this server, in the form the address box
// takes: the router's external address while it maps the port (with the port when that is
// not `port`), else the global IPv6 address in brackets, else `localAddressText`.
QString AddressToHandOn(const QString& routerAddress, int routerPort,
                        const QHostAddress& globalIPv6, const QString& localAddressText,
                        quint16 port);

} // namespace quorin

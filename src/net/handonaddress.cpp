#include "handonaddress.h"

#include "serveraddress.h"

#include <QDeadlineTimer>
#include <QNetworkInterface>

#include <array>
#include <utility>

namespace quorin {

bool ReachableFromInternet(const QHostAddress& given) {
    bool mapped = false;
    const quint32 v4 = given.toIPv4Address(&mapped);
    if (given.protocol() == QAbstractSocket::IPv4Protocol || mapped) {
        // Blocks no router on the internet forwards to, as (first address, prefix length).
        constexpr std::array<std::pair<quint32, int>, 10> kUnreachable = {{
            {0x00000000, 8},  // "this" network
            {0x0A000000, 8},  // private
            {0x64400000, 10}, // shared, behind the provider's translation
            {0x7F000000, 8},  // loopback
            {0xA9FE0000, 16}, // link-local
            {0xAC100000, 12}, // private
            {0xC0000000, 24}, // protocol assignments (a provider's translation among them)
            {0xC0A80000, 16}, // private
            {0xE0000000, 4},  // multicast
            {0xF0000000, 4},  // reserved, and the broadcast address
        }};
        for (const auto& [first, length] : kUnreachable) {
            if ((v4 >> (32 - length)) == (first >> (32 - length)))
                return false;
        }
        return true;
    }
    if (given.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    // Global unicast, 2000::/3.
    return (given.toIPv6Address()[0] & 0xE0) == 0x20;
}

QHostAddress GlobalIPv6Address() {
    QHostAddress temporary;
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        if (!adapter.flags().testFlag(QNetworkInterface::IsUp) ||
            adapter.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() != QAbstractSocket::IPv6Protocol || !ReachableFromInternet(ip) ||
                (entry.isLifetimeKnown() && entry.preferredLifetime().hasExpired()))
                continue;
            if (entry.isPermanent())
                return ip;
            if (temporary.isNull())
                temporary = ip;
        }
    }
    return temporary;
}

QString AddressToHandOn(const QString& routerAddress, int routerPort,
                        const QHostAddress& globalIPv6, const QString& localAddressText,
                        quint16 port) {
    if (!routerAddress.isEmpty())
        return ServerAddressText(routerAddress, quint16(routerPort), port);
    if (!globalIPv6.isNull())
        return ServerAddressText(globalIPv6.toString(), port, port, true);
    return localAddressText;
}

} // namespace quorin

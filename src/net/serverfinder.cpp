#include "serverfinder.h"

#include "announcement.h"

#include <QNetworkInterface>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>

namespace quorin {
namespace {

// The loopback network's broadcast address, 127.255.255.255: every copy on this computer
// hears it, where a datagram to 127.0.0.1 reaches only one of the sockets sharing the port.
constexpr quint32 kLoopbackBroadcast = 0x7FFFFFFF;

// Where an announcement goes: the broadcast address of each network interface that is up
// and can broadcast, not the loopback one, then the loopback network's. Every IPv4 address
// of this computer is added to `own`.
QList<QHostAddress> AnnouncementTargets(QList<QHostAddress>& own) {
    QList<QHostAddress> targets;
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        const QNetworkInterface::InterfaceFlags flags = adapter.flags();
        const bool broadcasts = flags.testFlag(QNetworkInterface::IsUp) &&
                                flags.testFlag(QNetworkInterface::CanBroadcast) &&
                                !flags.testFlag(QNetworkInterface::IsLoopBack);
        for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            own.append(ip);
            if (!broadcasts || ip.isLoopback())
                continue;
            QHostAddress broadcast = entry.broadcast();
            // An address given without its broadcast address: the one its network has.
            const int prefix = entry.prefixLength();
            if (broadcast.isNull() && prefix > 0 && prefix < 31)
                broadcast = QHostAddress(ip.toIPv4Address() | (0xFFFFFFFFu >> prefix));
            if (!broadcast.isNull() && !targets.contains(broadcast))
                targets.append(broadcast);
        }
    }
    targets.append(QHostAddress(kLoopbackBroadcast));
    return targets;
}

// The name as it may be shown: the characters that would act rather than show (controls,
// direction and format marks, line and paragraph separators) left out.
QString ShownName(const std::string& bytes) {
    QString name = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    name.removeIf([](QChar c) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return false;
        }
    });
    return name;
}

} // namespace

ServerFinder::ServerFinder(quint16 port, const QString& name, int lifetimeMs, QObject* parent)
    : QObject(parent), port_(port), lifetimeMs_(lifetimeMs),
      announcement_(QByteArray::fromStdString(MakeAnnouncement(port, name.toStdString()))) {
    clock_.start();
    announceTimer_.setInterval(kAnnounceIntervalMs);
    connect(&announceTimer_, &QTimer::timeout, this, &ServerFinder::announce);
    expiryTimer_.setInterval(std::clamp(lifetimeMs / 10, 10, 1000));
    connect(&expiryTimer_, &QTimer::timeout, this, &ServerFinder::expire);
    // Shared, so that every copy on this computer hears what is sent to the port.
    if (port == 0 ||
        !listener_.bind(QHostAddress::AnyIPv4, port,
                        QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        listener_.close();
        return;
    }
    // Announcements leave from a port of their own, by which this copy knows them again.
    sender_.bind(QHostAddress::AnyIPv4, 0);
    connect(&listener_, &QUdpSocket::readyRead, this, &ServerFinder::readDatagrams);
}

void ServerFinder::startAnnouncing() {
    if (!hearing() || announcing())
        return;
    announce();
    announceTimer_.start();
}

void ServerFinder::stopAnnouncing() {
    announceTimer_.stop();
}

void ServerFinder::announce() {
    ownAddresses_.clear();
    for (const QHostAddress& target : AnnouncementTargets(ownAddresses_))
        sender_.writeDatagram(announcement_, target, port_);
}

void ServerFinder::readDatagrams() {
    // One byte more than an announcement may have: a longer datagram is cut and seen to be
    // too long.
    std::array<char, kAnnouncementLimit + 1> buffer;
    for (int i = 0; i < kReadsPerTurn && listener_.hasPendingDatagrams(); ++i) {
        QHostAddress from;
        quint16 fromPort = 0;
        const qint64 size =
            listener_.readDatagram(buffer.data(), qint64(buffer.size()), &from, &fromPort);
        if (size < 0 || !withinBudget() || sentHere(from, fromPort))
            continue;
        hear(std::string_view(buffer.data(), std::size_t(size)), from);
    }
}

bool ServerFinder::withinBudget() {
    const qint64 now = clock_.elapsed();
    if (now - budgetSince_ >= 1000) {
        budgetSince_ = now;
        heardInBudget_ = 0;
    }
    if (heardInBudget_ >= kHeardPerSecond)
        return false;
    ++heardInBudget_;
    return true;
}

bool ServerFinder::sentHere(const QHostAddress& from, quint16 fromPort) const {
    return fromPort == sender_.localPort() && (from.isLoopback() || ownAddresses_.contains(from));
}

void ServerFinder::hear(std::string_view datagram, const QHostAddress& from) {
    const std::optional<Announcement> announcement = ReadAnnouncement(datagram);
    bool ipv4 = false;
    const quint32 address = from.toIPv4Address(&ipv4);
    // A server on another port cannot be reached on ours.
    if (!announcement || announcement->port != port_ || !ipv4 || address == 0 ||
        address == 0xFFFFFFFF)
        return;
    const QString name = ShownName(announcement->name);
    const auto known = std::find_if(servers_.begin(), servers_.end(),
                                    [address](const Server& s) { return s.address == address; });
    if (known != servers_.end()) {
        known->heardAt = clock_.elapsed();
        if (known->name != name) {
            known->name = name;
            emit found(QHostAddress(address).toString(), name);
        }
        return;
    }
    if (int(servers_.size()) >= kFoundLimit)
        return;
    servers_.push_back(Server{address, name, clock_.elapsed()});
    if (!expiryTimer_.isActive())
        expiryTimer_.start();
    emit found(QHostAddress(address).toString(), name);
}

void ServerFinder::expire() {
    const qint64 now = clock_.elapsed();
    QStringList gone;
    std::erase_if(servers_, [&](const Server& s) {
        if (now - s.heardAt < lifetimeMs_)
            return false;
        gone.append(QHostAddress(s.address).toString());
        return true;
    });
    if (servers_.empty())
        expiryTimer_.stop();
    for (const QString& address : gone)
        emit lost(address);
}

} // namespace quorin

#include "hostlookup.h"

#include <mutex>
#include <thread>

#ifdef Q_OS_WIN
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

namespace quorin {

// What a lookup's thread shares with the object that started it: the object, until it
// gives the lookup up.
struct HostLookup::Pending {
    std::mutex mutex;
    HostLookup* owner = nullptr;
};

namespace {

QList<QHostAddress> Resolve(const QByteArray& name) {
#ifdef Q_OS_WIN
    WSADATA data;
    const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
#endif
    QList<QHostAddress> addresses;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* list = nullptr;
    if (!name.isEmpty() && getaddrinfo(name.constData(), nullptr, &hints, &list) == 0) {
        for (const addrinfo* entry = list; entry; entry = entry->ai_next) {
            const QHostAddress address(entry->ai_addr);
            if (!address.isNull() && !addresses.contains(address))
                addresses.append(address);
        }
        freeaddrinfo(list);
    }
#ifdef Q_OS_WIN
    if (started)
        WSACleanup();
#endif
    return addresses;
}

} // namespace

HostLookup::~HostLookup() {
    Abandon();
}

void HostLookup::Start(const QString& name) {
    Abandon();
    auto pending = std::make_shared<Pending>();
    pending->owner = this;
    pending_ = pending;
    std::thread([pending, name = name.toUtf8()] {
        const QList<QHostAddress> addresses = Resolve(name);
        const std::lock_guard lock(pending->mutex);
        HostLookup* owner = pending->owner;
        if (!owner)
            return;
        // The owner lives while the lock is held; a call posted to it goes with it.
        QMetaObject::invokeMethod(
            owner,
            [owner, pending, addresses] {
                if (owner->pending_ != pending)
                    return;
                owner->pending_.reset();
                emit owner->found(addresses);
            },
            Qt::QueuedConnection);
    }).detach();
}

void HostLookup::Abandon() {
    if (!pending_)
        return;
    {
        const std::lock_guard lock(pending_->mutex);
        pending_->owner = nullptr;
    }
    pending_.reset();
}

} // namespace quorin

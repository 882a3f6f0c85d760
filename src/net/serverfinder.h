#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUdpSocket>

#include <string_view>
#include <vector>

namespace quorin {

// Finds the servers waiting on the local network, and makes this copy findable while it
// waits as server (the datagram is described in announcement.h).
//
// It hears announcements on the game's port as a UDP port that every copy on the computer
// shares. A server heard is reported once with `found`, and again only when its name
// changes; one not heard for the lifetime is reported `lost`. At most kFoundLimit servers
// are kept: while that many are, a new one is not taken. What is not an announcement for
// this port, what this copy sent itself, and everything beyond kHeardPerSecond datagrams
// in a second is read and dropped without a look. When the port cannot be taken, the finder
// neither hears nor announces.
class ServerFinder : public QObject {
    Q_OBJECT

public:
    static constexpr int kAnnounceIntervalMs = 1000;
    static constexpr int kLifetimeMs = 10000;
    static constexpr int kFoundLimit = 16;
    static constexpr int kHeardPerSecond = 64;
    // The most datagrams read at one turn of the event loop; the rest wait for the next.
    static constexpr int kReadsPerTurn = 256;

    // `name` is the computer's name the announcements carry. Port 0 turns the finder off.
    ServerFinder(quint16 port, const QString& name, int lifetimeMs = kLifetimeMs,
                 QObject* parent = nullptr);

    // Whether announcements are heard (the port was taken).
    bool hearing() const { return listener_.state() == QAbstractSocket::BoundState; }
    bool announcing() const { return announceTimer_.isActive(); }
    // Announces at once, then once every interval, until stopped.
    void startAnnouncing();
    void stopAnnouncing();

signals:
    // `address` is dotted IPv4 text; `name` is the computer's name, plain text that may
    // hold anything but control characters.
    void found(const QString& address, const QString& name);
    void lost(const QString& address);

private:
    struct Server {
        quint32 address = 0;
        QString name;
        qint64 heardAt = 0;
    };

    void announce();
    void readDatagrams();
    bool withinBudget();
    bool sentHere(const QHostAddress& from, quint16 fromPort) const;
    void hear(std::string_view datagram, const QHostAddress& from);
    void expire();

    quint16 port_;
    int lifetimeMs_;
    QByteArray announcement_;
    QUdpSocket listener_;
    QUdpSocket sender_;
    QTimer announceTimer_;
    QTimer expiryTimer_;
    QElapsedTimer clock_;
    // The addresses this computer sends from, as of the last announcement.
    QList<QHostAddress> ownAddresses_;
    std::vector<Server> servers_;
    qint64 budgetSince_ = 0;
    int heardInBudget_ = 0;
};

} // namespace quorin

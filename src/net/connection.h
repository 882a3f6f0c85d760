#pragma once

#include "hostlookup.h"
#include "messageaction.h"
#include "messageframer.h"

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <string_view>

namespace quorin {

// The one TCP connection between two copies: as server it listens on every local IPv4 and
// IPv6 address and accepts exactly one peer; as client it connects to the server's address.
// Every socket event passes through OnSocketNotify, which reads and frames the received
// bytes, decides what each message does, has it handled (received) and answers it with
// the acknowledgement. The window is told what happened through the signals; this class
// shows nothing itself.
//
// A message waits for its rest as the framer says (see MessageFramer); the move number it
// expects next comes from the game through setNextMoveNumber.
//
// Received bytes are handled from the event loop, never from inside the socket's own read
// signal, and one message at a time: a handler that lets the event loop run (the move
// sound) never has the next message handled in the middle of it. While more than
// kSendLimit bytes wait to go out to the peer, nothing more is read: a peer that sends
// without reading our answers is held back by TCP instead of filling our memory.
class Connection : public QObject {
    Q_OBJECT

public:
    // The events of OnSocketNotify.
    enum SocketEvent { Read = 1, Accept = 8, Connect = 16, Close = 32 };

    // How starting the server went: listening, or the listening socket could not be
    // made, bound to the port, or set listening.
    enum class ListenResult { Listening, SocketFailed, BindFailed, ListenFailed };

    // A connection attempt that gets no answer ends after this long.
    static constexpr int kConnectTimeoutMs = 20000;
    // Reading stops while more than this many bytes wait to be sent to the peer.
    static constexpr qint64 kSendLimit = 1024 * 1024;

    explicit Connection(quint16 port, QObject* parent = nullptr);
    ~Connection() override;

    quint16 port() const { return port_; }
    bool Connected() const { return connected_; }
    bool Listening() const { return server_.isListening(); }
    bool HasPeerSocket() const { return !peer_.isNull(); }
    // The server's name is being looked up for a connection.
    bool Looking() const { return lookup_.Looking(); }
    // A move or chat text was sent and its acknowledgement has not arrived.
    bool AwaitingAck = false;

    // Where the number of the move expected next from the peer comes from (1 until set).
    void setNextMoveNumber(std::function<int()> nextMove) { nextMove_ = std::move(nextMove); }

    // Whether this system lets the program make network sockets at all (checked once at
    // start-up: without them no game can be played).
    static bool SocketsAvailable();

    // Starts listening. On failure `errorCode` holds the socket error code.
    ListenResult SetSERVER(int& errorCode);
    // Starts connecting to `port` of `host`, an IPv4 or IPv6 address or a host name (looked
    // up without blocking, on a thread that nothing waits for; its addresses are tried in
    // turn). The outcome arrives as connectedToServer or connectFailed.
    void ConnectTo(const QString& host, quint16 port);
    // Closes the listening and the connected socket from this side.
    void CloseAll();
    // Sends one message to the peer; without a connection nothing is sent.
    void SendData(std::u16string_view message);

    // The entry point of every socket event (see SocketEvent); other values do nothing.
    void OnSocketNotify(int event);

signals:
    void accepted(const QString& peerAddressText);
    void acceptFailed(int errorCode);
    void connectedToServer();
    void connectFailed(int errorCode);
    void closedByPeer();
    void acknowledged();
    // A message to act on, before its acknowledgement is sent.
    void received(const quorin::MessageAction& action);

private:
    void ReadPeer();
    void HandleWhole(const QPointer<QTcpSocket>& socket);
    void StartFlushTimer();
    void ConnectToAddress(const QHostAddress& address);
    void OnLookedUp(const QList<QHostAddress>& addresses);
    bool MayRead() const;
    void AcceptPeer();
    void PeerConnected();
    void PeerClosed();
    void OnPeerError(QAbstractSocket::SocketError error);
    void FlushPending();
    void Handle(const std::u16string& message);
    void AdoptPeer(QTcpSocket* socket);
    void DropPeer();
    void CloseListener();

    quint16 port_;
    QTcpServer server_;
    QPointer<QTcpSocket> peer_;
    bool connected_ = false;
    bool reading_ = false; // ReadPeer or FlushPending is handling messages
    MessageFramer framer_;
    std::function<int()> nextMove_ = [] { return 1; };
    QTimer flushTimer_;
    QTimer connectTimer_;
    HostLookup lookup_;
    QList<QHostAddress> candidates_; // the server's addresses not tried yet
    quint16 serverPort_ = 0;
};

} // namespace quorin

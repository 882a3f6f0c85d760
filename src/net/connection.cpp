#include "connection.h"

#include "addresslist.h"
#include "addresstext.h"
#include "deadlink.h"
#include "messages.h"
#include "socketerrorcode.h"
#include "wirecodec.h"

#include <QHostAddress>

namespace quorin {
namespace {

// Bytes read from the socket at a time, and the most the socket keeps unread: a flood
// from the peer is taken in bounded pieces.
constexpr qint64 kReadChunk = 16 * 1024;
constexpr qint64 kReadBufferSize = 64 * 1024;

// The peer's address as the accept message shows it: an IPv4 one, also one carried in
// IPv6, with a blank before each number; any other IPv6 one in its usual compressed form.
QString PeerAddressText(QHostAddress address) {
    const std::int32_t v4 = HeldAddress(address);
    if (v4 != kNoAddress || address.protocol() != QAbstractSocket::IPv6Protocol)
        return QString::fromStdString(GetPeerIPString(v4));
    address.setScopeId(QString());
    return address.toString();
}

} // namespace

Connection::Connection(quint16 port, QObject* parent) : QObject(parent), port_(port) {
    connect(&lookup_, &HostLookup::found, this, &Connection::OnLookedUp);
    connect(&server_, &QTcpServer::newConnection, this, [this] { OnSocketNotify(Accept); });
    connect(&server_, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError e) {
        CloseListener();
        emit acceptFailed(SocketErrorCode(e));
    });
    flushTimer_.setSingleShot(true);
    connect(&flushTimer_, &QTimer::timeout, this, &Connection::FlushPending);
    connectTimer_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        if ((peer_ || lookup_.Looking()) && !connected_) {
            DropPeer();
            emit connectFailed(SocketErrorCode(QAbstractSocket::SocketTimeoutError));
        }
    });
}

Connection::~Connection() {
    DropPeer();
    CloseListener();
}

bool Connection::SocketsAvailable() {
    // A socket made and bound on this machine's own loopback address, then closed at once.
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0);
}

Connection::ListenResult Connection::SetSERVER(int& errorCode) {
    CloseListener();
    // Every local IPv6 address as well as every IPv4 one; IPv4 alone where the system has
    // no IPv6.
    if (server_.listen(QHostAddress::Any, port_))
        return ListenResult::Listening;
    if (server_.serverError() != QAbstractSocket::AddressInUseError &&
        server_.listen(QHostAddress::AnyIPv4, port_))
        return ListenResult::Listening;
    const QAbstractSocket::SocketError error = server_.serverError();
    errorCode = SocketErrorCode(error);
    switch (error) {
    case QAbstractSocket::SocketResourceError:
    case QAbstractSocket::UnsupportedSocketOperationError:
        return ListenResult::SocketFailed;
    case QAbstractSocket::AddressInUseError:
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::SocketAddressNotAvailableError:
        return ListenResult::BindFailed;
    default:
        return ListenResult::ListenFailed;
    }
}

void Connection::ConnectTo(const QString& host, quint16 port) {
    DropPeer();
    serverPort_ = port;
    // The time-out covers the name's lookup and every address tried.
    connectTimer_.start(kConnectTimeoutMs);
    const QHostAddress address(host);
    if (!address.isNull()) {
        OnLookedUp({address});
        return;
    }
    lookup_.Start(host);
}

void Connection::OnLookedUp(const QList<QHostAddress>& addresses) {
    candidates_ = addresses;
    if (candidates_.isEmpty()) {
        connectTimer_.stop();
        emit connectFailed(SocketErrorCode(QAbstractSocket::HostNotFoundError));
        return;
    }
    ConnectToAddress(candidates_.takeFirst());
}

void Connection::ConnectToAddress(const QHostAddress& address) {
    auto* socket = new QTcpSocket(this);
    AdoptPeer(socket);
    connect(socket, &QTcpSocket::connected, this, [this] { OnSocketNotify(Connect); });
    socket->connectToHost(address, serverPort_);
}

void Connection::CloseAll() {
    CloseListener();
    DropPeer();
    connected_ = false;
    AwaitingAck = false;
}

void Connection::SendData(std::u16string_view message) {
    if (!peer_ || peer_->state() != QAbstractSocket::ConnectedState)
        return;
    const std::string bytes = EncodeMessage(message);
    peer_->write(bytes.data(), qint64(bytes.size()));
    peer_->flush();
}

void Connection::OnSocketNotify(int event) {
    switch (event) {
    case Read:
        ReadPeer();
        break;
    case Accept:
        AcceptPeer();
        break;
    case Connect:
        PeerConnected();
        break;
    case Close:
        PeerClosed();
        break;
    default:
        break;
    }
}

void Connection::ReadPeer() {
    if (reading_)
        return; // the loop below goes on reading once the message in hand is handled
    flushTimer_.stop();
    const QPointer<QTcpSocket> socket = peer_;
    reading_ = true;
    while (socket && socket == peer_ && MayRead()) {
        const QByteArray chunk = socket->read(kReadChunk);
        framer_.Append(std::string_view(chunk.constData(), std::size_t(chunk.size())));
        HandleWhole(socket);
    }
    reading_ = false;
    StartFlushTimer();
}

// Every whole message, one at a time: each is acted on before the next is taken, so the
// next one is framed with the move number as the one before left it.
void Connection::HandleWhole(const QPointer<QTcpSocket>& socket) {
    while (socket && socket == peer_) {
        const std::optional<std::u16string> message = framer_.Next(nextMove_());
        if (!message)
            break;
        Handle(*message);
    }
}

void Connection::StartFlushTimer() {
    const int wait = peer_ ? framer_.WaitMs() : -1;
    if (wait < 0)
        flushTimer_.stop();
    else
        flushTimer_.start(wait);
}

// Whether there is something to read and room to answer it.
bool Connection::MayRead() const {
    return peer_->bytesAvailable() > 0 && peer_->bytesToWrite() <= kSendLimit;
}

void Connection::FlushPending() {
    // Bytes not read yet (held back while answers pile up) may be the rest of the message.
    if (reading_ || (peer_ && peer_->bytesAvailable() > 0)) {
        StartFlushTimer();
        return;
    }
    const QPointer<QTcpSocket> socket = peer_;
    reading_ = true;
    if (const std::optional<std::u16string> message = framer_.Flush(); message && socket)
        Handle(*message);
    reading_ = false;
}

void Connection::Handle(const std::u16string& message) {
    const MessageAction action = DecideMessage(message);
    // Answered before it is acted on: the peer waits for the answer, not for the drawing
    // and the sound. The message is acted on at once after, before anything else is read.
    if (action.acknowledge)
        SendData(kAcknowledgement);
    if (action.type == MessageAction::Type::Acknowledgement) {
        AwaitingAck = false;
        emit acknowledged();
        return;
    }
    emit received(action);
}

void Connection::AcceptPeer() {
    QTcpSocket* socket = server_.nextPendingConnection();
    if (!socket)
        return;
    const QString peerText = PeerAddressText(socket->peerAddress());
    // One peer per server start: stop listening, turn away anyone else already queued.
    CloseListener();
    DropPeer();
    socket->setParent(this);
    AdoptPeer(socket);
    WatchForDeadLink(*socket);
    connected_ = true;
    emit accepted(peerText);
}

void Connection::PeerConnected() {
    connectTimer_.stop();
    // Small messages go out at once (a socket takes this only once it is connected).
    peer_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    WatchForDeadLink(*peer_);
    connected_ = true;
    emit connectedToServer();
}

void Connection::PeerClosed() {
    if (!peer_)
        return;
    // What the peer sent before it closed is handled first, as it would have been had the
    // read come before the close.
    ReadPeer();
    FlushPending();
    if (!peer_)
        return;
    DropPeer();
    connected_ = false;
    AwaitingAck = false;
    emit closedByPeer();
}

void Connection::OnPeerError(QAbstractSocket::SocketError error) {
    if (!peer_)
        return;
    if (connected_) {
        // A connection that ends with an error has ended all the same.
        OnSocketNotify(Close);
        return;
    }
    if (!candidates_.isEmpty()) {
        // A name with several addresses: the next one, within the same time-out.
        const QHostAddress next = candidates_.takeFirst();
        QTcpSocket* failed = peer_;
        peer_ = nullptr;
        failed->disconnect(this);
        failed->deleteLater();
        ConnectToAddress(next);
        return;
    }
    connectTimer_.stop();
    DropPeer();
    emit connectFailed(SocketErrorCode(error));
}

void Connection::AdoptPeer(QTcpSocket* socket) {
    peer_ = socket;
    framer_ = MessageFramer();
    socket->setReadBufferSize(kReadBufferSize);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // Queued: the messages are handled after the socket's read signal has returned, so the
    // socket goes on reporting new bytes while a handler lets the event loop run.
    connect(
        socket, &QTcpSocket::readyRead, this, [this] { OnSocketNotify(Read); },
        Qt::QueuedConnection);
    // Once the peer has taken enough of our answers, whatever waits unread is read on.
    connect(socket, &QTcpSocket::bytesWritten, this, [this] {
        if (peer_ && MayRead())
            OnSocketNotify(Read);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this] { OnSocketNotify(Close); });
    connect(socket, &QTcpSocket::errorOccurred, this, &Connection::OnPeerError);
}

void Connection::DropPeer() {
    flushTimer_.stop();
    connectTimer_.stop();
    lookup_.Abandon();
    candidates_.clear();
    if (!peer_)
        return;
    QTcpSocket* socket = peer_;
    peer_ = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void Connection::CloseListener() {
    server_.close();
    while (QTcpSocket* queued = server_.nextPendingConnection()) {
        queued->abort();
        queued->deleteLater();
    }
}

} // namespace quorin

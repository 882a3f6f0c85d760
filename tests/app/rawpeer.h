#pragma once

// A peer written in the tests: it speaks to one copy, serving, over a raw socket, byte by
// byte.

#include "twocopies.h"

#include <QTcpSocket>

namespace quorin::test {

// A text as it travels: each UTF-16 unit, low byte first.
inline QByteArray OnWire(std::u16string_view text) {
    QByteArray bytes;
    for (char16_t unit : text)
        bytes.append(char(unit & 0xFF)).append(char(unit >> 8));
    return bytes;
}

inline QByteArray MoveOnWire(const std::string& board, std::u16string_view number) {
    return OnWire(u"VURORE_MSG2:" + std::u16string(board.begin(), board.end()) + u":" +
                  std::u16string(number));
}

inline const QByteArray kAck = OnWire(u"VURORE_MSG3:SEND_OK");

class RawPeer : public ::testing::Test {
protected:
    explicit RawPeer(bool realBoxes = false) : port(FreePort()), copy(port, realBoxes) {
        copy.window.show();
        WaitFor([&] { return copy.window.BoardReady(); });
        copy.window.mnuServer_Click();
        peer.connectToHost(QHostAddress::LocalHost, port);
        WaitFor([&] { return copy.window.connection().Connected(); });
        QObject::connect(&peer, &QTcpSocket::readyRead, [&] { received += peer.readAll(); });
    }

    void Send(const QByteArray& bytes) {
        peer.write(bytes);
        peer.flush();
    }

    // Everything the copy has sent until it falls quiet, taken out of `received`.
    QByteArray Answer(qsizetype atLeast) {
        WaitFor([&] { return received.size() >= atLeast; });
        WaitFor([] { return false; }, 100); // anything more that was going to come
        return std::exchange(received, {});
    }

    quint16 port;
    Copy copy;
    QTcpSocket peer;
    QByteArray received;
};

} // namespace quorin::test

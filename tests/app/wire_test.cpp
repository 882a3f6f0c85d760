// A peer written here speaks to one copy over a raw socket, byte by byte.

#include "twocopies.h"

#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <QPushButton>
#include <QTcpSocket>

#include <random>

using namespace quorin;
using test::WaitFor;

namespace {

QByteArray OnWire(std::u16string_view text) {
    const std::string bytes = EncodeMessage(text);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

const QByteArray kAck = OnWire(kAcknowledgement);

class RawPeer : public ::testing::Test {
protected:
    RawPeer() : port(test::FreePort()), copy(port) {
        copy.window.show();
        WaitFor([&] { return copy.window.BoardReady(); });
        copy.window.mnuServer_Click();
        peer.connectToHost(QHostAddress::LocalHost, port);
        WaitFor([&] { return copy.window.connection().Connected(); });
        QObject::connect(&peer, &QTcpSocket::readyRead, [&] { received += peer.readAll(); });
        start = copy.game().board;
    }

    void Send(const QByteArray& bytes) {
        peer.write(bytes);
        peer.flush();
    }

    // Everything the copy has sent until it falls quiet, taken out of `received`.
    QByteArray Answer(int atLeast) {
        WaitFor([&] { return received.size() >= atLeast; });
        WaitFor([] { return false; }, 100); // anything more that was going to come
        return std::exchange(received, {});
    }

    bool StillWell() {
        return copy.window.connection().Connected() &&
               peer.state() == QAbstractSocket::ConnectedState;
    }

    quint16 port;
    test::Copy copy;
    QTcpSocket peer;
    QByteArray received;
    Board start;
};

} // namespace

TEST_F(RawPeer, AMoveIsExactlyItsTextInUtf16) {
    test::MakeMove(copy, {4, 6}, {4, 4});
    const QByteArray bytes = Answer(2 * 206);
    const std::string field = WritePositionForPeer(copy.game().board);
    EXPECT_EQ(bytes, OnWire(u"VURORE_MSG2:" + std::u16string(field.begin(), field.end()) + u": 1"));
    EXPECT_EQ(bytes.size(), 2 * (12 + 191 + 3));
    Send(kAck);
    ASSERT_TRUE(WaitFor([&] { return !copy.window.connection().AwaitingAck; }));
    EXPECT_TRUE(copy.window.Command5->isEnabled());
    // An acknowledgement is never answered.
    EXPECT_TRUE(Answer(0).isEmpty());
}

TEST_F(RawPeer, EveryMessageIsHandledAndAnsweredOnItsOwn) {
    Send(OnWire(u"VURORE_MSG6:宜しくお願いします。"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("宜しくお願いします。"));

    // Split at an odd byte.
    const QByteArray chat = OnWire(u"VURORE_MSG4:こんにちは");
    Send(chat.left(7));
    WaitFor([] { return false; }, 50);
    Send(chat.mid(7));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("こんにちは"));

    // Two in one write: two answers.
    Send(OnWire(u"VURORE_MSG4:一つ目") + OnWire(u"VURORE_MSG6:二つ目"));
    EXPECT_EQ(Answer(2 * kAck.size()), kAck + kAck);
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("二つ目"));

    // An acknowledgement followed by a greeting: the wait ends and the greeting shows.
    copy.window.connection().AwaitingAck = true;
    Send(kAck + OnWire(u"VURORE_MSG6:それでは、始めます。"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_FALSE(copy.window.connection().AwaitingAck);
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("それでは、始めます。"));

    // Texts are shown whole, colons and all; "SEND_OK" in a chat is just text.
    Send(OnWire(u"VURORE_MSG4:12:30 に SEND_OK"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("12:30 に SEND_OK"));
    Send(OnWire(u"VURORE_MSG4:"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_TRUE(copy.window.Text2->text().isEmpty());
    EXPECT_TRUE(copy.messages().isEmpty());
    EXPECT_TRUE(StillWell());
}

TEST_F(RawPeer, BadInputIsAnsweredAndChangesNothing) {
    std::string field = WritePositionForPeer(start);
    const auto move = [](const std::string& board, const std::u16string& number) {
        return OnWire(u"VURORE_MSG2:" + std::u16string(board.begin(), board.end()) + u":" + number);
    };
    const QByteArray bad[] = {
        move(field.substr(3), u" 1"),              // 63 tokens
        move(field + ",0C", u" 1"),                // 65 tokens
        move("0D" + field.substr(2), u" 1"),       // no such piece
        move(field, u" one"),                      // no number
        OnWire(u"VURORE_MSG2"),                    // a tag and nothing else
        QByteArray("\xff\xfe\x00\x01garbage", 11), // not text at all
    };
    for (const QByteArray& bytes : bad) {
        Send(bytes);
        EXPECT_FALSE(Answer(kAck.size()).isEmpty());
        EXPECT_EQ(copy.game().board, start);
        EXPECT_EQ(copy.game().MoveNumber, 0);
        EXPECT_EQ(copy.game().PlayerSide, "");
    }

    // A flood of random bytes: still connected, still answering, board unchanged.
    std::mt19937 rng(3);
    QByteArray flood(200 * 1024, '\0');
    for (char& b : flood)
        b = static_cast<char>(rng());
    Send(flood);
    EXPECT_FALSE(Answer(kAck.size()).isEmpty());
    EXPECT_EQ(copy.game().board, start);
    EXPECT_TRUE(StillWell());

    Send(OnWire(u"VURORE_MSG6:まだ大丈夫"));
    ASSERT_TRUE(WaitFor([&] { return copy.window.Text2->text() == QStringLiteral("まだ大丈夫"); }));
    EXPECT_TRUE(Answer(kAck.size()).endsWith(kAck));
}

TEST_F(RawPeer, AValidMoveFromThePeerIsTakenOver) {
    Board peerBoard = *ReadPosition(InitialPosition);
    peerBoard.set({4, 6}, kEmptyCode);
    peerBoard.set({4, 4}, 0);
    const std::string field = WritePositionForPeer(peerBoard);
    Send(OnWire(u"VURORE_MSG2:" + std::u16string(field.begin(), field.end()) + u": 1"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_TRUE(test::SeenFromTheOtherSide(peerBoard, copy.game().board));
    EXPECT_EQ(copy.game().PlayerSide, "後手");
    EXPECT_TRUE(copy.game().MyTurn);
}

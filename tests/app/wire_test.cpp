// A peer written here speaks to one copy over a raw socket, byte by byte.

#include "twocopies.h"

#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "board/clocks.h"
#include "net/messages.h"
#include "net/wirecodec.h"
#include "rules/position.h"

#include <QMenu>
#include <QPushButton>
#include <QTcpSocket>
#include <QTest>

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

TEST_F(RawPeer, EveryReadyMadeTextIsSentAsWritten) {
    const MainMenu& m = copy.window.menu();
    const std::pair<QAction*, std::u16string> items[] = {
        {m.mnuAis[0], u"VURORE_MSG6:宜しくお願いします。"},
        {m.mnuAis[1], u"VURORE_MSG6:ありがとうございました。"},
        {m.mnuAis[2], u"VURORE_MSG6:それでは、始めます。"},
        {m.mnuCom[0], u"VURORE_MSG6:長考中。しばらく考えさせてください。"},
        {m.mnuCom[1], u"VURORE_MSG6:ちょっと（10分くらい？）中断します。"},
        {m.mnuCom[2], u"VURORE_MSG6:それはいい手ですね。"},
        {m.mnuCom[3], u"VURORE_MSG6:強いですね。"},
        {m.mnuCom[4], u"VURORE_MSG6:いや\uFF0D参りました。"},
        {m.mnuKaomoji[0], u"VURORE_MSG6:(^_^) わ\uFF0Dい"},
        {m.mnuKaomoji[1], u"VURORE_MSG6:m(_ _)m\u3000申し訳ござらぬ。"},
        {m.mnuKaomoji[2], u"VURORE_MSG6:(T_T)\u3000そんな\uFF0D"},
        {m.mnuKaomoji[3], u"VURORE_MSG6:(>_<)\u3000アイタ！"},
        {m.mnuKaomoji[4], u"VURORE_MSG6:(^_^)v\u3000イエ\uFF0Dイ"},
        {m.mnuKaomoji[5], u"VURORE_MSG6:<(_ _)>\u3000参り申した。"},
        {m.mnuKaomoji[6], u"VURORE_MSG6:(\uFF3E_^\uFF1B\u3000あの\uFF0D・・・"},
        {m.mnuSrtrong[3], u"VURORE_MSG6:私の強さは中上級クラスです。"},
        {m.mnuToryou, u"VURORE_MSG5:投了です。あなたの勝ちです。有り難うございました。"},
    };
    for (const auto& [item, text] : items) {
        item->trigger();
        EXPECT_EQ(Answer(int(2 * text.size())), OnWire(text)) << item->objectName().toStdString();
    }
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("あなたの負けです。"));
    EXPECT_FALSE(copy.window.clocks().Timer1.isActive());
    // The comment's caption has the long-vowel mark, the text sent does not.
    EXPECT_EQ(m.mnuCom[4]->text(), QString::fromUtf16(u"いや\u30FC参りました。"));

    // The chosen strength class is checked and the others are out of reach; choosing it
    // again sends nothing.
    EXPECT_TRUE(m.mnuSrtrong[3]->isChecked());
    for (int i : {0, 1, 2, 4, 5})
        EXPECT_FALSE(m.mnuSrtrong[i]->isEnabled()) << i;
    m.mnuSrtrong[3]->trigger();
    EXPECT_TRUE(m.mnuSrtrong[3]->isChecked());
    EXPECT_TRUE(Answer(0).isEmpty());
    // The next connection gives all six back.
    copy.window.EnableConnectedMenus();
    for (QAction* item : m.mnuSrtrong)
        EXPECT_TRUE(item->isEnabled() && !item->isChecked());
}

TEST_F(RawPeer, ChatIsSentWholeUpTo500CharactersAndWaitsForItsAnswer) {
    const QString five00(500, QChar(u'駒'));
    copy.window.Text2->setText(five00 + QStringLiteral("x"));
    copy.window.Command5->setEnabled(true);
    QTest::mouseClick(copy.window.Command5, Qt::LeftButton);
    QTest::mouseClick(copy.window.Command5, Qt::LeftButton); // disabled: nothing more
    copy.window.Command5_Click();                            // still waiting: nothing more
    EXPECT_EQ(Answer(2 * 512), OnWire(u"VURORE_MSG4:" + five00.toStdU16String()));
    EXPECT_EQ(copy.window.Text2->text(), five00 + QStringLiteral("x"));
    Send(kAck);
    ASSERT_TRUE(WaitFor([&] { return copy.window.Command5->isEnabled(); }));
    copy.window.Text2->clear();
    copy.window.Command5_Click();
    EXPECT_EQ(Answer(2 * 12), OnWire(u"VURORE_MSG4:"));
}

TEST_F(RawPeer, PromotionNoticeGoesBeforeTheMoveAndCastlingNoticeAfter) {
    Board& board = copy.game().board;
    board.set({0, 1}, 0); // a local pawn one step from the far row
    board.set({0, 0}, kEmptyCode);
    copy.window.renderer().DrawBoard(board);
    const BoardGeometry& g = copy.window.renderer().geometry();
    auto center = [&](Square s) {
        return QPoint(70 + s.x * g.CellWidth + g.CellWidth / 2,
                      10 + s.y * g.CellHeight + g.CellHeight / 2);
    };
    QWidget* widget = &copy.window.boardWidget();
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, center({0, 1}));
    QTest::mouseMove(widget, center({0, 0}));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, center({0, 0}));
    const QByteArray bytes = Answer(2 * (19 + 206));
    EXPECT_TRUE(bytes.startsWith(OnWire(u"VURORE_MSG7:プロモ\uFF0Dション")));
    EXPECT_TRUE(bytes.mid(2 * 19).startsWith(OnWire(u"VURORE_MSG2:")));
    EXPECT_EQ(copy.messages(), QStringList{QStringLiteral("プロモ－ション")});
    EXPECT_EQ(board.name({0, 0}), "qu1");
    Send(kAck + kAck);

    // Castling: the move, then the notice. (The first player's layout: g1 and f1 emptied.)
    board.set({5, 7}, kEmptyCode);
    board.set({6, 7}, kEmptyCode);
    copy.window.menu().nmuCastlingRight->trigger();
    const QByteArray castled = Answer(2 * (206 + 20));
    EXPECT_TRUE(castled.startsWith(OnWire(u"VURORE_MSG2:")));
    EXPECT_TRUE(castled.endsWith(OnWire(u"VURORE_MSG8:キャスリング")));
}

// A peer that misbehaves on purpose: markup in its texts, floods it never reads the
// answers to, notices by the dozen, moves that arrive in the middle of a drag.

#include "rawpeer.h"

#include "rules/position.h"

#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <atomic>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quorin;
using test::kAck;
using test::OnWire;
using test::RawPeer;
using test::WaitFor;

namespace {

const QByteArray kGreeting = OnWire(u"VURORE_MSG6:宜しくお願いします。");

// A copy that shows its message boxes as the program does.
class PeerWithBoxes : public test::RawPeer {
protected:
    PeerWithBoxes() : RawPeer(true) {}

    static QList<QMessageBox*> BoxesOnScreen() {
        QList<QMessageBox*> boxes;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                boxes.append(box);
        }
        return boxes;
    }
};

// Resident memory of this process, in KiB.
long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace

TEST_F(PeerWithBoxes, MarkupInANoticeIsShownAsTypedAndOpensNoFile) {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    // A writer waits for whoever opens the FIFO to read; the test itself comes last.
    std::atomic<bool> testEnds{false};
    std::atomic<bool> readByQuorin{false};
    std::thread writer([&] {
        while (!testEnds) {
            const int end = ::open(fifo.constData(), O_WRONLY);
            if (!testEnds)
                readByQuorin = true;
            ::close(end);
        }
    });
    const QString markup = QStringLiteral("<b>王手</b><img src=\"%1\">").arg(QFile::decodeName(fifo));
    Send(OnWire(u"VURORE_MSG7:" + markup.toStdU16String()));
    ASSERT_EQ(Answer(kAck.size()), kAck);
    const QList<QMessageBox*> boxes = BoxesOnScreen();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->textFormat(), Qt::PlainText);
    EXPECT_EQ(boxes[0]->text(), markup);
    boxes[0]->grab(); // drawn: a box that took the text for markup would load the picture
    WaitFor([] { return false; }, 100);
    testEnds = true;
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK); // frees the writer
    writer.join();
    ::close(reader);
    EXPECT_FALSE(readByQuorin);

    // The open box holds nothing back: a greeting is handled and answered meanwhile.
    Send(kGreeting);
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("宜しくお願いします。"));
}

TEST_F(PeerWithBoxes, ANoticeFloodLeavesOneBoxAndEveryMessageIsAnswered) {
    Send(OnWire(u"VURORE_MSG8:キャスリング").repeated(50) + kGreeting);
    EXPECT_EQ(Answer(51 * kAck.size()), kAck.repeated(51));
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("宜しくお願いします。"));
    ASSERT_EQ(BoxesOnScreen().size(), 1);
    // Once the player has closed it, the next notice opens a box again.
    BoxesOnScreen().first()->accept();
    ASSERT_TRUE(WaitFor([] { return BoxesOnScreen().isEmpty(); }));
    Send(OnWire(u"VURORE_MSG7:プロモ\uFF0Dション"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_EQ(BoxesOnScreen().size(), 1);
}

// The peer floods and never reads the answers. The copy stops reading once its answers
// pile up, and TCP holds the peer back; memory stays bounded. When the peer reads at
// last, every message is answered, and a greeting after the flood as well.
TEST(Flood, APeerThatNeverReadsIsHeldBackAndAnsweredOnceItReads) {
    const quint16 port = test::FreePort();
    test::Copy copy(port);
    copy.window.show();
    copy.window.mnuServer_Click();
    const int peer = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096; // little room in the kernel, so the copy's own buffer shows
    ::setsockopt(peer, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    ::setsockopt(peer, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(peer, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_TRUE(WaitFor([&] { return copy.window.connection().Connected(); }));

    const QByteArray message = OnWire(u"VURORE_MSG1");
    const QByteArray chunk = message.repeated(1000);
    constexpr qint64 kChunks = 500; // 11 MB, whose answers would take 19 MB
    std::atomic<qint64> sent{0};
    const long before = ResidentKiB();
    std::thread flood([&] {
        for (qint64 i = 0; i < kChunks; ++i) {
            for (qsizetype at = 0; at < chunk.size();) {
                const ssize_t n = ::send(peer, chunk.constData() + at, std::size_t(chunk.size() - at),
                                         MSG_NOSIGNAL);
                if (n <= 0)
                    return;
                at += n;
                sent += n;
            }
        }
    });
    // Until the flood stops getting through (or has all gone through).
    for (qint64 last = -1; sent != last && sent < kChunks * chunk.size();) {
        last = sent;
        WaitFor([] { return false; }, 300);
    }
    EXPECT_LT(sent, kChunks * chunk.size());
    EXPECT_LT(ResidentKiB() - before, 8 * 1024);

    // The peer reads at last: everything is answered, in order, up to the greeting.
    const qint64 answers = (kChunks * 1000 + 1) * kAck.size();
    qint64 received = 0;
    QByteArray tail;
    bool greeted = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            char buffer[65536];
            ssize_t n;
            while ((n = ::recv(peer, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) {
                received += n;
                tail = (tail + QByteArray(buffer, n)).right(2 * kAck.size());
            }
            if (!greeted && sent == kChunks * chunk.size()) {
                greeted = true;
                flood.join();
                ::send(peer, kGreeting.constData(), std::size_t(kGreeting.size()), MSG_NOSIGNAL);
            }
            return received >= answers;
        },
        60000));
    EXPECT_EQ(received, answers);
    EXPECT_EQ(tail, kAck + kAck);
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("宜しくお願いします。"));
    if (flood.joinable())
        flood.join();
    ::close(peer);
}

TEST_F(RawPeer, ADragThatLosesItsReleaseIsCalledOffAndNeverMovesOutOfTurn) {
    QWidget* board = &copy.window.boardWidget();
    // The board's part of the picture (the clocks beside it go on ticking).
    const QRect area = copy.window.renderer().geometry().boardRect();
    const auto picture = [&] { return copy.window.renderer().BackBuffer().copy(area); };
    const Board start = copy.game().board;
    const QImage before = picture();
    const auto lift = [&](Square from, Square over) {
        QTest::mousePress(board, Qt::LeftButton, Qt::NoModifier, copy.center(from));
        QTest::mouseMove(board, copy.center(over));
        ASSERT_TRUE(copy.window.moveInput().drag().Dragging);
    };
    const auto calledOff = [&] {
        return !copy.window.moveInput().drag().Dragging && picture() == before &&
               copy.game().board == start;
    };

    // A notice opens a box mid-drag: the piece goes back, and the release does nothing.
    lift({4, 6}, {4, 4});
    Send(OnWire(u"VURORE_MSG8:キャスリング"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    EXPECT_TRUE(calledOff());
    QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, copy.center({4, 4}));
    // Out of turn a press lifts nothing and the release moves nothing.
    copy.game().MyTurn = false;
    copy.drag({4, 6}, copy.center({4, 4}));
    copy.game().MyTurn = true;
    EXPECT_TRUE(calledOff());

    // Another window blocks this one mid-drag.
    lift({4, 6}, {4, 4});
    QDialog blocking(&copy.window);
    blocking.setWindowModality(Qt::ApplicationModal);
    blocking.show();
    EXPECT_TRUE(WaitFor(calledOff));
    blocking.hide();
    QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, copy.center({4, 4}));

    // The button went up where this window could not see it.
    lift({4, 6}, {4, 4});
    QMouseEvent unheld(QEvent::MouseMove, copy.center({4, 5}), board->mapToGlobal(copy.center({4, 5})),
                       Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(board, &unheld);
    EXPECT_TRUE(calledOff());
    EXPECT_TRUE(Answer(0).isEmpty()); // nothing was ever sent but the one answer

    // The turn is gone by the time of the release: the piece goes back unmoved.
    lift({4, 6}, {4, 4});
    copy.game().MyTurn = false;
    QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, copy.center({4, 4}));
    copy.game().MyTurn = true;
    EXPECT_TRUE(calledOff());
    EXPECT_TRUE(Answer(0).isEmpty());

    // A move arrives mid-drag over the squares it changes: the drag goes on over the new
    // position, and no pixel of the old one comes back.
    lift({6, 7}, {3, 3});
    Board moved = start;
    moved.set({3, 1}, kEmptyCode);
    moved.set({3, 3}, CodeOfName("po2"));
    Send(test::MoveOnWire(WritePosition(moved), u" 2"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    ASSERT_EQ(copy.game().board, moved);
    QTest::mouseMove(board, copy.center({3, 2}));
    QTest::mouseMove(board, copy.center({5, 4}));
    EXPECT_EQ(copy.window.renderer().BackBuffer().pixel(copy.center({6, 7})),
              BoardRenderer::kBoardFill); // still lifted
    QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, {590, 20});
    const QImage shown = picture();
    copy.window.renderer().MakeBan(); // the board drawn afresh, square by square
    copy.window.renderer().DrawBoard(copy.game().board);
    EXPECT_EQ(shown, picture());
}

// A piece chosen by a click is let go, its mark gone to the last pixel, when a box opens,
// another window blocks this one, a move arrives or the turn passes; a click on the target
// afterwards moves and sends nothing.
TEST_F(RawPeer, AChosenPieceIsLetGoWhenABoxOpensAWindowBlocksAMoveArrivesOrTheTurnPasses) {
    const QRect area = copy.window.renderer().geometry().boardRect();
    const auto picture = [&] { return copy.window.renderer().BackBuffer().copy(area); };
    const Square e2{4, 6}, e4{4, 4};
    const auto choose = [&](Square square) {
        const QImage before = picture();
        copy.click(square);
        EXPECT_EQ(copy.window.moveInput().Selected(), square);
        EXPECT_NE(picture(), before);
        return before;
    };
    const auto letGo = [&](const QImage& before) {
        EXPECT_TRUE(WaitFor([&] { return !copy.window.moveInput().Selected(); }));
        EXPECT_EQ(picture(), before);
        copy.click(e4);
        EXPECT_EQ(copy.game().board.name(e4), "Dummy");
    };

    QImage before = choose(e2);
    Send(OnWire(u"VURORE_MSG8:キャスリング"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    letGo(before);

    before = choose(e2);
    QDialog blocking(&copy.window);
    blocking.setWindowModality(Qt::ApplicationModal);
    blocking.show();
    letGo(before);
    blocking.hide();

    // The move takes the chosen piece: neither the mark nor the piece may stay behind.
    before = choose(e2);
    Board moved = copy.game().board;
    moved.set(e2, CodeOfName("pi2"));
    moved.set({5, 7}, kEmptyCode);
    moved.set({6, 7}, kEmptyCode);
    Send(test::MoveOnWire(WritePosition(moved), u" 2"));
    EXPECT_EQ(Answer(kAck.size()), kAck);
    ASSERT_EQ(copy.game().board, moved);
    before = picture();
    copy.window.renderer().MakeBan(); // the board drawn afresh
    copy.window.renderer().DrawBoard(moved);
    EXPECT_EQ(picture(), before);
    letGo(before);
    EXPECT_TRUE(Answer(0).isEmpty());

    // Castling passes the turn.
    choose({3, 6});
    copy.window.menu().nmuCastlingRight->trigger();
    EXPECT_FALSE(copy.window.moveInput().Selected());
    EXPECT_FALSE(copy.game().MyTurn);
    before = picture();
    copy.window.renderer().MakeBan();
    copy.window.renderer().DrawBoard(copy.game().board);
    EXPECT_EQ(picture(), before);
    EXPECT_TRUE(Answer(1).startsWith(OnWire(u"VURORE_MSG2:")));
    copy.click(e2);
    copy.click(e4);
    EXPECT_EQ(copy.game().board.name(e4), "Dummy");
    EXPECT_TRUE(Answer(0).isEmpty());
}

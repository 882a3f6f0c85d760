// A peer written here speaks to one serving copy over a raw socket, byte by byte, and
// misbehaves on purpose: markup, floods, notices by the dozen, moves in the middle of a drag.

#include "twocopies.h"

#include "rules/castling.h"
#include "rules/position.h"
#include "support/files.h"

#include <QDialog>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quorin;
using test::WaitFor;

namespace {

// A text as it travels: each UTF-16 unit, low byte first.
QByteArray OnWire(std::u16string_view text) {
    QByteArray bytes;
    for (char16_t unit : text)
        bytes.append(char(unit & 0xFF)).append(char(unit >> 8));
    return bytes;
}

QByteArray MoveOnWire(const std::string& board, std::u16string_view number) {
    return OnWire(u"VURORE_MSG2:" + std::u16string(board.begin(), board.end()) + u":" +
                  std::u16string(number));
}

const QByteArray kAck = OnWire(u"VURORE_MSG3:SEND_OK");
const QByteArray kGreeting = OnWire(u"VURORE_MSG6:宜しくお願いします。");
const QByteArray kNotice = OnWire(u"VURORE_MSG8:キャスリング");

// One serving copy, with its message boxes shown as the program does or only recorded.
template <bool RealBoxes> class Peer : public ::testing::Test {
protected:
    Peer() : copy(test::FreePort(), RealBoxes) {
        copy.window.show();
        WaitFor([&] { return copy.window.BoardReady(); });
        copy.window.mnuServer_Click();
        // Little room in the kernel, so that a flood shows in the copy's own buffers.
        peer.bind(QHostAddress::LocalHost, 0);
        peer.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        peer.setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);
        peer.connectToHost(QHostAddress::LocalHost, copy.window.connection().port());
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

    // Sends `bytes`; answers whether the copy answered with `times` acknowledgements.
    bool Answered(const QByteArray& bytes, int times = 1) {
        Send(bytes);
        return Answer(times * kAck.size()) == kAck.repeated(times);
    }

    test::Copy copy;
    QTcpSocket peer;
    QByteArray received;
};

using RawPeer = Peer<false>;
using PeerWithBoxes = Peer<true>;

qsizetype BoxesOnScreen() {
    return std::ranges::count_if(QApplication::topLevelWidgets(), [](const QWidget* widget) {
        return qobject_cast<const QMessageBox*>(widget) && widget->isVisible();
    });
}

} // namespace

// Each message is handled and answered on its own, split over two writes or several in
// one; bad input is answered and changes nothing.
TEST_F(RawPeer, EveryMessageIsHandledAndAnsweredOnItsOwn) {
    const Board start = copy.game().board;
    const std::string field = WritePositionForPeer(start);
    const QString kept = QStringLiteral("12:30 に SEND_OK");
    const struct {
        QByteArray bytes;
        qsizetype split; // sent in two writes, the first this many bytes
        int answers;
        QString shown;
        bool endsWait = false; // clears the wait for an answer, enables the send button
    } cases[] = {
        // Not text at all, before any message.
        {QByteArray("\xff\xfe\x00\x01garbage", 11), 0, 1, " 127. 0. 0. 1が接続してきました。"},
        {kGreeting, 0, 1, "宜しくお願いします。"},
        {OnWire(u"VURORE_MSG4:こんにちは"), 7, 1, "こんにちは"},
        {OnWire(u"VURORE_MSG4:一つ目") + OnWire(u"VURORE_MSG6:二つ目"), 0, 2, "二つ目"},
        // The acknowledgement ends the wait unanswered, the greeting after it is shown.
        {kAck + OnWire(u"VURORE_MSG6:それでは、始めます。"), 0, 1, "それでは、始めます。", true},
        // Texts are shown whole, colons and all; "SEND_OK" in a chat is just text.
        {OnWire(u"VURORE_MSG4:12:30 に SEND_OK"), 0, 1, kept},
        // Any "VURORE_MSG3" ends the wait; one without "SEND_OK" is answered.
        {OnWire(u"VURORE_MSG3:OK"), 0, 1, kept, true},
        // Bad moves: 63 tokens, no such piece, no number.
        {MoveOnWire(field.substr(3), u" 1"), 0, 1, kept},
        {MoveOnWire("0D" + field.substr(2), u" 1"), 0, 1, kept},
        {MoveOnWire(field, u" one"), 0, 1, kept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << &c - cases);
        copy.window.connection().AwaitingAck = true;
        copy.window.Command5->setEnabled(false);
        Send(c.bytes.left(c.split));
        WaitFor([] { return false; }, 50);
        EXPECT_TRUE(Answered(c.bytes.mid(c.split), c.answers));
        EXPECT_EQ(copy.window.Text2->text(), c.shown);
        EXPECT_EQ(copy.window.connection().AwaitingAck, !c.endsWait);
        EXPECT_EQ(copy.window.Command5->isEnabled(), c.endsWait);
    }
    EXPECT_EQ(copy.game().board, start);
    EXPECT_EQ(copy.game().MoveNumber, 0);
}

// Chat is cut to 500 characters and waits for its answer; every ready-made text and the
// resignation are sent exactly as written.
TEST_F(RawPeer, EveryTextIsSentAsWritten) {
    const QString five00(500, QChar(u'駒'));
    copy.window.Text2->setText(five00 + QStringLiteral("x"));
    copy.window.Command5->setEnabled(true);
    QTest::mouseClick(copy.window.Command5, Qt::LeftButton);
    copy.window.Command5_Click(); // still waiting: nothing more
    EXPECT_EQ(Answer(2 * 512), OnWire(u"VURORE_MSG4:" + five00.toStdU16String()));
    Send(kAck);
    ASSERT_TRUE(WaitFor([&] { return copy.window.Command5->isEnabled(); }));

    // Each ready-made text is its item's caption (those the menu test pins), but for the
    // last comment's long-vowel mark, and a strength class is declared in a sentence.
    const MainMenu& m = copy.window.menu();
    for (QAction* item : m.mnuAis + m.mnuCom + m.mnuKaomoji + m.mnuSrtrong) {
        copy.window.EnableConnectedMenus(); // a strength class may be declared once
        item->trigger();
        QString text = item == m.mnuCom[4] ? item->text().replace(u'ー', u'－') : item->text();
        if (m.mnuSrtrong.contains(item))
            text = QStringLiteral("私の強さは%1クラスです。").arg(text);
        const std::u16string sent = u"VURORE_MSG6:" + text.toStdU16String();
        EXPECT_EQ(Answer(2 * sent.size()), OnWire(sent)) << item->objectName().toStdString();
    }
    const std::u16string resigned =
        u"VURORE_MSG5:投了です。あなたの勝ちです。有り難うございました。";
    m.mnuToryou->trigger();
    EXPECT_EQ(Answer(2 * resigned.size()), OnWire(resigned));
}

// A refused castling says why and sends and sets nothing; a promotion is told before the
// move, a castling after it.
TEST_F(RawPeer, MovesAreSentExactlyWithPromotionNoticeBeforeAndCastlingNoticeAfter) {
    const MainMenu& m = copy.window.menu();
    Board& board = copy.game().board;
    m.nmuCastlingRight->trigger(); // the start position: pieces between king and rook
    EXPECT_EQ(copy.messages(), QStringList{QString::fromUtf8(kPiecesBetween)});
    EXPECT_TRUE(Answer(0).isEmpty());
    EXPECT_FALSE(copy.window.connection().AwaitingAck);
    EXPECT_TRUE(m.nmuCastling->menuAction()->isEnabled() && m.nmuCastlingRight->isEnabled() &&
                m.nmuCastlingLeft->isEnabled() && copy.window.Command5->isEnabled());

    board.set({0, 1}, 0); // a local pawn one step from the far row
    board.set({0, 0}, kEmptyCode);
    copy.window.renderer().DrawBoard(board);
    copy.drag({0, 1}, copy.center({0, 0}));
    EXPECT_EQ(Answer(2 * (19 + 206)), OnWire(u"VURORE_MSG7:プロモ\uFF0Dション") +
                                          MoveOnWire(WritePositionForPeer(board), u" 1"));
    Send(kAck + kAck);
    ASSERT_TRUE(WaitFor([&] { return !copy.window.connection().AwaitingAck; }));

    // The first player's layout with g1 and f1 emptied.
    board.set({5, 7}, kEmptyCode);
    board.set({6, 7}, kEmptyCode);
    m.nmuCastlingRight->trigger();
    EXPECT_EQ(Answer(2 * (206 + 18)), MoveOnWire(WritePositionForPeer(board), u" 2") + kNotice);
}

// Markup in a notice is shown as typed, and a file it names is never opened. A notice
// flood leaves one box open, and every message is answered meanwhile.
TEST_F(PeerWithBoxes, NoticesAreShownAsTypedAndOnlyOneAtATime) {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    // A writer waits for whoever opens the FIFO to read; the test itself comes last.
    std::atomic<bool> testEnds{false};
    std::atomic<bool> readByQuorin{false};
    std::thread writer([&] {
        while (!testEnds) {
            ::close(::open(fifo.constData(), O_WRONLY));
            if (!testEnds)
                readByQuorin = true;
        }
    });
    const QString markup =
        QStringLiteral("<b>王手</b><img src=\"%1\">").arg(QFile::decodeName(fifo));
    ASSERT_TRUE(Answered(OnWire(u"VURORE_MSG7:" + markup.toStdU16String())));
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), markup);
    box->grab(); // drawn: a box that took the text for markup would load the picture
    WaitFor([] { return false; }, 100);
    testEnds = true;
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK); // frees the writer
    writer.join();
    ::close(reader);
    EXPECT_FALSE(readByQuorin);

    EXPECT_TRUE(Answered(kNotice.repeated(50) + kGreeting, 51));
    EXPECT_EQ(BoxesOnScreen(), 1);
    // Once the player has closed it, the next notice opens a box again.
    box->accept();
    ASSERT_TRUE(WaitFor([] { return BoxesOnScreen() == 0; }));
    EXPECT_TRUE(Answered(kNotice));
    EXPECT_EQ(BoxesOnScreen(), 1);
}

// The peer floods and never reads the answers. The copy stops reading once its answers
// pile up, and TCP holds the peer back; memory stays bounded. When the peer reads at
// last, every message is answered, and a greeting after the flood as well.
TEST_F(RawPeer, APeerThatNeverReadsIsHeldBackAndAnsweredOnceItReads) {
    QObject::disconnect(&peer, &QTcpSocket::readyRead, nullptr, nullptr);
    peer.setReadBufferSize(4096); // reads no more while that much waits
    const auto residentKiB = [] {
        QFile status(QStringLiteral("/proc/self/status"));
        EXPECT_TRUE(status.open(QIODevice::ReadOnly));
        const QRegularExpression rss(QStringLiteral("VmRSS:\\s*(\\d+)"));
        return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLong();
    };

    // 11 MB in chunks, whose answers would take 19 MB, then a greeting; no more than one
    // chunk waits here.
    const QByteArray chunk = OnWire(u"VURORE_MSG1").repeated(1000);
    const qint64 total = 500 * chunk.size();
    qint64 queued = 0;
    const auto more = [&] {
        for (; queued < total && peer.bytesToWrite() < chunk.size(); queued += chunk.size())
            peer.write(queued + chunk.size() < total ? chunk : chunk + kGreeting);
    };
    const auto sent = [&] { return queued - peer.bytesToWrite(); };
    QObject::connect(&peer, &QTcpSocket::bytesWritten, more);
    [[maybe_unused]] const long before = residentKiB();
    more();
    // Until the flood stops getting through (or has all gone through).
    for (qint64 last = -1; sent() != last && sent() < total;) {
        last = sent();
        WaitFor([] { return false; }, 300);
    }
    EXPECT_LT(sent(), total);
#ifndef __SANITIZE_ADDRESS__ // whose freed memory stays resident for a while
    EXPECT_LT(residentKiB() - before, 8 * 1024);
#endif

    // The peer reads at last: everything is answered, in order, up to the greeting.
    peer.setReadBufferSize(0);
    const qint64 answers = (total / chunk.size() * 1000 + 1) * kAck.size();
    qint64 received = 0;
    ASSERT_TRUE(WaitFor([&] { return (received += peer.readAll().size()) >= answers; }, 60000));
    EXPECT_EQ(received, answers);
}

// Between the press and the release of a drag, or the two clicks of a move, a box opens,
// another window blocks this one, the button goes up unseen, a move arrives, or the turn
// passes: the piece goes back, its picture is restored, nothing is sent.
TEST_F(RawPeer, ADragOrAChosenPieceIsCalledOffAndNeverMovesOutOfTurn) {
    QWidget* board = &copy.window.boardWidget();
    const BoardGeometry& g = copy.window.renderer().geometry();
    // The board's part of the picture (the clocks beside it go on ticking).
    const auto BoardPicture = [&] {
        return copy.window.renderer().BackBuffer().copy(g.boardRect());
    };
    const Board start = copy.game().board;
    const QImage before = BoardPicture();
    const Square e2{4, 6}, e4{4, 4};
    // The mark of a chosen e2: two pixels of its colour inside the square's picture.
    const QRect area = g.pieceRect(e2).translated(-g.boardRect().topLeft());
    QImage marked = before.copy();
    QPainter paint(&marked);
    paint.fillRect(area, QColor(BoardRenderer::kMarkColour));
    paint.drawImage(area.topLeft() + QPoint(2, 2), before, area.adjusted(2, 2, -2, -2));
    paint.end();
    const auto calledOff = [&] {
        const MoveInput& input = copy.window.moveInput();
        return !input.drag().Dragging && !input.Selected() && BoardPicture() == before &&
               copy.game().board == start;
    };
    enum Cut { Notice, Blocked, Unseen, TurnGone, OutOfTurn, MoveArrives };
    const std::pair<bool, Cut> rows[] = {{true, Notice},   {true, Blocked},   {true, Unseen},
                                         {true, TurnGone}, {true, OutOfTurn}, {false, Notice},
                                         {false, Blocked}, {false, TurnGone}, {false, MoveArrives}};
    for (const auto& [dragging, cut] : rows) {
        SCOPED_TRACE(::testing::Message() << (dragging ? "drag " : "chosen ") << cut);
        copy.game().MyTurn = cut != OutOfTurn;
        if (dragging)
            copy.lift(e2, copy.center(e4));
        else
            copy.click(e2);
        ASSERT_EQ(BoardPicture() == before, cut == OutOfTurn);
        ASSERT_EQ(BoardPicture() == marked, !dragging);
        QDialog blocking(&copy.window);
        blocking.setWindowModality(Qt::ApplicationModal);
        if (cut == Notice) {
            EXPECT_TRUE(Answered(kNotice));
        } else if (cut == Blocked) {
            blocking.show();
            EXPECT_TRUE(WaitFor(calledOff));
            blocking.hide();
        } else if (cut == Unseen) {
            const QPoint at = copy.center({4, 5});
            QMouseEvent unheld(QEvent::MouseMove, at, board->mapToGlobal(at), Qt::NoButton,
                               Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(board, &unheld);
        } else if (cut == MoveArrives) {
            EXPECT_TRUE(Answered(MoveOnWire(WritePosition(start), u" 2")));
        } else if (cut == TurnGone) {
            copy.game().MyTurn = false;
        }
        if (dragging)
            QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, copy.center(e4));
        else
            copy.click(e4);
        copy.game().MyTurn = true;
        EXPECT_TRUE(calledOff());
        EXPECT_TRUE(Answer(0).isEmpty());
    }
}

// A move arrives while a piece is lifted, over the squares it changes: the drag goes on over
// the new position. Castling lets a chosen piece go. No pixel of the old position or of the
// mark stays behind.
TEST_F(RawPeer, AMoveThatArrivesRenewsTheDragAndCastlingLetsGoOfTheChosenPiece) {
    QWidget* board = &copy.window.boardWidget();
    copy.window.mnuVSave_Click();
    copy.lift({6, 7}, copy.center({3, 3}));
    Board moved = copy.game().board;
    moved.set({3, 1}, kEmptyCode);
    moved.set({3, 3}, CodeOfName("po2"));
    // In lower case, as a peer may write it: the record keeps the line as it came.
    const std::string line = QString::fromStdString(WritePosition(moved)).toLower().toStdString();
    ASSERT_TRUE(Answered(MoveOnWire(line, u" 2")));
    ASSERT_EQ(copy.game().board, moved);
    EXPECT_EQ(test::Contents(copy.window.record().path()).toStdString(), line + "\r\n");
    QTest::mouseMove(board, copy.center({3, 2}));
    QTest::mouseMove(board, copy.center({5, 4}));
    EXPECT_EQ(copy.window.renderer().BackBuffer().pixel(copy.center({6, 7})),
              BoardRenderer::kBoardFill); // still lifted
    QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, {590, 20});
    EXPECT_TRUE(copy.showsItsBoard());

    copy.game().board.set({5, 7}, kEmptyCode);
    copy.game().board.set({6, 7}, kEmptyCode);
    copy.click({3, 6});
    ASSERT_TRUE(copy.window.moveInput().Selected());
    copy.window.menu().nmuCastlingRight->trigger();
    EXPECT_TRUE(Answer(1).startsWith(OnWire(u"VURORE_MSG2:")));
    EXPECT_FALSE(copy.window.moveInput().Selected());
    EXPECT_TRUE(copy.showsItsBoard());
}

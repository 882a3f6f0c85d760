// A peer written here speaks to one copy over a raw socket, byte by byte.

#include "rawpeer.h"

#include "board/clocks.h"
#include "rules/castling.h"
#include "rules/position.h"

#include <QMenu>

#include <random>

using namespace quorin;
using test::kAck;
using test::MoveOnWire;
using test::OnWire;
using test::RawPeer;
using test::WaitFor;

TEST_F(RawPeer, EveryMessageIsHandledAndAnsweredOnItsOwn) {
    struct Case {
        QByteArray bytes;
        qsizetype split; // sent in two writes, the first this many bytes
        int answers;
        QString shown;
        bool endsWait = false; // clears the wait for an answer, enables the send button
    };
    const Case cases[] = {
        {OnWire(u"VURORE_MSG6:宜しくお願いします。"), 0, 1, "宜しくお願いします。"},
        {OnWire(u"VURORE_MSG4:こんにちは"), 7, 1, "こんにちは"},
        {OnWire(u"VURORE_MSG4:一つ目") + OnWire(u"VURORE_MSG6:二つ目"), 0, 2, "二つ目"},
        // The acknowledgement ends the wait, the greeting after it is shown.
        {kAck + OnWire(u"VURORE_MSG6:それでは、始めます。"), 0, 1, "それでは、始めます。", true},
        // Texts are shown whole, colons and all; "SEND_OK" in a chat is just text.
        {OnWire(u"VURORE_MSG4:12:30 に SEND_OK"), 0, 1, "12:30 に SEND_OK"},
        // Any "VURORE_MSG3" ends the wait; one without "SEND_OK" is answered.
        {OnWire(u"VURORE_MSG3:OK"), 0, 1, "12:30 に SEND_OK", true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        copy.window.connection().AwaitingAck = true;
        copy.window.Command5->setEnabled(false);
        Send(c.bytes.left(c.split));
        WaitFor([] { return false; }, 50);
        Send(c.bytes.mid(c.split));
        EXPECT_EQ(Answer(c.answers * kAck.size()), kAck.repeated(c.answers)) << i;
        EXPECT_EQ(copy.window.Text2->text(), c.shown);
        EXPECT_EQ(copy.window.connection().AwaitingAck, !c.endsWait) << i;
        EXPECT_EQ(copy.window.Command5->isEnabled(), c.endsWait) << i;
    }
    EXPECT_TRUE(copy.messages().isEmpty());
    EXPECT_TRUE(copy.window.connection().Connected());
}

TEST_F(RawPeer, BadInputIsAnsweredAndChangesNothingAndAValidMoveIsTakenOver) {
    const Board start = copy.game().board;
    const std::string field = WritePositionForPeer(start);
    std::mt19937 rng(3);
    QByteArray flood(200 * 1024, '\0');
    for (char& b : flood)
        b = static_cast<char>(rng());
    const QByteArray bad[] = {
        MoveOnWire(field.substr(3), u" 1"),        // 63 tokens
        MoveOnWire(field + ",0C", u" 1"),          // 65 tokens
        MoveOnWire("0D" + field.substr(2), u" 1"), // no such piece
        MoveOnWire(field, u" one"),                // no number
        OnWire(u"VURORE_MSG2"),                    // a tag and nothing else
        QByteArray("\xff\xfe\x00\x01garbage", 11), // not text at all
        flood,
    };
    for (const QByteArray& bytes : bad) {
        Send(bytes);
        EXPECT_FALSE(Answer(kAck.size()).isEmpty());
        EXPECT_EQ(copy.game().board, start);
        EXPECT_EQ(copy.game().MoveNumber, 0);
        EXPECT_EQ(copy.game().PlayerSide, "");
        EXPECT_TRUE(copy.window.connection().Connected() &&
                    peer.state() == QAbstractSocket::ConnectedState);
    }
    // Still in step: a valid move is taken over.
    Board peerBoard = start;
    peerBoard.set({4, 6}, kEmptyCode);
    peerBoard.set({4, 4}, 0);
    Send(MoveOnWire(WritePositionForPeer(peerBoard), u" 1"));
    ASSERT_TRUE(WaitFor([&] { return copy.game().MoveNumber == 1; }));
    EXPECT_TRUE(Answer(kAck.size()).endsWith(kAck)); // after any late answers to the flood
    EXPECT_TRUE(test::SeenFromTheOtherSide(peerBoard, copy.game().board));
    EXPECT_EQ(copy.game().PlayerSide, "後手");
    EXPECT_TRUE(copy.game().MyTurn);
}

TEST_F(RawPeer, EveryReadyMadeTextIsSentAsWritten) {
    const MainMenu& m = copy.window.menu();
    // Greetings, comments and emoticons in menu order, then a strength class.
    const QList<QAction*> items = m.mnuAis + m.mnuCom + m.mnuKaomoji + QList{m.mnuSrtrong[3]};
    const std::vector<std::u16string_view> texts(
        {u"宜しくお願いします。", u"ありがとうございました。", u"それでは、始めます。",
         u"長考中。しばらく考えさせてください。", u"ちょっと（10分くらい？）中断します。",
         u"それはいい手ですね。", u"強いですね。", u"いや\uFF0D参りました。", u"(^_^) わ\uFF0Dい",
         u"m(_ _)m\u3000申し訳ござらぬ。", u"(T_T)\u3000そんな\uFF0D", u"(>_<)\u3000アイタ！",
         u"(^_^)v\u3000イエ\uFF0Dイ", u"<(_ _)>\u3000参り申した。",
         u"(\uFF3E_^\uFF1B\u3000あの\uFF0D・・・", u"私の強さは中上級クラスです。"});
    ASSERT_EQ(items.size(), qsizetype(texts.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        items[i]->trigger();
        const std::u16string sent = u"VURORE_MSG6:" + std::u16string(texts[i]);
        EXPECT_EQ(Answer(2 * sent.size()), OnWire(sent)) << items[i]->objectName().toStdString();
    }
    const std::u16string resigned =
        u"VURORE_MSG5:投了です。あなたの勝ちです。有り難うございました。";
    m.mnuToryou->trigger();
    EXPECT_EQ(Answer(2 * resigned.size()), OnWire(resigned));
    EXPECT_EQ(copy.window.Text2->text(), QStringLiteral("あなたの負けです。"));
    EXPECT_FALSE(copy.window.clocks().Timer1.isActive());

    // The chosen strength class stays checked, the others are out of reach; choosing it
    // again sends nothing. The next connection gives all six back.
    EXPECT_TRUE(m.mnuSrtrong[3]->isChecked());
    for (int i : {0, 1, 2, 4, 5})
        EXPECT_FALSE(m.mnuSrtrong[i]->isEnabled()) << i;
    m.mnuSrtrong[3]->trigger();
    EXPECT_TRUE(m.mnuSrtrong[3]->isChecked());
    EXPECT_TRUE(Answer(0).isEmpty());
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

TEST_F(RawPeer, MovesAreSentExactlyWithPromotionNoticeBeforeAndCastlingNoticeAfter) {
    Board& board = copy.game().board;
    board.set({0, 1}, 0); // a local pawn one step from the far row
    board.set({0, 0}, kEmptyCode);
    copy.window.renderer().DrawBoard(board);
    copy.drag({0, 1}, copy.center({0, 0}));
    ASSERT_EQ(board.name({0, 0}), "qu1");
    const QByteArray bytes = Answer(2 * (19 + 206));
    EXPECT_EQ(bytes, OnWire(u"VURORE_MSG7:プロモ\uFF0Dション") +
                         MoveOnWire(WritePositionForPeer(board), u" 1"));
    EXPECT_EQ(bytes.size(), 2 * (19 + 12 + 191 + 3));
    // The peer acknowledges both; acknowledgements are never answered.
    Send(kAck + kAck);
    ASSERT_TRUE(WaitFor([&] { return !copy.window.connection().AwaitingAck; }));
    EXPECT_TRUE(copy.window.Command5->isEnabled());
    EXPECT_TRUE(Answer(0).isEmpty());

    // Castling: the move, then the notice. (The first player's layout: g1 and f1 emptied.)
    board.set({5, 7}, kEmptyCode);
    board.set({6, 7}, kEmptyCode);
    copy.window.menu().nmuCastlingRight->trigger();
    EXPECT_EQ(Answer(2 * (206 + 18)),
              MoveOnWire(WritePositionForPeer(board), u" 2") + OnWire(u"VURORE_MSG8:キャスリング"));
}

TEST_F(RawPeer, ARefusedCastlingSaysWhyAndSendsAndChangesNothing) {
    const MainMenu& m = copy.window.menu();
    const auto menus = [&] {
        return std::tuple(m.nmuCastling->menuAction()->isEnabled(), m.nmuCastlingRight->isEnabled(),
                          m.nmuCastlingLeft->isEnabled(), copy.window.Command5->isEnabled());
    };
    const auto menusBefore = menus();
    // The squares emptied on the start position, and why castling right is refused there.
    const std::pair<std::vector<Square>, std::string_view> cases[] = {
        {{}, kPiecesBetween},
        {{{4, 7}}, kNoKingToCastle},
        {{{5, 7}, {6, 7}, {7, 7}}, kNoRookToCastle},
    };
    for (const auto& [emptied, refusal] : cases) {
        Board& board = copy.game().board;
        board = *ReadPosition(InitialPosition);
        for (Square s : emptied)
            board.set(s, kEmptyCode);
        const Board before = board;
        m.nmuCastlingRight->trigger();
        EXPECT_EQ(copy.messages().last().toStdString(), refusal);
        EXPECT_EQ(board, before);
        EXPECT_TRUE(Answer(0).isEmpty());
        EXPECT_FALSE(copy.window.connection().AwaitingAck);
        EXPECT_EQ(copy.game().MoveNumber, 0);
        EXPECT_EQ(menus(), menusBefore);
    }
}

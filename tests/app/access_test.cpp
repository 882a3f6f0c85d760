// Playing by keyboard with a screen reader: two copies, the board's cells as a screen reader
// reads them, moves made with the keys, the cursor's frame and what is announced.

#include "twocopies.h"

#include "app/announcer.h"
#include "board/boardtable.h"

#include <QAccessible>
#include <QAccessibleTableInterface>

using namespace quorin;
using test::Copy;

namespace {

class Access : public test::TwoCopies {
protected:
    static QAccessibleInterface* Table(Copy& copy) {
        return QAccessible::queryAccessibleInterface(&copy.window.boardTable());
    }
    static QString Cell(Copy& copy, int column, int row) {
        return Table(copy)->tableInterface()->cellAt(row, column)->text(QAccessible::Name);
    }
    static void Keys(Copy& copy, std::initializer_list<Qt::Key> keys) {
        for (const Qt::Key key : keys)
            QTest::keyClick(&copy.window.boardTable(), key);
    }
};

} // namespace

// The board is a table of 8 by 8 cells named by square and piece, the light side's squares
// from its own side; the clocks are texts as drawn; the controls below have names.
TEST_F(Access, TheBoardReadsAsATableOfNamedSquares) {
    QAccessibleInterface* table = Table(server);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(std::tuple(table->role(), table->text(QAccessible::Name), table->childCount(),
                         table->tableInterface()->rowCount(),
                         table->tableInterface()->columnCount()),
              std::tuple(QAccessible::Table, QStringLiteral("盤"), 64, 8, 8));
    EXPECT_EQ(QStringList(
                  {Cell(server, 0, 7), Cell(server, 4, 6), Cell(server, 4, 4), Cell(server, 3, 0)}),
              QStringList({"a1 白のルーク", "e2 白のポーン", "e4 空き", "d8 黒のクイーン"}));
    Connect();
    Play(server, "e2", "e4");
    // The second player's pieces are dark: its bottom-left square is h8, its king on e8.
    EXPECT_EQ(QStringList({Cell(client, 0, 7), Cell(client, 3, 7), Cell(client, 3, 3)}),
              QStringList({"h8 黒のルーク", "e8 黒のキング", "e4 白のポーン"}));
    EXPECT_EQ(Cell(server, 4, 4), "e4 白のポーン");
    // A pawn reaching the far row is named a queen on both boards.
    Play(client, "a7", "a6");
    Board& board = server.game().board;
    board.set({1, 1}, CodeOfName("po1"));
    board.set({1, 0}, kEmptyCode);
    server.window.renderer().DrawBoard(board);
    server.click({1, 1});
    server.click({1, 0});
    ASSERT_TRUE(Arrived(client, server, 3));
    EXPECT_EQ(std::pair(Cell(server, 1, 0), Cell(client, 6, 7)),
              std::pair(QStringLiteral("b8 白のクイーン"), QStringLiteral("b8 白のクイーン")));
    QStringList texts;
    QAccessibleInterface* window =
        QAccessible::queryAccessibleInterface(&server.window.boardWidget());
    for (int i = 0; i < window->childCount(); ++i)
        texts << window->child(i)->text(QAccessible::Name);
    EXPECT_TRUE(texts.contains("相手 0h00m00s") && texts.contains("メッセージ") &&
                texts.contains("状態"))
        << texts.join('|').toStdString();
}

// Moves by keys go the way of two clicks: Space chooses, Space on a target moves, and the
// other copy takes the move; a move the rules refuse says why. The cursor's frame is
// painted over the picture and leaves it as it was; a mouse press takes it away.
TEST_F(Access, KeysMoveAsClicksAndTheCursorLeavesNoPixel) {
    Connect();
    BoardTable& board = server.window.boardTable();
    const QImage before = server.window.renderer().BackBuffer().copy();
    const QImage shown = server.window.boardWidget().grab().toImage();
    board.setFocus();
    Keys(server, {Qt::Key_Up}); // the first key shows the cursor, on the own king
    EXPECT_EQ(board.Cursor(), (Square{4, 7}));
    EXPECT_NE(server.window.boardWidget().grab().toImage(), shown);
    EXPECT_EQ(server.window.renderer().BackBuffer(), before);
    Keys(server, {Qt::Key_Up, Qt::Key_Space, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space});
    ASSERT_TRUE(Arrived(client, server, 1));
    EXPECT_EQ(server.window.announcer().text(), "自分：ポーン e2 から e4。相手は考え中");
    EXPECT_EQ(client.window.announcer().text(), "相手：ポーン e2 から e4。あなたの番");
    // In check, the client's pawn may not move: refused with the text, as a click is.
    Board& board2 = client.game().board;
    board2.set({3, 6}, kEmptyCode);
    board2.set({3, 5}, CodeOfName("ru2"));
    client.window.renderer().DrawBoard(board2);
    BoardTable& peer = client.window.boardTable();
    peer.setFocus();
    Keys(client,
         {Qt::Key_Down, Qt::Key_Home, Qt::Key_Up, Qt::Key_Space, Qt::Key_Up, Qt::Key_Space});
    EXPECT_EQ(client.messages(), QStringList{"チェックのため、その手は使えません。"});
    EXPECT_EQ(client.window.announcer().text(), "チェックのため、その手は使えません。");
    Keys(client, {Qt::Key_Space, Qt::Key_Escape, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown});
    EXPECT_EQ(peer.Cursor(), (Square{7, 7}));
    EXPECT_FALSE(client.window.moveInput().Selected());
    server.click({0, 6});
    EXPECT_FALSE(board.CursorShown());
    EXPECT_EQ(server.window.boardWidget().grab().toImage().copy(
                  server.window.renderer().geometry().pieceRect({4, 4})),
              server.window.renderer().BackBuffer().copy(
                  server.window.renderer().geometry().pieceRect({4, 4})));
}

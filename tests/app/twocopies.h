#pragma once

#include "app/form1.h"
#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "net/connection.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quorin::test {

// One copy of the program with its own folder and recorders.
struct Copy {
    explicit Copy(quint16 port, bool realBoxes = false)
        : env(port, realBoxes), window(env.environment()) {}
    TestEnvironment env;
    Form1 window;

    GameState& game() { return window.game(); }
    const QStringList& messages() { return env.seams().messages; }
    bool idle() const {
        const MainMenu& m = window.menu();
        return m.mnuServer->isEnabled() && m.mnuClient->isEnabled() && !m.mnuClose->isEnabled();
    }
    // The middle of a square's picture on the board.
    QPoint center(Square s) { return window.renderer().geometry().pieceRect(s).center(); }
    // Presses on `from`, drags across the board and releases at `to`.
    void drag(Square from, QPoint to) {
        BoardWidget* board = &window.boardWidget();
        QTest::mousePress(board, Qt::LeftButton, Qt::NoModifier, center(from));
        QTest::mouseMove(board, (center(from) + to) / 2);
        QTest::mouseMove(board, to);
        QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, to);
    }
    // A click (press and release on one spot) on the middle of a square.
    void click(Square s) {
        QTest::mouseClick(&window.boardWidget(), Qt::LeftButton, {}, center(s));
    }
};

// A square named as on a chess board ("e2"), seen from the server, who moves first and
// plays the white pieces from the bottom, or from the client, who sees the board turned.
inline Square ServerView(const char* name) {
    return {name[0] - 'a', '8' - name[1]};
}
inline Square ClientView(const char* name) {
    return {'h' - name[0], name[1] - '1'};
}

// A plain move made on `copy`'s board and sent, as the move input does it.
inline void Move(Copy& copy, Square from, Square to) {
    Board& board = copy.game().board;
    copy.window.connection().AwaitingAck = true;
    copy.window.Command5->setEnabled(false);
    board.set(to, board.at(from));
    board.set(from, kEmptyCode);
    copy.window.moveExchange().SendMove();
}

// Two copies in one process, talking over loopback: a server and a client.
class TwoCopies : public ::testing::Test {
protected:
    TwoCopies() : port(FreePort()), server(port), client(port) {
        server.window.show();
        client.window.show();
        WaitFor([&] { return server.window.BoardReady() && client.window.BoardReady(); });
    }

    // The server listens, the client connects to it; both see the connection.
    void Connect() {
        server.window.mnuServer_Click();
        client.window.Combo1->setEditText(QStringLiteral("127.0.0.1"));
        client.window.mnuClient_Click();
        ASSERT_TRUE(WaitFor([&] {
            return server.window.connection().Connected() && client.window.connection().Connected();
        }));
    }

    // Waits until `receiver` has handled move `number` and `mover` has its acknowledgement.
    bool Arrived(Copy& receiver, Copy& mover, int number) {
        return WaitFor([&] {
            return receiver.game().MoveNumber == number && !mover.window.connection().AwaitingAck;
        });
    }

    quint16 port;
    Copy server;
    Copy client;
};

// Whether two boards are each other's view: turned half a turn, sides exchanged.
inline bool SeenFromTheOtherSide(const Board& a, const Board& b) {
    for (int d = 0; d < 64; ++d) {
        const Square s = SquareAt(d);
        if (b.at({7 - s.x, 7 - s.y}) != SwapSide(a.at(s)))
            return false;
    }
    return true;
}

} // namespace quorin::test

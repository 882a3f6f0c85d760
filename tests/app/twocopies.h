#pragma once

#include "app/form1.h"
#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "net/connection.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace quorin::test {

// Whether the window's picture is what drawing its position afresh gives.
inline bool ShowsItsBoard(Form1& window) {
    BoardRenderer& renderer = window.renderer();
    const QImage shown = renderer.BackBuffer().copy();
    renderer.MakeBan();
    renderer.DrawBoard(window.game().board);
    return renderer.BackBuffer() == shown;
}

// A click on a square's picture.
inline void ClickSquare(Form1& window, Square s) {
    QTest::mouseClick(&window.boardWidget(), Qt::LeftButton, {},
                      window.renderer().geometry().pieceRect(s).center());
}

// One copy of the program with its own folder and recorders.
struct Copy {
    explicit Copy(quint16 port, bool realBoxes = false)
        : env(port, realBoxes), window(env.environment()) {}
    TestEnvironment env;
    Form1 window;

    GameState& game() { return window.game(); }
    const QStringList& messages() { return env.seams().messages; }
    // The middle of a square's picture on the board.
    QPoint center(Square s) { return window.renderer().geometry().pieceRect(s).center(); }
    // Presses on `from` and moves the mouse over `over`, the button held.
    void lift(Square from, QPoint over) {
        QTest::mousePress(&window.boardWidget(), Qt::LeftButton, Qt::NoModifier, center(from));
        QTest::mouseMove(&window.boardWidget(), (center(from) + over) / 2);
        QTest::mouseMove(&window.boardWidget(), over);
    }
    void drag(Square from, QPoint to) {
        lift(from, to);
        QTest::mouseRelease(&window.boardWidget(), Qt::LeftButton, Qt::NoModifier, to);
    }
    void click(Square s) { ClickSquare(window, s); }
    bool showsItsBoard() { return ShowsItsBoard(window); }
};

// A copy that can be closed and started again in its own folders, as a player does.
struct Player {
    // `adjust` changes the environment before the window is made.
    explicit Player(quint16 port, std::function<void(Environment&)> adjust = {})
        : env(port), adjust_(std::move(adjust)) {
        Start();
    }
    void Start() {
        window.reset();
        Environment e = env.environment();
        if (adjust_)
            adjust_(e);
        window = std::make_unique<Form1>(e);
        window->show();
        WaitFor([&] { return window->BoardReady(); });
    }
    GameState& game() { return window->game(); }
    void Click(Square s) { ClickSquare(*window, s); }
    // The link ends at once, as when it is reset: the peer sees it close.
    void Cut() {
        for (QTcpSocket* socket : window->connection().findChildren<QTcpSocket*>())
            socket->abort();
    }
    TestEnvironment env;
    std::unique_ptr<Form1> window;

private:
    std::function<void(Environment&)> adjust_;
};

// A square named as on a chess board ("e2"), seen from the server, who moves first and
// plays the white pieces from the bottom, or from the client, who sees the board turned.
inline Square ServerView(const char* name) {
    return {name[0] - 'a', '8' - name[1]};
}
inline Square ClientView(const char* name) {
    return {'h' - name[0], name[1] - '1'};
}

// Two copies in one process, talking over loopback: a server and a client.
class TwoCopies : public ::testing::Test {
protected:
    TwoCopies() : port(FreePort()), server(port), client(port) {
        server.window.show();
        client.window.show();
        WaitFor([&] { return server.window.BoardReady() && client.window.BoardReady(); });
    }

    // The server listens, the client connects to it.
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

    // A plain move made on `mover`'s board, named from its side, and sent as the move input
    // does it; the peer takes it over.
    void Play(Copy& mover, const char* from, const char* to) {
        const auto view = &mover == &server ? ServerView : ClientView;
        Board& board = mover.game().board;
        mover.window.connection().AwaitingAck = true;
        mover.window.Command5->setEnabled(false);
        board.set(view(to), board.at(view(from)));
        board.set(view(from), kEmptyCode);
        mover.window.moveExchange().SendMove();
        ASSERT_TRUE(Arrived(&mover == &server ? client : server, mover, mover.game().MoveNumber))
            << from << to;
    }

    quint16 port;
    Copy server;
    Copy client;
};

} // namespace quorin::test

#pragma once

#include "twocopies.h"

#include "rules/legalmoves.h"

#include <QLineEdit>

#include <random>

namespace quorin::test {

// Games of random legal moves between two copies, moved as a player moves: by two clicks,
// castling from the menu. Seeded, so a run can be played again. The link may be cut at a
// random moment of a game, and the game is then resumed with "再接続(&R)".
class RandomGames {
public:
    RandomGames(Player& server, Player& client, unsigned seed)
        : server_(server), client_(client), random_(seed) {
        for (Player* p : {&server_, &client_})
            QObject::connect(p->window->Text2, &QLineEdit::textChanged, [this](const QString& t) {
                warnings += t.startsWith(QStringLiteral("注意"));
            });
    }

    // The server listens, the client connects; both record.
    bool Connect(bool resume) {
        if (resume) {
            server_.window->menu().mnuResume->trigger();
            client_.window->menu().mnuResume->trigger();
        } else {
            server_.window->mnuServer_Click();
            client_.window->Combo1->setEditText(QStringLiteral("127.0.0.1"));
            client_.window->mnuClient_Click();
        }
        return WaitFor([&] {
            return server_.window->connection().Connected() &&
                   client_.window->connection().Connected();
        });
    }

    // One game from "初期化" on both sides to a captured king, a position without moves or
    // `most` moves; with `cut`, the link is cut once on the way and the game resumed. The
    // server moves first if it may (the turn stays with the player who had it).
    // Answers whether every move arrived.
    bool Play(bool cut, int most = 120) {
        server_.window->mnuInit_Click();
        client_.window->mnuInit_Click();
        const bool serverFirst = server_.game().MyTurn;
        const int cutAt = cut ? std::uniform_int_distribution(2, 30)(random_) : -1;
        for (int number = 1; number <= most; ++number) {
            const bool serverMoves = (number % 2 == 1) == serverFirst;
            Player& mover = serverMoves ? server_ : client_;
            Player& peer = serverMoves ? client_ : server_;
            const Colour colour = number % 2 == 1 ? Colour::White : Colour::Black;
            std::vector<PlayerMove> moves = LegalMoves(mover.game().board, colour);
            std::erase_if(moves,
                          [&](const PlayerMove& m) { return m.castling && !Offered(mover, m); });
            if (moves.empty())
                return true;
            const PlayerMove move =
                moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random_)];
            if (move.castling) {
                (*move.castling == CastlingSide::Right ? mover.window->menu().nmuCastlingRight
                                                       : mover.window->menu().nmuCastlingLeft)
                    ->trigger();
            } else {
                mover.Click(move.from);
                mover.Click(move.to);
            }
            if (mover.game().MoveNumber != number)
                return Failed("move " + std::to_string(number) + " was not made");
            ++moves_;
            if (number == cutAt && !Cut(std::uniform_int_distribution(0, 2)(random_)))
                return Failed("no resume after a cut at move " + std::to_string(number));
            if (!WaitFor([&] {
                    return peer.game().MoveNumber == number &&
                           !mover.window->connection().AwaitingAck;
                }))
                return Failed("move " + std::to_string(number) + " did not arrive");
            if (!HasKing(peer.game().board))
                return true;
        }
        return true;
    }

    int moves() const { return moves_; }
    std::string failure; // what went wrong in the game that answered false
    int cuts = 0;
    int warnings = 0;

private:
    bool Failed(std::string what) {
        failure = std::move(what);
        return false;
    }
    static bool HasKing(const Board& board) {
        for (int d = 0; d < 64; ++d)
            if (board.at(SquareAt(d)) == 5)
                return true;
        return false;
    }
    static bool Offered(Player& p, const PlayerMove& m) {
        const MainMenu& menu = p.window->menu();
        return menu.nmuCastling->menuAction()->isEnabled() &&
               (*m.castling == CastlingSide::Right ? menu.nmuCastlingRight : menu.nmuCastlingLeft)
                   ->isEnabled();
    }
    // The link goes, at once (`how` 0: the server's end, 1: the client's) or once the move
    // was read (2); both players resume.
    bool Cut(int how) {
        ++cuts;
        if (how == 2)
            WaitFor([] { return false; }, 1);
        (how == 0 ? server_ : client_).Cut();
        return WaitFor([&] {
                   return !server_.window->connection().HasPeerSocket() &&
                          !client_.window->connection().HasPeerSocket();
               }) &&
               Connect(true);
    }

    Player& server_;
    Player& client_;
    std::mt19937 random_;
    int moves_ = 0;
};

} // namespace quorin::test

#pragma once

#include "twocopies.h"

#include "rules/legalmoves.h"

#include <QLineEdit>

#include <algorithm>
#include <random>
#include <ranges>

namespace quorin::test {

// Games of random legal moves between two copies, moved as a player moves: by two clicks,
// castling from the menu; each side's pictures are checked at the first move. Seeded, so a run can
// be played again. The link may be cut at a random moment of a game, and the game is then resumed
// with "再接続(&R)".
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
            // Castling as the menu offers it.
            const MainMenu& menu = mover.window->menu();
            const auto item = [&](CastlingSide side) {
                return side == CastlingSide::Right ? menu.nmuCastlingRight : menu.nmuCastlingLeft;
            };
            std::vector<PlayerMove> moves = LegalMoves(mover.game().board, colour);
            std::erase_if(moves, [&](const PlayerMove& m) {
                return m.castling && !(menu.nmuCastling->menuAction()->isEnabled() &&
                                       item(*m.castling)->isEnabled());
            });
            if (moves.empty())
                return true;
            const PlayerMove move =
                moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random_)];
            if (move.castling) {
                item(*move.castling)->trigger();
            } else {
                mover.Click(move.from);
                mover.Click(move.to);
            }
            if (mover.game().MoveNumber != number)
                return Failed("a move was not made", number);
            ++moves_;
            if (number == cutAt && !Cut(std::uniform_int_distribution(0, 2)(random_)))
                return Failed("no resume after a cut", number);
            if (!WaitFor([&] {
                    return peer.game().MoveNumber == number &&
                           !mover.window->connection().AwaitingAck;
                }))
                return Failed("a move did not arrive", number);
            // The first player draws its own pieces with the first picture set, the second
            // player with the second, in every game.
            using Set = BoardRenderer::PictureSet;
            if (number == 1 && (mover.window->renderer().pictureSet() != Set::First ||
                                peer.window->renderer().pictureSet() != Set::Second))
                return Failed("the picture sets do not follow the sides", number);
            const Board& board = peer.game().board;
            if (std::ranges::none_of(std::views::iota(0, 64),
                                     [&](int d) { return board.at(SquareAt(d)) == 5; }))
                return true; // the king is taken
        }
        return true;
    }

    // Both copies have seen the link go.
    bool Idle() {
        return WaitFor([&] {
            return !server_.window->connection().HasPeerSocket() &&
                   !client_.window->connection().HasPeerSocket();
        });
    }

    int moves() const { return moves_; }
    std::string failure; // what went wrong in the game that answered false
    int cuts = 0;
    int warnings = 0;

private:
    bool Failed(const char* what, int number) {
        failure = what + (" at move " + std::to_string(number));
        return false;
    }
    // The link goes, at once (`how` 0: the server's end, 1: the client's) or once the move
    // was read (2); both players resume.
    bool Cut(int how) {
        ++cuts;
        if (how == 2)
            WaitFor([] { return false; }, 1);
        (how == 0 ? server_ : client_).Cut();
        return Idle() && Connect(true);
    }

    Player& server_;
    Player& client_;
    std::mt19937 random_;
    int moves_ = 0;
};

} // namespace quorin::test

// The check of a received position: one move of the peer, or not. Boards as the receiver
// sees them, the peer's pieces (lower case) at the top.

#include "rules/position.h"
#include "rules/receivedmove.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;

namespace {

// `board` changed by `steps`, each four digits: a piece from column, row to column, row;
// or "=", column, row and a piece code in hexadecimal, put there.
Board Changed(Board board, std::initializer_list<const char*> steps) {
    for (const std::string step : steps) {
        const auto digit = [&](int i) { return std::stoi(step.substr(i, 1), nullptr, 16); };
        if (step[0] == '=') {
            board.set({digit(1), digit(2)}, digit(3));
            continue;
        }
        board.set({digit(2), digit(3)}, board.at({digit(0), digit(1)}));
        board.set({digit(0), digit(1)}, kEmptyCode);
    }
    return board;
}

} // namespace

TEST(ReceivedMove, OneMoveOfThePeerAndNothingElse) {
    const Board start = *ReadPosition(InitialPosition); // the receiver plays White
    const Board castles = test::Diagram("r...k..r pppppppp ........ ........ "
                                        "........ ........ PPPPPPPP RNBQKBNR");
    const Board ending = test::Diagram("....k... ....r... ........ ........ "
                                       "........ ........ .p...... R...K...");
    const Colour B = Colour::Black, W = Colour::White;
    const struct {
        const char* what;
        Board before;
        std::initializer_list<const char*> steps;
        Colour peer;
        bool follows;
    } cases[] = {
        {"a pawn's two steps", start, {"4143"}, B, true},
        {"White's pawn, seen by Black", Turned(start), {"3133"}, W, true},
        {"castling short", castles, {"4060", "7050"}, B, true},
        {"castling long", castles, {"4020", "0030"}, B, true},
        {"promotion to a queen", ending, {"=16C", "=17A"}, B, true},
        {"the king taken", ending, {"4147"}, B, true},
        {"two pieces moved", start, {"4143", "3133"}, B, false},
        {"a rook through its pawn", start, {"0004"}, B, false},
        {"a piece added", start, {"=44A"}, B, false},
        {"the receiver's pawn moved", start, {"4644"}, B, false},
        {"promotion to a rook", ending, {"=16C", "=177"}, B, false},
        {"White's castling table", castles, {"4060", "7050"}, W, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FollowsByOneMove(c.before, Changed(c.before, c.steps), c.peer), c.follows)
            << c.what;
}

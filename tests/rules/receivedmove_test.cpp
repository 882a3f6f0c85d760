// The check of a received position: one move of the peer, or not. Boards as the receiver
// sees them, the peer's pieces (lower case) at the top.

#include "rules/position.h"
#include "rules/receivedmove.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;
using test::Diagram;

namespace {

// `board` with the pieces on each `from` moved to its `to` (nothing moved onto a square
// puts the piece given there instead).
Board Changed(Board board, std::initializer_list<std::pair<Square, Square>> moves,
              std::initializer_list<std::pair<Square, PieceCode>> puts = {}) {
    for (const auto& [from, to] : moves) {
        board.set(to, board.at(from));
        board.set(from, kEmptyCode);
    }
    for (const auto& [at, piece] : puts)
        board.set(at, piece);
    return board;
}

constexpr PieceCode kPeerRook = 7, kPeerQueen = 10;

} // namespace

TEST(ReceivedMove, OneMoveOfThePeerAndNothingElse) {
    const Board start = *ReadPosition(InitialPosition); // the receiver plays White
    const Board black = Turned(start);                  // ... or Black, against White
    const Board castles = Diagram("r...k..r"
                                  "pppppppp"
                                  "........"
                                  "........"
                                  "........"
                                  "........"
                                  "PPPPPPPP"
                                  "RNBQKBNR");
    const Board ending = Diagram("....k..."
                                 "....r..."
                                 "........"
                                 "........"
                                 "........"
                                 "........"
                                 ".p......"
                                 "R...K...");
    const struct {
        const char* what;
        Board before, after;
        Colour peer;
        bool follows;
    } cases[] = {
        {"pawn, two steps", start, Changed(start, {{{4, 1}, {4, 3}}}), Colour::Black, true},
        {"knight", start, Changed(start, {{{6, 0}, {5, 2}}}), Colour::Black, true},
        {"White's pawn", black, Changed(black, {{{3, 1}, {3, 3}}}), Colour::White, true},
        {"castling short", castles, Changed(castles, {{{4, 0}, {6, 0}}, {{7, 0}, {5, 0}}}),
         Colour::Black, true},
        {"castling long", castles, Changed(castles, {{{4, 0}, {2, 0}}, {{0, 0}, {3, 0}}}),
         Colour::Black, true},
        {"promotion to a queen", ending,
         Changed(ending, {}, {{{1, 6}, kEmptyCode}, {{1, 7}, kPeerQueen}}), Colour::Black, true},
        {"the king taken", ending, Changed(ending, {{{4, 1}, {4, 7}}}), Colour::Black, true},
        {"two pieces moved", start, Changed(start, {{{4, 1}, {4, 3}}, {{3, 1}, {3, 3}}}),
         Colour::Black, false},
        {"a rook through its pawn", start, Changed(start, {{{0, 0}, {0, 4}}}), Colour::Black,
         false},
        {"a piece added", start, Changed(start, {}, {{{4, 4}, kPeerQueen}}), Colour::Black, false},
        {"the receiver's pawn moved", start, Changed(start, {{{4, 6}, {4, 4}}}), Colour::Black,
         false},
        {"nothing moved", start, start, Colour::Black, false},
        {"promotion to a rook", ending,
         Changed(ending, {}, {{{1, 6}, kEmptyCode}, {{1, 7}, kPeerRook}}), Colour::Black, false},
        {"a pawn backwards", Changed(start, {{{4, 1}, {4, 3}}}), start, Colour::Black, false},
        {"White castling as Black", castles, Changed(castles, {{{4, 0}, {6, 0}}, {{7, 0}, {5, 0}}}),
         Colour::White, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FollowsByOneMove(c.before, c.after, c.peer), c.follows) << c.what;
}

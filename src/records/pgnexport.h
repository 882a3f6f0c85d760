#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorin {

// The values of the tags a record does not know; "?" stands for unknown.
struct PgnTags {
    std::string Event = "?";
    std::string Site = "?";
    std::string Date = "????.??.??";
    std::string Round = "?";
    std::string White = "?";
    std::string Black = "?";
};

// A game record as a game in PGN, the text other chess programs read.
//
// `lines` are the record's lines in file order: each a position as the recording player
// saw it, the own pieces at the bottom. Each step from one position to the next becomes
// one move in standard algebraic notation (see pgnmoves.h), numbered, White's and Black's
// moves alternating, the lines of the game text kept under 80 characters.
//
// The recording player's colour is read from the positions. The two colours see the board
// mirrored (White's king and queen start on columns 4 and 3, Black's on 3 and 4), so
// ordinary moves read alike either way and only these tell them apart, in this order:
//  1. the colour under which more steps read as moves: a castling moves king and rook by
//     one colour's table only, and a record from the start position reads one move more
//     under its own colour;
//  2. else the layout on whose start squares more kings and queens stand in the first
//     position;
//  3. else White.
// A record begun mid-game with no castling and no king or queen on a start square cannot
// tell: there White is a guess, and a Black player's game reads mirrored.
//
// A record whose first position is one White move from the start position holds the game
// from its start: the game text begins with that move. Any other record began mid-game
// (recording was switched on late): the game text starts from its first position, given
// with the tags SetUp and FEN, whose side to move is the side that makes the first step
// (with no step to tell: the side in check, else White), castling allowed where a king
// and a rook stand on their home squares, no en-passant square, move number 1.
//
// A step that is no single move of the side to move (a line that is no position, the
// board set up for a new game, the same side moving twice, a missing line, anything else)
// ends the game text with a comment that says so and where. The capture of a king ends
// the game: its result is then 1-0 or 0-1 for the side that kept its king, and lines after
// it are left out with such a comment; any other game ends "*".
//
// Lines before the first position are passed over. Without any position there is no game:
// std::nullopt. The comments name lines as the record counts them from its first line:
// `linesBefore` lines of the record, passed over already, came before `lines`.
std::optional<std::string> ExportPgn(const std::vector<std::string>& lines,
                                     const PgnTags& tags = {}, std::size_t linesBefore = 0);

} // namespace quorin

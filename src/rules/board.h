#pragma once

#include "piece.h"
#include "square.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorin {

// The 8 x 8 cells of the game as this copy sees it, each holding a PieceCode.
// A new board is empty; the position text fills it (see position.h).
class Board {
public:
    Board() { cells_.fill(kEmptyCode); }

    PieceCode at(Square s) const { return cells_[IndexOf(s)]; }
    PieceCode at(int x, int y) const { return cells_[8 * y + x]; }
    void set(Square s, PieceCode c) { cells_[IndexOf(s)] = static_cast<std::int8_t>(c); }

    // The cell's piece name from ImageNames ("Dummy" for an empty cell).
    std::string_view name(Square s) const { return ImageNames[at(s)]; }

    bool isEmpty(Square s) const { return at(s) == kEmptyCode; }

    // First square holding `code`, scanning rows 0..7 and within a row columns 0..7.
    std::optional<Square> find(PieceCode code) const;

    friend bool operator==(const Board&, const Board&) = default;

private:
    std::array<std::int8_t, 64> cells_{};
};

} // namespace quorin

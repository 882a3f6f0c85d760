#pragma once

namespace quorin {

// A cell of the board: x is the column from the left (0..7), y the row from the top (0..7).
// Row 7 is the local player's back rank; local pieces move towards row 0.
struct Square {
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(Square, Square) = default;
};

// Linear index d = 8 * y + x used by the position text.
constexpr int IndexOf(Square s) {
    return 8 * s.y + s.x;
}
constexpr Square SquareAt(int index) {
    return Square{index % 8, index / 8};
}

} // namespace quorin

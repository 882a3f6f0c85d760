#include "board.h"

namespace quorin {

std::optional<Square> Board::find(PieceCode code) const {
    for (int d = 0; d < 64; ++d) {
        if (cells_[d] == code)
            return SquareAt(d);
    }
    return std::nullopt;
}

} // namespace quorin

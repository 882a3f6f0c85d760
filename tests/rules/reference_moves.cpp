#include "reference_moves.h"

#include <algorithm>
#include <array>
#include <span>

namespace quorin::reference {
namespace {

// 0x88 layout: cell (x, y) lives at 16 * y + x. Stepping off the board in any direction
// sets bit 0x08 (column out of range) or bit 0x80 (row out of range), so one mask test
// replaces the bounds checks.
using Cells = std::array<std::int8_t, 128>;

constexpr bool OffBoard(int sq) {
    return (sq & 0x88) != 0;
}
constexpr int ToSq(Square s) {
    return 16 * s.y + s.x;
}
constexpr int ToIndex(int sq) {
    return 8 * (sq >> 4) + (sq & 7);
}
constexpr int RowOf(int sq) {
    return sq >> 4;
}

// Offsets. Row 0 is at the top, so "up" (the local pawn's direction) is -16.
constexpr int kUp = -16;
constexpr int kDown = 16;
constexpr std::array<int, 8> kKnightJumps = {-33, -31, -18, -14, 14, 18, 31, 33};
constexpr std::array<int, 8> kKingSteps = {-17, -16, -15, -1, 1, 15, 16, 17};
constexpr std::array<int, 4> kStraightRays = {-16, 1, 16, -1};
constexpr std::array<int, 4> kDiagonalRays = {-17, -15, 15, 17};

constexpr int kLocalPawnStartRow = 6;

constexpr PieceCode CodeOf(Side side, PieceKind kind) {
    return static_cast<int>(kind) + (side == Side::Local ? 0 : 6);
}

Cells ToCells(const Board& board) {
    Cells cells;
    cells.fill(kEmptyCode);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            cells[16 * y + x] = static_cast<std::int8_t>(board.at(x, y));
    }
    return cells;
}

int FindSq(const Cells& cells, PieceCode code) {
    for (int sq = 0; sq < 128; ++sq) {
        if (!OffBoard(sq) && cells[sq] == code)
            return sq;
    }
    return -1;
}

// Counts the attackers of `target` by looking outward from it: the squares a pawn, knight
// or king of side `by` would have to stand on, and along each ray the first piece met.
int CountAttackers(const Cells& cells, int target, Side by) {
    const PieceCode pawn = CodeOf(by, PieceKind::Pawn);
    const PieceCode knight = CodeOf(by, PieceKind::Knight);
    const PieceCode bishop = CodeOf(by, PieceKind::Bishop);
    const PieceCode rook = CodeOf(by, PieceKind::Rook);
    const PieceCode queen = CodeOf(by, PieceKind::Queen);
    const PieceCode king = CodeOf(by, PieceKind::King);

    int count = 0;
    const auto countAt = [&](int sq, PieceCode a, PieceCode b) {
        if (!OffBoard(sq) && (cells[sq] == a || cells[sq] == b))
            ++count;
    };

    // A local pawn captures upwards, so it attacks from the row below the target; an
    // opponent pawn captures downwards and attacks from the row above.
    const int pawnRow = by == Side::Local ? kDown : kUp;
    countAt(target + pawnRow - 1, pawn, pawn);
    countAt(target + pawnRow + 1, pawn, pawn);

    for (int d : kKnightJumps)
        countAt(target + d, knight, knight);
    for (int d : kKingSteps)
        countAt(target + d, king, king);

    const auto scanRays = [&](std::span<const int> rays, PieceCode slider) {
        for (int d : rays) {
            int sq = target + d;
            while (!OffBoard(sq) && cells[sq] == kEmptyCode)
                sq += d;
            countAt(sq, slider, queen);
        }
    };
    scanRays(kStraightRays, rook);
    scanRays(kDiagonalRays, bishop);
    return count;
}

class Generator {
public:
    explicit Generator(const Cells& cells) : cells_(cells) {}

    std::vector<FromTo> run() {
        for (int sq = 0; sq < 128; ++sq) {
            if (OffBoard(sq) || !IsLocal(cells_[sq]))
                continue;
            switch (KindOf(cells_[sq])) {
            case PieceKind::Pawn:
                pawn(sq);
                break;
            case PieceKind::Knight:
                steps(sq, kKnightJumps);
                break;
            case PieceKind::King:
                steps(sq, kKingSteps);
                break;
            case PieceKind::Bishop:
                slides(sq, kDiagonalRays);
                break;
            case PieceKind::Rook:
                slides(sq, kStraightRays);
                break;
            case PieceKind::Queen:
                slides(sq, kDiagonalRays);
                slides(sq, kStraightRays);
                break;
            case PieceKind::None:
                break;
            }
        }
        std::sort(moves_.begin(), moves_.end());
        return moves_;
    }

private:
    bool empty(int sq) const { return cells_[sq] == kEmptyCode; }
    bool enemy(int sq) const { return IsOpponent(cells_[sq]); }

    void add(int from, int to) { moves_.push_back(FromTo{ToIndex(from), ToIndex(to)}); }

    void pawn(int from) {
        const int one = from + kUp;
        if (!OffBoard(one) && empty(one)) {
            add(from, one);
            const int two = one + kUp;
            if (RowOf(from) == kLocalPawnStartRow && empty(two))
                add(from, two);
        }
        for (int side : {-1, 1}) {
            const int to = from + kUp + side;
            if (!OffBoard(to) && enemy(to))
                add(from, to);
        }
    }

    void steps(int from, std::span<const int> offsets) {
        for (int d : offsets) {
            const int to = from + d;
            if (!OffBoard(to) && (empty(to) || enemy(to)))
                add(from, to);
        }
    }

    void slides(int from, std::span<const int> rays) {
        for (int d : rays) {
            for (int to = from + d; !OffBoard(to); to += d) {
                if (empty(to)) {
                    add(from, to);
                    continue;
                }
                if (enemy(to))
                    add(from, to);
                break;
            }
        }
    }

    const Cells& cells_;
    std::vector<FromTo> moves_;
};

} // namespace

std::vector<FromTo> PseudoLegalMoves(const Board& board) {
    const Cells cells = ToCells(board);
    return Generator(cells).run();
}

std::vector<FromTo> LegalMoves(const Board& board) {
    const KingExposure exposure(board);
    std::vector<FromTo> legal;
    for (const FromTo& m : PseudoLegalMoves(board)) {
        if (!exposure.after(SquareAt(m.from), SquareAt(m.to)))
            legal.push_back(m);
    }
    return legal;
}

int AttackerCount(const Board& board, Square target, Side by) {
    return CountAttackers(ToCells(board), ToSq(target), by);
}

KingExposure::KingExposure(const Board& board)
    : cells_(ToCells(board)), king_(FindSq(cells_, CodeOf(Side::Local, PieceKind::King))) {}

bool KingExposure::after(Square from, Square to) const {
    Cells cells = cells_;
    const int f = ToSq(from);
    const int t = ToSq(to);
    cells[t] = cells[f];
    cells[f] = kEmptyCode;
    const int king = f == king_ ? t : king_;
    return king >= 0 && CountAttackers(cells, king, Side::Opponent) > 0;
}

} // namespace quorin::reference

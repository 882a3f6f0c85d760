// What the comparison with the reference generator cannot show: boards the game never
// reaches while it runs.

#include "rules/movecheck.h"
#include "support/diagram.h"

#include <gtest/gtest.h>

using namespace quorin;
using quorin::test::Diagram;

TEST(MoveCheck, WithoutALocalKingNothingIsAttacked) {
    const Board board =
        Diagram("....r... ........ ........ ........ ........ ........ ....R... ........");
    EXPECT_FALSE(IsKingInCheck(board));
    EXPECT_FALSE(MoveLeavesKingAttacked(board, {3, 6}, {4, 6}));
    EXPECT_TRUE(IsMoveAllowed(board, {3, 6}, {4, 6}, "ru1").allowed);
    // A name of no known kind is refused, silently.
    const MoveVerdict unknown = IsMoveAllowed(board, {3, 6}, {4, 6}, "Dummy");
    EXPECT_FALSE(unknown.allowed);
    EXPECT_TRUE(unknown.refusal.empty());
}

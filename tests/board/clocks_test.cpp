#include "board/boardrenderer.h"
#include "board/clocks.h"
#include "board/jikan.h"
#include "rules/gamestate.h"

#include <gtest/gtest.h>

using namespace quorin;

TEST(Jikan, HoursUnpaddedMinutesAndSecondsTwoDigits) {
    const std::pair<int, const char*> cases[] = {{0, "0h00m00s"},
                                                 {3599, "0h59m59s"},
                                                 {3600, "1h00m00s"},
                                                 {3725, "1h02m05s"},
                                                 {36000, "10h00m00s"}};
    for (const auto& [ticks, text] : cases)
        EXPECT_EQ(Jikan(ticks), text);
}

TEST(Clocks, TheClockOfThePlayerToMoveRunsAndIsDrawnRightOfTheBoard) {
    BoardRenderer renderer(BoardGeometry::ForPieceSize(48, 48), QString());
    renderer.CreateBackBuffer({600, 491});
    const QImage before = renderer.BackBuffer().copy();
    GameState game;
    QRect repainted;
    Clocks clocks(renderer, game, [&] { repainted = renderer.TakeChanges().boundingRect(); });
    clocks.tick();
    EXPECT_EQ(clocks.ClockCounters, (std::array<int, 2>{0, 1}));
    // Both lines stand right of the board, in the area asked to be repainted.
    const int x0 = renderer.geometry().BoardWidth + 75, top = renderer.geometry().BoardHeight - 91;
    EXPECT_TRUE(repainted.contains(QRect(x0, top, 100, 40)));
    EXPECT_NE(renderer.BackBuffer().copy(repainted), before.copy(repainted));
    EXPECT_EQ(renderer.BackBuffer().copy(0, 0, x0, 491), before.copy(0, 0, x0, 491));

    game.MyTurn = false;
    clocks.tick();
    clocks.stop();
    EXPECT_FALSE(clocks.Timer1.isActive());
    EXPECT_EQ(clocks.ClockCounters, (std::array<int, 2>{1, 1}));
    clocks.start();
    EXPECT_EQ(clocks.ClockCounters, (std::array<int, 2>{0, 0}));
    EXPECT_TRUE(clocks.Timer1.isActive());
    EXPECT_EQ(clocks.Timer1.interval(), 1000);
}

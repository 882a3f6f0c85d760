#include "records/savedgame.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace quorin;

// A game read back is the game written; a text that is not a whole game is none.
TEST(SavedGame, ReadsBackWhatItWroteAndNothingDamaged) {
    SavedGame saved{{},   false,   QStringLiteral("遠く.example:8001\n"),
                    true, {65, 7}, u"VURORE_MSG2:0C: 12"};
    saved.game.board.set({4, 4}, 0);
    saved.game.PlayerSide = "後手";
    saved.game.MoveNumber = 12;
    saved.game.KingMoved = true;
    const QByteArray text = WriteSavedGame(saved);
    const std::optional<SavedGame> read = ReadSavedGame(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(WriteSavedGame(*read), text);
    EXPECT_EQ(std::tuple(read->host, read->game.board), std::tuple(saved.host, saved.game.board));
    const std::pair<const char*, const char*> damaged[] = {
        {"game 1", "game 2"},
        {"move=12", "move=0"},
        {"move=12", "move=-3"},
        {"position=", "position=0D,"},
        {"turn=1", "turn=yes"},
        {"clocks=65,7", "clocks=65"},
        {"role=client", "role=client\nrole=server"},
        {"role=client", "colour=white"},
        {"VURORE_MSG2", "VURORE_MSG4"},
        {"\n", "\r\n"},
        {"unanswered", "unanswered=\nx"}};
    for (const auto& [part, instead] : damaged)
        EXPECT_FALSE(ReadSavedGame(QByteArray(text).replace(part, instead))) << instead;
    EXPECT_FALSE(ReadSavedGame(text.left(text.size() / 2)) || ReadSavedGame({}));
}

// Each copy holds a file of its own; a copy that starts takes the newest one nobody holds,
// and passes over what is no game, leaving it there.
TEST(SavedGame, ACopyTakesTheNewestGameNoOtherCopyHolds) {
    QTemporaryDir folder;
    test::Write(folder.filePath("game-0-damaged.quorin"), "Quorin saved game 1\nrole=");
    ASSERT_EQ(mkfifo(QFile::encodeName(folder.filePath("game-1-pipe.quorin")).constData(), 0600),
              0);
    auto first = std::make_unique<SavedGameFile>(folder.path());
    SavedGameFile second(folder.path());
    SavedGame game;
    game.game.MoveNumber = 12;
    ASSERT_TRUE(first->Save(game));
    game.game.MoveNumber = 13;
    ASSERT_TRUE(second.Save(game) && first->path() != second.path());
    EXPECT_FALSE(SavedGameFile(folder.path()).TakeNewest()); // both are held
    const QString firstPath = first->path(), secondPath = second.path();
    first.reset(); // that copy has ended
    SavedGameFile third(folder.path());
    const std::optional<SavedGame> taken = third.TakeNewest();
    ASSERT_TRUE(taken);
    EXPECT_EQ(std::pair(third.path(), taken->game.MoveNumber), std::pair(firstPath, 12));
    second.Remove();
    EXPECT_FALSE(QFile::exists(secondPath));
    EXPECT_EQ(QDir(folder.path()).entryList({"game-*.quorin"}, QDir::Files | QDir::System).size(),
              3);
}

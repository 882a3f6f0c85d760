#include "records/savedgame.h"
#include "rules/position.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace quorin;

namespace {

SavedGame Sample() {
    SavedGame saved;
    saved.game.board.set({4, 4}, 0);
    saved.game.PlayerSide = "後手";
    saved.game.MoveNumber = 12;
    saved.game.MyTurn = false;
    saved.game.KingMoved = true;
    saved.game.LastReceivedNumber = 11;
    saved.host = QStringLiteral("遠く.example:8001\n");
    saved.secondPictures = true;
    saved.clocks = {65, 7};
    saved.unansweredMove = u"VURORE_MSG2:0C: 12";
    return saved;
}

} // namespace

// A game read back is the game written; any text that is not a whole game is none.
TEST(SavedGame, ReadsBackWhatItWroteAndNothingDamaged) {
    const QByteArray text = WriteSavedGame(Sample());
    const std::optional<SavedGame> read = ReadSavedGame(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(WriteSavedGame(*read), text);
    EXPECT_EQ(std::tuple(read->host, read->game.board, read->unansweredMove),
              std::tuple(Sample().host, Sample().game.board, Sample().unansweredMove));
    const QByteArray damaged[] = {
        {},
        text.left(text.size() / 2),
        QByteArray(text).replace("game 1", "game 2"),
        QByteArray(text).replace("move=12", "move=0"),
        QByteArray(text).replace("move=12", "move=-3"),
        QByteArray(text).replace("position=", "position=0D,"),
        QByteArray(text).replace("turn=0", "turn=yes"),
        QByteArray(text).replace("clocks=65,7", "clocks=65"),
        QByteArray(text).replace("role=client", "role=client\nrole=server"),
        QByteArray(text).replace("role=client", "colour=white"),
        QByteArray(text).replace("VURORE_MSG2", "VURORE_MSG4"),
        text + "extra=1\n",
        QByteArray(text).replace('\n', "\r\n"),
    };
    for (const QByteArray& bad : damaged)
        EXPECT_FALSE(ReadSavedGame(bad)) << bad.toStdString();
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
    SavedGame game = Sample();
    ASSERT_TRUE(first->Save(game));
    game.game.MoveNumber = 13;
    ASSERT_TRUE(second.Save(game));
    EXPECT_NE(first->path(), second.path());
    EXPECT_FALSE(SavedGameFile(folder.path()).TakeNewest()); // both are held
    const QString firstPath = first->path();
    first.reset(); // that copy has ended
    SavedGameFile third(folder.path());
    const std::optional<SavedGame> taken = third.TakeNewest();
    ASSERT_TRUE(taken);
    EXPECT_EQ(std::pair(third.path(), taken->game.MoveNumber), std::pair(firstPath, 12));
    const QString secondPath = second.path();
    second.Remove();
    EXPECT_FALSE(QFile::exists(secondPath));
    EXPECT_EQ(QDir(folder.path()).entryList({"game-*.quorin"}, QDir::Files | QDir::System).size(),
              3);
}

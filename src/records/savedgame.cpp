#include "savedgame.h"

#include "regularfile.h"
#include "rules/position.h"
#include "wholefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QUrl>

namespace quorin {
namespace {

constexpr const char* kFirstLine = "Quorin saved game 1";
// Where the games are and what they are called: one file for each game side.
const QString kPattern = QStringLiteral("game-*.quorin");
// A saved game is a few hundred bytes; anything much larger is not one.
constexpr qint64 kMaxBytes = 16 * 1024;
constexpr int kMaxNumber = 1000000;

QByteArray Flag(bool on) {
    return on ? "1" : "0";
}

std::optional<int> Number(const QByteArray& text, int most) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > most || QByteArray::number(value) != text)
        return std::nullopt;
    return value;
}

std::optional<bool> FlagOf(const QByteArray& text) {
    if (text != "0" && text != "1")
        return std::nullopt;
    return text == "1";
}

} // namespace

QByteArray WriteSavedGame(const SavedGame& s) {
    const GameState& g = s.game;
    const auto side = g.PlayerSide == kFirstPlayer    ? "first"
                      : g.PlayerSide == kSecondPlayer ? "second"
                                                      : "none";
    QByteArray text = QByteArray(kFirstLine) + '\n';
    const auto put = [&](const char* key, const QByteArray& value) {
        text += key + QByteArray("=") + value + '\n';
    };
    put("role", s.server ? "server" : "client");
    put("host", QUrl::toPercentEncoding(s.host));
    put("position", QByteArray::fromStdString(WritePosition(g.board)));
    put("side", side);
    put("move", QByteArray::number(g.MoveNumber));
    put("turn", Flag(g.MyTurn));
    put("castling", Flag(g.KingMoved) + Flag(g.LeftRookMoved) + Flag(g.RightRookMoved) +
                        Flag(g.CastlingOff) + Flag(g.CastlingRedrawDone));
    put("received", QByteArray::number(g.LastReceivedNumber) + ':' +
                        QByteArray::fromStdString(WritePosition(g.LastReceived)));
    put("pictures", s.secondPictures ? "second" : "first");
    put("clocks", QByteArray::number(s.clocks[0]) + ',' + QByteArray::number(s.clocks[1]));
    QByteArray unanswered;
    for (const char16_t unit : s.unansweredMove)
        unanswered += char(unit);
    put("unanswered", unanswered);
    return text;
}

std::optional<SavedGame> ReadSavedGame(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 2 || lines.takeFirst() != kFirstLine || !lines.takeLast().isEmpty())
        return std::nullopt;
    QMap<QByteArray, QByteArray> values;
    for (const QByteArray& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0 || values.contains(line.left(equals)))
            return std::nullopt;
        values.insert(line.left(equals), line.mid(equals + 1));
    }
    // Every key once, no other: in the map's order.
    if (values.keys() != QList<QByteArray>{"castling", "clocks", "host", "move", "pictures",
                                           "position", "received", "role", "side", "turn",
                                           "unanswered"})
        return std::nullopt;

    SavedGame s;
    GameState& g = s.game;
    const QByteArray role = values["role"], side = values["side"], pictures = values["pictures"];
    const auto board = ReadPosition(values["position"].toStdString());
    const auto move = Number(values["move"], kMaxNumber);
    const auto turn = FlagOf(values["turn"]);
    const QByteArray castling = values["castling"];
    const QList<QByteArray> received = values["received"].split(':');
    const QList<QByteArray> clocks = values["clocks"].split(',');
    const QByteArray unanswered = values["unanswered"];
    if ((role != "server" && role != "client") || !board || !move || *move == 0 || !turn ||
        (side != "first" && side != "second" && side != "none") ||
        (pictures != "first" && pictures != "second") || castling.size() != 5 ||
        castling.count('0') + castling.count('1') != 5 || received.size() != 2 ||
        clocks.size() != 2 || unanswered.size() > 300 ||
        (!unanswered.isEmpty() && !unanswered.startsWith("VURORE_MSG2:")))
        return std::nullopt;
    const auto lastNumber = Number(received[0], kMaxNumber);
    const auto last = ReadPosition(received[1].toStdString());
    const auto opponentClock = Number(clocks[0], kMaxNumber),
               ownClock = Number(clocks[1], kMaxNumber);
    if (!lastNumber || !last || !opponentClock || !ownClock)
        return std::nullopt;
    for (const char c : unanswered) {
        if (c < 0x20 || c > 0x7E)
            return std::nullopt;
    }
    s.server = role == "server";
    s.host = QUrl::fromPercentEncoding(values["host"]);
    g.board = *board;
    g.PositionString = WritePosition(*board);
    g.PlayerSide = side == "first"    ? std::string(kFirstPlayer)
                   : side == "second" ? std::string(kSecondPlayer)
                                      : std::string();
    g.MoveNumber = *move;
    g.MyTurn = *turn;
    g.KingMoved = castling[0] == '1';
    g.LeftRookMoved = castling[1] == '1';
    g.RightRookMoved = castling[2] == '1';
    g.CastlingOff = castling[3] == '1';
    g.CastlingRedrawDone = castling[4] == '1';
    g.LastReceivedNumber = *lastNumber;
    g.LastReceived = *last;
    s.secondPictures = pictures == "second";
    s.clocks = {*opponentClock, *ownClock};
    s.unansweredMove.assign(unanswered.begin(), unanswered.end());
    return s;
}

SavedGameFile::~SavedGameFile() = default;

bool SavedGameFile::Hold(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // Held for as long as the copy runs: only a copy that is gone gives it up.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);
    path_ = path;
    return true;
}

std::optional<SavedGame> SavedGameFile::TakeNewest() {
    const QFileInfoList files = QDir(folder_).entryInfoList({kPattern}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {
        if (!Hold(file.filePath()))
            continue;
        QByteArray text;
        const QString failure = ReadRegularFile(file.filePath(), kMaxBytes, QStringLiteral("-"),
                                                [&](QByteArrayView piece) {
                                                    text += piece;
                                                    return true;
                                                });
        if (failure.isEmpty())
            if (std::optional<SavedGame> saved = ReadSavedGame(text))
                return saved;
        // Not a game: left where it is, for no one.
        lock_.reset();
        path_.clear();
    }
    return std::nullopt;
}

bool SavedGameFile::Save(const SavedGame& saved) {
    // A name no other game has: the time, this copy, and a count for games begun at once.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int n = 0; path_.isEmpty() && n < 100 && QDir().mkpath(folder_); ++n) {
        const QString path = QDir(folder_).filePath(QStringLiteral("game-%1-%2-%3.quorin")
                                                        .arg(now)
                                                        .arg(QCoreApplication::applicationPid())
                                                        .arg(n));
        if (!QFileInfo::exists(path))
            Hold(path);
    }
    if (path_.isEmpty())
        return false;
    return WriteWholeFile(path_, WriteSavedGame(saved)).isEmpty();
}

void SavedGameFile::Remove() {
    if (path_.isEmpty())
        return;
    QFile::remove(path_);
    lock_.reset();
    path_.clear();
}

} // namespace quorin

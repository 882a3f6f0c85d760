#pragma once

#include <QString>

#include <optional>

#include <string>
#include <string_view>

namespace quorin {

struct GameState;
class Board;

// What the move exchange needs from the rest of the program: the connection, the board
// window, the clocks, the record and the boxes.
class MoveExchangeHost {
public:
    virtual ~MoveExchangeHost() = default;
    virtual bool connected() const = 0;
    virtual void sendData(std::u16string_view message) = 0;
    virtual void clearAwaitingAck() = 0;
    virtual void startClocks() = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual void setCastlingMenuEnabled(bool enabled) = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual void banStart() = 0;
    // Draws the local player's pieces with the second picture set (the one the other
    // side's pieces have at the start) or the first, redrawing the board when that changes.
    virtual void useSecondPictures(bool second) = 0;
    virtual void playMoveSound() = 0;
    virtual void alertWindow() = 0;
    // Appends one line to the game record while recording is on; answers why it could not,
    // or an empty text.
    virtual QString recordLine(const std::string& line) = 0;
    // Tells the player that the record could not be written, once the move is taken over.
    virtual void reportRecordFailure(const QString& failure) = 0;
    // The local king is attacked: "チェック！".
    virtual void announceCheck() = 0;
    // The move taken over does not follow by the rules from the position before.
    virtual void warnIllegalMove(int moveNumber) = 0;
    // The game as it stands is to be kept, before a move goes to the peer.
    virtual void keepGame() = 0;
    // The words of a move, said with the turn text that follows it.
    virtual void announceMove(const QString& words) = 0;
};

// Passing moves between the two copies. A move sends the whole board, turned half a turn
// with the sides exchanged, so the receiver takes it over unchanged; whoever sends move 1
// is "先手", whoever receives it "後手". Sending passes the turn; receiving takes it.
// The picture sets follow the side: "後手" draws its own pieces with the second set,
// "先手" with the first, in every game of a run.
class MoveExchange {
public:
    MoveExchange(GameState& game, MoveExchangeHost& host) : game_(game), host_(host) {}

    // After a local move (or castling) has been made on the board.
    void SendMove();
    // A move received from the peer: a valid position text and its move number. The move
    // taken last, sent once more after a lost link, changes nothing. The next move of the
    // game is checked against the rules; one that breaks them is still taken, and said.
    void ReceiveMove(const std::string& position, int moveNumber);

    // The last move sent while no move has come after it: sent again when a lost link is
    // resumed (the peer takes it once, whether it had it or not).
    std::u16string LastSent;

    // "Quorin：あなた=" + side + ":第 N手".
    static QString Title(const std::string& side, int moveNumber);

private:
    // The words of the peer's move that leads to `received`, when one does.
    std::optional<std::string> PeersMoveWords(const Board& received, int moveNumber) const;

    GameState& game_;
    MoveExchangeHost& host_;
};

} // namespace quorin

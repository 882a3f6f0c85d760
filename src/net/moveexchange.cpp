#include "moveexchange.h"

#include "messages.h"
#include "rules/gamestate.h"
#include "rules/movecheck.h"
#include "rules/movewords.h"
#include "rules/position.h"
#include "rules/receivedmove.h"

#include <vector>

namespace quorin {

QString MoveExchange::Title(const std::string& side, int moveNumber) {
    return QStringLiteral("Quorin：あなた=%1:第 %2手")
        .arg(QString::fromStdString(side))
        .arg(moveNumber);
}

void MoveExchange::SendMove() {
    const std::string field = WritePositionForPeer(game_.board);
    ++game_.MoveNumber;
    const std::u16string message = MoveMessage(field, game_.MoveNumber);
    if (game_.MoveNumber == 1)
        game_.PlayerSide = std::string(kFirstPlayer);
    if (host_.connected()) {
        game_.MyTurn = false;
        // Kept before it goes: a copy ended at any moment after the send can send it again.
        LastSent = message;
        host_.keepGame();
        host_.sendData(message);
        if (game_.MoveNumber == 1)
            host_.startClocks();
        host_.setStatusText(QStringLiteral("相手は考え中"));
        host_.setCastlingMenuEnabled(false);
    } else {
        // Without a peer nobody answers: the same player moves again.
        host_.clearAwaitingAck();
    }
    if (game_.MoveNumber == 1)
        host_.useSecondPictures(false);
    host_.setTitle(Title(game_.PlayerSide, game_.MoveNumber));

    const std::string local = WritePosition(game_.board);
    if (game_.CastlingOff && !game_.CastlingRedrawDone) {
        // The one full redraw after castling: the board picture follows the castled board.
        game_.CastlingRedrawDone = true;
        game_.PositionString = local;
        host_.banStart();
    }
    const QString failure = host_.recordLine(local);
    if (!failure.isEmpty())
        host_.reportRecordFailure(failure);
}

std::optional<std::string> MoveExchange::PeersMoveWords(const Board& received,
                                                        int moveNumber) const {
    // Move 1 starts from the first player's start position; the peer made it, as White.
    const Board before = moveNumber == 1 ? Turned(*ReadPosition(InitialPosition)) : game_.board;
    // The peer plays White against "後手", Black against "先手"; unknown, either.
    std::vector<Colour> colours{Colour::White, Colour::Black};
    if (moveNumber == 1 || game_.PlayerSide == kSecondPlayer)
        colours = {Colour::White};
    else if (game_.PlayerSide == kFirstPlayer)
        colours = {Colour::Black};
    for (const Colour peer : colours) {
        if (const std::optional<PlayerMove> move = PeerMove(before, received, peer))
            return MoveWords("相手", Turned(before), *move, peer);
    }
    return std::nullopt;
}

void MoveExchange::ReceiveMove(const std::string& position, int moveNumber) {
    const Board received = *ReadPosition(position);
    if ((moveNumber == game_.MoveNumber && received == game_.board) ||
        (moveNumber == game_.LastReceivedNumber && received == game_.LastReceived))
        return;
    LastSent.clear(); // a move came after it: it has arrived
    const std::optional<std::string> words = PeersMoveWords(received, moveNumber);
    const bool follows = moveNumber != game_.MoveNumber + 1 || words;
    host_.announceMove(
        QString::fromStdString(words.value_or("相手：第 " + std::to_string(moveNumber) + "手")));
    game_.LastReceivedNumber = moveNumber;
    game_.LastReceived = received;
    game_.PositionString = position;
    game_.MoveNumber = moveNumber;
    if (moveNumber == 1) {
        game_.PlayerSide = std::string(kSecondPlayer);
        host_.useSecondPictures(true);
    }
    host_.setTitle(Title(game_.PlayerSide, game_.MoveNumber));
    host_.banStart();
    host_.playMoveSound();
    if (moveNumber == 1)
        host_.startClocks();
    host_.alertWindow();
    game_.MyTurn = true;
    const QString failure = host_.recordLine(position);
    host_.setStatusText(QStringLiteral("あなたの番"));
    if (!game_.CastlingOff)
        host_.setCastlingMenuEnabled(true);
    if (!follows)
        host_.warnIllegalMove(moveNumber);
    if (IsKingInCheck(game_.board))
        host_.announceCheck();
    // Reported only now, so the move is wholly taken over before any box opens.
    if (!failure.isEmpty())
        host_.reportRecordFailure(failure);
}

} // namespace quorin

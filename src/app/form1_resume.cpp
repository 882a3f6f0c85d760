// The main window's side of a game that survives: resuming after a lost link with
// "再接続(&R)", and the game kept between runs of the program.

#include "form1.h"

#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "board/clocks.h"
#include "net/connection.h"
#include "net/serveraddress.h"
#include "records/savedgame.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace quorin {

void Form1::RestoreGame() {
    savedGame_ = std::make_unique<SavedGameFile>(env_.savedGameFolder());
    const std::optional<SavedGame> saved = savedGame_->TakeNewest();
    if (!saved)
        return;
    game_ = saved->game;
    renderer_->UsePictureSet(saved->secondPictures ? BoardRenderer::PictureSet::Second
                                                   : BoardRenderer::PictureSet::First);
    // The clocks stand still at their readings until the game is resumed.
    clocks_->stop();
    clocks_->ClockCounters = saved->clocks;
    exchange_->LastSent = saved->unansweredMove;
    wasServer_ = saved->server;
    HostText = saved->host;
    connectedInGame_ = true;
    restored_ = true;
    setWindowTitle(MoveExchange::Title(game_.PlayerSide, game_.MoveNumber));
    Text2->setText(QStringLiteral("前回の対局を再開できます（第 %1手）。").arg(game_.MoveNumber));
    UpdateResumeItem();
}

void Form1::SaveGame() {
    UpdateResumeItem();
    if (game_.MoveNumber == 0 || !connectedInGame_ || !savedGame_)
        return;
    SavedGame saved{game_,
                    wasServer_,
                    HostText,
                    game_.PlayerSide == kSecondPlayer,
                    clocks_->ClockCounters,
                    exchange_->LastSent};
    savedGame_->Save(saved);
}

void Form1::ForgetGame() {
    if (restored_) {
        // A new game instead of the one kept from the last run: the program as it starts.
        restored_ = false;
        game_ = GameState();
        renderer_->UsePictureSet(BoardRenderer::PictureSet::First);
        clocks_->ClockCounters = {0, 0};
        setWindowTitle(QStringLiteral("Quorin"));
        BanStart();
        board_->ShowChanges();
    }
    if (savedGame_)
        savedGame_->Remove();
    exchange_->LastSent.clear();
    game_.LastReceivedNumber = 0;
    connectedInGame_ = connection_->Connected();
    resuming_ = false;
    UpdateResumeItem();
}

void Form1::UpdateResumeItem() {
    const bool idle = !connection_->Connected() && !connection_->Listening() &&
                      !connection_->HasPeerSocket() && !connection_->Looking();
    menu_.mnuResume->setEnabled(idle && !resuming_ && connectedInGame_ && game_.MoveNumber > 0);
}

void Form1::mnuResume_Click() {
    if (!menu_.mnuResume->isEnabled())
        return;
    // The address first: a client's that no longer reads as one tries nothing.
    const ServerAddress server = ParseServerAddress(HostText, env_.port);
    if (!wasServer_ && !server.failure.isEmpty()) {
        Text2->setText(server.failure);
        return;
    }
    menu_.mnuServer->setEnabled(false);
    menu_.mnuClient->setEnabled(false);
    menu_.mnuClose->setEnabled(true);
    // Castling is offered as the game left it.
    menu_.nmuCastling->menuAction()->setEnabled(!game_.CastlingOff && game_.MyTurn);
    menu_.nmuCastlingLeft->setEnabled(!game_.LeftRookMoved);
    menu_.nmuCastlingRight->setEnabled(!game_.RightRookMoved);
    resuming_ = true;
    UpdateResumeItem();
    if (wasServer_) {
        SetSERVER(false);
        UpdateListening();
    } else {
        connection_->ConnectTo(server.host, server.port);
    }
}

void Form1::FinishResume() {
    connectedInGame_ = true;
    UpdateResumeItem();
    if (!resuming_)
        return;
    resuming_ = false;
    restored_ = false;
    Text2->setText(QStringLiteral("対局を再開しました（第 %1手）。").arg(game_.MoveNumber));
    clocks_->resume();
    // The last move may never have arrived: it goes again, and waits for its answer.
    if (!exchange_->LastSent.empty()) {
        connection_->AwaitingAck = true;
        Command5->setEnabled(false);
        connection_->SendData(exchange_->LastSent);
    }
    SaveGame();
}

} // namespace quorin

// The main window's side of playing: castling from the menu, what a move made with the
// mouse asks of the window, chat, ready-made messages, strength class and resignation.

#include "form1.h"

#include "board/boardwidget.h"
#include "board/clocks.h"
#include "net/connection.h"
#include "net/messages.h"
#include "net/presets.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace quorin {
namespace {

std::u16string Utf16(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toStdU16String();
}

} // namespace

void Form1::connectPlay() {
    connect(menu_.nmuCastlingRight, &QAction::triggered, this, &Form1::nmuCastlingRight_Click);
    connect(menu_.nmuCastlingLeft, &QAction::triggered, this, &Form1::nmuCastlingLeft_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(menu_.mnuToryou, &QAction::triggered, this, &Form1::mnuToryou_Click);
    for (int i = 0; i < menu_.mnuAis.size(); ++i)
        connect(menu_.mnuAis[i], &QAction::triggered, this, [this, i] { mnuAis_Click(i); });
    for (int i = 0; i < menu_.mnuCom.size(); ++i)
        connect(menu_.mnuCom[i], &QAction::triggered, this, [this, i] { mnuCom_Click(i); });
    for (int i = 0; i < menu_.mnuKaomoji.size(); ++i)
        connect(menu_.mnuKaomoji[i], &QAction::triggered, this, [this, i] { mnuKaomoji_Click(i); });
    for (int i = 0; i < menu_.mnuSrtrong.size(); ++i) {
        QAction* item = menu_.mnuSrtrong[i];
        connect(item, &QAction::triggered, this, [this, i, item] {
            // A checked item is checkable, and the menu has already taken its mark away;
            // the command decides the mark.
            if (item->isCheckable())
                MainMenu::SetMark(item, !item->isChecked());
            mnuSrtrong_Click(i);
        });
    }
}

void Form1::nmuCastlingRight_Click() {
    castle(CastlingSide::Right);
}
void Form1::nmuCastlingLeft_Click() {
    castle(CastlingSide::Left);
}

void Form1::castle(CastlingSide side) {
    moveInput_->ClearSelection(); // the turn passes, or a box says why not
    const Board before = game_.board;
    const std::string_view refusal = Castle(game_, side);
    if (!refusal.empty()) {
        showMessage(QString::fromUtf8(refusal.data(), qsizetype(refusal.size())));
        return;
    }
    beginMove();
    AnnounceOwnMove(before);
    exchange_->SendMove();
    AnnouncePending();
    connection_->SendData(kCastlingNotice);
    menu_.nmuCastling->menuAction()->setEnabled(false);
    board_->ShowChanges();
}

void Form1::Command5_Click() {
    const QString text = Text2->text();
    if (connection_->AwaitingAck)
        return;
    connection_->AwaitingAck = true;
    Command5->setEnabled(false);
    if (connection_->Connected())
        connection_->SendData(ChatMessage(text.toStdU16String()));
}

void Form1::mnuAis_Click(int index) {
    connection_->SendData(PresetMessage(Utf16(kGreetings.at(std::size_t(index)))));
}

void Form1::mnuCom_Click(int index) {
    connection_->SendData(PresetMessage(Utf16(kComments.at(std::size_t(index)))));
}

void Form1::mnuKaomoji_Click(int index) {
    connection_->SendData(PresetMessage(Utf16(kEmoticons.at(std::size_t(index)))));
}

void Form1::mnuSrtrong_Click(int index) {
    QAction* chosen = menu_.mnuSrtrong.at(index);
    if (chosen->isChecked())
        return;
    MainMenu::SetMark(chosen, true);
    for (int i = 0; i < menu_.mnuSrtrong.size(); ++i) {
        if (i != index)
            menu_.mnuSrtrong[i]->setEnabled(false);
    }
    strengthResetCount_ = 5;
    connection_->SendData(StrengthMessage(Utf16(kStrengthClasses.at(std::size_t(index)))));
}

void Form1::mnuToryou_Click() {
    connection_->SendData(kResignation);
    Text2->setText(QStringLiteral("あなたの負けです。"));
    Announce(Text2->text());
    clocks_->stop();
}

bool Form1::awaitingAck() const {
    return connection_->AwaitingAck;
}

void Form1::beginMove() {
    beforeOwnMove_ = game_.board;
    connection_->AwaitingAck = true;
    Command5->setEnabled(false);
}

void Form1::updateCastlingAvailability(std::string_view piece, Square from) {
    const CastlingMenuChange change = UpdateCastlingAvailability(game_, piece, from);
    if (change.left)
        menu_.nmuCastlingLeft->setEnabled(false);
    if (change.right)
        menu_.nmuCastlingRight->setEnabled(false);
    if (change.castling)
        menu_.nmuCastling->menuAction()->setEnabled(false);
}

void Form1::notifyPromotion() {
    if (connection_->Connected())
        connection_->SendData(kPromotionNotice);
}

void Form1::sendMove() {
    AnnounceOwnMove(beforeOwnMove_);
    exchange_->SendMove();
    AnnouncePending();
}

void Form1::announceWin() {
    connection_->SendData(kKingTaken);
    Text2->setText(QStringLiteral("あなたの勝ちです。"));
    Announce(Text2->text());
    clocks_->stop();
}

} // namespace quorin

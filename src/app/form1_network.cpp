// The main window's side of network play: the connection menus, what the connection
// reports, the received messages, and what the move exchange asks of the window.

#include "form1.h"

#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "board/clocks.h"
#include "net/addresslist.h"
#include "net/addresstext.h"
#include "net/connection.h"
#include "net/serveraddress.h"
#include "net/serverfinder.h"
#include "net/socketerrortext.h"
#include "records/savename.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>

namespace quorin {
namespace {

QString FromUtf16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// Marks an entry of the address box as found on the network, not read from the file.
constexpr int kFoundRole = Qt::UserRole;

// Changes the entries of the editable box `box` through `change` and keeps the text the
// player typed or chose: the box takes an entry's text when an entry becomes its first or
// its current one goes.
void KeepingText(QComboBox* box, const std::function<void()>& change) {
    QLineEdit* edit = box->lineEdit();
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    change();
    if (edit->text() == text)
        return;
    box->setCurrentIndex(-1);
    edit->setText(text);
    edit->setCursorPosition(cursor);
}

} // namespace

void Form1::connectNetwork() {
    Connection* c = connection_.get();
    connect(c, &Connection::accepted, this, &Form1::onAccepted);
    connect(c, &Connection::acceptFailed, this, [this](int code) {
        finder_->stopAnnouncing();
        UpdateListening();
        showMessage(QString::fromStdString(SocketErrorText(code)));
    });
    connect(c, &Connection::connectedToServer, this, &Form1::onConnected);
    connect(c, &Connection::connectFailed, this, &Form1::onConnectFailed);
    connect(c, &Connection::closedByPeer, this, &Form1::onClosedByPeer);
    connect(c, &Connection::acknowledged, this, &Form1::onAcknowledged);
    connect(c, &Connection::received, this, &Form1::MsgDispatch);
    c->setNextMoveNumber([this] { return game_.MoveNumber + 1; });
    connect(finder_.get(), &ServerFinder::found, this, &Form1::onServerFound);
    connect(finder_.get(), &ServerFinder::lost, this, &Form1::onServerLost);
}

void Form1::ComboFile() {
    const QStringList entries = ReadAddressList(env_.addressListFolder());
    Combo1->clear();
    Combo1->addItems(entries);
    Combo1->setEditText(entries.isEmpty() ? QString() : entries.first());
}

void Form1::onServerFound(const QString& address, const QString& name) {
    // The name is the peer's text: shown as written, never as markup.
    const QString tip = name.isEmpty() ? QString() : Qt::convertFromPlainText(name);
    const int listed = Combo1->findText(address, Qt::MatchExactly);
    if (listed >= 0) {
        // An address already listed stays as it is; a found one takes its server's new name.
        if (Combo1->itemData(listed, kFoundRole).toBool())
            Combo1->setItemData(listed, tip, Qt::ToolTipRole);
        return;
    }
    KeepingText(Combo1, [&] {
        Combo1->insertItem(0, address);
        Combo1->setItemData(0, true, kFoundRole);
        Combo1->setItemData(0, tip, Qt::ToolTipRole);
    });
}

void Form1::onServerLost(const QString& address) {
    const int listed = Combo1->findText(address, Qt::MatchExactly);
    if (listed >= 0 && Combo1->itemData(listed, kFoundRole).toBool())
        KeepingText(Combo1, [&] { Combo1->removeItem(listed); });
}

void Form1::mnuServer_Click() {
    ForgetGame();
    menu_.mnuServer->setEnabled(false);
    menu_.mnuClient->setEnabled(false);
    menu_.mnuClose->setEnabled(true);
    SetSERVER();
    UpdateListening();
    game_.MoveNumber = 0;
    game_.MyTurn = true;
    menu_.nmuCastling->menuAction()->setEnabled(true);
    menu_.nmuCastlingLeft->setEnabled(true);
    menu_.nmuCastlingRight->setEnabled(true);
}

void Form1::SetSERVER(bool newGame) {
    LocalAddressText = QString::fromStdString(GetMyLocalIPString(GetMyLocalIPAddress()));
    HostText = LocalAddressText;
    Text1->setText(LocalAddressText);
    int errorCode = 0;
    switch (connection_->SetSERVER(errorCode)) {
    case Connection::ListenResult::Listening:
        Text2->setText(QStringLiteral("クライアント待受"));
        if (newGame) {
            game_.MoveNumber = 0;
            game_.ResetCastling();
        }
        finder_->startAnnouncing();
        break;
    case Connection::ListenResult::SocketFailed:
        Text2->setText(QStringLiteral("リスンソケット作成失敗"));
        break;
    case Connection::ListenResult::BindFailed:
        showMessage(QString::fromStdString(SocketErrorText(errorCode)));
        Text2->setText(QStringLiteral("BINDできません。"));
        break;
    case Connection::ListenResult::ListenFailed:
        Text2->setText(QStringLiteral("リスン失敗"));
        break;
    }
}

void Form1::mnuClient_Click() {
    // "host:port" connects to that port; a port that cannot be one is said, and nothing
    // is tried.
    const ServerAddress server = ParseServerAddress(Combo1->currentText(), env_.port);
    if (!server.failure.isEmpty()) {
        Text2->setText(server.failure);
        return;
    }
    ForgetGame();
    menu_.mnuServer->setEnabled(false);
    menu_.mnuClient->setEnabled(false);
    menu_.mnuClose->setEnabled(true);
    menu_.nmuCastling->menuAction()->setEnabled(true);
    menu_.nmuCastlingLeft->setEnabled(true);
    menu_.nmuCastlingRight->setEnabled(true);
    HostText = Combo1->currentText();
    connection_->ConnectTo(server.host, server.port);
    game_.MoveNumber = 0;
    game_.ResetCastling();
    game_.MyTurn = true;
}

void Form1::mnuClose_Click() {
    menu_.mnuServer->setEnabled(true);
    menu_.mnuClient->setEnabled(true);
    menu_.mnuClose->setEnabled(false);
    Command5->setEnabled(false);
    menu_.mnuM->menuAction()->setEnabled(false);
    menu_.mnuTEnd->menuAction()->setEnabled(false);
    // Closing also forgets a missing acknowledgement, so the next game does not start stuck.
    connection_->CloseAll();
    finder_->stopAnnouncing();
    UpdateListening();
    Text1->setText(QStringLiteral("切断しました"));
    Text2->clear();
    clocks_->stop();
    resuming_ = false;
    UpdateResumeItem();
}

void Form1::onAccepted(const QString& peerAddressText) {
    finder_->stopAnnouncing();
    UpdateListening();
    recordFailureReported_ = false;
    Text2->setText(peerAddressText + QStringLiteral("が接続してきました。"));
    EnableConnectedMenus();
    wasServer_ = true;
    FinishResume();
}

void Form1::onConnected() {
    recordFailureReported_ = false;
    Text2->setText(QStringLiteral("サーバーと接続が完了しました。"));
    EnableConnectedMenus();
    wasServer_ = false;
    FinishResume();
}

void Form1::onConnectFailed(int errorCode) {
    // The attempt is over: say why and offer both ways to connect again.
    showMessage(QString::fromStdString(SocketErrorText(errorCode)));
    menu_.mnuServer->setEnabled(true);
    menu_.mnuClient->setEnabled(true);
    menu_.mnuClose->setEnabled(false);
    resuming_ = false;
    UpdateResumeItem();
}

void Form1::onClosedByPeer() {
    Text2->setText(QStringLiteral("CLOSE"));
    Command5->setEnabled(false);
    menu_.mnuServer->setEnabled(true);
    menu_.mnuClient->setEnabled(true);
    menu_.mnuClose->setEnabled(false);
    menu_.mnuStrong->menuAction()->setEnabled(true);
    menu_.mnuM->menuAction()->setEnabled(false);
    menu_.mnuTEnd->menuAction()->setEnabled(false);
    clocks_->stop();
    UpdateResumeItem();
}

void Form1::onAcknowledged() {
    Command5->setEnabled(true);
}

void Form1::MsgDispatch(const MessageAction& action) {
    switch (action.type) {
    case MessageAction::Type::Ignore:
    case MessageAction::Type::Acknowledgement:
        break;
    case MessageAction::Type::ApplyMove:
        exchange_->ReceiveMove(action.position, action.moveNumber);
        SaveGame();
        break;
    case MessageAction::Type::ShowText:
        Text2->setText(FromUtf16(action.text));
        Announce(Text2->text());
        break;
    case MessageAction::Type::EndGame:
        Text2->setText(FromUtf16(action.text));
        Announce(Text2->text());
        clocks_->stop();
        break;
    case MessageAction::Type::ShowNotice:
        showOnce(noticeBox_, FromUtf16(action.text));
        break;
    }
    board_->ShowChanges();
}

void Form1::mnuVSave_Click() {
    MainMenu::SetMark(menu_.mnuVSave, true);
    menu_.mnuVSave->setEnabled(false);
    const QString failure = record_.SwitchOn();
    if (!failure.isEmpty())
        showMessage(failure);
}

void Form1::mnuSave_Click() {
    const QString answer = env_.askText(this, SaveAsPrompt());
    const QString failure =
        record_.SaveAs(answer, env_.savedRecordFolder(answer),
                       [this](const QString& question) { return env_.askYesNo(this, question); });
    if (!failure.isEmpty())
        showMessage(failure);
}

QWidget* Form1::openBox(const QString& text) {
    moveInput_->CancelDrag();
    Announce(text);
    return env_.showMessage(this, text);
}

void Form1::showOnce(QPointer<QWidget>& open, const QString& text) {
    if (!open)
        open = openBox(text);
}

void Form1::showMessage(const QString& text) {
    openBox(text);
}

void Form1::announceCheck() {
    showOnce(checkBox_, QStringLiteral("チェック！"));
}

void Form1::warnIllegalMove(int moveNumber) {
    Text2->setText(QStringLiteral("注意：相手の手は規則に合いません（第 %1手）。").arg(moveNumber));
    Announce(Text2->text());
}

bool Form1::connected() const {
    return connection_->Connected();
}
void Form1::sendData(std::u16string_view message) {
    connection_->SendData(message);
}
void Form1::clearAwaitingAck() {
    connection_->AwaitingAck = false;
}
void Form1::startClocks() {
    clocks_->start();
}
void Form1::setStatusText(const QString& text) {
    Text1->setText(text);
    // The turn passes with a move: both are said together.
    Announce(pendingWords_.isEmpty() ? text
                                     : std::exchange(pendingWords_, QString()) + "。" + text);
}
void Form1::setCastlingMenuEnabled(bool enabled) {
    menu_.nmuCastling->menuAction()->setEnabled(enabled);
}
void Form1::setTitle(const QString& title) {
    setWindowTitle(title);
}
void Form1::banStart() {
    BanStart();
}
void Form1::useSecondPictures(bool second) {
    if (!renderer_->UsePictureSet(second ? BoardRenderer::PictureSet::Second
                                         : BoardRenderer::PictureSet::First))
        return;
    renderer_->DrawBoard(game_.board);
    moveInput_->BoardRedrawn();
    board_->ShowChanges();
}
void Form1::playMoveSound() {
    OpenMoveSound();
    sound_->play();
}
void Form1::alertWindow() {
    QApplication::alert(this, 2500);
}

QString Form1::recordLine(const std::string& line) {
    return record_.Record(QByteArray::fromStdString(line));
}

void Form1::reportRecordFailure(const QString& failure) {
    // Appending goes on being tried on every move; the player hears of it once.
    if (recordFailureReported_)
        return;
    recordFailureReported_ = true;
    showMessage(failure);
}

} // namespace quorin

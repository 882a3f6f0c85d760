#pragma once

#include "board/moveinput.h"
#include "environment.h"
#include "mainmenu.h"
#include "net/moveexchange.h"
#include "records/form2.h"
#include "records/gamerecord.h"
#include "rules/castling.h"
#include "rules/gamestate.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorin {

class Announcer;
class BoardRenderer;
class BoardTable;
class BoardWidget;
class UnseenLabel;
class Clocks;
class Connection;
class RouterMapping;
class SavedGameFile;
class ServerFinder;
struct MessageAction;

// The main window: the board, the controls below it and the menu bar. It owns one copy
// of the program's state and wires the menus and controls to the parts that do the work.
class Form1 : public QMainWindow,
              private MoveExchangeHost,
              private MoveInputHost,
              private ReplayHost {
    Q_OBJECT

public:
    // How long the end of the program waits for the router to remove the port it opened.
    static constexpr int kRouterGoodbyeMs = 2000;

    explicit Form1(Environment env = Environment::Default(), QWidget* parent = nullptr);
    ~Form1() override;

    // The controls below the board.
    QComboBox* Combo1 = nullptr;     // server address
    QLineEdit* Text2 = nullptr;      // message line: chat, connection messages, results
    QPushButton* Command5 = nullptr; // send the message line
    QLineEdit* Text1 = nullptr;      // status line: address, whose turn

    const MainMenu& menu() const { return menu_; }
    GameState& game() { return game_; }
    BoardRenderer& renderer() { return *renderer_; }
    BoardWidget& boardWidget() { return *board_; }
    BoardTable& boardTable() { return *table_; }
    Announcer& announcer() { return *announcer_; }
    Clocks& clocks() { return *clocks_; }
    Connection& connection() { return *connection_; }
    ServerFinder& serverFinder() { return *finder_; }
    RouterMapping& routerMapping() { return *router_; }
    GameRecord& record() { return record_; }
    MoveExchange& moveExchange() { return *exchange_; }
    MoveInput& moveInput() { return *moveInput_; }
    bool BoardReady() const { return moveInput_->BoardReady; }

    // Loads the board from the position text and draws it into the back buffer. A text
    // that is not a valid position changes nothing and answers false.
    bool KomaHaiti();
    // KomaHaiti, then the board takes input.
    void BanStart();
    // Enables the game's controls once a peer is connected.
    void EnableConnectedMenus();
    // Shutdown: stops the clocks, frees the drawing surfaces, closes the sound. Safe to
    // run more than once.
    void FileExit();

    // Fills the address list from the file of server addresses.
    void ComboFile();

    // Menu commands.
    void mnuInit_Click();
    void mnuEnd_Click();
    void mnuV_Click();
    void mnuServer_Click();
    void mnuClient_Click();
    void mnuClose_Click();
    // Goes on with the game of a lost connection: listens again as its server, or connects
    // again to the same address as its client, keeping the game as it was.
    void mnuResume_Click();
    // Opens the router's port while serving, or stops doing so.
    void mnuRouter_Click();
    // Puts AddressToHandOn on the clipboard.
    void mnuCopyAddress_Click();
    // The one address a friend should type to reach this server.
    QString AddressToHandOn() const;
    void mnuVSave_Click();
    void mnuSave_Click();
    void nmuCastlingRight_Click();
    void nmuCastlingLeft_Click();
    void Command5_Click();
    void mnuAis_Click(int index);
    void mnuCom_Click(int index);
    void mnuKaomoji_Click(int index);
    void mnuSrtrong_Click(int index);
    void mnuToryou_Click();
    void nmuFileOpen_Click();
    void mnuPlay_Click();
    // Exports a chosen game record as a PGN file; allowed while connected.
    void mnuPgn_Click();

    // Which window the file chooser serves: 0 the memo pad, 1 the replay window.
    int MnuFlag = 0;
    // The replay window, made at its first use; it keeps the record it last replayed.
    Form2* form2() { return form2_; }

    // The server's own address as shown, and the address the client connected to.
    QString LocalAddressText;
    QString HostText;

    void Text2_DblClick();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectMenus();
    void connectNetwork();
    void connectPlay();
    void connectRecords();
    void connectRouter();
    void connectAccess();
    // What a screen reader says: a text at once, or the words of an own move, which wait to
    // be said with the turn text that follows.
    void Announce(const QString& text);
    void AnnounceOwnMove(const Board& before);
    void AnnouncePending();
    // A game that goes on after a lost link or a closed window.
    void RestoreGame();
    void SaveGame();
    void ForgetGame();
    void FinishResume();
    void UpdateResumeItem();
    // The router's port, the address menu item and Text1's tool tip follow whether this
    // copy listens.
    void UpdateListening();
    void showRouterText(const QString& text);
    // Shows the file chooser in the mode MnuFlag names; `done` runs when it closes, told
    // whether a file was handed back (its path may be empty) or the close box was used.
    void openChooser(std::function<void(bool handedOver, const QString& path)> done);
    void openMemo(const QString& path);
    void openReplay();
    void castle(CastlingSide side);
    void onFirstPaint();
    void OpenMoveSound();
    // Listens; a new game starts its numbering and castling afresh.
    void SetSERVER(bool newGame = true);

    // What the connection reports.
    void onAccepted(const QString& peerAddressText);
    void onConnected();
    void onConnectFailed(int errorCode);
    void onClosedByPeer();
    void onAcknowledged();
    void MsgDispatch(const MessageAction& action);
    // A server found on the local network is offered in the address box, until lost.
    void onServerFound(const QString& address, const QString& name);
    void onServerLost(const QString& address);

    // Message boxes. Every box first calls off a drag in progress. A box the peer causes
    // (a notice, a check) opens only when no box of its kind is open: a flood of them
    // leaves one box on the screen.
    QWidget* openBox(const QString& text);
    void showOnce(QPointer<QWidget>& open, const QString& text);

    // MoveExchangeHost
    bool connected() const override;
    void sendData(std::u16string_view message) override;
    void clearAwaitingAck() override;
    void startClocks() override;
    void setStatusText(const QString& text) override;
    void setCastlingMenuEnabled(bool enabled) override;
    void setTitle(const QString& title) override;
    void banStart() override;
    void useSecondPictures(bool second) override;
    void playMoveSound() override;
    void alertWindow() override;
    QString recordLine(const std::string& line) override;
    void reportRecordFailure(const QString& failure) override;
    void announceCheck() override;
    void warnIllegalMove(int moveNumber) override;
    void announceMove(const QString& words) override;
    void keepGame() override { SaveGame(); }
    void showMessage(const QString& text) override;

    // MoveInputHost
    bool awaitingAck() const override;
    void beginMove() override;
    void updateCastlingAvailability(std::string_view piece, Square from) override;
    void notifyPromotion() override;
    void sendMove() override;
    void announceWin() override;

    // ReplayHost
    bool mayReplay() override;
    void showPosition(const std::string& position) override;

    Environment env_;
    GameState game_;
    std::unique_ptr<BoardRenderer> renderer_;
    BoardWidget* board_ = nullptr;
    std::unique_ptr<Clocks> clocks_;
    std::unique_ptr<MoveSound> sound_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<ServerFinder> finder_;
    std::unique_ptr<RouterMapping> router_;
    std::unique_ptr<SavedGameFile> savedGame_;
    BoardTable* table_ = nullptr;
    Announcer* announcer_ = nullptr;
    std::array<UnseenLabel*, 2> clockTexts_{};
    QString pendingWords_; // a move's words, said with the turn text after it
    Board beforeOwnMove_;  // the board as the move under way found it
    // This game was played over a connection, as server or client; a resume is under way.
    bool connectedInGame_ = false;
    bool wasServer_ = false;
    bool resuming_ = false;
    // The game was taken from the last run and has not been resumed.
    bool restored_ = false;
    std::unique_ptr<MoveExchange> exchange_;
    std::unique_ptr<MoveInput> moveInput_;
    Form2* form2_ = nullptr;
    GameRecord record_;
    MainMenu menu_;
    // The file chooser's SelectedName, kept from one opening to the next.
    QString chooserSelectedName_;
    QPointer<QWidget> noticeBox_;
    QPointer<QWidget> checkBox_;
    // A record that cannot be written is reported once per connection.
    bool recordFailureReported_ = false;
    bool shutDown_ = false;
    bool soundOpen_ = false;
    int strengthResetCount_ = 0;
};

} // namespace quorin

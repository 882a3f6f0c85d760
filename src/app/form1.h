#pragma once

#include "environment.h"
#include "mainmenu.h"
#include "rules/gamestate.h"

#include <QMainWindow>

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorin {

class BoardRenderer;
class BoardWidget;
class Clocks;

// The main window: the board, the controls below it and the menu bar. It owns one copy
// of the program's state and wires the menus and controls to the parts that do the work.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(Environment env = Environment::Default(), QWidget* parent = nullptr);
    ~Form1() override;

    // The controls below the board.
    QComboBox* Combo1 = nullptr;   // server address
    QLineEdit* Text2 = nullptr;    // message line: chat, connection messages, results
    QPushButton* Command5 = nullptr; // send the message line
    QLineEdit* Text1 = nullptr;    // status line: address, whose turn

    const MainMenu& menu() const { return menu_; }
    GameState& game() { return game_; }
    BoardRenderer& renderer() { return *renderer_; }
    BoardWidget& boardWidget() { return *board_; }
    Clocks& clocks() { return *clocks_; }
    bool BoardReady() const { return boardReady_; }
    int StrengthResetCount() const { return strengthResetCount_; }

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

    // Menu commands.
    void mnuInit_Click();
    void mnuEnd_Click();
    void mnuV_Click();

    void Text2_DblClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectMenus();
    void showMessage(const QString& text);
    void onFirstPaint();

    Environment env_;
    GameState game_;
    std::unique_ptr<BoardRenderer> renderer_;
    BoardWidget* board_ = nullptr;
    std::unique_ptr<Clocks> clocks_;
    std::unique_ptr<MoveSound> sound_;
    MainMenu menu_;
    bool boardReady_ = false;
    bool shutDown_ = false;
    int strengthResetCount_ = 0;
};

} // namespace quorin

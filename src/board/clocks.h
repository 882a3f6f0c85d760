#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QRect>
#include <QTimer>

#include <array>
#include <functional>

namespace quorin {

class BoardRenderer;
struct GameState;

// The two thinking-time clocks beside the board. One timer drives both: each tick adds
// one to the clock of the player whose turn it is and draws both readings. The timer
// ticks every 120 ms from start-up until a game's first move, every second while a game
// runs, and not at all after the game or the connection has ended.
class Clocks : public QObject {
    Q_OBJECT

public:
    // A clock's line as drawn: "相手 0h00m07s" (0, the opponent's) or "自分 ..." (1).
    QString Reading(int clock) const;
    static constexpr int kStartInterval = 120;
    static constexpr int kGameInterval = 1000;

    // `showChanges` asks the window to bring the changed back buffer to the screen.
    Clocks(BoardRenderer& renderer, const GameState& game, std::function<void()> showChanges,
           QObject* parent = nullptr);

    // Counter 0 is the opponent's time, counter 1 the local player's.
    std::array<int, 2> ClockCounters{};
    QTimer Timer1;

    void setLook(const QFont& font, QColor text, QColor background);

    // A game's first move: both clocks from zero, one tick a second.
    void start();
    // A game resumed: the clocks go on from their readings, one tick a second.
    void resume();
    // The game or the connection ended: the clocks stand still, their readings stay.
    void stop();
    // One tick of Timer1.
    void tick();
    // Both readings as they stand, into the back buffer.
    void Draw();

signals:
    // Both readings were drawn anew.
    void drawn();

private:
    BoardRenderer& renderer_;
    const GameState& game_;
    std::function<void()> showChanges_;
    QFont font_;
    QColor text_ = Qt::black;
    QColor background_ = Qt::white;
};

} // namespace quorin

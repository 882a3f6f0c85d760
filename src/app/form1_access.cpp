// The main window's side of playing without a mouse and without sight: the board for the
// keyboard and screen readers, the clocks' lines as texts, the controls' names, and the
// notification that speaks the moves and the game's events.

#include "form1.h"

#include "announcer.h"
#include "board/accessibleboard.h"
#include "board/boardgeometry.h"
#include "board/boardrenderer.h"
#include "board/boardtable.h"
#include "board/boardwidget.h"
#include "board/clocks.h"
#include "board/unseenlabel.h"
#include "rules/movewords.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace quorin {

void Form1::connectAccess() {
    // Qt Widgets installs its own factory with the application; this one is asked first.
    QAccessible::installFactory(&AccessibleBoard::Factory);
    QAccessible::installFactory(&Announcer::Factory);
    table_ = new BoardTable(game_, *renderer_, *moveInput_, board_);
    board_->setTable(table_);
    // Beside the board's own children, not the window's: showing it anew then moves no layout.
    announcer_ = new Announcer(board_);

    const BoardGeometry& g = renderer_->geometry();
    for (int i = 0; i < 2; ++i) {
        clockTexts_[i] = new UnseenLabel(board_);
        clockTexts_[i]->setGeometry(g.BoardWidth + 75, g.BoardHeight - 91 + 32 * i,
                                    BoardWidget::kClientWidth - g.BoardWidth - 75, 16);
        clockTexts_[i]->setText(clocks_->Reading(i));
    }
    connect(clocks_.get(), &Clocks::drawn, this, [this] {
        for (int i = 0; i < 2; ++i)
            clockTexts_[i]->setText(clocks_->Reading(i));
    });

    const std::pair<QWidget*, const char*> names[] = {
        {Text2, "メッセージ"}, {Text1, "状態"}, {Combo1, "サーバーアドレス"}};
    for (const auto& [control, name] : names) {
        control->setAccessibleName(QString::fromUtf8(name));
        control->setAccessibleDescription(control->toolTip());
    }
    // Where a combo box's name is its text (AT-SPI), the box is named by its label.
    auto* comboName = new UnseenLabel(board_);
    comboName->setText(Combo1->accessibleName());
    comboName->setBuddy(Combo1);
    comboName->setGeometry(Combo1->geometry().adjusted(0, 0, 0, -Combo1->height() + 1));

    // F10 opens the first menu; the arrow keys and Enter do the rest, castling among it.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menu_.mnuFile->menuAction()); });
}

void Form1::Announce(const QString& text) {
    announcer_->Announce(text);
}

void Form1::announceMove(const QString& words) {
    pendingWords_ = words;
}

void Form1::AnnounceOwnMove(const Board& before) {
    const Colour colour = game_.PlayerSide == kSecondPlayer ? Colour::Black : Colour::White;
    const std::optional<PlayerMove> move = MoveTo(LegalMoves(before, colour), game_.board);
    pendingWords_ =
        move ? QString::fromStdString(MoveWords("自分", before, *move, colour)) : QString();
}

void Form1::AnnouncePending() {
    // A move without a connection has no turn text to go with it.
    if (!pendingWords_.isEmpty())
        Announce(std::exchange(pendingWords_, QString()));
}

} // namespace quorin

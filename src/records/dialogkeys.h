#pragma once

class QKeyEvent;
class QWidget;

namespace quorin {

// The keys of the replay window and the file chooser: Esc closes neither, and Enter on
// the focused button presses it (elsewhere Enter does what the focused control does with
// it). Answers whether `event` was handled so.
bool HandleSideWindowKey(QWidget& window, QKeyEvent* event);

} // namespace quorin

#pragma once

#include <QString>

namespace quorin {

// The name a copy of the game record is saved under, from what the player typed in the
// save-as box. The record's extension ".chs" is added only when the answer holds no "."
// anywhere; an answer with a "." is taken exactly as typed: "game" -> "game.chs", while
// "game.txt", "game." and "a.b" stay as they are.
QString SaveAsName(const QString& answer);

// The question of the save-as input box, two lines.
QString SaveAsPrompt();

} // namespace quorin

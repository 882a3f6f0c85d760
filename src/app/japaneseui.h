#pragma once

namespace quorin {

// Gives the whole application its Japanese face, once; later calls change nothing.
//  - Qt's own texts (the text boxes' editing menu, the input box's buttons, the reasons
//    of file errors) come from Qt's Japanese translation, "qtbase_ja" in Qt's
//    translations folder. Without it they stay as Qt writes them.
//  - Menus, buttons, boxes and the side windows show the user-interface face, the
//    Japanese Gothic face where it is installed (see records/designfont.h). The text
//    boxes keep the Mincho face they are given.
void UseJapaneseUi();

} // namespace quorin

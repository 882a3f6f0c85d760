#pragma once

#include <QFont>

namespace quorin {

// The windows' text font "ＭＳ 明朝" at `points`. Where that font is not installed, IPA
// Mincho stands in for it.
QFont DesignFont(qreal points);

// The user-interface face of menus, buttons, boxes and the side windows, at the size of
// `systemFont`, the platform's own: the Japanese Gothic face IPA Gothic where it is
// installed, as a Japanese desktop shows it; else `systemFont` itself.
QFont UserInterfaceFont(const QFont& systemFont);

} // namespace quorin

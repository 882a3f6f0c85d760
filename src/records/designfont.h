#pragma once

#include <QFont>

namespace quorin {

// The windows' text font "ＭＳ 明朝" at `points`. Where that font is not installed, IPA
// Mincho stands in for it under the same name.
QFont DesignFont(qreal points);

} // namespace quorin

#include "designfont.h"

namespace quorin {

QFont DesignFont(qreal points) {
    const QString family = QStringLiteral("ＭＳ 明朝");
    QFont::insertSubstitution(family, QStringLiteral("IPAMincho"));
    QFont font(family);
    font.setPointSizeF(points);
    return font;
}

} // namespace quorin

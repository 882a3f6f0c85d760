#include "designfont.h"

#include <QStringList>

namespace quorin {

QFont DesignFont(qreal points) {
    QFont font;
    font.setFamilies(QStringList() << QStringLiteral("ＭＳ 明朝") << QStringLiteral("IPAMincho"));
    font.setPointSizeF(points);
    return font;
}

} // namespace quorin

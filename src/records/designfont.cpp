#include "designfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace quorin {
namespace {

// A font names only a face that is installed: for a name it cannot find, Qt asks the
// system's font configuration for a whole list of stand-ins, once per writing system,
// which costs more at start-up than drawing every text of the window. The installed
// faces are looked up in the list Qt keeps anyway; asking Qt whether it has a family
// would have the system's font configuration resolve the name each time.
bool Installed(const char* family) {
    return QFontDatabase::families().contains(QString::fromUtf8(family));
}

} // namespace

QFont DesignFont(qreal points) {
    QFont font;
    font.setFamily(QString::fromUtf8(
        !Installed("ＭＳ 明朝") && Installed("IPAMincho") ? "IPAMincho" : "ＭＳ 明朝"));
    font.setPointSizeF(points);
    return font;
}

QFont UserInterfaceFont(const QFont& systemFont) {
    QFont font = systemFont;
    // IPA Gothic holds Latin letters as well as the Japanese ones; a character it lacks
    // is still found in another face, as for any font.
    if (Installed("IPAGothic"))
        font.setFamily(QStringLiteral("IPAGothic"));
    return font;
}

} // namespace quorin

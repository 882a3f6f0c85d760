#include "savename.h"

namespace quorin {

QString SaveAsName(const QString& answer) {
    if (answer.contains(QLatin1Char('.')))
        return answer;
    return answer + QStringLiteral(".chs");
}

QString SaveAsPrompt() {
    // "デ－タ" is written with U+FF0D FULLWIDTH HYPHEN-MINUS, not the long-vowel mark.
    return QStringLiteral("棋譜一時保存デ－タを名前を変えて保存します。\r\n"
                          "(拡張子は略してください。)");
}

} // namespace quorin

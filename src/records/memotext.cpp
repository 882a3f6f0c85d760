#include "memotext.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace quorin {

namespace {

constexpr const char* kCodePage = "Shift_JIS";

} // namespace

bool MemoCodePageAvailable() {
    return QStringDecoder(kCodePage).isValid() && QStringEncoder(kCodePage).isValid();
}

MemoText MemoFromFile(const QByteArray& shiftJis) {
    // CR and LF are never the second byte of a Shift-JIS character, so the lines can be
    // split after decoding.
    QStringDecoder decode(kCodePage);
    const QString whole = decode(shiftJis);

    QStringList lines;
    QString line;
    bool lineOpen = false; // characters were read since the last line end
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole[i];
        if (c == QLatin1Char('\r')) {
            lines.append(line);
            line.clear();
            lineOpen = false;
            if (i + 1 < whole.size() && whole[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            line.append(c);
            lineOpen = true;
        }
    }
    if (lineOpen)
        lines.append(line);
    return {lines.join(QLatin1Char('\n')), int(lines.size())};
}

QByteArray FileFromMemo(const QString& text) {
    QString withLineEnds = text;
    withLineEnds.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    withLineEnds.append(QStringLiteral("\r\n"));
    QStringEncoder encode(kCodePage);
    return encode(withLineEnds);
}

QString MemoSaveAsName(const QString& answer) {
    // A name holding ".chs" anywhere already has the memo's extension, as far as the
    // memo pad is concerned; every other name gets it.
    if (answer.contains(QStringLiteral(".chs")))
        return answer;
    return answer + QStringLiteral(".chs");
}

QString MemoSaveAsPrompt() {
    // After "ファイル名" come an ASCII blank and a full-width parenthesis (U+FF08..U+FF09);
    // the escapes keep them apart from their ASCII look-alikes in the source.
    return QStringLiteral("ファイル名 \uFF08拡張子は、略すと.chsになります。\uFF09");
}

QString MemoCaption(const QString& fileName, int lines) {
    // ":" after the file name is ASCII; "：" is U+FF1A FULLWIDTH COLON and "ロ－ド" is
    // written with U+FF0D FULLWIDTH HYPHEN-MINUS, not the long-vowel mark.
    return fileName + QStringLiteral(":将棋メモ帳\uFF1Aロ\uFF0Dドした行数=") +
           QString::number(lines);
}

} // namespace quorin

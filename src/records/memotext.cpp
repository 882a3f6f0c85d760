#include "memotext.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace quorin {

namespace {

constexpr const char* kCodePage = "Shift_JIS";
const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

// Every conversion is whole: a character cut off at the end of the bytes or of the text
// is an error, not something kept for a next call. A byte-order mark inside a UTF-8 text
// is a character like any other; only the file's leading one is the encoding's mark.
constexpr auto kWhole = QStringConverter::Flag::Stateless;
constexpr auto kKeepBom =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

struct Decoded {
    QString text;
    bool clean = false; // no byte was invalid
};

Decoded Decode(const QByteArray& bytes, MemoEncoding encoding) {
    if (encoding == MemoEncoding::ShiftJis) {
        QStringDecoder decode(kCodePage, kWhole);
        Decoded out{decode(bytes), false};
        out.clean = !decode.hasError();
        return out;
    }
    const bool bom = encoding == MemoEncoding::Utf8WithBom;
    if (bom && !bytes.startsWith(kBom))
        return {};
    QStringDecoder decode(QStringConverter::Utf8, kKeepBom);
    Decoded out{decode(bom ? bytes.sliced(kBom.size()) : bytes), false};
    out.clean = !decode.hasError();
    return out;
}

// The bytes of `text`, or nothing when the encoding cannot hold every character of it
// exactly: an encoder writes a substitute for a character it lacks, or a look-alike, and
// neither may reach a file.
std::optional<QByteArray> Encode(const QString& text, MemoEncoding encoding) {
    QStringEncoder encode = encoding == MemoEncoding::ShiftJis
                                ? QStringEncoder(kCodePage, kWhole)
                                : QStringEncoder(QStringConverter::Utf8, kWhole);
    QByteArray bytes = encode(text);
    if (encode.hasError())
        return std::nullopt;
    if (encoding == MemoEncoding::Utf8WithBom)
        bytes.prepend(kBom);
    const Decoded back = Decode(bytes, encoding);
    if (!back.clean || back.text != text)
        return std::nullopt;
    return bytes;
}

QString EndText(LineEnd end) {
    switch (end) {
    case LineEnd::CrLf:
        return QStringLiteral("\r\n");
    case LineEnd::Lf:
        return QStringLiteral("\n");
    case LineEnd::Cr:
        return QStringLiteral("\r");
    case LineEnd::None:
        break;
    }
    return QString();
}

// The lines of a decoded file and the end of each.
MemoLayout LayoutOf(const QString& whole, MemoEncoding encoding) {
    MemoLayout layout{encoding, {}, {}};
    qsizetype start = 0;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole[i];
        if (c != u'\r' && c != u'\n')
            continue;
        layout.lines.append(whole.sliced(start, i - start));
        if (c == u'\n') {
            layout.ends.append(LineEnd::Lf);
        } else if (i + 1 < whole.size() && whole[i + 1] == u'\n') {
            layout.ends.append(LineEnd::CrLf);
            ++i;
        } else {
            layout.ends.append(LineEnd::Cr);
        }
        start = i + 1;
    }
    if (start < whole.size()) {
        layout.lines.append(whole.sliced(start));
        layout.ends.append(LineEnd::None);
    }
    return layout;
}

// The line end a file uses most; CR LF on a tie with it, or when the file has no line end.
LineEnd MostCommon(const QList<LineEnd>& ends) {
    const auto crLf = ends.count(LineEnd::CrLf), lf = ends.count(LineEnd::Lf),
               cr = ends.count(LineEnd::Cr);
    if (lf > crLf && lf >= cr)
        return LineEnd::Lf;
    if (cr > crLf && cr > lf)
        return LineEnd::Cr;
    return LineEnd::CrLf;
}

// The end of each of `lines` when the file held `before`. A line the file held keeps its
// end: the lines both share at the start and at the end, and in between each line found
// again after the last one found. A changed line takes the end of the line it stands in
// for, and a line beyond those the most common end.
QList<LineEnd> MapLineEnds(const MemoLayout& before, const QStringList& lines) {
    const qsizetype n = lines.size(), m = before.lines.size();
    qsizetype head = 0;
    while (head < n && head < m && lines[head] == before.lines[head])
        ++head;
    qsizetype tail = 0;
    while (tail < n - head && tail < m - head && lines[n - 1 - tail] == before.lines[m - 1 - tail])
        ++tail;

    // The pairs (line, line read) that are the same line, in order, closed by (n, m).
    QList<std::pair<qsizetype, qsizetype>> same;
    for (qsizetype i = 0; i < head; ++i)
        same.append({i, i});
    QHash<QString, QList<qsizetype>> where;
    for (qsizetype j = head; j < m - tail; ++j)
        where[before.lines[j]].append(j);
    qsizetype last = head - 1;
    for (qsizetype i = head; i < n - tail; ++i) {
        const auto found = where.constFind(lines[i]);
        if (found == where.cend())
            continue;
        const auto next = std::upper_bound(found->cbegin(), found->cend(), last);
        if (next != found->cend()) {
            last = *next;
            same.append({i, last});
        }
    }
    for (qsizetype k = tail; k > 0; --k)
        same.append({n - k, m - k});
    same.append({n, m});

    const LineEnd added = MostCommon(before.ends);
    QList<LineEnd> ends(n, added);
    qsizetype line = 0, read = 0;
    for (const auto& [i, j] : same) {
        for (; line < i; ++line, ++read) {
            if (read < j)
                ends[line] = before.ends[read];
        }
        if (i < n)
            ends[i] = before.ends[j];
        line = i + 1;
        read = j + 1;
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (ends[i] == LineEnd::None)
            ends[i] = added;
        // A CR before an empty line ending in LF would read back as one CR LF.
        if (i > 0 && ends[i - 1] == LineEnd::Cr && lines[i].isEmpty() && ends[i] == LineEnd::Lf)
            ends[i - 1] = LineEnd::CrLf;
    }
    // Only the last line may go without an end, and it does when the file's did; an empty
    // last line without one would be no line at all, unless it is the only one.
    const bool endedWithLineEnd = before.ends.isEmpty() || before.ends.last() != LineEnd::None;
    if (n > 0 && !endedWithLineEnd && (n == 1 || !lines[n - 1].isEmpty()))
        ends[n - 1] = LineEnd::None;
    return ends;
}

// The first of `lines`, counted from 1, that is longer than the memo pad shows; or 0.
int LongLine(const QStringList& lines) {
    const auto found = std::find_if(lines.cbegin(), lines.cend(),
                                    [](const QString& line) { return line.size() > kMaxMemoLine; });
    return found == lines.cend() ? 0 : int(found - lines.cbegin()) + 1;
}

int ShownLines(const QString& text, const MemoLayout& layout) {
    if (text.isEmpty() && layout.lines.isEmpty())
        return 0;
    return int(text.count(u'\n')) + 1;
}

} // namespace

bool MemoCodePageAvailable() {
    return QStringDecoder(kCodePage).isValid() && QStringEncoder(kCodePage).isValid();
}

MemoFile ReadMemo(const QByteArray& bytes, const std::function<QString(const QString&)>& shown) {
    const auto asShown = [&shown](const QString& text) { return shown ? shown(text) : text; };
    const MemoEncoding utf8 =
        bytes.startsWith(kBom) ? MemoEncoding::Utf8WithBom : MemoEncoding::Utf8;

    // A file of ASCII alone reads alike in both and takes the memo pad's own Shift-JIS.
    // Beyond ASCII, valid UTF-8 is taken as UTF-8: Japanese UTF-8 text is often valid
    // Shift-JIS as well ("王手", "メモ"), and read so it would show garbled and take the
    // player's new lines in another encoding, while Shift-JIS text is hardly ever valid UTF-8.
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) {
        return static_cast<unsigned char>(byte) < 0x80;
    });
    const auto order =
        ascii ? std::array{MemoEncoding::ShiftJis, utf8} : std::array{utf8, MemoEncoding::ShiftJis};
    for (const MemoEncoding encoding : order) {
        const Decoded decoded = Decode(bytes, encoding);
        if (!decoded.clean)
            continue;
        const MemoLayout read = LayoutOf(decoded.text, encoding);
        if (const int line = LongLine(read.lines))
            return {{}, 0, {}, false, line};
        const QString raw = read.lines.join(u'\n');
        const MemoBytes back = WriteMemo(raw, read);
        if (!back.ok || back.bytes != bytes)
            continue;
        // The editor may hold a text otherwise than it was given (line separators become
        // line breaks, no-break spaces blanks); it is the editor's text that is saved.
        const QString text = asShown(raw);
        const MemoBytes saved = text == raw ? back : WriteMemo(text, read);
        if (saved.ok && saved.bytes == bytes)
            return {text, ShownLines(text, saved.layout), saved.layout, true};
    }

    // Neither gives the bytes back: the file is shown as well as it can be, as UTF-8 when
    // its bytes are valid UTF-8, else as Shift-JIS, and is not for saving.
    const MemoEncoding encoding = Decode(bytes, utf8).clean ? utf8 : MemoEncoding::ShiftJis;
    const MemoLayout read = LayoutOf(Decode(bytes, encoding).text, encoding);
    if (const int line = LongLine(read.lines))
        return {{}, 0, {}, false, line};
    const QString text = asShown(read.lines.join(u'\n'));
    return {text, ShownLines(text, read), read, false};
}

MemoBytes WriteMemo(const QString& text, const MemoLayout& layout) {
    MemoBytes out;
    out.layout.encoding = layout.encoding;
    // An empty text in a file without lines stays without lines.
    out.layout.lines = text.isEmpty() && layout.lines.isEmpty() ? QStringList() : text.split(u'\n');
    out.layout.ends = MapLineEnds(layout, out.layout.lines);

    QString whole;
    whole.reserve(text.size() + out.layout.lines.size());
    for (qsizetype i = 0; i < out.layout.lines.size(); ++i)
        whole += out.layout.lines[i] + EndText(out.layout.ends[i]);
    if (const auto bytes = Encode(whole, layout.encoding)) {
        out.ok = true;
        out.bytes = *bytes;
        return out;
    }

    // Name the first character that cannot be written. Line ends always can.
    const MemoEncoding plain =
        layout.encoding == MemoEncoding::ShiftJis ? MemoEncoding::ShiftJis : MemoEncoding::Utf8;
    int line = 1;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString character = text.sliced(i, length);
        if (!Encode(character, plain)) {
            out.unwritable = character;
            out.unwritableLine = line;
            return out;
        }
        if (text[i] == u'\n')
            ++line;
        i += length;
    }
    return out; // every character alone can be written, the whole cannot: still not ok
}

QString MemoEncodingName(MemoEncoding encoding) {
    switch (encoding) {
    case MemoEncoding::ShiftJis:
        return QStringLiteral("Shift-JIS");
    case MemoEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case MemoEncoding::Utf8WithBom:
        return QStringLiteral("UTF-8 (BOM 付き)");
    }
    return QString();
}

QString MemoSaveAsName(const QString& answer) {
    // A name holding ".chs" anywhere already has the memo's extension, as far as the
    // memo pad is concerned; every other name gets it.
    if (answer.contains(QStringLiteral(".chs")))
        return answer;
    return answer + QStringLiteral(".chs");
}

QString MemoSaveAsPrompt() {
    // After "ファイル名" come an ASCII blank and a full-width parenthesis (U+FF08..U+FF09).
    return QStringLiteral("ファイル名 （拡張子は、略すと.chsになります。）");
}

QString MemoCaption(const QString& fileName, int lines) {
    // ":" after the file name is ASCII; "：" is U+FF1A FULLWIDTH COLON and "ロ－ド" is
    // written with U+FF0D FULLWIDTH HYPHEN-MINUS, not the long-vowel mark.
    return fileName + QStringLiteral(":将棋メモ帳：ロ－ドした行数=") + QString::number(lines);
}

} // namespace quorin

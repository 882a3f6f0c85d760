#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorin {

// The rules of the memo pad's files: how a file's bytes become the text in the editor and
// how the editor's text is written back. A file is read in the encoding it is written in,
// Shift-JIS (CP932, the memo pad's own code page) or UTF-8, and saved the same way with its
// own line ends, so a memo saved without an edit is written back byte for byte.

// Whether this system can read and write the Shift-JIS code page at all. Without it a memo
// would load empty and save as nothing, so the memo pad refuses to read or write instead.
bool MemoCodePageAvailable();

enum class MemoEncoding { ShiftJis, Utf8, Utf8WithBom };

// What ends a line in a file; only the last line of a file may have no end.
enum class LineEnd { None, CrLf, Lf, Cr };

// How a memo's lines are laid out in its file: the encoding and the end of every line.
// The default is a new memo: Shift-JIS, every line ending with CR LF, the last one too.
struct MemoLayout {
    MemoEncoding encoding = MemoEncoding::ShiftJis;
    QStringList lines{QString()}; // the lines as they stand in the file
    QList<LineEnd> ends{LineEnd::CrLf};
};

// The longest line the memo pad shows, in UTF-16 units. The editor lays out and draws a
// whole line at every keystroke and every blink of the cursor: at this length that takes a
// few milliseconds, while a line of millions takes seconds each time and the window
// never answers again.
inline constexpr qsizetype kMaxMemoLine = 1000;

// A memo file as read.
struct MemoFile {
    QString text;      // the lines joined by '\n', the editor's own line break
    int lines = 0;     // how many lines the player sees; none for an empty file
    MemoLayout layout; // how to write the text back
    // Whether saving the text with `layout` gives back exactly the bytes read. When it
    // does not, the file cannot be saved safely: `text` is then only a best reading of it.
    bool exact = false;
    // The first line, counted from 1, longer than kMaxMemoLine; 0 when there is none. A
    // file with such a line is not shown at all: `text` is empty and `shown` never asked.
    int longLine = 0;
};

// Reads a memo file. A line ends at CR LF, at a lone LF or at a lone CR; a file ending with
// a line end has no empty line after it, so "a\r\nb\r\n", "a\nb" and "a\rb\r" all hold two
// lines. The file is read as Shift-JIS or as UTF-8 (with or without a byte-order mark), and
// an encoding is taken only when the text, as `shown` gives it back, is written back to
// exactly `bytes`; when both would do, a file of ASCII alone is Shift-JIS, any other UTF-8.
// `shown` returns a text as the editor holds it once it was put in. A file with a line
// longer than kMaxMemoLine is only found to have one (see MemoFile::longLine).
MemoFile ReadMemo(const QByteArray& bytes,
                  const std::function<QString(const QString&)>& shown = {});

// A memo's text written for its file.
struct MemoBytes {
    // Whether the encoding holds the whole text; only then is `bytes` the file.
    bool ok = false;
    QByteArray bytes;
    MemoLayout layout; // how the lines stand in `bytes`
    // When not: the first character the encoding cannot hold and its line, counted from 1.
    QString unwritable;
    int unwritableLine = 0;
};

// Writes the editor's text in `layout`'s encoding. Lines read keep their own line ends,
// also when lines were added or removed around them; a line the player added takes the
// file's most common line end (CR LF when the file had none). The file ends with a line
// end when it did before (an empty file counts as ending with one).
MemoBytes WriteMemo(const QString& text, const MemoLayout& layout);

// The name of an encoding as the memo pad's messages give it.
QString MemoEncodingName(MemoEncoding encoding);

// The name a memo is saved under, from what the player typed in the save-as box: ".chs"
// is added to every answer that does not already contain ".chs" (case matters):
// "memo" -> "memo.chs", "memo.txt" -> "memo.txt.chs", "memo.CHS" -> "memo.CHS.chs",
// while "memo.chs" and "a.chsx" stay as they are.
QString MemoSaveAsName(const QString& answer);

// The question of the memo pad's save-as input box.
QString MemoSaveAsPrompt();

// The memo pad's caption after loading `fileName`, which held `lines` lines.
QString MemoCaption(const QString& fileName, int lines);

} // namespace quorin

#pragma once

#include <QByteArray>
#include <QString>

namespace quorin {

// The rules of the memo pad's files: how a file's bytes become the text in the editor and
// how the editor's text is written back. Memo files are in the Japanese code page
// (Shift-JIS / CP932).

// Whether this system can read and write the code page at all. Without it a memo would
// load empty and save as nothing, so the memo pad refuses to read or write instead.
bool MemoCodePageAvailable();

// A memo as the editor shows it: the lines joined by '\n' (the editor's own line break),
// and how many lines the file held.
struct MemoText {
    QString text;
    int lines = 0;
};

// Reads a memo file. A line ends at CR LF or at a lone CR; the line end is not part of the
// line, and a lone LF stays inside its line. A file ending with a line end has no empty
// line after it, so "a\r\nb\r\n", "a\r\nb" and "a\rb\r" all hold two lines. An empty line
// inside the file counts. An empty file holds no lines.
MemoText MemoFromFile(const QByteArray& shiftJis);

// The bytes of a memo file for the editor's text: every line break ('\n') becomes CR LF
// and one CR LF follows the whole text, so all line ends of a saved memo are CR LF.
// Characters the code page lacks are written as the encoder's replacement.
QByteArray FileFromMemo(const QString& text);

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

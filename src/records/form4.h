#pragma once

#include "memotext.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace quorin {

// What the memo pad takes from the world outside it; tests pass recorders.
struct MemoSeams {
    // A modal message box with the title "Quorin" and one OK button.
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    // A modal input box; an empty answer when the player cancels.
    std::function<QString(QWidget* parent, const QString& prompt)> askText;
    // A modal question with the title "Quorin" and the buttons Yes and No; answers whether
    // the player chose Yes. Asked before a save under a new name replaces anything there.
    std::function<bool(QWidget* parent, const QString& question)> askYesNo;
    // Where a name typed without a folder is saved: the program's current directory.
    QString currentFolder;
};

// The memo pad: a plain text editor for one file, opened from the file chooser. It shows
// the whole file in one sizable text box and saves it back over the same file or under a
// new name. The opener sets FileN, calls Load() and then shows the window modally.
class Form4 : public QDialog {
    Q_OBJECT

public:
    explicit Form4(MemoSeams seams, QWidget* parent = nullptr);

    // The file shown, and where "上書保存" writes; empty when no file was read, and
    // "上書保存" then asks for a name.
    QString FileN;

    QPlainTextEdit* Text1 = nullptr;
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* nmuNameChangeSave = nullptr;
    QAction* mnuRewrite = nullptr;
    QAction* mnuQuit = nullptr;

    // Reads FileN into the text box and shows the file name and its number of lines in the
    // caption. A file that cannot be read (one that is no regular file, larger than 8 MiB,
    // or with a line longer than kMaxMemoLine) is reported and forgotten: the text box is then
    // empty, the caption counts no lines, FileN is empty and the answer is false, but the
    // memo pad still works as for a new text. A file that would not be saved back byte for
    // byte is shown for reading only, with a message; it is never overwritten, and a save
    // under a new name writes a copy of it.
    bool Load();

    // Menu commands. "名前を変えて保存(&S)" asks before it replaces anything already there
    // under the new name; on a no it writes nothing and the memo stays the file it was.
    void nmuNameChangeSave_Click();
    void mnuRewrite_Click();
    void mnuQuit_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createMenu();
    // Writes the memo to FileN, replacing the file only once the whole memo is written.
    void writeFile();
    // Whether the file at `path` is the one last read or written and was changed since.
    bool changedSinceKnown(const QString& path) const;

    MemoSeams seams_;
    // How the memo's lines stand in its file; a new memo's by default.
    MemoLayout layout_;
    // While set, the memo is the file at unsafePath_, which cannot be saved back byte for
    // byte: the text is read-only, that file is never written, and a save elsewhere writes
    // these, its bytes as read.
    std::optional<QByteArray> unsafeBytes_;
    QString unsafePath_;
    // The file as the memo pad last read or wrote it, to notice when another program (or
    // the game record) changed it before "上書保存".
    QString knownPath_;
    QByteArray knownBytes_;
};

} // namespace quorin

#include "form4.h"

#include "designfont.h"
#include "regularfile.h"
#include "wholefile.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace quorin {

namespace {

// The largest file the memo pad reads: the editor stays quick up to it, and a large file
// (a log, a disk image named .txt) is refused rather than read whole into memory.
constexpr qint64 kMaxBytes = 8 * 1024 * 1024;

// Messages begin with a line of the memo pad's own; what comes from outside (file names,
// error texts, the file's characters) follows on later lines.

QString NoCodePage() {
    return QStringLiteral("この環境では Shift-JIS の文字コードを扱えないため、"
                          "メモを読み書きできません。");
}

// Reads the file at `path` as the memo pad reads files; answers why it could not.
QString ReadFile(const QString& path, QByteArray& bytes) {
    return ReadRegularFile(path, kMaxBytes,
                           QStringLiteral("メモ帳で開けるのは %1 MiB までのファイルです。")
                               .arg(kMaxBytes / (1024 * 1024)),
                           [&bytes](QByteArrayView piece) {
                               bytes.append(piece);
                               return true;
                           });
}

QString CannotRead(const QString& path, const QString& why) {
    return QStringLiteral("メモのファイルを読み込めません。\n%1\n%2").arg(ShownPath(path), why);
}

QString CopyInstead() {
    return QStringLiteral("名前を変えて保存すると、元のファイルと同じ内容の写しを作ります。");
}

// A character as a message names it: itself and its code point.
QString Named(const QString& character) {
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                                : character[0].unicode();
    return QStringLiteral("「%1」(U+%2)")
        .arg(character, QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}

// Whether two paths name the same file: compared as found on disk when both exist.
bool SameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo first(a), second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

} // namespace

Form4::Form4(MemoSeams seams, QWidget* parent) : QDialog(parent), seams_(std::move(seams)) {
    setObjectName(QStringLiteral("Form4"));
    // Sizable, with a maximize box besides the close box.
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(DesignFont(11.25));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    menuBar = new QMenuBar(this);
    createMenu();

    // The text box fills the whole client area below the menu bar, whatever its size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(Text1);

    // The client area starts at 552 x 446; the menu bar comes on top of that.
    resize(552, 446 + menuBar->sizeHint().height());
}

void Form4::createMenu() {
    mnuFile = menuBar->addMenu(QStringLiteral("ファイル"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->menuAction()->setObjectName(QStringLiteral("mnuFile"));

    nmuNameChangeSave = mnuFile->addAction(QStringLiteral("名前を変えて保存(&S)"));
    nmuNameChangeSave->setObjectName(QStringLiteral("nmuNameChangeSave"));
    nmuNameChangeSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));

    mnuRewrite = mnuFile->addAction(QStringLiteral("上書保存"));
    mnuRewrite->setObjectName(QStringLiteral("mnuRewrite"));

    mnuQuit = mnuFile->addAction(QStringLiteral("終了(&Q)"));
    mnuQuit->setObjectName(QStringLiteral("mnuQuit"));
    mnuQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    connect(nmuNameChangeSave, &QAction::triggered, this, &Form4::nmuNameChangeSave_Click);
    connect(mnuRewrite, &QAction::triggered, this, &Form4::mnuRewrite_Click);
    connect(mnuQuit, &QAction::triggered, this, &Form4::mnuQuit_Click);
}

bool Form4::Load() {
    Text1->clear();
    Text1->setReadOnly(false);
    layout_ = MemoLayout();
    unsafeBytes_.reset();
    unsafePath_.clear();
    knownPath_.clear();
    knownBytes_.clear();
    setWindowTitle(MemoCaption(FileN, 0));
    // The file name is kept only once the file was read: a save never writes over a file
    // the player has not seen.
    const QString path = FileN;
    FileN.clear();
    if (!MemoCodePageAvailable()) {
        seams_.showMessage(this, NoCodePage());
        return false;
    }

    // Only a regular file: reading a pipe or a device would never end.
    QByteArray bytes;
    if (const QString failure = ReadFile(path, bytes); !failure.isEmpty()) {
        seams_.showMessage(this, CannotRead(path, failure));
        return false;
    }

    // Each reading is checked through the editor itself: what it would save must be the
    // very bytes read.
    const MemoFile memo = ReadMemo(bytes, [this](const QString& text) {
        Text1->setPlainText(text);
        return Text1->toPlainText();
    });
    if (memo.longLine > 0) {
        seams_.showMessage(
            this, CannotRead(path, QStringLiteral("%1 行目が長すぎます。メモ帳で開けるのは 1 行 "
                                                  "%2 文字までのファイルです。")
                                       .arg(memo.longLine)
                                       .arg(kMaxMemoLine)));
        return false;
    }
    if (Text1->toPlainText() != memo.text)
        Text1->setPlainText(memo.text);
    FileN = path;
    layout_ = memo.layout;
    knownPath_ = path;
    knownBytes_ = bytes;
    setWindowTitle(MemoCaption(FileN, memo.lines));
    if (!memo.exact) {
        Text1->setReadOnly(true);
        unsafeBytes_ = bytes;
        unsafePath_ = path;
        seams_.showMessage(
            this,
            QStringLiteral("このファイルは元のとおりに保存できないため、読み取り専用で開きました。"
                           "\n%1\nShift-JIS としても UTF-8 としても、読み込んだ内容を同じバイト列に"
                           "書き戻せません。上書保存はしません。%2")
                .arg(ShownPath(path), CopyInstead()));
    }
    return true;
}

void Form4::mnuRewrite_Click() {
    // No file read (a new text, or a load that failed): ask for a name first.
    if (FileN.isEmpty()) {
        nmuNameChangeSave_Click();
        return;
    }
    writeFile();
}

void Form4::nmuNameChangeSave_Click() {
    const QString answer = seams_.askText(this, MemoSaveAsPrompt());
    if (answer.isEmpty())
        return;
    // Nothing is replaced unasked; on a no the memo stays the file it was.
    const QString path = QDir(seams_.currentFolder).filePath(MemoSaveAsName(answer));
    if (!MayReplace(path, [this](const QString& question) {
            return seams_.askYesNo && seams_.askYesNo(this, question);
        }))
        return;
    // Later saves over the file go to the new name; the caption keeps the loaded one.
    FileN = path;
    writeFile();
}

void Form4::writeFile() {
    if (!MemoCodePageAvailable()) {
        seams_.showMessage(this, NoCodePage());
        return;
    }
    QByteArray bytes;
    MemoLayout written = layout_;
    if (unsafeBytes_) {
        if (SameFile(FileN, unsafePath_)) {
            seams_.showMessage(
                this,
                QStringLiteral("このファイルは元のとおりに保存できないため、上書保存しません。"
                               "\n%1\n%2")
                    .arg(ShownPath(FileN), CopyInstead()));
            return;
        }
        bytes = *unsafeBytes_;
    } else {
        const MemoBytes memo = WriteMemo(Text1->toPlainText(), layout_);
        if (!memo.ok) {
            QString text =
                QStringLiteral("メモに %1 で保存できない文字があるため、保存しませんでした。")
                    .arg(MemoEncodingName(layout_.encoding));
            if (!memo.unwritable.isEmpty())
                text += QStringLiteral("\n%1 行目の文字 %2")
                            .arg(QString::number(memo.unwritableLine), Named(memo.unwritable));
            seams_.showMessage(this, text);
            return;
        }
        bytes = memo.bytes;
        written = memo.layout;
    }
    if (changedSinceKnown(FileN)) {
        seams_.showMessage(
            this, QStringLiteral(
                      "ファイルが読み込んだ後に書き換えられているため、上書保存しませんでした。"
                      "\n%1\n上書きするとその変更が失われます。名前を変えて保存してください。")
                      .arg(ShownPath(FileN)));
        return;
    }

    // A failed save leaves the earlier file as it was; the text box keeps the text.
    if (const QString failure = WriteWholeFile(FileN, bytes); !failure.isEmpty()) {
        seams_.showMessage(
            this, QStringLiteral("メモを保存できません。\n%1\n%2").arg(ShownPath(FileN), failure));
        return;
    }
    layout_ = written;
    knownPath_ = FileN;
    knownBytes_ = bytes;
}

bool Form4::changedSinceKnown(const QString& path) const {
    if (!SameFile(path, knownPath_))
        return false;
    // Gone since: nothing on disk to keep. Anything there that cannot be read as it was
    // read before (a pipe put in its place, a file grown too large) counts as changed.
    const QFileInfo there(path);
    if (!there.exists() && !there.isSymLink())
        return false;
    QByteArray bytes;
    return !ReadFile(path, bytes).isEmpty() || bytes != knownBytes_;
}

void Form4::mnuQuit_Click() {
    reject();
}

void Form4::keyPressEvent(QKeyEvent* event) {
    // A dialog closes on Esc; the memo pad closes only from its menu or its close box, so
    // a stray key does not throw away unsaved edits.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quorin

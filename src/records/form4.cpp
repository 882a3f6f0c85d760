#include "form4.h"

#include "designfont.h"
#include "memotext.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QVBoxLayout>

namespace quorin {

namespace {

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString NoCodePage() {
    return QStringLiteral("この環境では Shift-JIS の文字コードを扱えないため、"
                          "メモを読み書きできません。");
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
    setWindowTitle(MemoCaption(FileN, 0));
    if (!MemoCodePageAvailable()) {
        seams_.showMessage(this, NoCodePage());
        return false;
    }

    QFile file(FileN);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        seams_.showMessage(this, QStringLiteral("メモのファイル「%1」を読み込めません。\n%2")
                                     .arg(Shown(FileN), file.errorString()));
        return false;
    }

    const MemoText memo = MemoFromFile(bytes);
    Text1->setPlainText(memo.text);
    setWindowTitle(MemoCaption(FileN, memo.lines));
    return true;
}

void Form4::mnuRewrite_Click() {
    if (!MemoCodePageAvailable()) {
        seams_.showMessage(this, NoCodePage());
        return;
    }
    // The memo goes to a temporary file beside FileN and replaces it only when complete,
    // so a failed save leaves the earlier file as it was. The text box keeps the text
    // either way.
    const QByteArray bytes = FileFromMemo(Text1->toPlainText());
    QSaveFile file(FileN);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        seams_.showMessage(this, QStringLiteral("メモを「%1」に保存できません。\n%2")
                                     .arg(Shown(FileN), file.errorString()));
}

void Form4::nmuNameChangeSave_Click() {
    const QString answer = seams_.askText(this, MemoSaveAsPrompt());
    if (answer.isEmpty())
        return;
    // Later saves over the file go to the new name; the caption keeps the loaded one.
    FileN = QDir(seams_.currentFolder).filePath(MemoSaveAsName(answer));
    mnuRewrite_Click();
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

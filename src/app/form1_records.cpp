// The main window's side windows: the file chooser, the memo pad and the replay window,
// and the export of a record as PGN.
// They open modal but without blocking: each continues when the one before it closes.

#include "form1.h"

#include "board/boardwidget.h"
#include "net/connection.h"
#include "records/form3.h"
#include "records/form4.h"
#include "records/pgnfile.h"

#include <QMenu>
#include <QPushButton>
#include <QScreen>

namespace quorin {

void Form1::connectRecords() {
    connect(menu_.nmuFileOpen, &QAction::triggered, this, &Form1::nmuFileOpen_Click);
    connect(menu_.mnuPlay, &QAction::triggered, this, &Form1::mnuPlay_Click);
    connect(menu_.mnuPgn, &QAction::triggered, this, &Form1::mnuPgn_Click);
}

void Form1::nmuFileOpen_Click() {
    MnuFlag = Form3::kMemo;
    openChooser([this](bool handedOver, const QString& path) {
        if (handedOver)
            openMemo(path);
    });
}

bool Form1::mayReplay() {
    // A game in progress is never overwritten on the board.
    if (!connection_->Connected())
        return true;
    showMessage(QStringLiteral("通信を切断しなければ実行できません。"));
    return false;
}

void Form1::mnuPlay_Click() {
    if (!mayReplay())
        return;
    MnuFlag = Form3::kReplay;
    openChooser([this](bool handedOver, const QString& path) {
        if (!form2_)
            form2_ = new Form2(static_cast<ReplayHost&>(*this), this);
        // Closed with its close box, the chooser leaves the record chosen before.
        if (handedOver)
            form2_->ExFile = path;
        if (!form2_->ExFile.isEmpty())
            openReplay();
    });
}

void Form1::openChooser(std::function<void(bool handedOver, const QString& path)> done) {
    // A record is chosen where the records are; a memo where the program was started.
    const QString start =
        MnuFlag == Form3::kReplay ? env_.replayChooserFolder() : env_.workingFolder;
    auto* chooser = new Form3(MnuFlag, start, env_.showMessage, this);
    // The name last clicked in the chooser is kept from one opening to the next.
    chooser->SelectedName = chooserSelectedName_;
    chooser->setWindowModality(Qt::ApplicationModal);
    connect(chooser, &QDialog::finished, this, [this, chooser, done = std::move(done)](int result) {
        chooser->deleteLater();
        chooserSelectedName_ = chooser->SelectedName;
        done(result == QDialog::Accepted, chooser->chosenPath());
    });
    chooser->show();
}

void Form1::openMemo(const QString& path) {
    auto* memo = new Form4(
        MemoSeams{env_.showMessage, env_.askText, env_.askYesNo, env_.workingFolder}, this);
    memo->setAttribute(Qt::WA_DeleteOnClose);
    memo->setWindowModality(Qt::ApplicationModal);
    memo->FileN = path;
    connect(memo, &QDialog::finished, memo, &QObject::deleteLater);
    // Shown before it loads, so a box about the file opens above it, not behind it.
    memo->show();
    memo->Load();
}

void Form1::openReplay() {
    form2_->hide();
    form2_->Command3->setFocus(); // ">" has the focus whenever the window opens
    form2_->setWindowModality(Qt::ApplicationModal);
    form2_->show();
    // Beside the board rather than over it, when the screen has room.
    const QPoint beside = frameGeometry().topRight() + QPoint(8, 0);
    if (screen() &&
        screen()->availableGeometry().contains(QRect(beside, form2_->frameGeometry().size())))
        form2_->move(beside);
    form2_->LoadFile(form2_->ExFile);
}

void Form1::showPosition(const std::string& position) {
    game_.PositionString = position;
    BanStart();
    board_->ShowChanges();
}

void Form1::mnuPgn_Click() {
    // The chooser picks the record as for a replay; the board is not touched.
    MnuFlag = Form3::kReplay;
    openChooser([this](bool handedOver, const QString& path) {
        if (!handedOver || path.isEmpty())
            return;
        const PgnText pgn = ReadRecordAsPgn(path);
        if (!pgn.failure.isEmpty()) {
            showMessage(pgn.failure);
            return;
        }
        const QString answer = env_.askText(this, PgnPrompt());
        if (answer.isEmpty())
            return;
        const QString failure =
            WritePgnFile(answer, env_.savedRecordFolder(answer), pgn.text,
                         [this](const QString& question) { return env_.askYesNo(this, question); });
        if (!failure.isEmpty())
            showMessage(failure);
    });
}

} // namespace quorin

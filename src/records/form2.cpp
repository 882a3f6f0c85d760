#include "form2.h"

#include "designfont.h"
#include "dialogkeys.h"
#include "recordfile.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace quorin {

Form2::Form2(ReplayHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("PLAY"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(186, 63);

    // Created in tab order: ">" first, so it has the focus when the window opens.
    Command3 = new QPushButton(QStringLiteral(">"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(128, 24, 49, 25);
    Command2 = new QPushButton(QStringLiteral("<"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(64, 24, 49, 25);
    Command1 = new QPushButton(QStringLiteral("<<"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(0, 24, 49, 25);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 0, 73, 17);
    Label1->setFont(DesignFont(9));
    // No default button: Enter presses the button that has the focus.
    for (QPushButton* button : {Command3, Command2, Command1})
        button->setAutoDefault(false);
    Command3->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
}

bool Form2::LoadFile(const QString& FNAME) {
    setWindowTitle(QStringLiteral("PLAY:") + QFileInfo(ExFile).fileName());
    currentLine_ = 0;
    recordLines_.clear();
    Label1->clear();

    RecordFile record = ReadRecordFile(FNAME);
    if (!record.failure.isEmpty()) {
        host_.showMessage(
            QStringLiteral("棋譜ファイル「%1」を開けません。\n%2").arg(FNAME, record.failure));
        return false;
    }
    recordLines_ = std::move(record.positions);
    if (recordLines_.empty()) {
        host_.showMessage(QStringLiteral("棋譜ファイル「%1」には局面がありません。").arg(FNAME));
        return false;
    }
    if (record.skipped > 0) {
        host_.showMessage(
            QStringLiteral("棋譜ファイル「%1」の %2 行は局面ではないため、飛ばしました。")
                .arg(FNAME)
                .arg(record.skipped));
    }
    if (host_.mayReplay()) {
        host_.showPosition(recordLines_[0]);
        Label1->setText(QStringLiteral("1"));
    }
    return true;
}

void Form2::DispLay() {
    if (recordLines_.empty())
        return;
    Label1->setText(QString::number(currentLine_ + 1));
    // The window opens modal; from the first step on it lets the main window be used.
    if (isModal() || windowModality() != Qt::NonModal) {
        const QPoint at = pos();
        hide();
        setWindowModality(Qt::NonModal);
        show();
        move(at); // where the player put it, not back over the board
    }
    host_.showPosition(recordLines_[std::size_t(currentLine_)]);
}

void Form2::Command1_Click() {
    if (!host_.mayReplay())
        return;
    currentLine_ = 0;
    DispLay();
}

void Form2::Command2_Click() {
    if (!host_.mayReplay())
        return;
    currentLine_ = std::max(currentLine_ - 1, 0);
    DispLay();
}

void Form2::Command3_Click() {
    if (!host_.mayReplay())
        return;
    currentLine_ = std::min(currentLine_ + 1, std::max(LastLine(), 0));
    DispLay();
}

void Form2::keyPressEvent(QKeyEvent* event) {
    if (!HandleSideWindowKey(*this, event))
        QDialog::keyPressEvent(event);
}

} // namespace quorin

#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace quorin {

// What the replay window needs from the main window, on whose board it shows a record.
class ReplayHost {
public:
    virtual ~ReplayHost() = default;
    // Whether a record may be shown on the main window's board now; a game in progress
    // never is overwritten. Tells the player why not when it answers false.
    virtual bool mayReplay() = 0;
    // Makes `position` the main window's position and shows it on its board.
    virtual void showPosition(const std::string& position) = 0;
    virtual void showMessage(const QString& text) = 0;
};

// The replay window: steps through a game record one position at a time on the main
// window's board. It has no board of its own. Every step rebuilds the whole board from
// the stored line, so any line can be shown in any order.
class Form2 : public QDialog {
    Q_OBJECT

public:
    explicit Form2(ReplayHost& host, QWidget* parent = nullptr);

    // The record to replay, with its folder.
    QString ExFile;

    QLabel* Label1 = nullptr;        // the number of the line shown, from 1
    QPushButton* Command1 = nullptr; // "<<": the first line
    QPushButton* Command2 = nullptr; // "<": one back
    QPushButton* Command3 = nullptr; // ">": one on

    const std::vector<std::string>& RecordLines() const { return recordLines_; }
    int LastLine() const { return int(recordLines_.size()) - 1; }

    // Reads `FNAME` and shows its first position. A file that cannot be read (also one that
    // is no regular file or is too large, see recordfile.h), holds no position, or holds
    // lines that are not positions is reported in a message box; only valid positions are
    // ever shown. The buttons step only while the main window allows
    // a replay; otherwise they change nothing.
    bool LoadFile(const QString& FNAME);
    // Shows line CurrentLine on the main window's board.
    void DispLay();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ReplayHost& host_;
    std::vector<std::string> recordLines_;
    int currentLine_ = 0;
};

} // namespace quorin

#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace quorin {

// The file chooser ("開く"): a small modal tool window of its own controls, not the
// platform's file dialog. A drive list, a folder list and a file list pick one file, for one of two
// users that the main window names before showing it:
//  - the memo pad (MnuFlag 0): text files, "開　く" hands back the file with its path;
//  - the replay window (MnuFlag 1): game records only, "実　行" hands back the record with
//    its folder.
// The chooser keeps its own current folder and never changes the process's one.
class Form3 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMemo = 0;
    static constexpr int kReplay = 1;

    using ShowMessage = std::function<void(QWidget* parent, const QString& text)>;

    // The lists start at `startFolder` and its drive; `showMessage` shows a modal message
    // box.
    Form3(int MnuFlag, const QString& startFolder, ShowMessage showMessage,
          QWidget* parent = nullptr);

    // Created in tab order.
    QLabel* Label1 = nullptr;        // "ファイル名(&N):", the name box's label
    QLineEdit* Text1 = nullptr;      // the chosen file's name; cannot be edited by hand
    QComboBox* Drive1 = nullptr;     // the drives
    QListWidget* Dir1 = nullptr;     // the folders: the current folder's chain and subfolders
    QListWidget* File1 = nullptr;    // the matching files of the current folder
    QPushButton* Command1 = nullptr; // "開　く", memo mode only
    QPushButton* Command2 = nullptr; // "実　行", replay mode only
    QRadioButton* Option1 = nullptr; // ".TXT"
    QRadioButton* Option2 = nullptr; // ".CHS"

    // The bare name of the file last chosen in the file list; kept when the folder
    // changes. The name box starts empty and, once changed, shows this name again; the
    // opener may hand in the name of an earlier opening.
    QString SelectedName;

    int MnuFlag() const { return mnuFlag_; }
    // The folder list's current folder: absolute and clean, "/" separated.
    QString folder() const { return folder_; }
    // Makes `path` the folder list's current folder and refreshes the file list. A path
    // that is not a readable folder changes nothing and answers false.
    bool setFolder(const QString& path);
    // The file list's name pattern: "*.txt" or "*.chs".
    QString pattern() const { return pattern_; }
    // The file a command handed back; empty until then, and after closing with the close
    // box.
    QString chosenPath() const { return chosenPath_; }

    // `name` in `folder`, with one "/" between them unless the folder already ends with
    // one (a drive root: "/", "C:/").
    static QString JoinPath(const QString& folder, const QString& name);

    // The drive list's choice: moves the folder list to the chosen drive's root. A drive
    // that cannot be opened is reported, and both lists stay where they were.
    void Drive1_Change();
    // An entry of the folder list activated: its folder becomes the current one.
    void Dir1_Activate(QListWidgetItem* item);
    // A file of the file list chosen: its name goes to SelectedName and the name box.
    void File1_Click(QListWidgetItem* item);
    // The name box changed: it shows SelectedName again.
    void Text1_Change();
    void Option1_Click(); // ".TXT": text files
    void Option2_Click(); // ".CHS": game records
    // "開　く": hands back the chosen file with its path; asks for a file when none is
    // chosen.
    void Command1_Click();
    // "実　行": hands back the chosen record with its folder, or an empty text when none is
    // chosen.
    void Command2_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void fillDrives();
    void showDriveOf(const QString& path);
    void fillFolders();
    void fillFiles();
    void setPattern(const QString& pattern);
    void showMessage(const QString& text);

    int mnuFlag_;
    ShowMessage showMessage_;
    QString folder_;
    QString pattern_;
    QString chosenPath_;
};

} // namespace quorin

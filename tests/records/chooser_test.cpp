#include "records/form3.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <ostream>

using namespace quorin;

// Failure messages show texts as text.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QStringList kTexts = {"a.txt", "B.TXT"};
const QStringList kRecords = {"game.chs", "other.CHS"};

// A folder holding files of both kinds, a subfolder and a hidden one, and a chooser shown
// on it whose message boxes are recorded.
class Chooser : public ::testing::Test {
protected:
    Chooser() {
        for (const char* file : {"a.txt", "B.TXT", "game.chs", "other.CHS", "notes.md", "sub/x.txt",
                                 ".hidden/y.txt"}) {
            QDir(root()).mkpath(QFileInfo(file).path());
            QFile(QDir(root()).filePath(file)).open(QIODevice::WriteOnly);
        }
    }

    QString root() const { return QDir::cleanPath(temp.path()); }

    Form3& open(int mnuFlag) {
        form = std::make_unique<Form3>(mnuFlag, root(),
                                       [this](QWidget*, const QString& text) { messages << text; });
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    // The entries of a list without their indentation.
    static QStringList Texts(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text().trimmed();
        return texts;
    }

    static void ClickItem(QListWidget* list, const QString& text, bool twice = false) {
        const auto found = list->findItems(text, Qt::MatchEndsWith);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        list->scrollToItem(found[0]);
        const QPoint at = list->visualItemRect(found[0]).center();
        // A widget's double click arrives after a click, as from a real mouse.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    QTemporaryDir temp;
    QStringList messages;
    std::unique_ptr<Form3> form;
};

struct ModeCase {
    int mnuFlag;
    bool memo;            // "開　く" shown and the options enabled
    QStringList afterChs; // the files after clicking ".CHS"
    QStringList afterTxt; // then after clicking ".TXT"
};

void PrintTo(const ModeCase& mode, std::ostream* out) {
    *out << (mode.memo ? "memo" : "replay");
}

class ChooserMode : public Chooser, public ::testing::WithParamInterface<ModeCase> {};

} // namespace

TEST_P(ChooserMode, ShowsTheModesButtonOptionsAndFiles) {
    const ModeCase& mode = GetParam();
    Form3& f = open(mode.mnuFlag);
    EXPECT_EQ(f.Command1->isVisible(), mode.memo);
    EXPECT_EQ(f.Command2->isVisible(), !mode.memo);
    EXPECT_EQ(f.Option1->isEnabled(), mode.memo);
    EXPECT_EQ(f.Option2->isEnabled(), mode.memo);
    EXPECT_EQ(f.Option1->isChecked(), mode.memo);
    EXPECT_EQ(f.Option2->isChecked(), !mode.memo);
    EXPECT_EQ(Texts(f.File1), mode.memo ? kTexts : kRecords);
    // A disabled option takes no clicks.
    QTest::mouseClick(f.Option2, Qt::LeftButton);
    EXPECT_EQ(Texts(f.File1), mode.afterChs);
    QTest::mouseClick(f.Option1, Qt::LeftButton);
    EXPECT_EQ(Texts(f.File1), mode.afterTxt);
}

INSTANTIATE_TEST_SUITE_P(Modes, ChooserMode,
                         ::testing::Values(ModeCase{Form3::kMemo, true, kRecords, kTexts},
                                           ModeCase{Form3::kReplay, false, kRecords, kRecords}),
                         [](const auto& info) { return info.param.memo ? "Memo" : "Replay"; });

TEST_F(Chooser, FolderListShowsTheChainAndSubfoldersAndOpensThem) {
    Form3& f = open(Form3::kMemo);
    EXPECT_EQ(f.folder(), root());
    QStringList expected = root().split(u'/', Qt::SkipEmptyParts);
    expected.prepend("/");
    EXPECT_EQ(f.Dir1->currentItem()->text().trimmed(), expected.last());
    expected << "sub"; // hidden folders are left out
    EXPECT_EQ(Texts(f.Dir1), expected);
    const auto indent = [&](int row) {
        const QString text = f.Dir1->item(row)->text();
        return text.size() - text.trimmed().size();
    };
    for (int row = 1; row < f.Dir1->count(); ++row)
        EXPECT_GT(indent(row), indent(row - 1)) << "row " << row;

    ClickItem(f.Dir1, "sub", true);
    EXPECT_EQ(f.folder(), root() + "/sub");
    EXPECT_EQ(Texts(f.File1), QStringList{"x.txt"});
    EXPECT_EQ(f.Dir1->currentItem()->text().trimmed(), "sub");

    // Enter on the parent's entry goes back up; it does not press a button.
    f.Dir1->setCurrentRow(f.Dir1->currentRow() - 1);
    QTest::keyClick(f.Dir1, Qt::Key_Return);
    EXPECT_EQ(f.folder(), root());
    EXPECT_EQ(Texts(f.File1), kTexts);
    EXPECT_TRUE(f.isVisible());

    // What is not a readable folder is refused quietly.
    EXPECT_FALSE(f.setFolder(root() + "/none"));
    EXPECT_FALSE(f.setFolder(root() + "/a.txt"));
    EXPECT_EQ(f.folder(), root());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Chooser, NameBoxShowsOnlyTheChosenFile) {
    Form3& f = open(Form3::kMemo);
    QTest::keyClicks(f.Text1, "typed");
    EXPECT_EQ(f.Text1->text(), "");
    ClickItem(f.File1, "B.TXT");
    EXPECT_EQ(f.SelectedName, "B.TXT");
    EXPECT_EQ(f.Text1->text(), "B.TXT");
    QTest::keyClicks(f.Text1, "x");
    QTest::keyClick(f.Text1, Qt::Key_Backspace);
    QTest::keyClick(f.Text1, Qt::Key_Backspace);
    f.Text1->setText("pasted.txt");
    EXPECT_EQ(f.Text1->text(), "B.TXT");
    // Moving in the file list by keyboard chooses too.
    QTest::keyClick(f.File1, Qt::Key_Up);
    EXPECT_EQ(f.Text1->text(), "a.txt");
    // The name stays when the folder changes.
    ASSERT_TRUE(f.setFolder(root() + "/sub"));
    EXPECT_EQ(f.SelectedName, "a.txt");
    EXPECT_EQ(f.Text1->text(), "a.txt");
}

TEST_F(Chooser, OpenAsksForAFileThenHandsBackItsPath) {
    Form3& f = open(Form3::kMemo);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(messages, QStringList{QStringLiteral("ファイルを指定してください。")});
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.chosenPath().isEmpty());

    ClickItem(f.File1, "a.txt");
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(f.chosenPath(), root() + "/a.txt");
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(messages.size(), 1);

    // At a drive root the name follows the root's own separator.
    Form3& atRoot = open(Form3::kMemo);
    ASSERT_TRUE(atRoot.setFolder(QDir::rootPath()));
    atRoot.SelectedName = "a.txt";
    atRoot.Text1->setText("a.txt");
    atRoot.Command1_Click();
    EXPECT_EQ(atRoot.chosenPath(), QDir::rootPath() + "a.txt");
}

TEST(ChooserPath, JoinsWithOneSeparator) {
    EXPECT_EQ(Form3::JoinPath("/", "a.txt"), "/a.txt");
    EXPECT_EQ(Form3::JoinPath("C:/", "a.txt"), "C:/a.txt");
    EXPECT_EQ(Form3::JoinPath("/tmp/x", "a.txt"), "/tmp/x/a.txt");
}

TEST_F(Chooser, DriveThatCannotOpenLeavesBothListsWhereTheyWere) {
    Form3& f = open(Form3::kMemo);
    const QString drive = QStorageInfo(root()).rootPath();
    EXPECT_EQ(f.Drive1->currentData().toString(), drive);

    f.Drive1->addItem("/no/such/drive", "/no/such/drive");
    f.Drive1->setCurrentIndex(f.Drive1->count() - 1);
    f.Drive1_Change();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("/no/such/drive"));
    EXPECT_EQ(f.folder(), root());
    EXPECT_EQ(f.Drive1->currentData().toString(), drive);
    EXPECT_EQ(Texts(f.File1), kTexts);

    // A drive that opens moves the folder list to its root.
    const int top = f.Drive1->findData(QDir::rootPath());
    ASSERT_GE(top, 0);
    f.Drive1->setCurrentIndex(top);
    f.Drive1_Change();
    EXPECT_EQ(f.folder(), QDir::rootPath());
    EXPECT_EQ(f.Dir1->currentItem()->text(), QDir::toNativeSeparators(QDir::rootPath()));
    EXPECT_EQ(messages.size(), 1);
}

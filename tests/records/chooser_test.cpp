#include "records/form3.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quorin;

// Failure messages show texts as text.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QStringList kTexts = {"a.txt", "B.TXT"};
const QStringList kRecords = {"game.chs", "other.CHS"};

// Files of both kinds, other and hidden ones, and two subfolders, one hidden; answers
// their folder.
QString MakeFiles(const QTemporaryDir& temp) {
    const QDir root(QDir::cleanPath(temp.path()));
    for (const char* file : {"a.txt", "B.TXT", "game.chs", "other.CHS", "notes.md", ".h.txt",
                             "sub/x.txt", ".hidden/y.txt"}) {
        root.mkpath(QFileInfo(file).path());
        QFile(root.filePath(file)).open(QIODevice::WriteOnly);
    }
    return root.path();
}

// The entries of a list without their indentation.
QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text().trimmed();
    return texts;
}

void Click(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found[0]).center());
}

// A memo-mode chooser shown on the files, recording its message boxes.
class Chooser : public ::testing::Test {
protected:
    Chooser() { f.show(); }

    QTemporaryDir temp;
    const QString root = MakeFiles(temp);
    QStringList messages;
    Form3 f{Form3::kMemo, root, [this](QWidget*, const QString& text) { messages << text; }};
};

} // namespace

TEST_F(Chooser, EachModeShowsItsButtonOptionsAndFiles) {
    for (const bool memo : {true, false}) {
        SCOPED_TRACE(memo ? "memo" : "replay");
        Form3 chooser(memo ? Form3::kMemo : Form3::kReplay, root, {});
        chooser.show();
        EXPECT_EQ(chooser.Command1->isVisible(), memo);
        EXPECT_EQ(chooser.Command2->isVisible(), !memo);
        EXPECT_EQ(chooser.Option1->isEnabled(), memo);
        EXPECT_EQ(chooser.Option2->isEnabled(), memo);
        EXPECT_EQ(chooser.Option1->isChecked(), memo);
        EXPECT_EQ(chooser.Option2->isChecked(), !memo);
        EXPECT_EQ(Texts(chooser.File1), memo ? kTexts : kRecords);
        // In replay mode the disabled options take no clicks.
        QTest::mouseClick(chooser.Option2, Qt::LeftButton);
        EXPECT_EQ(Texts(chooser.File1), kRecords);
        QTest::mouseClick(chooser.Option1, Qt::LeftButton);
        EXPECT_EQ(Texts(chooser.File1), memo ? kTexts : kRecords);
    }
}

TEST_F(Chooser, EnterOnAVisibleSubfolderListsItsFilesAndEscClosesNothing) {
    EXPECT_EQ(f.windowType(), Qt::Tool);
    EXPECT_EQ(Texts(f.Dir1).mid(f.Dir1->currentRow()), (QStringList{root.section('/', -1), "sub"}));
    f.Dir1->setCurrentRow(f.Dir1->count() - 1);
    QTest::keyClick(f.Dir1, Qt::Key_Return);
    EXPECT_EQ(f.folder(), root + "/sub");
    EXPECT_EQ(Texts(f.File1), QStringList{"x.txt"});
    QTest::keyClick(f.Dir1, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(messages.isEmpty()); // Enter in a list pressed no button
    // Enter on the focused button presses it.
    f.Command1->setFocus();
    QTest::keyClick(f.Command1, Qt::Key_Enter);
    EXPECT_EQ(messages, QStringList{QStringLiteral("ファイルを指定してください。")});
}

TEST_F(Chooser, NameBoxKeepsTheClickedNameAndOpenHandsBackItsPath) {
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(messages, QStringList{QStringLiteral("ファイルを指定してください。")});
    EXPECT_TRUE(f.isVisible());

    Click(f.File1, "a.txt");
    Click(f.File1, "B.TXT");
    QTest::keyClicks(f.Text1, "x");
    f.Text1->setText("pasted.txt");
    EXPECT_EQ(f.Text1->text(), "B.TXT");
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(f.chosenPath(), root + "/B.TXT");
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(messages.size(), 1);
    // At a drive root the name follows the root's own separator.
    EXPECT_EQ(Form3::JoinPath("/", "a.txt"), "/a.txt");
    EXPECT_EQ(Form3::JoinPath("C:/", "a.txt"), "C:/a.txt");
}

TEST_F(Chooser, DriveThatCannotOpenIsReportedAndLeavesBothLists) {
    const QString drive = f.Drive1->currentData().toString();
    const QStringList folders = Texts(f.Dir1);
    f.Drive1->addItem("/no/such/drive", "/no/such/drive");
    f.Drive1->setCurrentIndex(f.Drive1->count() - 1);
    f.Drive1_Change();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("/no/such/drive"));
    EXPECT_EQ(f.Drive1->currentData().toString(), drive);
    EXPECT_EQ(Texts(f.Dir1), folders);
    EXPECT_EQ(Texts(f.File1), kTexts);
}

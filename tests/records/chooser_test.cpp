#include "records/form3.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

#include <sys/stat.h>

using namespace quorin;

namespace {

// Files of both kinds, other and hidden ones, two subfolders, one hidden, a link to a file
// and one to a folder; and planted entries no list offers: a pipe, links to it and to a
// device, a dangling link, a link loop. Answers the folder.
QString MakeFiles(const QTemporaryDir& temp) {
    const QDir root(QDir::cleanPath(temp.path()));
    for (const char* file : {"a.txt", "B.TXT", "game.chs", "other.CHS", "notes.md", ".h.txt",
                             "sub/x.txt", ".hidden/y.txt"}) {
        root.mkpath(QFileInfo(file).path());
        QFile(root.filePath(file)).open(QIODevice::WriteOnly);
    }
    mkfifo(QFile::encodeName(root.filePath("pipe.txt")).constData(), 0600);
    const std::pair<const char*, QString> links[] = {{"linked.chs", root.filePath("game.chs")},
                                                     {"sublink", root.filePath("sub")},
                                                     {"pipe.chs", root.filePath("pipe.txt")},
                                                     {"pipedir", root.filePath("pipe.txt")},
                                                     {"null.txt", "/dev/null"},
                                                     {"nulldir", "/dev/null"},
                                                     {"gone.chs", root.filePath("gone")},
                                                     {"loop.txt", root.filePath("loop.txt")}};
    for (const auto& [name, target] : links)
        QFile::link(target, root.filePath(name));
    return root.path();
}

// The entries of a list without their indentation.
std::string Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text().trimmed();
    return texts.join(' ').toStdString();
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

// The memo pad's chooser lists text files or records; the replay window's only records.
TEST_F(Chooser, EachModeShowsItsButtonOptionsAndFiles) {
    Form3 replay(Form3::kReplay, root, {});
    replay.show();
    for (Form3* chooser : {&f, &replay}) {
        const bool memo = chooser == &f;
        EXPECT_EQ(std::tuple(chooser->Command1->isVisible(), chooser->Command2->isVisible(),
                             chooser->Option1->isEnabled(), chooser->Option1->isChecked()),
                  std::tuple(memo, !memo, memo, memo));
        EXPECT_EQ(Texts(chooser->File1), memo ? "a.txt B.TXT" : "game.chs linked.chs other.CHS");
        QTest::mouseClick(chooser->Option2, Qt::LeftButton);
        EXPECT_EQ(Texts(chooser->File1), "game.chs linked.chs other.CHS");
    }
    QTest::mouseClick(replay.Option1, Qt::LeftButton);
    EXPECT_EQ(Texts(replay.File1), "game.chs linked.chs other.CHS");
}

TEST_F(Chooser, NameBoxKeepsTheClickedNameAcrossFoldersAndOpenHandsBackItsPath) {
    const QListWidgetItem* b = f.File1->findItems("B.TXT", Qt::MatchExactly).value(0);
    ASSERT_TRUE(b);
    QTest::mouseClick(f.File1->viewport(), Qt::LeftButton, {}, f.File1->visualItemRect(b).center());
    QTest::keyClicks(f.Text1, "x");
    f.Text1->setText("pasted.txt");
    EXPECT_EQ(f.Text1->text(), "B.TXT");
    // The folders down to the current one, then its visible subfolders; Enter opens one.
    EXPECT_TRUE(Texts(f.Dir1).ends_with(root.section('/', -1).toStdString() + " sub sublink"));
    f.Dir1->setCurrentRow(f.Dir1->count() - 2);
    QTest::keyClick(f.Dir1, Qt::Key_Return);
    EXPECT_EQ(Texts(f.File1), "x.txt");
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(f.chosenPath(), root + "/sub/B.TXT");
    EXPECT_FALSE(f.isVisible());
    // At a drive root the name follows the root's own separator.
    EXPECT_EQ(Form3::JoinPath("/", "a.txt"), "/a.txt");
    EXPECT_EQ(Form3::JoinPath("C:/", "a.txt"), "C:/a.txt");
}

TEST_F(Chooser, DriveThatCannotOpenIsReportedAndLeavesBothLists) {
    const QString drive = f.Drive1->currentData().toString();
    const std::string folders = Texts(f.Dir1);
    f.Drive1->addItem("/no/such/drive", "/no/such/drive");
    f.Drive1->setCurrentIndex(f.Drive1->count() - 1);
    f.Drive1_Change();
    EXPECT_TRUE(messages.value(0).contains("/no/such/drive"));
    EXPECT_EQ(f.Drive1->currentData().toString(), drive);
    EXPECT_EQ(Texts(f.Dir1), folders);
    EXPECT_EQ(Texts(f.File1), "a.txt B.TXT");
}

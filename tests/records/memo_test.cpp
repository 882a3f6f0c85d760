#include "records/form4.h"
#include "records/memotext.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace quorin;
using quorin::test::Contents;
using quorin::test::Write;

namespace {

// One row per file: its bytes, the editor's text, the number of lines, the bytes saved back.
struct MemoCase {
    QByteArray file;
    QString text;
    int lines;
    QByteArray saved;
};

void PrintTo(const MemoCase& c, std::ostream* out) {
    *out << c.file.toPercentEncoding().toStdString();
}

class MemoRules : public ::testing::TestWithParam<MemoCase> {};

TEST_P(MemoRules, LoadAndSaveBack) {
    const MemoCase& c = GetParam();
    const MemoText memo = MemoFromFile(c.file);
    EXPECT_EQ(memo.text, c.text);
    EXPECT_EQ(memo.lines, c.lines);
    EXPECT_EQ(FileFromMemo(memo.text), c.saved);
}

const QByteArray kJapanese = QStringEncoder("Shift_JIS")(QStringLiteral("将棋メモ\r\n王手！\r\n"));

INSTANTIATE_TEST_SUITE_P(
    Files, MemoRules,
    ::testing::Values(MemoCase{"a\r\nb\r\n", "a\nb", 2, "a\r\nb\r\n"},           // CR LF kept
                      MemoCase{"a\r\nb", "a\nb", 2, "a\r\nb\r\n"},               // last end added
                      MemoCase{"a\rb\r", "a\nb", 2, "a\r\nb\r\n"},               // lone CR
                      MemoCase{"a\r\n\r\nb\r\n", "a\n\nb", 3, "a\r\n\r\nb\r\n"}, // empty line
                      MemoCase{"a\nb\r\nc", "a\nb\nc", 2, "a\r\nb\r\nc\r\n"},    // LF in a line
                      MemoCase{"\r\n", "", 1, "\r\n"},                           // one empty line
                      MemoCase{"", "", 0, "\r\n"},                               // empty file
                      MemoCase{kJapanese, QStringLiteral("将棋メモ\n王手！"), 2, kJapanese}));

// A memo pad on a file in a fresh folder, with recorders in place of the boxes.
class MemoPad : public ::testing::Test {
protected:
    MemoPad() : pad(Seams()) { pad.FileN = dir.filePath("memo.txt"); }

    MemoSeams Seams() {
        return {[this](QWidget*, const QString& text) { messages << text; },
                [this](QWidget*, const QString& prompt) {
                    prompts << prompt;
                    return answers.isEmpty() ? QString() : answers.takeFirst();
                },
                dir.path()};
    }

    QTemporaryDir dir;
    QStringList messages, prompts, answers;
    Form4 pad;
};

TEST_F(MemoPad, MenuAndTextBoxAsDesigned) {
    EXPECT_EQ(pad.objectName(), "Form4");
    EXPECT_EQ(pad.Text1->objectName(), "Text1");
    EXPECT_EQ(pad.Text1->font().family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(pad.Text1->font().pointSizeF(), 11.25);
    EXPECT_EQ(pad.Text1->lineWrapMode(), QPlainTextEdit::NoWrap);
    const QList<QAction*> top = pad.menuBar->actions();
    ASSERT_EQ(top.size(), 1);
    EXPECT_EQ(top[0]->objectName(), "mnuFile");
    EXPECT_EQ(top[0]->text(), QStringLiteral("ファイル"));
    const QList<QAction*> items = top[0]->menu()->actions();
    const char* rows[][3] = {{"nmuNameChangeSave", "名前を変えて保存(&S)", "Ctrl+S"},
                             {"mnuRewrite", "上書保存", ""},
                             {"mnuQuit", "終了(&Q)", "Ctrl+Q"}};
    ASSERT_EQ(items.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i]->objectName(), rows[i][0]);
        EXPECT_EQ(items[i]->text(), QString::fromUtf8(rows[i][1]));
        EXPECT_EQ(items[i]->shortcut(), QKeySequence(QString::fromUtf8(rows[i][2])));
    }
}

TEST_F(MemoPad, LoadsTheFileAndTheTextBoxFillsTheWindowAtEverySize) {
    Write(pad.FileN, "one\r\ntwo\r\nthree\r\n");
    EXPECT_TRUE(pad.Load());
    EXPECT_EQ(pad.Text1->toPlainText(), "one\ntwo\nthree");
    EXPECT_EQ(pad.windowTitle(),
              pad.FileN + QStringLiteral(":将棋メモ帳\uFF1Aロ\uFF0Dドした行数=3"));
    EXPECT_TRUE(messages.isEmpty());

    pad.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pad));
    EXPECT_EQ(pad.Text1->size(), QSize(552, 446));
    for (const QSize size : {QSize(800, 600), QSize(300, 200)}) {
        pad.resize(size);
        QCoreApplication::processEvents();
        const int top = pad.menuBar->geometry().bottom() + 1;
        EXPECT_EQ(pad.Text1->geometry(), QRect(0, top, pad.width(), pad.height() - top));
    }
    pad.mnuQuit_Click();
    EXPECT_FALSE(pad.isVisible());
    EXPECT_EQ(pad.result(), QDialog::Rejected);
}

TEST_F(MemoPad, SavesOverTheFileByteForByte) {
    const QByteArray bytes = kJapanese + "\r\nlast\r\n";
    Write(pad.FileN, bytes);
    pad.Load();
    Write(pad.FileN, "changed on disk");
    pad.mnuRewrite_Click();
    EXPECT_EQ(Contents(pad.FileN), bytes);
    pad.Text1->appendPlainText("more");
    pad.mnuRewrite_Click();
    EXPECT_EQ(Contents(pad.FileN), bytes + "more\r\n");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MemoPad, SaveAsAddsTheExtensionInTheCurrentFolderAndLaterSavesFollow) {
    Write(pad.FileN, "memo\r\n");
    pad.Load();
    const QString caption = pad.windowTitle();
    answers = QStringList{"memo", "memo.txt", "memo.chs", "a.chsx", "memo.CHS"};
    for (const char* name : {"memo.chs", "memo.txt.chs", "memo.chs", "a.chsx", "memo.CHS.chs"}) {
        QFile::remove(dir.filePath(name));
        pad.nmuNameChangeSave_Click();
        EXPECT_EQ(pad.FileN, dir.filePath(name));
        EXPECT_EQ(Contents(dir.filePath(name)), "memo\r\n") << name;
    }
    EXPECT_EQ(prompts.size(), 5);
    EXPECT_EQ(prompts[0],
              QStringLiteral("ファイル名 \uFF08拡張子は、略すと.chsになります。\uFF09"));
    EXPECT_EQ(pad.windowTitle(), caption);

    pad.Text1->setPlainText("edited");
    pad.mnuRewrite_Click();
    EXPECT_EQ(Contents(dir.filePath("memo.CHS.chs")), "edited\r\n");
    EXPECT_EQ(Contents(dir.filePath("memo.txt")), "memo\r\n");

    // Cancelling the box writes nothing and keeps the name.
    pad.nmuNameChangeSave_Click();
    EXPECT_EQ(pad.FileN, dir.filePath("memo.CHS.chs"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MemoPad, SavingIntoAMissingFolderIsReportedAndKeepsTheText) {
    pad.Text1->setPlainText("keep me");
    answers = QStringList{dir.filePath("missing/memo")};
    pad.nmuNameChangeSave_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(dir.filePath("missing/memo.chs"))));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing/memo.chs")));
    EXPECT_EQ(pad.Text1->toPlainText(), "keep me");
}

} // namespace

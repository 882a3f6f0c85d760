#include "records/form4.h"
#include "records/memotext.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <tuple>

using namespace quorin;
using quorin::test::Contents;
using quorin::test::Write;

namespace {

const QByteArray kJapanese = QStringEncoder("Shift_JIS")(QStringLiteral("将棋メモ\r\n王手！\r\n"));

TEST(MemoText, LoadsAndSavesBack) {
    // A file's bytes, the editor's text, the number of lines, the bytes saved back.
    const std::tuple<QByteArray, QString, int, QByteArray> cases[] = {
        {"a\r\nb\r\n", "a\nb", 2, "a\r\nb\r\n"},           // CR LF kept
        {"a\r\nb", "a\nb", 2, "a\r\nb\r\n"},               // last end added
        {"a\rb\r", "a\nb", 2, "a\r\nb\r\n"},               // lone CR
        {"a\r\n\r\nb\r\n", "a\n\nb", 3, "a\r\n\r\nb\r\n"}, // empty line
        {"a\nb\r\nc", "a\nb\nc", 2, "a\r\nb\r\nc\r\n"},    // LF in a line
        {"\r\n", "", 1, "\r\n"},                           // one empty line
        {"", "", 0, "\r\n"},                               // empty file
        {kJapanese, QStringLiteral("将棋メモ\n王手！"), 2, kJapanese}};
    for (const auto& [file, text, lines, saved] : cases) {
        SCOPED_TRACE(file.toPercentEncoding().toStdString());
        const MemoText memo = MemoFromFile(file);
        EXPECT_EQ(memo.text, text);
        EXPECT_EQ(memo.lines, lines);
        EXPECT_EQ(FileFromMemo(memo.text), saved);
    }
}

// A memo pad on a file in a fresh folder, with recorders in place of the boxes.
class MemoPad : public ::testing::Test {
protected:
    MemoPad() { pad.FileN = dir.filePath("memo.txt"); }

    QTemporaryDir dir;
    QStringList messages, prompts, answers;
    Form4 pad{{[this](QWidget*, const QString& text) { messages << text; },
               [this](QWidget*, const QString& prompt) {
                   prompts << prompt;
                   return answers.isEmpty() ? QString() : answers.takeFirst();
               },
               dir.path()}};
};

TEST_F(MemoPad, LoadsCountingLinesFillsTheWindowAndSavesOverTheFileByteForByte) {
    EXPECT_EQ(
        (QStringList{pad.nmuNameChangeSave->text(), pad.mnuRewrite->text(), pad.mnuQuit->text()}),
        (QStringList{"名前を変えて保存(&S)", "上書保存", "終了(&Q)"}));
    Write(pad.FileN, kJapanese + "last\r\n");
    EXPECT_TRUE(pad.Load());
    EXPECT_EQ(pad.Text1->toPlainText(), QStringLiteral("将棋メモ\n王手！\nlast"));
    EXPECT_EQ(pad.windowTitle(),
              pad.FileN + QStringLiteral(":将棋メモ帳\uFF1Aロ\uFF0Dドした行数=3"));
    pad.show();
    pad.resize(300, 200);
    QCoreApplication::processEvents();
    const int top = pad.menuBar->geometry().bottom() + 1;
    EXPECT_EQ(pad.Text1->geometry(), QRect(0, top, 300, 200 - top));

    pad.Text1->appendPlainText("more");
    pad.mnuRewrite_Click();
    EXPECT_EQ(Contents(pad.FileN), kJapanese + "last\r\nmore\r\n");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MemoPad, SaveAsAddsTheExtensionAndSavesInTheCurrentFolder) {
    pad.Text1->setPlainText("memo");
    const QString caption = pad.windowTitle();
    answers = QStringList{"memo", "memo.txt", "memo.chs", "a.chsx", "memo.CHS"};
    for (const char* name : {"memo.chs", "memo.txt.chs", "memo.chs", "a.chsx", "memo.CHS.chs"}) {
        QFile::remove(dir.filePath(name));
        pad.nmuNameChangeSave_Click();
        EXPECT_EQ(pad.FileN, dir.filePath(name));
        EXPECT_EQ(Contents(dir.filePath(name)), "memo\r\n") << name;
    }
    EXPECT_EQ(
        prompts,
        QStringList(5, QStringLiteral("ファイル名 \uFF08拡張子は、略すと.chsになります。\uFF09")));
    EXPECT_EQ(pad.windowTitle(), caption);
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

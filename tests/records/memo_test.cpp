#include "records/form4.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTemporaryDir>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include <tuple>

using namespace quorin;
using quorin::test::Contents;

namespace {

QByteArray Sjis(const QString& text) {
    return QStringEncoder("Shift_JIS")(text);
}

// A memo pad on a file in a fresh folder, with recorders in place of the boxes.
class MemoPad : public ::testing::Test {
protected:
    QString path(const char* name = "memo.txt") const { return dir.filePath(name); }
    bool Open(const QByteArray& bytes) {
        test::Write(path(), bytes);
        pad.FileN = path();
        messages.clear();
        return pad.Load();
    }

    QTemporaryDir dir;
    QStringList messages, prompts, answers;
    QList<bool> yesNo; // the answers to the questions, which are prompts too
    Form4 pad{{[this](QWidget*, const QString& text) { messages << text; },
               [this](QWidget*, const QString& prompt) {
                   prompts << prompt;
                   return answers.isEmpty() ? QString() : answers.takeFirst();
               },
               [this](QWidget*, const QString& question) {
                   prompts << question;
                   return !yesNo.isEmpty() && yesNo.takeFirst();
               },
               dir.path()}};
};

// A file is saved back byte for byte, or, read otherwise than it would be written back, opens
// read-only (no text given) and is never saved over. Either is copied whole under a new name.
TEST_F(MemoPad, SavesAFileByteForByteOrNeverOverwritesIt) {
    // What the file holds, the lines the caption counts, the text the player sees.
    const std::tuple<QByteArray, int, const char*> cases[] = {
        {Sjis("将棋メモ\r\n王手！～\r\n"), 2, "将棋メモ\n王手！～"},
        {"日本語のメモです。\r\n", 1, "日本語のメモです。"}, // UTF-8
        {"\xEF\xBB\xBF日本語\nのメモ", 2, "日本語\nのメモ"}, // UTF-8 with its mark
        {"a\nb\n\nc\n", 4, "a\nb\n\nc"},                     // LF only, an empty line
        {"a\rb\r", 2, "a\nb"},                               // lone CR
        {Sjis("王手\r\nlast"), 2, "王手\nlast"},             // no line end at the end
        {"a\r\nb\nc\rd\n\r\n", 5, "a\nb\nc\nd\n"},           // mixed, an empty last line
        {"", 0, ""},
        {"caf\xE9\r\n", 1, nullptr},  // neither Shift-JIS nor UTF-8
        {"\xFA\x54\r\n", 1, nullptr}, // Shift-JIS that encodes back otherwise
        {"a\u2028b。", 2, nullptr}};  // a line separator the editor makes a line break
    for (const auto& [bytes, lines, text] : cases) {
        SCOPED_TRACE(bytes.toPercentEncoding().toStdString());
        ASSERT_TRUE(Open(bytes));
        EXPECT_EQ(pad.windowTitle(),
                  path() + QStringLiteral(":将棋メモ帳\uFF1Aロ\uFF0Dドした行数=%1").arg(lines));
        EXPECT_EQ(pad.Text1->isReadOnly() ? "read-only" : pad.Text1->toPlainText(),
                  text ? text : "read-only");
        QFile::remove(path()); // so the file seen afterwards is the one the save wrote
        pad.mnuRewrite->trigger();
        EXPECT_EQ(Contents(path()), text ? bytes : QByteArray());
        EXPECT_EQ(messages.size(), text ? 0 : 2);
        answers = QStringList{"copy.txt"};
        yesNo = {true}; // replaces the copy of the case before
        pad.nmuNameChangeSave->trigger();
        EXPECT_EQ(Contents(path("copy.txt.chs")), bytes);
    }
}

TEST_F(MemoPad, RefusesToSaveACharacterTheEncodingCannotHold) {
    // The file, the text added at its end, the start and the end of the message.
    const QString lone(QChar(0xD800));
    const std::tuple<QByteArray, QString, QString, QString> cases[] = {
        {"a\r\nb\r\n", "\nx€y", "Shift-JIS", "\n3 行目の文字 「€」(U+20AC)"},
        {"日本語", lone, "UTF-8", "\n1 行目の文字 「" + lone + "」(U+D800)"}};
    for (const auto& [bytes, added, encoding, named] : cases) {
        ASSERT_TRUE(Open(bytes));
        pad.Text1->moveCursor(QTextCursor::End);
        pad.Text1->insertPlainText(added);
        pad.mnuRewrite->trigger();
        EXPECT_EQ(Contents(path()), bytes);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith("メモに " + encoding + " で保存できない"));
        EXPECT_TRUE(messages[0].endsWith(named)) << messages[0].toStdString();
    }
}

// A load that fails leaves nothing to save over: "上書保存" asks for a name, and a new memo is
// Shift-JIS with CR LF.
TEST_F(MemoPad, AFailedLoadForgetsTheFileAndSavingAsksForAName) {
#ifndef Q_OS_WIN
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
#endif
    test::Write(path("large.txt"), QByteArray(8 * 1024 * 1024 + 1, 'a'));
    test::Write(path("long.txt"), "a\r\n" + QByteArray(kMaxMemoLine + 1, 'a'));
    for (const char* name : {"missing.txt", "pipe.txt", "large.txt", "long.txt"}) {
        prompts.clear();
        pad.FileN = path(name);
        EXPECT_FALSE(pad.Load());
        pad.Text1->setPlainText("新しいメモ");
        pad.mnuRewrite->trigger(); // answered with no name
        EXPECT_EQ(prompts.size(), 1) << name;
    }
    EXPECT_EQ(messages.size(), 4);
    EXPECT_TRUE(messages[3].endsWith(
        "2 行目が長すぎます。メモ帳で開けるのは 1 行 1000 文字までのファイルです。"));
    answers = QStringList{"new"};
    pad.mnuRewrite->trigger();
    EXPECT_EQ(Contents(path("new.chs")), Sjis("新しいメモ\r\n"));
}

// A name already taken, by a file or a dangling link, is replaced only on a yes; on a no
// nothing is written and later saves still go where they went.
TEST_F(MemoPad, SaveAsAddsTheExtensionAndReplacesOnlyOnAYes) {
    pad.Text1->setPlainText("memo");
    answers = QStringList{"memo", "memo.txt", "a.chsx", "memo.CHS"};
    for (const char* name : {"memo.chs", "memo.txt.chs", "a.chsx", "memo.CHS.chs"}) {
        pad.nmuNameChangeSave_Click();
        EXPECT_EQ(Contents(path(name)), "memo\r\n") << name;
    }
    EXPECT_EQ(prompts.value(3),
              QStringLiteral("ファイル名 \uFF08拡張子は、略すと.chsになります。\uFF09"));
    ASSERT_TRUE(QFile::link(path("gone"), path("link.chs")));
    pad.Text1->setPlainText("new");
    // The answer, the answer to the question, then what the file holds and where FileN is.
    const std::tuple<const char*, bool, QByteArray, const char*> steps[] = {
        {"memo", false, "memo\r\n", "memo.CHS.chs"},
        {"link", false, "", "memo.CHS.chs"},
        {"memo", true, "new\r\n", "memo.chs"},
        {"link", true, "new\r\n", "link.chs"}};
    for (const auto& [answer, yes, bytes, fileN] : steps) {
        answers = QStringList{answer};
        yesNo = {yes};
        prompts.clear();
        pad.nmuNameChangeSave_Click();
        const QString name = path(answer) + ".chs";
        EXPECT_EQ(prompts,
                  QStringList({MemoSaveAsPrompt(),
                               "同じ名前のファイルがすでにあります。置き換えますか？\n" + name}));
        EXPECT_EQ(Contents(name), bytes);
        EXPECT_EQ(pad.FileN, path(fileN));
    }
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace

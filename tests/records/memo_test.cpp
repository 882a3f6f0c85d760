#include "records/form4.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTemporaryDir>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include <tuple>

using namespace quorin;
using quorin::test::Contents;
using quorin::test::Write;

namespace {

QByteArray Sjis(const QString& text) {
    return QStringEncoder("Shift_JIS")(text);
}

QByteArray Utf8(const QString& text) {
    return text.toUtf8();
}

const QByteArray kBom = "\xEF\xBB\xBF";

// A memo pad on a file in a fresh folder, with recorders in place of the boxes.
class MemoPad : public ::testing::Test {
protected:
    QString path(const char* name = "memo.txt") const { return dir.filePath(name); }
    // Puts `bytes` in memo.txt and opens it in the memo pad.
    bool Open(const QByteArray& bytes) {
        Write(path(), bytes);
        pad.FileN = path();
        return pad.Load();
    }

    QTemporaryDir dir;
    QStringList messages, prompts, answers;
    Form4 pad{{[this](QWidget*, const QString& text) { messages << text; },
               [this](QWidget*, const QString& prompt) {
                   prompts << prompt;
                   return answers.isEmpty() ? QString() : answers.takeFirst();
               },
               dir.path()}};
};

TEST_F(MemoPad, SavesAFileUneditedByteForByte) {
    // What the file holds, the lines the caption counts, the text the player sees.
    const std::tuple<QByteArray, int, QString> cases[] = {
        {Sjis("将棋メモ\r\n王手！～\r\n"), 2, "将棋メモ\n王手！～"},
        {Utf8("日本語のメモです。\r\n"), 1, "日本語のメモです。"},
        {Utf8("王手\nメモ\n"), 2, "王手\nメモ"}, // valid Shift-JIS too
        {kBom + Utf8("日本語\nのメモ"), 2, "日本語\nのメモ"},
        {kBom + kBom + "a", 1, QStringLiteral("\uFEFFa")}, // a second mark is a character
        {"a\nb\n\nc\n", 4, "a\nb\n\nc"},                   // LF only, an empty line
        {"a\rb\r", 2, "a\nb"},                             // lone CR
        {Sjis("王手\r\nlast"), 2, "王手\nlast"},
        {"a\r\nb\nc\rd\n\r\n", 5, "a\nb\nc\nd\n"}, // mixed, an empty last line
        {"", 0, ""},
        {"\r\n", 1, ""},
        {kBom, 0, ""}};
    for (const auto& [bytes, lines, text] : cases) {
        SCOPED_TRACE(bytes.toPercentEncoding().toStdString());
        ASSERT_TRUE(Open(bytes));
        EXPECT_EQ(pad.Text1->toPlainText(), text);
        EXPECT_TRUE(pad.windowTitle().endsWith(QStringLiteral("=%1").arg(lines)));
        EXPECT_FALSE(pad.Text1->isReadOnly());
        QFile::remove(path()); // so the file seen afterwards is the one the save wrote
        pad.mnuRewrite->trigger();
        EXPECT_EQ(Contents(path()), bytes);
        EXPECT_EQ(messages, QStringList());
    }
}

TEST_F(MemoPad, KeepsEachLinesEndAndGivesNewLinesTheMostCommon) {
    // The file, the text after the player's edit, the file saved.
    const std::tuple<QByteArray, QString, QByteArray> cases[] = {
        {"a\nb\r\nc\n", "a\nnew\nb\nc\nend", "a\nnew\nb\r\nc\nend\n"},
        {"a\nb\r\nc\n", "a\nB\nc", "a\nB\r\nc\n"},
        {"a\nb\r\nc\n", "a\nc", "a\nc\n"},
        {"a\r\nb", "a\nb\nc", "a\r\nb\r\nc"},
        {"a\rb\r", "a\nb\nc", "a\rb\rc\r"},
        {"a\r\nb", "a\n", "a\r\n\r\n"},                   // an empty last line stays a line
        {"a\rb\rc\rd\n\n", "a\nb\nc\n", "a\rb\rc\r\n\n"}, // CR, then LF, is not CR LF
        {"", "a\nb", "a\r\nb\r\n"},
        {kBom + "a\n", QStringLiteral("a\n王手"), kBom + Utf8("a\n王手\n")}};
    for (const auto& [before, text, after] : cases) {
        SCOPED_TRACE(before.toPercentEncoding().toStdString());
        ASSERT_TRUE(Open(before));
        pad.Text1->setPlainText(text);
        pad.mnuRewrite->trigger();
        EXPECT_EQ(Contents(path()), after);
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(MemoPad, NeverOverwritesAFileThatWouldNotComeBackAsItWas) {
    const QByteArray cases[] = {
        "caf\xE9\r\n",                       // neither Shift-JIS nor UTF-8
        Utf8("日本語のメモです。") + "\x80", // UTF-8 with a stray byte
        "\xFA\x54\r\n",                      // Shift-JIS that encodes back otherwise
        Utf8("a\u00A0b。"),                  // a no-break space the editor turns into a blank
        Utf8("a\u2028b。")};                 // a line separator the editor makes a line break
    for (const QByteArray& bytes : cases) {
        SCOPED_TRACE(bytes.toPercentEncoding().toStdString());
        messages.clear();
        ASSERT_TRUE(Open(bytes));
        EXPECT_TRUE(pad.Text1->isReadOnly());
        QFile::remove(path()); // a save would bring it back
        pad.mnuRewrite->trigger();
        EXPECT_FALSE(QFile::exists(path()));
        ASSERT_EQ(messages.size(), 2);
        EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(path())));
        answers = QStringList{"copy.txt"};
        pad.nmuNameChangeSave->trigger();
        EXPECT_EQ(Contents(path("copy.txt.chs")), bytes);
        EXPECT_EQ(messages.size(), 2);
    }
}

TEST_F(MemoPad, RefusesToSaveACharacterTheEncodingCannotHold) {
    // The file, the text added at its end, the encoding and the character the message names.
    const QString lone(QChar(0xD800));
    const std::tuple<QByteArray, QString, QString, QString> cases[] = {
        {"a\r\nb\r\n", "\nx€y", "Shift-JIS", "\n3 行目の文字 「€」(U+20AC)"},
        {Sjis("王手"), "😀€", "Shift-JIS", "\n1 行目の文字 「😀」(U+1F600)"},
        {"", "é", "Shift-JIS", "\n1 行目の文字 「é」(U+00E9)"},
        {Utf8("日本語"), lone, "UTF-8", "\n1 行目の文字 「" + lone + "」(U+D800)"}};
    for (const auto& [bytes, added, encoding, named] : cases) {
        SCOPED_TRACE(named.toStdString());
        messages.clear();
        ASSERT_TRUE(Open(bytes));
        pad.Text1->moveCursor(QTextCursor::End);
        pad.Text1->insertPlainText(added);
        const QString text = pad.Text1->toPlainText();
        pad.mnuRewrite->trigger();
        EXPECT_EQ(Contents(path()), bytes);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(encoding + " で保存できない"))
            << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(named)) << messages[0].toStdString();
        EXPECT_EQ(pad.Text1->toPlainText(), text);
    }
}

TEST_F(MemoPad, AFailedLoadForgetsTheFileAndSavingAsksForAName) {
    QDir(dir.path()).mkdir("folder.txt");
#ifndef Q_OS_WIN
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
#endif
    QFile large(path("large.txt"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(8 * 1024 * 1024 + 1));
    large.close();

    const auto kind = [this](const char* name) {
        const QFileInfo info(path(name));
        return std::make_tuple(info.exists(), info.isDir(), info.isFile(), info.size());
    };
    for (const char* name : {"missing.txt", "folder.txt", "pipe.txt", "large.txt"}) {
        SCOPED_TRACE(name);
        const auto before = kind(name);
        messages.clear();
        prompts.clear();
        pad.FileN = path(name);
        EXPECT_FALSE(pad.Load());
        EXPECT_EQ(pad.FileN, QString());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(path(name))));

        pad.Text1->setPlainText("新しいメモ");
        pad.mnuRewrite->trigger(); // asks for a name, answered with none
        EXPECT_EQ(prompts.size(), 1);
        EXPECT_EQ(kind(name), before); // the file as it was
    }
    answers = QStringList{"new"};
    pad.mnuRewrite->trigger(); // a new memo: Shift-JIS with CR LF
    EXPECT_EQ(Contents(path("new.chs")), Sjis("新しいメモ\r\n"));
    EXPECT_EQ(pad.FileN, path("new.chs"));
}

TEST_F(MemoPad, KeepsAFileChangedSinceItWasRead) {
    ASSERT_TRUE(Open("first\r\n"));
    Write(path(), "first\r\nsecond\r\n"); // e.g. the game record, appended to meanwhile
    pad.Text1->setPlainText("edited");
    pad.mnuRewrite->trigger();
    EXPECT_EQ(Contents(path()), "first\r\nsecond\r\n");
    ASSERT_EQ(messages.size(), 1);
    answers = QStringList{"other"};
    pad.nmuNameChangeSave->trigger();
    EXPECT_EQ(Contents(path("other.chs")), "edited\r\n");
}

TEST_F(MemoPad, ShowsItsMenuCaptionAndFillsTheWindow) {
    EXPECT_EQ(
        (QStringList{pad.nmuNameChangeSave->text(), pad.mnuRewrite->text(), pad.mnuQuit->text()}),
        (QStringList{"名前を変えて保存(&S)", "上書保存", "終了(&Q)"}));
    ASSERT_TRUE(Open("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(pad.windowTitle(), path() + QStringLiteral(":将棋メモ帳\uFF1Aロ\uFF0Dドした行数=3"));
    pad.show();
    pad.resize(300, 200);
    QCoreApplication::processEvents();
    const int top = pad.menuBar->geometry().bottom() + 1;
    EXPECT_EQ(pad.Text1->geometry(), QRect(0, top, 300, 200 - top));
}

TEST_F(MemoPad, SaveAsAddsTheExtensionAndSavesInTheCurrentFolder) {
    pad.Text1->setPlainText("memo");
    const QString caption = pad.windowTitle();
    answers = QStringList{"memo", "memo.txt", "memo.chs", "a.chsx", "memo.CHS"};
    for (const char* name : {"memo.chs", "memo.txt.chs", "memo.chs", "a.chsx", "memo.CHS.chs"}) {
        QFile::remove(path(name));
        pad.nmuNameChangeSave_Click();
        EXPECT_EQ(pad.FileN, path(name));
        EXPECT_EQ(Contents(path(name)), "memo\r\n") << name;
    }
    EXPECT_EQ(
        prompts,
        QStringList(5, QStringLiteral("ファイル名 \uFF08拡張子は、略すと.chsになります。\uFF09")));
    EXPECT_EQ(pad.windowTitle(), caption);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MemoPad, AFailedSaveIsReportedAndKeepsTheOldFileAndTheText) {
    // A name the folder holds, though not with the temporary file's suffix added to it.
    const QString longName = dir.filePath(QString(250, u'm'));
    Write(longName, "old\r\n");
    pad.FileN = longName;
    ASSERT_TRUE(pad.Load());
    pad.Text1->setPlainText("keep me");
    pad.mnuRewrite->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(longName)));
    EXPECT_EQ(Contents(longName), "old\r\n");
    EXPECT_EQ(pad.Text1->toPlainText(), "keep me");
}

} // namespace

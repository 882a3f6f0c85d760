#include "app/form1.h"
#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "board/clocks.h"
#include "support/testenvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace quorin;

namespace {

class MainWindow : public ::testing::Test {
protected:
    MainWindow() : window(env.environment()) {}

    void showAndPaint() {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(test::WaitFor([&] { return window.boardWidget().BufferReady(); }));
    }

    test::TestEnvironment env;
    Form1 window;
};

// One row per entry of a menu, in order: object name, caption, shortcut, enabled at start.
struct Entry {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool enabled;
};

void ExpectEntries(const QMenu* menu, std::initializer_list<Entry> entries) {
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), qsizetype(entries.size())) << menu->objectName().toStdString();
    int i = 0;
    for (const Entry& e : entries) {
        const QAction* a = actions[i++];
        EXPECT_EQ(a->objectName(), QString::fromUtf8(e.name));
        if (QString::fromUtf8(e.caption) == "-") {
            EXPECT_TRUE(a->isSeparator()) << e.name;
            continue;
        }
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(e.shortcut))) << e.name;
        EXPECT_EQ(a->isEnabled(), e.enabled) << e.name;
    }
}

} // namespace

TEST_F(MainWindow, MenuBarAsDesigned) {
    const QList<QAction*> top = window.menuBar()->actions();
    const char* names[] = {"mnuFile", "mnuConnect", "mnuTEnd", "mnuM", "mnuKifu", "mnuV"};
    const char* captions[] = {"ファイル",   "接続",     "投了",
                              "メッセージ", "棋譜再生", "バ－ジョン情報"};
    const bool enabled[] = {true, true, false, false, true, true};
    ASSERT_EQ(top.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(top[i]->objectName(), names[i]);
        EXPECT_EQ(top[i]->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(top[i]->isEnabled(), enabled[i]) << names[i];
    }
    const MainMenu& m = window.menu();
    ExpectEntries(m.mnuFile, {{"nmuFileOpen", "開く...(&F)", "Ctrl+F", true},
                              {"mnuSave", "名前を付けて保存...", "", true},
                              {"mnuVSave", "全手保存", "", true},
                              {"mnuSep1", "-", "", true},
                              {"mnuStrong", "強さ", "", false},
                              {"mnuInit", "初期化", "", true},
                              {"mnuSep2", "-", "", true},
                              {"mnuEnd", "将棋終了(&Q)", "Ctrl+Q", true}});
    ExpectEntries(m.mnuStrong, {{"mnuSrtrong(0)", "入門", "", true},
                                {"mnuSrtrong(1)", "初級", "", true},
                                {"mnuSrtrong(2)", "中級", "", true},
                                {"mnuSrtrong(3)", "中上級", "", true},
                                {"mnuSrtrong(4)", "上級", "", true},
                                {"mnuSrtrong(5)", "プロ級", "", true}});
    ExpectEntries(m.mnuConnect, {{"mnuServer", "サーバー（&S）", "Ctrl+S", true},
                                 {"mnuClient", "クライアント（&C）", "Ctrl+C", true},
                                 {"mnuSep3", "-", "", true},
                                 {"mnuClose", "切断(&A)", "Ctrl+A", false}});
    ExpectEntries(m.mnuTEnd, {{"mnuToryou", "投了", "", true}});
    ExpectEntries(m.mnuM, {{"nmuCastling", "キャスリング", "", true},
                           {"nmuSep3", "-", "", true},
                           {"mnuAisatsu", "挨拶", "", true},
                           {"mnuComment", "コメント", "", true},
                           {"mnuKao", "顔文字", "", true}});
    ExpectEntries(m.nmuCastling,
                  {{"nmuCastlingRight", "右", "", true}, {"nmuCastlingLeft", "左", "", true}});
    ExpectEntries(m.mnuAisatsu, {{"mnuAis(0)", "宜しくお願いします。", "", true},
                                 {"mnuAis(1)", "ありがとうございました。", "", true},
                                 {"mnuAis(2)", "それでは、始めます。", "", true}});
    ExpectEntries(m.mnuComment, {{"mnuCom(0)", "長考中。しばらく考えさせてください。", "", true},
                                 {"mnuCom(1)", "ちょっと（10分くらい？）中断します。", "", true},
                                 {"mnuCom(2)", "それはいい手ですね。", "", true},
                                 {"mnuCom(3)", "強いですね。", "", true},
                                 {"mnuCom(4)", "いやー参りました。", "", true}});
    ExpectEntries(m.mnuKao, {{"mnuKaomoji(0)", "(^_^) わ－い", "", true},
                             {"mnuKaomoji(1)", "m(_ _)m　申し訳ござらぬ。", "", true},
                             {"mnuKaomoji(2)", "(T_T)　そんな－", "", true},
                             {"mnuKaomoji(3)", "(>_<)　アイタ！", "", true},
                             {"mnuKaomoji(4)", "(^_^)v　イエ－イ", "", true},
                             {"mnuKaomoji(5)", "<(_ _)>　参り申した。", "", true},
                             {"mnuKaomoji(6)", "(＾_^；　あの－・・・", "", true}});
    ExpectEntries(m.mnuKifu, {{"mnuPlay", "起動", "", true}});
}

TEST_F(MainWindow, TabMovesThroughTheControlsInDesignedOrder) {
    showAndPaint();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Command5->setEnabled(true);
    window.Text1->setFocus();
    const QWidget* order[] = {window.Text2, window.Command5, window.Combo1};
    for (const QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == next || focus->parentWidget() == next)
            << focus->metaObject()->className() << " " << focus->objectName().toStdString();
    }
}

TEST_F(MainWindow, StartsWithTheStartPositionInAFixedClientArea) {
    EXPECT_EQ(window.windowTitle(), "Quorin");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.Command5->text(), QStringLiteral("送　信"));
    EXPECT_FALSE(window.Command5->isEnabled());
    EXPECT_EQ(window.Text2->font().family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(window.Combo1->geometry(), QRect(496, 424, 97, 20));
    EXPECT_TRUE(window.game().MyTurn);
    EXPECT_FALSE(window.BoardReady());
    EXPECT_TRUE(window.renderer().BackBuffer().isNull());

    showAndPaint();
    EXPECT_TRUE(window.BoardReady());
    // The move sound opens once the board is on the screen.
    ASSERT_TRUE(test::WaitFor([&] { return env.seams().soundOpen; }));
    EXPECT_TRUE(env.seams().soundFile.endsWith("/C.wav"));
    EXPECT_EQ(window.boardWidget().ClientRect(), QRect(0, 0, 600, 491));
    EXPECT_EQ(window.renderer().BackBuffer().size(), QSize(600, 491));
    EXPECT_EQ(window.pos(), window.screen()->availableGeometry().topLeft());
    EXPECT_EQ(window.game().board.name({4, 7}), "ki1");
    const QImage shown =
        window.boardWidget().grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(75, 15 + 3 * 51), BoardRenderer::kBoardFill);

    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    const QSize size = window.size();
    window.resize(900, 700);
    QTest::qWait(20);
    EXPECT_EQ(window.size(), size);
    window.showMinimized();
    window.showNormal();
    QTest::qWait(20);
    EXPECT_EQ(window.boardWidget().size(), QSize(600, 491));
    EXPECT_EQ(window.size(), size);
}

TEST_F(MainWindow, MenuShortcutsWinOverTheTextBoxes) {
    showAndPaint();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.menu().mnuClose->setEnabled(true);
    const std::pair<QAction*, Qt::Key> keys[] = {{window.menu().mnuClient, Qt::Key_C},
                                                 {window.menu().mnuClose, Qt::Key_A},
                                                 {window.menu().mnuServer, Qt::Key_S},
                                                 {window.menu().nmuFileOpen, Qt::Key_F},
                                                 {window.menu().mnuEnd, Qt::Key_Q}};
    // Only where each key goes matters here, not what the commands do.
    for (const auto& [action, key] : keys)
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    for (QWidget* focus : {static_cast<QWidget*>(window.Text2), static_cast<QWidget*>(window.Text1),
                           static_cast<QWidget*>(window.Combo1->lineEdit())}) {
        focus->setFocus();
        for (const auto& [action, key] : keys) {
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keyClick(focus, key, Qt::ControlModifier);
            EXPECT_EQ(triggered.count(), 1) << action->objectName().toStdString() << " from "
                                            << focus->objectName().toStdString();
        }
    }
    // Other editing keys still reach the text box.
    window.Text2->setText("abc");
    QTest::keyClick(window.Text2, Qt::Key_Backspace);
    EXPECT_EQ(window.Text2->text(), "ab");
}

TEST_F(MainWindow, QuitRunsShutdownTwiceWithoutHarm) {
    showAndPaint();
    ASSERT_TRUE(test::WaitFor([&] { return env.seams().soundOpen; }));
    window.FileExit();
    EXPECT_FALSE(env.seams().soundOpen);
    EXPECT_TRUE(window.renderer().BackBuffer().isNull());
    EXPECT_FALSE(window.clocks().Timer1.isActive());
    window.FileExit();
    window.menu().mnuEnd->trigger();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindow, InitialiseMidGameRestoresOnlyThePositionAndMoveNumber) {
    showAndPaint();
    const QImage startPicture =
        window.renderer().BackBuffer().copy(window.renderer().geometry().boardRect());
    GameState& game = window.game();
    game.PositionString = "0C,0C,0C,0C,0B,0C,0C,0C," + std::string(8 * 7 * 3 - 1, ' ');
    game.board.set({4, 7}, kEmptyCode);
    game.board.set({4, 6}, 5);
    window.renderer().DrawBoard(game.board);
    game.MoveNumber = 7;
    game.MyTurn = false;
    game.PlayerSide = "後手";
    game.KingMoved = true;
    game.CastlingOff = true;

    window.mnuInit_Click();
    EXPECT_EQ(game.PositionString, InitialPosition);
    EXPECT_EQ(game.board.name({4, 7}), "ki1");
    EXPECT_EQ(game.board.name({4, 6}), "po1");
    EXPECT_EQ(game.MoveNumber, 0);
    EXPECT_FALSE(game.MyTurn);
    EXPECT_EQ(game.PlayerSide, "後手");
    EXPECT_TRUE(game.KingMoved);
    EXPECT_TRUE(game.CastlingOff);
    EXPECT_TRUE(window.BoardReady());
    EXPECT_EQ(window.renderer().BackBuffer().copy(window.renderer().geometry().boardRect()),
              startPicture);
}

TEST_F(MainWindow, AboutBoxNamesProgramAndVersion) {
    window.menu().mnuV->trigger();
    ASSERT_EQ(env.seams().messages.size(), 1);
    EXPECT_TRUE(env.seams().messages[0].contains("Quorin"));
    EXPECT_TRUE(env.seams().messages[0].contains(QStringLiteral(QUORIN_VERSION)));
}

TEST_F(MainWindow, DoubleClickEmptiesTheMessageLine) {
    window.Text2->setText("こんにちは");
    QTest::mouseDClick(window.Text2, Qt::LeftButton);
    EXPECT_TRUE(window.Text2->text().isEmpty());
}

#include "twocopies.h"

#include "board/clocks.h"

#include <QApplication>
#include <QFile>
#include <QGlyphRun>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTextLayout>

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

// Each entry of a menu as "name caption", then its shortcut if any and "off" when disabled.
std::vector<std::string> Entries(const QWidget* menu) {
    std::vector<std::string> entries;
    for (const QAction* a : menu->actions()) {
        QString e = a->objectName() + ' ' + (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (!a->shortcut().isEmpty())
            e += ' ' + a->shortcut().toString();
        if (!a->isEnabled())
            e += QStringLiteral(" off");
        entries.push_back(e.toStdString());
    }
    return entries;
}

// An item array's entries: its items are named "<array>(<index>)".
std::vector<std::string> Array(const std::string& array,
                               std::initializer_list<const char*> captions) {
    std::vector<std::string> entries;
    for (const char* caption : captions)
        entries.push_back(array + '(' + std::to_string(entries.size()) + ") " + caption);
    return entries;
}

// The face that draws `text` in `font`, as the font machinery picks it.
QString FaceOf(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

} // namespace

TEST_F(MainWindow, ControlsAtTheirDesignedPlacesInTheirDesignedFaces) {
    const QString mincho = QStringLiteral("IPAMincho"), gothic = QStringLiteral("IPAGothic");
    const std::tuple<const QWidget*, QRect, QString> controls[] = {
        {window.Combo1, {496, 424, 97, 20}, mincho},
        {window.Text2, {24, 456, 393, 25}, mincho},
        {window.Command5, {424, 456, 57, 25}, gothic},
        {window.Text1, {496, 456, 89, 25}, mincho},
        {&window.boardWidget(), {0, 0, 600, 491}, gothic}, // the clock lines take its face
    };
    for (const auto& [control, place, face] : controls) {
        const QRect at(control->mapTo(&window.boardWidget(), QPoint(0, 0)), control->size());
        EXPECT_EQ(at, place) << control->objectName().toStdString();
        EXPECT_EQ(FaceOf(control->font(), QStringLiteral("相手 a")), face)
            << control->objectName().toStdString();
    }
    // Menus and boxes speak in the Gothic face.
    for (const QWidget* menu : {static_cast<const QWidget*>(window.menuBar()),
                                static_cast<const QWidget*>(window.menu().mnuFile)})
        EXPECT_EQ(FaceOf(menu->font(), QStringLiteral("ファイル")), gothic);
    EXPECT_EQ(FaceOf(QApplication::font("QMessageBox"), QStringLiteral("バージョン")), gothic);
}

TEST_F(MainWindow, QtsOwnTextsAreJapanese) {
    // A text box's editing menu, without its access keys and shortcuts.
    const std::unique_ptr<QMenu> edit(window.Text2->createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : edit->actions()) {
        if (!action->isSeparator())
            entries << action->text().section(u'\t', 0, 0).remove(QRegularExpression("\\(&.\\)"));
    }
    ASSERT_GE(entries.size(), 6);
    // A file error's reason.
    QFile missing(QStringLiteral("/no/such/file"));
    EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
    entries << missing.errorString();
    for (const QString& entry : entries)
        EXPECT_FALSE(entry.contains(QRegularExpression("[A-Za-z]"))) << entry.toStdString();
}

TEST_F(MainWindow, OnlyACheckedItemShowsAMark) {
    // Marked items, each checkable exactly when checked: no empty box is drawn.
    const auto marked = [&] {
        QStringList names;
        for (const QAction* action : window.findChildren<QAction*>()) {
            EXPECT_EQ(action->isCheckable(), action->isChecked())
                << action->objectName().toStdString();
            if (action->isChecked())
                names << action->objectName();
        }
        return names;
    };
    EXPECT_EQ(marked(), QStringList());
    window.menu().mnuVSave->trigger();
    window.menu().mnuSrtrong[2]->trigger();
    window.menu().mnuSrtrong[2]->trigger(); // chosen again: it stays
    EXPECT_EQ(marked(), (QStringList{"mnuVSave", "mnuSrtrong(2)"}));
    window.EnableConnectedMenus();
    EXPECT_EQ(marked(), QStringList{"mnuVSave"});
}

TEST_F(MainWindow, MenuBarAsDesigned) {
    using Lines = std::vector<std::string>;
    const MainMenu& m = window.menu();
    EXPECT_EQ(Entries(window.menuBar()),
              (Lines{"mnuFile ファイル", "mnuConnect 接続", "mnuTEnd 投了 off",
                     "mnuM メッセージ off", "mnuKifu 棋譜再生", "mnuV バ－ジョン情報"}));
    EXPECT_EQ(Entries(m.mnuFile),
              (Lines{"nmuFileOpen 開く...(&F) Ctrl+F", "mnuSave 名前を付けて保存...",
                     "mnuVSave 全手保存", "mnuSep1 -", "mnuStrong 強さ off", "mnuInit 初期化",
                     "mnuSep2 -", "mnuEnd 将棋終了(&Q) Ctrl+Q"}));
    EXPECT_EQ(Entries(m.mnuStrong),
              Array("mnuSrtrong", {"入門", "初級", "中級", "中上級", "上級", "プロ級"}));
    EXPECT_EQ(Entries(m.mnuConnect),
              (Lines{"mnuServer サーバー（&S） Ctrl+S", "mnuClient クライアント（&C） Ctrl+C",
                     "mnuSep3 -", "mnuClose 切断(&A) Ctrl+A off"}));
    EXPECT_EQ(Entries(m.mnuTEnd), Lines{"mnuToryou 投了"});
    EXPECT_EQ(Entries(m.mnuM), (Lines{"nmuCastling キャスリング", "nmuSep3 -", "mnuAisatsu 挨拶",
                                      "mnuComment コメント", "mnuKao 顔文字"}));
    EXPECT_EQ(Entries(m.nmuCastling), (Lines{"nmuCastlingRight 右", "nmuCastlingLeft 左"}));
    EXPECT_EQ(Entries(m.mnuAisatsu),
              Array("mnuAis",
                    {"宜しくお願いします。", "ありがとうございました。", "それでは、始めます。"}));
    EXPECT_EQ(Entries(m.mnuComment),
              Array("mnuCom",
                    {"長考中。しばらく考えさせてください。", "ちょっと（10分くらい？）中断します。",
                     "それはいい手ですね。", "強いですね。", "いやー参りました。"}));
    EXPECT_EQ(Entries(m.mnuKao),
              Array("mnuKaomoji", {"(^_^) わ－い", "m(_ _)m　申し訳ござらぬ。", "(T_T)　そんな－",
                                   "(>_<)　アイタ！", "(^_^)v　イエ－イ", "<(_ _)>　参り申した。",
                                   "(＾_^；　あの－・・・"}));
    EXPECT_EQ(Entries(m.mnuKifu), (Lines{"mnuPlay 起動", "mnuPgn PGN 書き出し..."}));
}

TEST_F(MainWindow, TabOrderAndMenuShortcutsOverTheTextBoxes) {
    showAndPaint();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Command5->setEnabled(true);
    window.Text1->setFocus();
    for (const QWidget* next :
         std::initializer_list<const QWidget*>{window.Text2, window.Command5, window.Combo1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == next || focus->parentWidget() == next)
            << focus->metaObject()->className() << " " << focus->objectName().toStdString();
    }

    const MainMenu& m = window.menu();
    m.mnuClose->setEnabled(true);
    QAction* const actions[] = {m.mnuClient, m.mnuClose, m.mnuServer, m.nmuFileOpen, m.mnuEnd};
    // Only where each key goes matters here, not what the commands do.
    for (QAction* action : actions)
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    for (QWidget* focus :
         std::initializer_list<QWidget*>{window.Text2, window.Text1, window.Combo1->lineEdit()}) {
        focus->setFocus();
        for (QAction* action : actions) {
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keySequence(focus, action->shortcut());
            EXPECT_EQ(triggered.count(), 1) << action->objectName().toStdString() << " from "
                                            << focus->objectName().toStdString();
        }
    }
    // Other editing keys still reach the text box; Enter in the address box adds nothing.
    window.Text2->setText("abc");
    QTest::keyClick(window.Text2, Qt::Key_Backspace);
    EXPECT_EQ(window.Text2->text(), "ab");
    QTest::keyClicks(window.Combo1->lineEdit(), "10.0.0.9");
    QTest::keyClick(window.Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window.Combo1->count(), 0);
    EXPECT_EQ(window.Combo1->currentText(), "10.0.0.9");
}

TEST_F(MainWindow, StartsInAFixedClientAreaAndShutsDownTwiceWithoutHarm) {
    EXPECT_EQ(window.windowTitle(), "Quorin");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.Command5->text(), QStringLiteral("送　信"));
    EXPECT_FALSE(window.Command5->isEnabled());
    EXPECT_FALSE(window.BoardReady());
    EXPECT_TRUE(window.renderer().BackBuffer().isNull());
    EXPECT_FALSE(env.seams().soundOpen);

    window.move(40, 30); // the first paint puts it at the screen's top-left
    showAndPaint();
    EXPECT_TRUE(window.BoardReady());
    // The move sound opens once the board is on the screen.
    ASSERT_TRUE(test::WaitFor([&] { return env.seams().soundOpen; }));
    EXPECT_TRUE(env.seams().soundFile.endsWith("/C.wav"));
    EXPECT_EQ(window.renderer().BackBuffer().size(), QSize(600, 491));
    EXPECT_EQ(window.pos(), window.screen()->availableGeometry().topLeft());
    const QImage shown =
        window.boardWidget().grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(75, 15 + 3 * 51), BoardRenderer::kBoardFill);

    const QSize size = window.size();
    window.resize(900, 700);
    QTest::qWait(20);
    EXPECT_EQ(window.size(), size);
    window.showMinimized();
    window.showNormal();
    QTest::qWait(20);
    EXPECT_EQ(window.boardWidget().size(), QSize(600, 491));
    EXPECT_EQ(window.size(), size);

    // Shutdown may run twice; the quit item closes the window.
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
    const QRect boardRect = window.renderer().geometry().boardRect();
    const QImage startPicture = window.renderer().BackBuffer().copy(boardRect);
    GameState& game = window.game();
    game.PositionString = "0C,0C,0C,0C,0B,0C,0C,0C," + std::string(8 * 7 * 3 - 1, ' ');
    game.board.set({4, 7}, kEmptyCode);
    game.board.set({4, 6}, 5);
    window.renderer().DrawBoard(game.board);
    game.MoveNumber = 7;
    game.MyTurn = false;
    game.PlayerSide = "後手";
    game.KingMoved = game.CastlingOff = true;

    window.mnuInit_Click();
    EXPECT_EQ(game.PositionString, InitialPosition);
    EXPECT_EQ(game.board.name({4, 7}), "ki1");
    EXPECT_EQ(game.board.name({4, 6}), "po1");
    EXPECT_EQ(game.MoveNumber, 0);
    EXPECT_FALSE(game.MyTurn);
    EXPECT_EQ(game.PlayerSide, "後手");
    EXPECT_TRUE(game.KingMoved && game.CastlingOff);
    EXPECT_TRUE(window.BoardReady());
    EXPECT_EQ(window.renderer().BackBuffer().copy(boardRect), startPicture);
}

TEST_F(MainWindow, AboutBoxAndDoubleClickOnTheMessageLine) {
    window.menu().mnuV->trigger();
    ASSERT_EQ(env.seams().messages.size(), 1);
    EXPECT_TRUE(env.seams().messages[0].contains("Quorin"));
    EXPECT_TRUE(env.seams().messages[0].contains(QStringLiteral(QUORIN_VERSION)));

    window.Text2->setText("こんにちは");
    QTest::mouseDClick(window.Text2, Qt::LeftButton);
    EXPECT_TRUE(window.Text2->text().isEmpty());
}

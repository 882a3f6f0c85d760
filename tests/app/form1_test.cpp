#include "twocopies.h"

#include "rules/position.h"

#include <QApplication>
#include <QGlyphRun>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextLayout>

using namespace quorin;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void showAndPaint() {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(test::WaitFor([&] { return window.BoardReady(); }));
    }

    test::Copy copy{0};
    Form1& window = copy.window;
};

// Each entry of a menu as "name caption", then its shortcut if any and "off" when disabled.
std::vector<std::string> Entries(const QWidget* menu) {
    std::vector<std::string> entries;
    for (const QAction* a : menu->actions()) {
        const QString caption = a->isSeparator() ? "-" : a->text();
        const QString keys = a->shortcut().isEmpty() ? "" : ' ' + a->shortcut().toString();
        const QString off = a->isEnabled() ? "" : " off";
        entries.push_back((a->objectName() + ' ' + caption + keys + off).toStdString());
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

TEST_F(MainWindow, ControlsAtTheirDesignedPlacesInTheirDesignedFacesAndLanguage) {
    const QString mincho = QStringLiteral("IPAMincho"), gothic = QStringLiteral("IPAGothic");
    const std::tuple<const QWidget*, QRect, QString> controls[] = {
        {window.Combo1, {496, 424, 97, 20}, mincho},
        {window.Text2, {24, 456, 393, 25}, mincho},
        {window.Command5, {424, 456, 57, 25}, gothic},
        {window.Text1, {496, 456, 89, 25}, mincho},
        {&window.boardWidget(), {0, 0, 600, 491}, gothic}, // the clock lines take its face
    };
    for (const auto& [control, place, face] : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_EQ(QRect(control->mapTo(&window.boardWidget(), QPoint(0, 0)), control->size()),
                  place);
        EXPECT_EQ(FaceOf(control->font(), QStringLiteral("相手 a")), face);
    }
    // Menus and boxes speak in the Gothic face.
    EXPECT_EQ(FaceOf(window.menu().mnuFile->font(), QStringLiteral("ファイル")), gothic);
    EXPECT_EQ(FaceOf(QApplication::font("QMessageBox"), QStringLiteral("バージョン")), gothic);

    // A text box's editing menu speaks Japanese.
    const std::unique_ptr<QMenu> edit(window.Text2->createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : edit->actions()) // without access keys and shortcuts
        entries << action->text().section(u'\t', 0, 0).remove(QRegularExpression("\\(&.\\)"));
    entries.removeAll(QString());
    ASSERT_GE(entries.size(), 6);
    for (const QString& entry : entries)
        EXPECT_FALSE(entry.contains(QRegularExpression("[A-Za-z]"))) << entry.toStdString();
}

TEST_F(MainWindow, MenuBarAsDesignedWithOnlyCheckedItemsMarked) {
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
    EXPECT_EQ(
        Entries(m.mnuConnect),
        (Lines{"mnuServer サーバー（&S） Ctrl+S", "mnuClient クライアント（&C） Ctrl+C",
               "mnuResume 再接続(&R) off", "mnuSep3 -", "mnuClose 切断(&A) Ctrl+A off",
               "mnuRouter ルーターのポートを開く(&U)", "mnuCopyAddress アドレスをコピー(&P) off"}));
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
    m.mnuVSave->trigger();
    m.mnuSrtrong[2]->trigger();
    EXPECT_EQ(marked(), (QStringList{"mnuVSave", "mnuSrtrong(2)"}));
    window.EnableConnectedMenus();
    EXPECT_EQ(marked(), QStringList{"mnuVSave"});
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
    // Only where each key goes matters here, not what the commands do.
    for (QAction* action : {m.mnuClient, m.mnuClose, m.mnuServer, m.nmuFileOpen, m.mnuEnd}) {
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        for (QWidget* focus : {window.Text2, window.Text1, window.Combo1->lineEdit()}) {
            focus->setFocus();
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keySequence(focus, action->shortcut());
            EXPECT_EQ(triggered.count(), 1) << action->objectName().toStdString() << " from "
                                            << focus->objectName().toStdString();
        }
    }
    // Enter in the address box adds nothing.
    QTest::keyClicks(window.Combo1->lineEdit(), "10.0.0.9");
    QTest::keyClick(window.Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window.Combo1->count(), 0);
}

// "初期化" mid-game, the about box, a double click on the message line, a fixed client
// area, and shutdown twice.
TEST_F(MainWindow, InitialisesKeepsItsClientAreaAndShutsDownTwiceWithoutHarm) {
    showAndPaint();
    copy.drag({4, 6}, copy.center({4, 4})); // e2-e4 and the king to e2, with nobody to answer
    copy.drag({4, 7}, copy.center({4, 6}));
    GameState& game = window.game();
    window.mnuInit_Click(); // restores only the position and the move number
    EXPECT_EQ(game.PositionString, InitialPosition);
    EXPECT_EQ(game.board, *ReadPosition(InitialPosition));
    EXPECT_EQ(game.MoveNumber, 0);
    EXPECT_TRUE(game.PlayerSide == "先手" && game.KingMoved && game.CastlingOff);
    EXPECT_TRUE(copy.showsItsBoard());

    window.menu().mnuV->trigger();
    const QString about = copy.messages().value(0);
    EXPECT_TRUE(about.contains("Quorin") && about.contains(QUORIN_VERSION)) << about.toStdString();
    window.Text2->setText("こんにちは");
    QTest::mouseDClick(window.Text2, Qt::LeftButton);
    EXPECT_TRUE(window.Text2->text().isEmpty());

    const QSize size = window.size();
    window.resize(900, 700);
    window.showMinimized();
    window.showNormal();
    QTest::qWait(20);
    EXPECT_EQ(window.size(), size);

    // Shutdown may run twice; the quit item closes the window.
    window.FileExit();
    EXPECT_FALSE(copy.env.seams().soundOpen);
    EXPECT_TRUE(window.renderer().BackBuffer().isNull());
    window.FileExit();
    window.menu().mnuEnd->trigger();
    EXPECT_FALSE(window.isVisible());
}

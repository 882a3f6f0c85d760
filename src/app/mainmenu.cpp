#include "mainmenu.h"

#include "net/presets.h"

#include <QMenu>
#include <QMenuBar>

namespace quorin {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QMenu* AddMenu(QWidget* parent, QMenuBar* bar, QMenu* into, const QString& name,
               const QString& caption) {
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    if (into)
        into->addMenu(menu);
    else
        bar->addMenu(menu);
    return menu;
}

QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void AddSeparator(QMenu* menu, const QString& name) {
    menu->addSeparator()->setObjectName(name);
}

template <std::size_t N>
QList<QAction*> AddArray(QMenu* menu, const QString& name,
                         const std::array<std::string_view, N>& captions) {
    QList<QAction*> items;
    for (std::size_t i = 0; i < N; ++i)
        items.append(AddItem(menu, QStringLiteral("%1(%2)").arg(name).arg(i), Text(captions[i])));
    return items;
}

} // namespace

MainMenu MainMenu::Build(QMenuBar* bar) {
    MainMenu m;
    QWidget* owner = bar;

    m.mnuFile = AddMenu(owner, bar, nullptr, "mnuFile", QStringLiteral("ファイル"));
    m.nmuFileOpen = AddItem(m.mnuFile, "nmuFileOpen", QStringLiteral("開く...(&F)"),
                            QKeySequence(Qt::CTRL | Qt::Key_F));
    m.mnuSave = AddItem(m.mnuFile, "mnuSave", QStringLiteral("名前を付けて保存..."));
    m.mnuVSave = AddItem(m.mnuFile, "mnuVSave", QStringLiteral("全手保存"));
    AddSeparator(m.mnuFile, "mnuSep1");
    m.mnuStrong = AddMenu(owner, bar, m.mnuFile, "mnuStrong", QStringLiteral("強さ"));
    m.mnuSrtrong = AddArray(m.mnuStrong, "mnuSrtrong", kStrengthClasses);
    m.mnuInit = AddItem(m.mnuFile, "mnuInit", QStringLiteral("初期化"));
    AddSeparator(m.mnuFile, "mnuSep2");
    m.mnuEnd = AddItem(m.mnuFile, "mnuEnd", QStringLiteral("将棋終了(&Q)"),
                       QKeySequence(Qt::CTRL | Qt::Key_Q));

    m.mnuConnect = AddMenu(owner, bar, nullptr, "mnuConnect", QStringLiteral("接続"));
    m.mnuServer = AddItem(m.mnuConnect, "mnuServer", QStringLiteral("サーバー（&S）"),
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    m.mnuClient = AddItem(m.mnuConnect, "mnuClient", QStringLiteral("クライアント（&C）"),
                          QKeySequence(Qt::CTRL | Qt::Key_C));
    m.mnuResume = AddItem(m.mnuConnect, "mnuResume", QStringLiteral("再接続(&R)"));
    AddSeparator(m.mnuConnect, "mnuSep3");
    m.mnuClose = AddItem(m.mnuConnect, "mnuClose", QStringLiteral("切断(&A)"),
                         QKeySequence(Qt::CTRL | Qt::Key_A));
    m.mnuRouter = AddItem(m.mnuConnect, "mnuRouter", QStringLiteral("ルーターのポートを開く(&U)"));
    m.mnuCopyAddress =
        AddItem(m.mnuConnect, "mnuCopyAddress", QStringLiteral("アドレスをコピー(&P)"));

    m.mnuTEnd = AddMenu(owner, bar, nullptr, "mnuTEnd", QStringLiteral("投了"));
    m.mnuToryou = AddItem(m.mnuTEnd, "mnuToryou", QStringLiteral("投了"));

    m.mnuM = AddMenu(owner, bar, nullptr, "mnuM", QStringLiteral("メッセージ"));
    m.nmuCastling = AddMenu(owner, bar, m.mnuM, "nmuCastling", QStringLiteral("キャスリング"));
    m.nmuCastlingRight = AddItem(m.nmuCastling, "nmuCastlingRight", QStringLiteral("右"));
    m.nmuCastlingLeft = AddItem(m.nmuCastling, "nmuCastlingLeft", QStringLiteral("左"));
    AddSeparator(m.mnuM, "nmuSep3");
    m.mnuAisatsu = AddMenu(owner, bar, m.mnuM, "mnuAisatsu", QStringLiteral("挨拶"));
    m.mnuAis = AddArray(m.mnuAisatsu, "mnuAis", kGreetings);
    m.mnuComment = AddMenu(owner, bar, m.mnuM, "mnuComment", QStringLiteral("コメント"));
    m.mnuCom = AddArray(m.mnuComment, "mnuCom", kCommentCaptions);
    m.mnuKao = AddMenu(owner, bar, m.mnuM, "mnuKao", QStringLiteral("顔文字"));
    m.mnuKaomoji = AddArray(m.mnuKao, "mnuKaomoji", kEmoticons);

    m.mnuKifu = AddMenu(owner, bar, nullptr, "mnuKifu", QStringLiteral("棋譜再生"));
    m.mnuPlay = AddItem(m.mnuKifu, "mnuPlay", QStringLiteral("起動"));
    m.mnuPgn = AddItem(m.mnuKifu, "mnuPgn", QStringLiteral("PGN 書き出し..."));

    m.mnuV = bar->addAction(QStringLiteral("バ－ジョン情報"));
    m.mnuV->setObjectName(QStringLiteral("mnuV"));

    // Designed disabled until a connection is made.
    m.mnuStrong->menuAction()->setEnabled(false);
    m.mnuClose->setEnabled(false);
    m.mnuCopyAddress->setEnabled(false);
    m.mnuResume->setEnabled(false);
    m.mnuTEnd->menuAction()->setEnabled(false);
    m.mnuM->menuAction()->setEnabled(false);
    return m;
}

void MainMenu::SetMark(QAction* item, bool checked) {
    item->setCheckable(checked);
    item->setChecked(checked);
}

} // namespace quorin

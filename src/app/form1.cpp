#include "form1.h"

#include "board/boardrenderer.h"
#include "board/boardwidget.h"
#include "board/clocks.h"
#include "japaneseui.h"
#include "net/connection.h"
#include "net/routermapping.h"
#include "net/serverfinder.h"
#include "records/designfont.h"
#include "records/savedgame.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QTimer>

namespace quorin {
namespace {

// Size of the piece pictures, read from the pawn's picture without decoding it. Without
// the picture the pieces have no size and the squares are three pixels wide.
QSize PieceSize(const QString& folder) {
    const QSize size = QImageReader(QDir(folder).filePath(QStringLiteral("po1.bmp"))).size();
    return size.isValid() ? size : QSize(0, 0);
}

} // namespace

Form1::Form1(Environment env, QWidget* parent)
    : QMainWindow(parent), env_(std::move(env)), record_(env_.recordFolder()) {
    // Before any control is made, so each takes the Japanese user-interface face.
    UseJapaneseUi();

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorin"));
    setWindowIcon(QIcon(QStringLiteral(":/quorin.png")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    // Piece size, square and board sizes, the picture strip's offsets and the surfaces.
    const QString pictures = env_.picturesFolder();
    const QSize piece = PieceSize(pictures);
    renderer_ = std::make_unique<BoardRenderer>(
        BoardGeometry::ForPieceSize(piece.width(), piece.height()), pictures);

    board_ = new BoardWidget(*renderer_, this);
    board_->setObjectName(QStringLiteral("BoardWidget"));
    setCentralWidget(board_);
    // The client area keeps its designed size; the frame and menu bar are added around it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(board_, &BoardWidget::firstPaint, this, &Form1::onFirstPaint);

    menu_ = MainMenu::Build(menuBar());
    createControls();
    connectMenus();

    clocks_ = std::make_unique<Clocks>(*renderer_, game_, [this] { board_->ShowChanges(); });
    clocks_->setLook(board_->font(), palette().color(QPalette::WindowText),
                     palette().color(QPalette::Window));

    connection_ = std::make_unique<Connection>(env_.port);
    finder_ = std::make_unique<ServerFinder>(env_.port, QSysInfo::machineHostName(),
                                             env_.foundServerLifetimeMs);
    exchange_ = std::make_unique<MoveExchange>(game_, static_cast<MoveExchangeHost&>(*this));
    connectNetwork();
    connectRouter();
    moveInput_ =
        std::make_unique<MoveInput>(game_, *renderer_, *board_, static_cast<MoveInputHost&>(*this));
    board_->setMouse(moveInput_.get());
    connectPlay();
    connectRecords();
    connectAccess();

    if (!Connection::SocketsAvailable())
        Text2->setText(QStringLiteral("初期化失敗"));
    Command5->setEnabled(false);
    ComboFile();
    game_.MyTurn = true;
    sound_ = env_.makeMoveSound();
    RestoreGame();
}

void Form1::OpenMoveSound() {
    if (soundOpen_ || shutDown_)
        return;
    sound_->open(env_.moveSoundFile());
    soundOpen_ = true;
}

Form1::~Form1() {
    FileExit();
    // The board widget draws from the renderer: let it go first.
    delete takeCentralWidget();
    board_ = nullptr;
}

void Form1::createControls() {
    const QFont font = DesignFont(9);

    // Created in tab order: status line, message line, send button, address box.
    Text1 = new QLineEdit(board_);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(font);
    Text1->setGeometry(496, 456, 89, 25);

    Text2 = new QLineEdit(board_);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFont(font);
    Text2->setGeometry(24, 456, 393, 25);
    Text2->setToolTip(QStringLiteral("ダブルクリックで、テキストボックス内を消去できます。"));

    Command5 = new QPushButton(QStringLiteral("送　信"), board_);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setGeometry(424, 456, 57, 25);
    Command5->setToolTip(QStringLiteral("メッセージを送信します。"));

    Combo1 = new QComboBox(board_);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    // Enter in the box keeps what was typed as its text; it does not add it to the list.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setFont(font);
    Combo1->setGeometry(496, 424, 97, 20);
    Combo1->setToolTip(
        QStringLiteral("クライエント接続の場合、接続するサ－バアドレスを選択してください。"));

    // The text boxes must not keep the menu's shortcuts (Ctrl+C, Ctrl+A) for themselves.
    for (QWidget* box : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text2),
                         static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Combo1->lineEdit())})
        box->installEventFilter(this);
}

void Form1::connectMenus() {
    connect(menu_.mnuInit, &QAction::triggered, this, &Form1::mnuInit_Click);
    connect(menu_.mnuEnd, &QAction::triggered, this, &Form1::mnuEnd_Click);
    connect(menu_.mnuV, &QAction::triggered, this, &Form1::mnuV_Click);
    connect(menu_.mnuServer, &QAction::triggered, this, &Form1::mnuServer_Click);
    connect(menu_.mnuClient, &QAction::triggered, this, &Form1::mnuClient_Click);
    connect(menu_.mnuClose, &QAction::triggered, this, &Form1::mnuClose_Click);
    connect(menu_.mnuResume, &QAction::triggered, this, &Form1::mnuResume_Click);
    connect(menu_.mnuVSave, &QAction::triggered, this, &Form1::mnuVSave_Click);
    connect(menu_.mnuSave, &QAction::triggered, this, &Form1::mnuSave_Click);
}

void Form1::onFirstPaint() {
    if (const QScreen* s = screen())
        move(s->availableGeometry().topLeft());
    BanStart();
    if (restored_)
        clocks_->Draw();
    // The sound is needed at the first move, not to show the board: it opens once the
    // window is on the screen.
    QTimer::singleShot(0, this, &Form1::OpenMoveSound);
}

bool Form1::KomaHaiti() {
    if (!game_.LoadPosition())
        return false;
    renderer_->DrawBoard(game_.board);
    moveInput_->BoardRedrawn();
    return true;
}

void Form1::BanStart() {
    KomaHaiti();
    moveInput_->BoardReady = true;
}

void Form1::EnableConnectedMenus() {
    Command5->setEnabled(true);
    menu_.mnuM->menuAction()->setEnabled(true);
    menu_.mnuTEnd->menuAction()->setEnabled(true);
    for (int i = 0; i <= strengthResetCount_ && i < menu_.mnuSrtrong.size(); ++i) {
        MainMenu::SetMark(menu_.mnuSrtrong[i], false);
        menu_.mnuSrtrong[i]->setEnabled(true);
    }
    menu_.mnuStrong->menuAction()->setEnabled(true);
}

void Form1::FileExit() {
    if (!shutDown_) {
        shutDown_ = true;
        board_->setMouse(nullptr);
    }
    clocks_->stop();
    renderer_->ReleaseSurfaces();
    connection_->CloseAll();
    // What the router opened is removed; a router that does not answer is not waited for
    // long.
    router_->Finish(kRouterGoodbyeMs);
    finder_->stopAnnouncing();
    if (soundOpen_)
        sound_->close();
    soundOpen_ = false;
}

void Form1::mnuInit_Click() {
    game_.PositionString = std::string(InitialPosition);
    // A new game: the own pieces are drawn with the first set until this copy is "後手".
    renderer_->UsePictureSet(BoardRenderer::PictureSet::First);
    KomaHaiti();
    moveInput_->BoardReady = true;
    board_->ShowChanges();
    connection_->AwaitingAck = false;
    game_.MoveNumber = 0;
    ForgetGame();
}

void Form1::mnuEnd_Click() {
    FileExit();
    close();
}

void Form1::mnuV_Click() {
    showMessage(QStringLiteral("Quorin\nバージョン %1").arg(QStringLiteral(QUORIN_VERSION)));
}

void Form1::Text2_DblClick() {
    Text2->clear();
}

bool Form1::event(QEvent* event) {
    // A box or window that blocks this one takes the mouse away: the release of a drag
    // would never arrive.
    if (event->type() == QEvent::WindowBlocked && moveInput_)
        moveInput_->CancelDrag();
    return QMainWindow::event(event);
}

void Form1::closeEvent(QCloseEvent* event) {
    FileExit();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Leave the override unaccepted for the menu's own keys, so the menu runs them.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* action : findChildren<QAction*>()) {
            if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    if (watched == Text2 && event->type() == QEvent::MouseButtonDblClick) {
        Text2_DblClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace quorin

#pragma once

#include <QList>

class QAction;
class QMenu;
class QMenuBar;

namespace quorin {

// The main window's menu bar. Every menu and item carries its design name as its object
// name; the item arrays are lists in menu order, their items named "<array>(<index>)".
struct MainMenu {
    QMenu* mnuFile = nullptr;
    QAction* nmuFileOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuVSave = nullptr;
    QMenu* mnuStrong = nullptr;
    QList<QAction*> mnuSrtrong;
    QAction* mnuInit = nullptr;
    QAction* mnuEnd = nullptr;

    QMenu* mnuConnect = nullptr;
    QAction* mnuServer = nullptr;
    QAction* mnuClient = nullptr;
    // Goes on with the game of the connection that was lost, as server or client again.
    QAction* mnuResume = nullptr;
    QAction* mnuClose = nullptr;
    // Opens the game's port on the home router while serving; off at start-up.
    QAction* mnuRouter = nullptr;
    // Puts the address a friend should type on the clipboard; while serving.
    QAction* mnuCopyAddress = nullptr;

    QMenu* mnuTEnd = nullptr;
    QAction* mnuToryou = nullptr;

    QMenu* mnuM = nullptr;
    QMenu* nmuCastling = nullptr;
    QAction* nmuCastlingRight = nullptr;
    QAction* nmuCastlingLeft = nullptr;
    QMenu* mnuAisatsu = nullptr;
    QList<QAction*> mnuAis;
    QMenu* mnuComment = nullptr;
    QList<QAction*> mnuCom;
    QMenu* mnuKao = nullptr;
    QList<QAction*> mnuKaomoji;

    QMenu* mnuKifu = nullptr;
    QAction* mnuPlay = nullptr;
    QAction* mnuPgn = nullptr;

    QAction* mnuV = nullptr;

    // Fills `bar` with every menu in its start state.
    static MainMenu Build(QMenuBar* bar);

    // Checks or unchecks `item`. Only a checked item is checkable: a style draws an empty
    // box beside every unchecked checkable item, where the menu is to show nothing.
    static void SetMark(QAction* item, bool checked);
};

} // namespace quorin

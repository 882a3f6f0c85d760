#!/usr/bin/python3
# A short game between two real copies played with the keyboard alone, read from outside as
# a screen reader reads it, through the accessibility bus: the board's 64 cell names at the
# start and after each move, the focus moving from cell to cell, and what the copies
# announce. Run by access.sh with the bus, the display and the two copies up.
#
#   access.py <server pid> <server window> <client pid> <client window>
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

server_pid, server_win, client_pid, client_win = sys.argv[1:5]

KINDS = {"p": "ポーン", "r": "ルーク", "n": "ナイト", "b": "ビショップ", "q": "クイーン", "k": "キング"}


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


# The game, kept here as chess players name it: square -> piece, upper case White.
board = {}
for i, piece in enumerate("rnbqkbnr"):
    board[chr(ord("a") + i) + "8"] = piece
    board[chr(ord("a") + i) + "1"] = piece.upper()
    board[chr(ord("a") + i) + "7"] = "p"
    board[chr(ord("a") + i) + "2"] = "P"


def expected_names(white):
    """The cell names in the table's order, row 0 first, for the player of `white`."""
    names = []
    for row in range(8):
        for column in range(8):
            square = (chr(ord("a") + column) + str(8 - row)) if white else (
                chr(ord("h") - column) + str(1 + row))
            piece = board.get(square)
            if piece is None:
                names.append(square + " 空き")
            else:
                names.append(square + (" 白の" if piece.isupper() else " 黒の") + KINDS[piece.lower()])
    return names


events = {"focus": [], "told": []}


def heard(event):
    source = event.source
    if event.type.startswith("object:state-changed:focused") and event.detail1:
        events["focus"].append(source.get_name())
    elif source.get_role() == Atspi.Role.NOTIFICATION and event.detail1:
        events["told"].append((source.get_process_id(), source.get_name()))


listener = Atspi.EventListener.new(heard)
listener.register("object:state-changed:focused")
listener.register("object:state-changed:showing")


def pump(seconds, until=lambda: False):
    deadline = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < deadline and not until():
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)
    return until()


def find(node, role, depth=0):
    if node is None or depth > 8:
        return None
    if node.get_role() == role:
        return node
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), role, depth + 1)
        if found:
            return found
    return None


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == int(pid):
            return app
    return None


def names(table):
    return [table.get_child_at_index(i).get_name() for i in range(table.get_child_count())]


def keys(window, *sequence):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    for key in sequence:
        subprocess.run(["xdotool", "key", key], check=True)
        pump(0.12)


pump(1)
tables = {}
for pid, white in ((server_pid, True), (client_pid, True)):
    app = application(pid)
    table = find(app, Atspi.Role.TABLE) if app else None
    if table is None:
        fail("no board table in the copy " + pid)
    if table.get_name() != "盤" or table.get_child_count() != 64:
        fail("the board is %r with %d cells" % (table.get_name(), table.get_child_count()))
    if names(table) != expected_names(white):
        fail("cell names at the start: %r" % names(table))
    tables[pid] = table
print("--- 64 named cells in both copies")

keys(server_win, "ctrl+s")
pump(0.5)
keys(client_win, "ctrl+c")
pump(1)


def move(window, frm, to, sequence):
    """Plays a move by keys, then checks both boards' names, the client's from Black's side."""
    told_before = len(events["told"])
    keys(window, *sequence)
    board[to] = board.pop(frm)
    for p, table in tables.items():
        white = p == server_pid
        if not pump(5, lambda: names(table) == expected_names(white)):
            fail("after %s-%s the cells of %s read %r" % (frm, to, p, names(table)))
    if not pump(3, lambda: len(events["told"]) >= told_before + 2):
        fail("the move %s-%s was not announced: %r" % (frm, to, events["told"][told_before:]))


def reach_board(window, king):
    """Tab until the board has the focus: its cursor shows on the own king's cell."""
    for _ in range(8):
        keys(window, "Tab")
        if pump(0.5, lambda: events["focus"][-1:] == [king]):
            return
    fail("the king's cell %r never had the focus: %r" % (king, events["focus"][-6:]))


# The board is reached with Tab from the controls below it; the cursor starts on the king.
reach_board(server_win, "e1 白のキング")
move(server_win, "e2", "e4", ["Up", "space", "Up", "Up", "space"])
reach_board(client_win, "e8 黒のキング")
move(client_win, "e7", "e5", ["Up", "space", "Up", "Up", "space"])
move(server_win, "g1", "f3",
     ["Next", "Right", "Right", "space", "Up", "Up", "Left", "space"])
move(client_win, "b8", "c6",
     ["Next", "Right", "Right", "Right", "space", "Up", "Up", "Left", "space"])
move(server_win, "f1", "c4",
     ["Next", "space", "Up", "Up", "Up", "Left", "Left", "Left", "space"])
move(client_win, "f8", "c5",
     ["Next", "Left", "Left", "Left", "space", "Up", "Up", "Up", "Right", "Right", "Right",
      "space"])
print("--- six moves by keys, every cell named after each")

# Castling from the menu by keys: F10, across to メッセージ, into キャスリング, 右.
told_before = len(events["told"])
keys(server_win, "F10", "Right", "Right", "Right", "Right", "Return")
board["g1"], board["f1"] = board.pop("e1"), board.pop("h1")
if not pump(5, lambda: names(tables[client_pid]) == expected_names(False)):
    fail("after castling the client's cells read %r" % names(tables[client_pid]))
print("--- castled from the menu by keys")

# What the server heard of the peer's moves, in the words of the game.
told = [text for pid, text in events["told"] if pid == int(server_pid)]
for words in ("相手：ポーン e7 から e5。あなたの番", "相手：ナイト b8 から c6。あなたの番",
              "自分：キャスリング、キング e1 から g1。相手は考え中"):
    if words not in told:
        fail("never announced %r; the server said %r" % (words, told))
print("--- the moves were announced")
print("PASS: played by keys and read from outside")

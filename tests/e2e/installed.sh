#!/usr/bin/env bash
# Quorin installed with `cmake --install` into a folder of its own and started the way a
# desktop starts it: from folders that hold none of its files, each player with a home of
# their own. It must draw all its pieces, play, and keep the records in the players' own
# data folders, writing nothing into the installed tree or the folder it was started in.
#
#   installed.sh <build folder>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
build=${1:?the build folder}

prefix="$E2E_WORK/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_WORK/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$E2E_WORK/install.log")"
data="$prefix/share/quorin"
[ -f "$data/po1.bmp" ] || fail "no pictures in $data"
prepare "$data"
# Everything installed, with its contents, to find anything written there afterwards.
tree() { (cd "$prefix" && find . | sort && find . -type f -exec md5sum {} + | sort); }
tree >"$E2E_WORK/tree.before"

# A player: a home with the desktop's folders in it, and that home as the environment.
player() {
    local home="$E2E_WORK/home-$1"
    mkdir -p "$home/run" "$E2E_WORK/$1" && chmod 700 "$home/run"
    PLAYER_ENV=(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
        XDG_RUNTIME_DIR="$home/run")
    PLAYER_HOME=$home
}

note "started from the root folder, the installed copy draws every piece"
player server
server_home=$PLAYER_HOME
[ -e /RadedIvu.chs ] && fail "/RadedIvu.chs exists before the test"
COPY_LOG="$E2E_WORK/server/out.log" start_copy / 0 "${PLAYER_ENV[@]}" "$prefix/bin/quorin"
server=$COPY_WIN
server_pid=$COPY_PID
shot="$E2E_WORK/start.png"
import -window root "$shot"
expect_start_position "$shot" "$server" "$data"
# The menu entry ties itself to the window through the window's class.
class=$(sed -n 's/^StartupWMClass=//p' "$prefix"/share/applications/*.desktop)
xprop -id "$server" WM_CLASS | grep -q "\"$class\"\$" ||
    fail "the window's class is not $class: $(xprop -id "$server" WM_CLASS)"

note "a second installed copy, started from its player's home, plays a move against it"
player client
client_home=$PLAYER_HOME
COPY_LOG="$E2E_WORK/client/out.log" start_copy "$client_home" 650 "${PLAYER_ENV[@]}" "$prefix/bin/quorin"
client=$COPY_WIN
client_pid=$COPY_PID
key_to "$server" ctrl+s
wait_for "the server to listen" field_is "$server" Text2 "クライアント待受"
# The installed address list offers this machine first.
key_to "$client" ctrl+c
wait_for "the client to connect" field_is "$client" Text2 "サーバーと接続が完了しました。"
record_all "$server"
record_all "$client"
server_record="$server_home/.local/share/Quorin/RadedIvu.chs"
client_record="$client_home/.local/share/Quorin/RadedIvu.chs"
wait_for "the server's record in its player's data folder" test -f "$server_record"
wait_for "the client's record in its player's data folder" test -f "$client_record"
drag "$server" 4 6 4 4
wait_for "the move on the client" title_is "$client" "Quorin：あなた=後手:第 1手"
wait_for "the server's record line" lines_are "$server_record" 1
wait_for "the client's record line" lines_are "$client_record" 1
[ "$(flip_line "$(tr -d '\r' <"$server_record")")" = "$(tr -d '\r' <"$client_record")" ] ||
    fail "the two records do not hold the same position"

quit "$client" "$client_pid"
quit "$server" "$server_pid"

note "nothing was written into the installed tree or the folders the copies started in"
tree >"$E2E_WORK/tree.after"
diff "$E2E_WORK/tree.before" "$E2E_WORK/tree.after" >&2 || fail "the installed tree changed"
[ -e /RadedIvu.chs ] && fail "a record was written into the root folder"
[ -e "$client_home/RadedIvu.chs" ] && fail "a record was written into the client's start folder"
no_sanitizer_reports
echo "PASS: installed copies"

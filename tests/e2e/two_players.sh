#!/usr/bin/env bash
# Two real copies of Quorin on one virtual display play a short game: the server and the
# client are chosen through their menus with key presses, recording is switched on through
# the menu; the server moves by real mouse drags, the client by two clicks (each a press
# and release on one spot), its chosen piece framed in between. Then titles, record files
# and the boards on the screen are checked from outside.
#
#   two_players.sh <folder with quorin, the pictures and the sound>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
bin=${1:?folder of the built program}

prepare "$bin"

server_dir=$(new_copy server "$bin")
client_dir=$(new_copy client "$bin")
start_copy "$server_dir" 0
server=$COPY_WIN
server_pid=$COPY_PID
start_copy "$client_dir" 650
client=$COPY_WIN
client_pid=$COPY_PID

note "connect through the menus' keys"
key_to "$server" ctrl+s
wait_for "the server to listen" field_is "$server" Text2 "クライアント待受"
key_to "$client" ctrl+c
wait_for "the client to connect" field_is "$client" Text2 "サーバーと接続が完了しました。"
wait_for "the server to see the client" field_is "$server" Text2 " 127. 0. 0. 1が接続してきました。"

note "switch recording on through the File menu"
record_all "$server"
record_all "$client"
wait_for "the server's record to be emptied" test -f "$server_dir/RadedIvu.chs"
wait_for "the client's record to be emptied" test -f "$client_dir/RadedIvu.chs"

# Each player's own view: the server sees the white pieces from below; the client sees the
# board turned, so file a is its column 7 and rank 8 its row 7.
play() { # <mover> <peer> <number> <from col> <from row> <to col> <to row>
    if [ "$1" = "$server" ]; then
        drag "$1" "$4" "$5" "$6" "$7"
    else
        click_square "$1" "$4" "$5"
        wait_for "the frame on the piece chosen for move $3" framed "$1" "$4" "$5"
        click_square "$1" "$6" "$7"
    fi
    wait_for "move $3 on the mover" title_is "$1" "Quorin：あなた=$([ "$1" = "$server" ] && echo 先手 || echo 後手):第 $3手"
    wait_for "move $3 on the peer" title_is "$2" "Quorin：あなた=$([ "$2" = "$server" ] && echo 先手 || echo 後手):第 $3手"
    wait_for "the turn to pass after move $3" field_is "$2" Text1 "あなたの番"
}
note "play six moves with two captures"
play "$server" "$client" 1 4 6 4 4 # e2-e4
play "$client" "$server" 2 4 6 4 4 # d7-d5
play "$server" "$client" 3 4 4 3 3 # e4xd5
play "$client" "$server" 4 1 7 2 5 # Ng8-f6
play "$server" "$client" 5 1 7 2 5 # Nb1-c3
play "$client" "$server" 6 2 5 4 4 # Nf6xd5

note "check the titles"
title_is "$server" "Quorin：あなた=先手:第 6手" || fail "server title: $(title "$server")"
title_is "$client" "Quorin：あなた=後手:第 6手" || fail "client title: $(title "$client")"

note "check the records: one line per move, each from its own player's side"
wait_for "six lines in the server's record" lines_are "$server_dir/RadedIvu.chs" 6
wait_for "six lines in the client's record" lines_are "$client_dir/RadedIvu.chs" 6
mapfile -t server_lines < <(tr -d '\r' <"$server_dir/RadedIvu.chs")
mapfile -t client_lines < <(tr -d '\r' <"$client_dir/RadedIvu.chs")
for i in 0 1 2 3 4 5; do
    [ "$(flip_line "${server_lines[$i]}")" = "${client_lines[$i]}" ] ||
        fail "line $((i + 1)) of the records are not the same position from both sides"
done
IFS=, read -r -a cells <<<"${server_lines[5]}"
[ "${cells[27]}/${cells[42]}/${cells[6]}/${cells[52]}" = "08/02/0C/0C" ] ||
    fail "the server's last line is not the position after the six moves: ${server_lines[5]}"

note "check the boards on the screen"
shot="$E2E_WORK/boards.png"
import -window root "$shot"
cp "$shot" "${E2E_SHOT:-/dev/null}" 2>/dev/null
# The server: its pawn is gone from e2 and e4, its knight stands on c3, the client's knight
# on d5; the client: the same seen turned, its own pieces drawn with the second set.
expect_square "$shot" "$server" 4 6 empty
expect_square "$shot" "$server" 4 4 empty
expect_square "$shot" "$server" 2 5 "$bin/ni1.bmp"
expect_square "$shot" "$server" 3 3 "$bin/ni2.bmp"
expect_square "$shot" "$server" 4 7 "$bin/ki1.bmp"
expect_square "$shot" "$client" 4 4 "$bin/ni2.bmp"
expect_square "$shot" "$client" 5 2 "$bin/ni1.bmp"
expect_square "$shot" "$client" 3 7 "$bin/ki2.bmp"
expect_square "$shot" "$client" 1 7 empty
expect_square "$shot" "$client" 2 5 empty # the knight's frame went with it

note "quit both through the menu's key"
quit "$client" "$client_pid"
quit "$server" "$server_pid"
no_sanitizer_reports
echo "PASS: two players"

#!/usr/bin/env bash
# Quorin under faults, seen from outside: a client that starts before its server, a copy
# killed in the middle of a game and started again, and a peer that sends garbage, a flood
# of bytes, and moves cut by pauses.
#
#   faults.sh <folder with quorin, the pictures and the sound>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
bin=${1:?folder of the built program}

prepare "$bin"

server_dir=$(new_copy server "$bin")
client_dir=$(new_copy client "$bin")
start_copy "$client_dir" 650
client=$COPY_WIN
client_pid=$COPY_PID

note "a client that starts first is told nobody listens, and connects later"
key_to "$client" ctrl+c
wait_for "the refusal" message_box
box=$(message_box)
[ "$(message_text "$box")" = "接続が拒否された。" ] || fail "refusal text: $(message_text "$box")"
xdotool key Return
wait_for "the box to close" bash -c "! xdotool search --onlyvisible --name '^Quorin$' 2>/dev/null | grep -qx $box"

start_copy "$server_dir" 0
server=$COPY_WIN
server_pid=$COPY_PID
key_to "$server" ctrl+s
wait_for "the server to listen" field_is "$server" Text2 "クライアント待受"
key_to "$client" ctrl+c
wait_for "the client to connect" field_is "$client" Text2 "サーバーと接続が完了しました。"

note "a copy killed in the middle of a game"
record_all "$server"
wait_for "recording" test -f "$server_dir/RadedIvu.chs"
drag "$server" 4 6 4 4
wait_for "move 1" title_is "$client" "Quorin：あなた=後手:第 1手"
drag "$client" 4 6 4 4
wait_for "move 2" title_is "$server" "Quorin：あなた=先手:第 2手"
{ kill -9 "$client_pid" && wait "$client_pid"; } 2>/dev/null
wait_for "the server to see the close" field_is "$server" Text2 "CLOSE"
lines_are "$server_dir/RadedIvu.chs" 2 || fail "the record holds $(lines "$server_dir/RadedIvu.chs") lines"

note "started again, it takes up its game; both resume and the game is played to its end"
start_copy "$client_dir" 650
client=$COPY_WIN
client_pid=$COPY_PID
wait_for "the game taken up" title_is "$client" "Quorin：あなた=後手:第 2手"
wait_for "the offer to resume" field_is "$client" Text2 "前回の対局を再開できます（第 2手）。"
connect_menu "$server" r
connect_menu "$client" r
wait_for "the server to resume" field_is "$server" Text2 "対局を再開しました（第 2手）。"
wait_for "the client to resume" field_is "$client" Text2 "対局を再開しました（第 2手）。"
drag "$server" 3 6 3 4
wait_for "move 3" title_is "$client" "Quorin：あなた=後手:第 3手"
drag "$client" 3 6 3 4
wait_for "move 4" title_is "$server" "Quorin：あなた=先手:第 4手"
resign "$client"
wait_for "the resignation" field_is "$client" Text2 "あなたの負けです。"
lines_are "$server_dir/RadedIvu.chs" 4 || fail "the record holds $(lines "$server_dir/RadedIvu.chs") lines"
quit "$client" "$client_pid"
wait_for "the server to see the close" field_is "$server" Text2 "CLOSE"
# Its menus are back to idle: it can serve again at once.
key_to "$server" ctrl+s
wait_for "the server to listen again" field_is "$server" Text2 "クライアント待受"

note "a peer that sends garbage and a flood"
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; }
exec 3<>/dev/tcp/127.0.0.1/8000 || fail "cannot connect to the server"
answers="$E2E_WORK/answers"
cat <&3 >"$answers" &
wait_for "the server to see the raw peer" field_is "$server" Text2 " 127. 0. 0. 1が接続してきました。"
rss() { awk '/VmRSS/ { print $2 }' "/proc/$server_pid/status"; }
before=$(rss)
{
    printf '\xff\xfe\x00garbage\x01'
    utf16 "VURORE_MSG2:07,08:not a move"
    head -c 1048576 /dev/urandom
    utf16 "VURORE_MSG6:まだ大丈夫ですか"
} >&3
wait_for "the greeting after the flood" field_is "$server" Text2 "まだ大丈夫ですか"
ack=$(utf16 "VURORE_MSG3:SEND_OK" | od -An -tx1 | tr -d ' \n')
wait_for "acknowledgements" bash -c "od -An -tx1 '$answers' | tr -d ' \n' | grep -q '$ack'"
after=$(rss)
grew=$(((after - before) / 1024))
echo "resident memory: $before KiB before, $after KiB after the flood"
[ "$grew" -lt 64 ] || fail "memory grew by $grew MiB"
# Still a working game: a move from the peer is taken over.
board=$(printf '07,08,09,0B,0A,09,08,07,06,06,06,06,06,06,06,06,')
board+=$(printf '0C,%.0s' $(seq 32))
board+="00,00,00,00,00,00,00,00,01,02,03,05,04,03,02,01"
utf16 "VURORE_MSG2:$board: 1" >&3
wait_for "the peer's move" title_is "$server" "Quorin：あなた=後手:第 1手"

note "moves cut by a pause on the link are taken once, each with its whole number"
acks() { od -An -tx1 -v "$answers" | tr -d ' \n' | grep -o "$ack" | wc -l; }
sleep 0.5
# <number> <bytes before the cut> <pause>: in the tag, at an odd byte of the board, before
# the number, between the digits of 12 (move 11 first, whole).
# Each position is the one before, so each next move breaks the rules and is said; move
# 11 is no next move and is not checked. Move 12 comes twice, as after a lost link: the
# second changes nothing.
lines_before=$(lines "$server_dir/RadedIvu.chs")
for cut in "2 7 1.5" "3 151 0.3" "4 -4 1.5" "11 0 0" "12 -2 1.5" "12 0 0"; do
    set -- $cut
    utf16 "VURORE_MSG2:$board: $1" >"$E2E_WORK/move"
    size=$(stat -c %s "$E2E_WORK/move")
    first=$(($2 < 0 ? size + $2 : $2 == 0 ? size : $2))
    before_acks=$(acks)
    head -c "$first" "$E2E_WORK/move" >&3
    sleep "$3"
    tail -c +$((first + 1)) "$E2E_WORK/move" >&3
    wait_for "move $1 whole" title_is "$server" "Quorin：あなた=後手:第 $1手"
    sleep 0.3
    [ "$(acks)" = $((before_acks + 1)) ] || fail "move $1 was answered $(($(acks) - before_acks)) times"
    warned=$([ "$1" = 11 ] && echo 4 || echo "$1")
    field_is "$server" Text2 "注意：相手の手は規則に合いません（第 ${warned}手）。" ||
        fail "after move $1: $(field_text "$server" Text2)"
done
lines_are "$server_dir/RadedIvu.chs" $((lines_before + 5)) ||
    fail "the record holds $(($(lines "$server_dir/RadedIvu.chs") - lines_before)) new lines"
exec 3>&-
no_sanitizer_reports
echo "PASS: faults"

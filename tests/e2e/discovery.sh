#!/usr/bin/env bash
# Two real copies of Quorin on two computers of their own, made with network namespaces
# joined by a virtual Ethernet pair: the client's player never types the server's address.
# The server waits; the client's address box offers the server's address, found on the
# network; the player picks it from the drop-down, connects with Ctrl+C and a move is
# played. The virtual display runs outside the namespaces: both copies reach it through its
# socket file. Everything the copies send stays inside the two namespaces.
#
#   discovery.sh <folder with quorin, the pictures and the sound>
#
# Needs root to make the namespaces; without it, says so and ends with 77 (skipped).
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
bin=${1:?folder of the built program}

server_ns=quorin-$$-server
client_ns=quorin-$$-client
if ! make_namespace "$server_ns" || ! make_namespace "$client_ns" ||
    ! ip link add "qs$$" netns "$server_ns" type veth peer name "qc$$" netns "$client_ns" 2>/dev/null; then
    echo "SKIP: network namespaces cannot be made here (this needs root)"
    exit 77
fi
# Addresses of a private range, given without a broadcast address as some set-ups do: the
# server works it out from the prefix.
ip -n "$server_ns" addr add 10.77.0.1/24 dev "qs$$"
ip -n "$client_ns" addr add 10.77.0.2/24 dev "qc$$"
ip -n "$server_ns" link set "qs$$" up
ip -n "$client_ns" link set "qc$$" up

PIECE=$(identify -format %w "$bin/po1.bmp")
start_display

server_dir=$(new_copy server "$bin")
client_dir=$(new_copy client "$bin")
start_copy "$server_dir" 0 ip netns exec "$server_ns" ./quorin
server=$COPY_WIN
server_pid=$COPY_PID
start_copy "$client_dir" 650 ip netns exec "$client_ns" ./quorin
client=$COPY_WIN
client_pid=$COPY_PID

# combo_text <win>: what the address box shows, read through the X selection after
# selecting it with the mouse.
combo_text() {
    client_origin "$1"
    printf '' | xclip -selection primary >/dev/null 2>&1
    xdotool mousemove $((CLIENT_X + 566)) $((CLIENT_Y + 434)) mousedown 1 \
        mousemove $((CLIENT_X + 497)) $((CLIENT_Y + 434)) mouseup 1
    sleep 0.1
    xclip -o -selection primary 2>/dev/null
}

# pick_first <win> <pid>: opens the address box's drop-down with a click on its arrow and
# picks the first entry.
pick_first() {
    client_origin "$1"
    xdotool mousemove $((CLIENT_X + 586)) $((CLIENT_Y + 434)) click 1
    local deadline=$((SECONDS + E2E_TIMEOUT)) open=""
    until [ -n "$open" ]; do
        [ $SECONDS -ge $deadline ] && fail "the address box's drop-down did not open"
        for w in $(xdotool search --onlyvisible --pid "$2" 2>/dev/null); do
            [ "$w" = "$1" ] || open=$w
        done
        sleep 0.1
    done
    # The drop-down has the keyboard while it is open.
    xdotool key --delay 100 Home Return
    wait_for "the drop-down to close" hidden "$2" "$open"
}
hidden() { ! xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -qx "$2"; }
first_entry_is() {
    pick_first "$client" "$client_pid"
    [ "$(combo_text "$client")" = "$1" ]
}

note "the server waits; the client is offered its address"
key_to "$server" ctrl+s
wait_for "the server to listen" field_is "$server" Text2 "クライアント待受"
wait_for "the server's address first in the client's address box" first_entry_is 10.77.0.1

note "the client connects to it with Ctrl+C"
key_to "$client" ctrl+c
wait_for "the client to connect" field_is "$client" Text2 "サーバーと接続が完了しました。"
wait_for "the server to see the client" field_is "$server" Text2 " 10. 77. 0. 2が接続してきました。"

note "a move"
drag "$server" 4 6 4 4 # e2-e4
wait_for "move 1 on the server" title_is "$server" "Quorin：あなた=先手:第 1手"
wait_for "move 1 on the client" title_is "$client" "Quorin：あなた=後手:第 1手"
wait_for "the client to have the turn" field_is "$client" Text1 "あなたの番"

quit "$client" "$client_pid"
quit "$server" "$server_pid"
no_sanitizer_reports
echo "PASS: the client found the server"

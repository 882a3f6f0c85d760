#!/usr/bin/env bash
# Two friends at two homes: the server's computer sits behind a home router that translates
# addresses and lets nothing in unasked; the client is out on the internet. Three network
# namespaces joined by virtual Ethernet pairs stand for the computer, the router (running
# the real router daemon, miniupnpd, with an nftables firewall) and the internet. The
# server's player ticks "ルーターのポートを開く(&U)", starts the server, copies the address
# to hand on; the friend pastes it and connects, and a move crosses each way. The same
# again with the router answering NAT-PMP only, and once with no router at all. Last, two
# copies connect over IPv6 by a literal address. Nothing leaves the namespaces.
#
#   router.sh <folder with quorin, the pictures and the sound>
#
# Needs root; without it, says so and ends with 77 (skipped).
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
bin=${1:?folder of the built program}

home=quorin-$$-home
router=quorin-$$-router
net=quorin-$$-net
# link <ns a> <name in a> <ns b> <name in b>
link() {
    ip link add "a$$" netns "$1" type veth peer name "b$$" netns "$3" 2>/dev/null || return 1
    ip -n "$1" link set "a$$" name "$2" && ip -n "$3" link set "b$$" name "$4"
    ip -n "$1" link set "$2" up && ip -n "$3" link set "$4" up
}
if ! command -v miniupnpd >/dev/null || ! make_namespace "$home" || ! make_namespace "$router" ||
    ! make_namespace "$net" || ! link "$home" eth0 "$router" lan || ! link "$router" wan "$net" eth0; then
    echo "SKIP: network namespaces or miniupnpd are not available here (this needs root)"
    exit 77
fi
# The home network, and the router's side on the internet. The internet knows no way into
# the home network: only what the router forwards gets there.
ip -n "$home" addr add 192.168.77.2/24 dev eth0
ip -n "$home" route add default via 192.168.77.1
ip -n "$router" addr add 192.168.77.1/24 dev lan
ip -n "$router" addr add 11.77.0.1/24 dev wan
ip -n "$net" addr add 11.77.0.2/24 dev eth0
ip netns exec "$router" sysctl -qw net.ipv4.ip_forward=1
# The router's firewall: from home out, answers back in, and what the daemon adds. The
# daemon only fills chains that already exist.
ip netns exec "$router" nft -f - <<'EOF' || fail "the router's firewall"
table inet filter {
    counter asked { }
    chain input {
        type filter hook input priority 0; policy accept;
        udp dport { 1900, 5351 } counter name asked
    }
    chain miniupnpd { }
    chain prerouting_miniupnpd { }
    chain postrouting_miniupnpd { }
    chain forward {
        type filter hook forward priority 0; policy drop;
        ct state established,related accept
        iifname "lan" oifname "wan" accept
        jump miniupnpd
    }
    chain prerouting {
        type nat hook prerouting priority -100; policy accept;
        jump prerouting_miniupnpd
    }
    chain postrouting {
        type nat hook postrouting priority 100; policy accept;
        jump postrouting_miniupnpd
        oifname "wan" masquerade
    }
}
EOF

# start_router <upnp yes|no> [rule]: the daemon, answering UPnP or else NAT-PMP; by its
# permission rules the computer may map its ports, unless the rule given replaces them.
router_pid=""
start_router() {
    stop_router
    cat >"$E2E_WORK/miniupnpd.conf" <<EOF
ext_ifname=wan
listening_ip=lan
http_port=0
enable_upnp=$1
enable_natpmp=$([ "$1" = yes ] && echo no || echo yes)
secure_mode=yes
ipv6_disable=yes
system_uptime=yes
uuid=3c1d0a5e-7d42-4b8e-9f00-5a77c0ffee01
lease_file=$E2E_WORK/upnp.leases
minissdpdsocket=$E2E_WORK/no-minissdpd.sock
${2:-allow 1024-65535 192.168.77.0/24 1024-65535}
deny 0-65535 0.0.0.0/0 0-65535
EOF
    ip netns exec "$router" miniupnpd -f "$E2E_WORK/miniupnpd.conf" -d -P "$E2E_WORK/miniupnpd.pid" \
        >"$E2E_WORK/miniupnpd.log" 2>&1 &
    router_pid=$!
    E2E_PIDS+=($router_pid)
    wait_for "the router daemon" grep -qE 'HTTP listening|Listening for NAT-PMP' "$E2E_WORK/miniupnpd.log"
}
stop_router() {
    [ -n "$router_pid" ] || return 0
    kill "$router_pid" 2>/dev/null
    wait "$router_pid" 2>/dev/null
    router_pid=""
}
# Whether the router forwards its port 8000 to the computer.
mapped() { ip netns exec "$router" nft list chain inet filter prerouting_miniupnpd | grep -q 'dport 8000'; }
unmapped() { ! mapped; }
# Packets the router has had on its UPnP and NAT-PMP ports since the counter was reset.
asked() { ip netns exec "$router" nft reset counter inet filter asked | grep -o 'packets [0-9]*'; }
asked_not() { [ "$(asked)" = "packets 0" ]; }
# Whether a connection from the internet to the router's port gets through.
reachable() { ip netns exec "$net" timeout 3 bash -c 'exec 3<>/dev/tcp/11.77.0.1/8000' 2>/dev/null; }

# line_text <win>: all of Text2, selected with the keyboard (it may be wider than the box).
# The clicks are spaced out: a double click would clear the box.
line_text() {
    client_origin "$1"
    printf '' | xclip -selection primary >/dev/null 2>&1
    xdotool mousemove $((CLIENT_X + 200)) $((CLIENT_Y + 468)) click 1 key End shift+Home
    sleep 0.6
    xclip -o -selection primary 2>/dev/null
}
line_is() { [ "$(line_text "$1")" = "$2" ]; }
# paste_address <win>: the clipboard in place of the address box's text.
paste_address() {
    client_origin "$1"
    xdotool mousemove $((CLIENT_X + 540)) $((CLIENT_Y + 434)) click 1 key End shift+Home ctrl+v
}

prepare "$bin"
PIECE=$(identify -format %w "$bin/po1.bmp")
server_dir=$(new_copy server "$bin")
client_dir=$(new_copy client "$bin")
printf '11.77.0.1\r\n' >"$client_dir/Virir.txt"

# play_through <upnp yes|no>: one game's start through the router.
play_through() {
    start_router "$1"
    asked >/dev/null
    start_copy "$server_dir" 0 ip netns exec "$home" ./quorin
    server=$COPY_WIN server_pid=$COPY_PID
    start_copy "$client_dir" 650 ip netns exec "$net" ./quorin
    client=$COPY_WIN client_pid=$COPY_PID

    note "UPnP $1: before the item is checked, the router lets nobody in"
    key_to "$server" ctrl+s
    wait_for "the server to listen" field_is "$server" Text2 "クライアント待受"
    sleep 3
    unmapped || fail "the router maps a port nobody asked for"
    reachable && fail "the server is reachable through a router never asked"
    asked_not || fail "the copy asked the router unasked: $(asked)"
    key_to "$server" ctrl+a

    note "UPnP $1: ticked, the router opens the port and the address is handed on"
    connect_menu "$server" u
    key_to "$server" ctrl+s
    wait_for "the router's answer" line_is "$server" "ルーターのポートを開きました。相手に伝えるアドレス：11.77.0.1"
    mapped || fail "no mapping on the router"
    asked_not && fail "the router's counter saw nothing of the asking"
    connect_menu "$server" p
    wait_for "the address on the clipboard" bash -c '[ "$(xclip -o -selection clipboard)" = 11.77.0.1 ]'
    printf '' | xclip -selection clipboard
    connect_menu "$server" p
    paste_address "$client"
    key_to "$client" ctrl+c
    wait_for "the client to connect" field_is "$client" Text2 "サーバーと接続が完了しました。"
    wait_for "the server to see the client" line_is "$server" " 11. 77. 0. 2が接続してきました。"
    wait_for "the mapping to go with the accept" unmapped

    note "UPnP $1: a move each way"
    drag "$server" 4 6 4 4
    wait_for "move 1 on the client" title_is "$client" "Quorin：あなた=後手:第 1手"
    drag "$client" 3 6 3 4
    wait_for "move 2 on the server" title_is "$server" "Quorin：あなた=先手:第 2手"
    reachable && fail "the router still lets others in after the accept"
    quit "$client" "$client_pid"
    quit "$server" "$server_pid"
}

play_through yes
play_through no

note "a router that refuses: the player is told so, in the router's words"
start_router yes "deny 0-65535 192.168.77.0/24 0-65535"
start_copy "$server_dir" 0 ip netns exec "$home" ./quorin
server=$COPY_WIN server_pid=$COPY_PID
connect_menu "$server" u
key_to "$server" ctrl+s
refused() { line_text "$server" | grep -q '^ルーターがポートを開けませんでした：.'; }
wait_for "the refusal" refused
echo "told: $(line_text "$server")"
unmapped || fail "a refusing router mapped the port"
quit "$server" "$server_pid"

note "with no router, the player is told so and the board goes on answering"
stop_router
start_copy "$server_dir" 0 ip netns exec "$home" ./quorin
server=$COPY_WIN server_pid=$COPY_PID
connect_menu "$server" u
key_to "$server" ctrl+s
started=$SECONDS
click_square "$server" 4 6
framed "$server" 4 6 || fail "the board does not answer while the router is looked for"
E2E_TIMEOUT=10 wait_for "the message that no router answers" \
    line_is "$server" "ポートを開けるルーターが見つかりません。"
echo "told after $((SECONDS - started)) s"
quit "$server" "$server_pid"

note "IPv6 needs no router's help: a client beside the computer connects by literal"
ip -n "$home" addr add 2001:db8:77::2/64 dev eth0 nodad
ip -n "$router" addr add 2001:db8:77::1/64 dev lan nodad
printf '[2001:db8:77::2]\r\n' >"$client_dir/Virir.txt"
start_copy "$server_dir" 0 ip netns exec "$home" ./quorin
server=$COPY_WIN server_pid=$COPY_PID
start_copy "$client_dir" 650 ip netns exec "$router" ./quorin
client=$COPY_WIN client_pid=$COPY_PID
key_to "$server" ctrl+s
wait_for "the server to listen" field_is "$server" Text2 "クライアント待受"
key_to "$client" ctrl+c
wait_for "the client to connect" field_is "$client" Text2 "サーバーと接続が完了しました。"
wait_for "the server to see the client" line_is "$server" "2001:db8:77::1が接続してきました。"
drag "$server" 4 6 4 4
wait_for "move 1 on the client" title_is "$client" "Quorin：あなた=後手:第 1手"
quit "$client" "$client_pid"
quit "$server" "$server_pid"
no_sanitizer_reports
echo "PASS: through the router, and over IPv6"

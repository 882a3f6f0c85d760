#!/usr/bin/env bash
# Quitting never waits for the network: a copy that connects to a host name whose resolver
# does not answer ends at once when its player quits. The copy runs in a network namespace
# of its own whose resolver is a silent one on its loopback address.
#
#   shutdown.sh <folder with quorin, the pictures and the sound>
#
# Needs root to make the namespace; without it, says so and ends with 77 (skipped).
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
bin=${1:?folder of the built program}

ns=quorin-$$-dns
# `ip netns exec` puts the files of /etc/netns/<name> in place of those in /etc.
trap 'cleanup; rm -rf "/etc/netns/$ns"' EXIT
if ! make_namespace "$ns" || ! mkdir -p "/etc/netns/$ns" 2>/dev/null; then
    echo "SKIP: network namespaces cannot be made here (this needs root)"
    exit 77
fi
# An address besides loopback, so that the resolver is asked at all.
ip -n "$ns" link add q$$ type veth peer name r$$
ip -n "$ns" addr add 10.78.0.1/24 dev q$$
ip -n "$ns" link set q$$ up
printf 'nameserver 127.0.0.1\noptions timeout:10 attempts:3\n' >"/etc/netns/$ns/resolv.conf"
# The resolver: takes every question and answers none.
ip netns exec "$ns" python3 -c '
import socket
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 53))
while True:
    s.recv(4096)
' &
E2E_PIDS+=($!)

prepare "$bin"
dir=$(new_copy slow "$bin")
printf 'slow.quorin.test\r\n' >"$dir/Virir.txt"
start_copy "$dir" 0 ip netns exec "$ns" ./quorin
win=$COPY_WIN
pid=$COPY_PID

note "quitting while the server's name is being looked up"
key_to "$win" ctrl+c
sleep 1
key_to "$win" ctrl+q
started=$(date +%s%N)
while kill -0 "$pid" 2>/dev/null; do
    [ $(($(date +%s%N) - started)) -gt 10000000000 ] && fail "the copy still runs 10 s after Ctrl+Q"
    sleep 0.02
done
took=$((($(date +%s%N) - started) / 1000000))
echo "the copy ended ${took} ms after Ctrl+Q"
[ "$took" -lt 1000 ] || fail "the copy took ${took} ms to end"
wait "$pid" || fail "the copy ended with status $?"
no_sanitizer_reports
echo "PASS: shutdown"

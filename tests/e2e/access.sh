#!/usr/bin/env bash
# Two real copies played with the keyboard alone and read from outside as a screen reader
# reads them, through a session and accessibility bus of the test's own (see access.py).
#
#   access.sh <folder with quorin, the pictures and the sound>
#
# Needs Debian's python3 with pyatspi; without it, says so and ends with 77 (skipped).
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:?folder of the built program}
if ! /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    ! command -v dbus-run-session >/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
    echo "SKIP: the accessibility bus or pyatspi is not installed"
    exit 77
fi
# A session bus of the test's own, and nothing of the user's settings written.
[ -n "${QUORIN_TEST_BUS:-}" ] || exec dbus-run-session -- env QUORIN_TEST_BUS=1 bash "$0" "$@"
source "$here/lib.sh"
export GSETTINGS_BACKEND=memory XDG_RUNTIME_DIR="$E2E_WORK/run" XDG_CACHE_HOME="$E2E_WORK/cache"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

prepare "$bin"
/usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >"$E2E_WORK/bus.log" 2>&1 &
E2E_PIDS+=($!)
sleep 1
# Qt 6 speaks to the bus only when told to, or when it finds it switched on.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

server_dir=$(new_copy server "$bin")
client_dir=$(new_copy client "$bin")
start_copy "$server_dir" 0
server=$COPY_WIN server_pid=$COPY_PID
start_copy "$client_dir" 650
client=$COPY_WIN client_pid=$COPY_PID

/usr/bin/python3 "$here/access.py" "$server_pid" "$server" "$client_pid" "$client" ||
    fail "the keyboard game, read from outside"
# The castling's notice on the client is answered with Enter, as its player would.
for _ in 1 2 3; do
    box=$(message_box) || break
    xdotool windowfocus --sync "$box" key Return
    sleep 0.3
done
quit "$client" "$client_pid"
quit "$server" "$server_pid"
no_sanitizer_reports
echo "PASS: access"

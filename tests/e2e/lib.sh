# Helpers for tests that drive real Quorin processes on a virtual display, the way a
# player does: key presses, mouse drags, window titles, screenshots. Every wait polls
# for an observable state with a bounded time-out, so the tests depend neither on the
# machine's speed nor on its screen.

set -u
E2E_TIMEOUT=${E2E_TIMEOUT:-30}
E2E_PIDS=()
E2E_NAMESPACES=()
E2E_WORK=$(mktemp -d)
# The copies' own folders in the user's home (the address list, records, games kept
# between runs) are the test's, never the machine user's.
export XDG_DATA_HOME="$E2E_WORK/home/data" XDG_CONFIG_HOME="$E2E_WORK/home/config"

fail() {
    echo "FAIL: $*" >&2
    for log in "$E2E_WORK"/*/out.log "$E2E_WORK"/xvfb.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    [ -n "${DISPLAY:-}" ] && import -window root "$E2E_WORK/failure.png" 2>/dev/null &&
        echo "screen at failure: $E2E_WORK/failure.png" >&2
    exit 1
}
note() { echo "--- $*"; }

cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; done
    wait 2>/dev/null
    # A namespace goes with the end of a virtual pair it holds; the other end goes with it.
    for ns in "${E2E_NAMESPACES[@]}"; do ip netns delete "$ns" 2>/dev/null; done
    exec 3>&- 2>/dev/null
    # Never into a file system mounted inside (a chroot's /proc).
    [ "${E2E_KEEP:-0}" = 1 ] || rm -rf --one-file-system "$E2E_WORK"
}
trap cleanup EXIT

# make_namespace <name>: a network namespace of the test's own, its loopback up; removed
# at the end. Fails where namespaces cannot be made (without root).
make_namespace() {
    ip netns add "$1" 2>/dev/null || return 1
    E2E_NAMESPACES+=("$1")
    ip -n "$1" link set lo up
}

# wait_for <what> <command...>: runs the command until it succeeds.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && fail "timed out waiting for: $what"
        sleep 0.1
    done
}

# A virtual display of our own, on a free display number well above a desktop's.
start_display() {
    local number=$((100 + RANDOM % 400)) tries=0
    while :; do
        if [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ]; then
            # -noreset: the server must not restart when a client such as xdpyinfo leaves.
            Xvfb ":$number" -screen 0 1400x900x24 -nolisten tcp -noreset >"$E2E_WORK/xvfb.log" 2>&1 &
            E2E_PIDS+=($!)
            export DISPLAY=":$number"
            local deadline=$((SECONDS + E2E_TIMEOUT))
            until xdpyinfo >/dev/null 2>&1 || ! kill -0 "${E2E_PIDS[-1]}" 2>/dev/null; do
                [ $SECONDS -ge $deadline ] && fail "Xvfb did not start"
                sleep 0.1
            done
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        tries=$((tries + 1))
        [ $tries -ge 20 ] && fail "no free display for Xvfb"
        number=$((100 + RANDOM % 400))
    done
}

# new_copy <name> <bin dir>: a folder of its own with the program, pictures, sound and an
# address list holding 127.0.0.1; prints the folder.
new_copy() {
    local dir="$E2E_WORK/$1"
    mkdir -p "$dir"
    cp "$2"/quorin "$2"/*.bmp "$2"/C.wav "$2"/*quorin_sound* "$dir"/
    printf '127.0.0.1\r\n' >"$dir/Virir.txt"
    echo "$dir"
}

# start_copy <folder> <x> [command...]: starts the program (./quorin unless a command is
# given) in that folder and moves its window to x, 0. Its output goes to COPY_LOG, else
# to out.log in the folder. Sets COPY_PID and COPY_WIN.
start_copy() {
    local before
    before=$(xdotool search --onlyvisible --name '^Quorin' 2>/dev/null | sort)
    local command=("${@:3}")
    [ ${#command[@]} -gt 0 ] || command=(./quorin)
    (cd "$1" && exec "${command[@]}" >"${COPY_LOG:-$1/out.log}" 2>&1) &
    COPY_PID=$!
    E2E_PIDS+=($COPY_PID)
    COPY_WIN=""
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while [ -z "$COPY_WIN" ]; do
        [ $SECONDS -ge $deadline ] && fail "no window from $1"
        for w in $(xdotool search --all --onlyvisible --pid "$COPY_PID" --name '^Quorin' 2>/dev/null); do
            echo "$before" | grep -qx "$w" || COPY_WIN=$w
        done
        sleep 0.1
    done
    # The first paint puts the window at the top-left corner; then it may be moved.
    sleep 0.3
    xdotool windowmove --sync "$COPY_WIN" "$2" 0
}

title() { xdotool getwindowname "$1"; }
title_is() { [ "$(title "$1")" = "$2" ]; }

# Geometry of a window's client area: CLIENT_X CLIENT_Y (below the menu bar).
client_origin() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    CLIENT_X=$X
    CLIENT_Y=$((Y + HEIGHT - 491))
}

# square_center <win> <column> <row>: screen point of a square's centre, as "x y".
square_center() {
    client_origin "$1"
    local cell=$((PIECE + 3))
    echo $((CLIENT_X + 70 + $2 * cell + cell / 2)) $((CLIENT_Y + 10 + $3 * cell + cell / 2))
}

# drag <win> <from col> <from row> <to col> <to row>: a real drag with the left button.
drag() {
    local x1 y1 x2 y2
    read -r x1 y1 < <(square_center "$1" "$2" "$3")
    read -r x2 y2 < <(square_center "$1" "$4" "$5")
    xdotool mousemove "$x1" "$y1" mousedown 1 \
        mousemove $(((x1 + x2) / 2)) $(((y1 + y2) / 2)) \
        mousemove "$x2" "$y2" mouseup 1
}

# click_square <win> <col> <row>: a click, press and release on one spot, on a square.
click_square() {
    local x y
    read -r x y < <(square_center "$1" "$2" "$3")
    xdotool mousemove "$x" "$y" click 1
}

# framed <win> <col> <row>: the square shows the frame of a piece chosen by a click (its
# picture area's top-left pixel has the frame's colour).
framed() {
    client_origin "$1"
    local cell=$((PIECE + 3)) shot="$E2E_WORK/framed.png"
    import -window root "$shot"
    [ "$(convert "$shot" -crop "1x1+$((CLIENT_X + 71 + $2 * cell))+$((CLIENT_Y + 11 + $3 * cell))" \
        -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:)" = "0,72,200" ]
}

# connect_menu <win> <key>: an item of "接続", by its mnemonic, with the menu opened by a
# click on its title.
connect_menu() {
    client_origin "$1"
    xdotool mousemove $((CLIENT_X + 83)) $((CLIENT_Y - 10)) click 1
    sleep 0.4
    xdotool key "$2"
}

# resign <win>: "投了", the one item of its menu.
resign() {
    client_origin "$1"
    xdotool mousemove $((CLIENT_X + 122)) $((CLIENT_Y - 10)) click 1
    sleep 0.4
    xdotool key Down Return
}

# record_all <win>: "全手保存" from the File menu, with the keyboard once the menu is open.
record_all() {
    client_origin "$1"
    xdotool mousemove $((CLIENT_X + 30)) $((CLIENT_Y - 10)) click 1
    sleep 0.3
    xdotool key --delay 150 Down Down Down Return
}

# key_to <win> <keys>: the window gets the focus (a click on its status area) and the keys.
# A click alone does not always move the focus at once (there is no window manager), and
# keys sent meanwhile would reach the window that had it: the focus is set and awaited.
key_to() {
    client_origin "$1"
    xdotool mousemove $((CLIENT_X + 300)) $((CLIENT_Y + 440)) click 1 windowfocus --sync "$1" key "$2"
}

# field_text <win> <Text1|Text2>: what a text box shows, read through the X selection
# after selecting it with the mouse.
field_text() {
    client_origin "$1"
    local x0 x1 y
    if [ "$2" = Text1 ]; then x0=498 x1=583 y=468; else x0=26 x1=415 y=468; fi
    printf '' | xclip -selection primary >/dev/null 2>&1
    xdotool mousemove $((CLIENT_X + x1)) $((CLIENT_Y + y)) mousedown 1 \
        mousemove $((CLIENT_X + x0 - 1)) $((CLIENT_Y + y)) mouseup 1
    sleep 0.1
    xclip -o -selection primary 2>/dev/null
}
field_is() { [ "$(field_text "$1" "$2")" = "$3" ]; }

# message_box: the window id of an open message box (titled "Quorin", no board).
message_box() {
    for w in $(xdotool search --onlyvisible --name '^Quorin$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$HEIGHT" -lt 300 ] && echo "$w" && return 0
    done
    return 1
}

# message_text <box>: its text, selected with the mouse across the box's text line.
message_text() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    printf '' | xclip -selection primary >/dev/null 2>&1
    xdotool mousemove $((X + WIDTH - 16)) $((Y + 18)) mousedown 1 mousemove $((X + 2)) $((Y + 18)) mouseup 1
    sleep 0.1
    xclip -o -selection primary 2>/dev/null
}

# pixel <png> <x> <y>: "r,g,b".
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# lines <file>: how many CR LF lines it holds.
lines() { [ -f "$1" ] && grep -c $'\r$' "$1" || echo 0; }
lines_are() { [ "$(lines "$1")" = "$2" ]; }

# flip_line <record line>: the same position seen from the other side: cells in reverse
# order, each piece changing side.
flip_line() {
    echo "$1" | tr ',' '\n' | tac | awk '{
        c = 0
        for (i = 1; i <= length($1); i++) c = c * 16 + index("0123456789ABCDEF", substr($1, i, 1)) - 1
        if (c < 6) c += 6; else if (c < 12) c -= 6
        printf "%s%02X", (NR > 1 ? "," : ""), c
    }'
}

# expect_square <png> <win> <col> <row> <picture file or "empty">: the square shows exactly
# that picture, its red left out, or nothing but the board's fill.
expect_square() {
    client_origin "$2"
    local cell=$((PIECE + 3))
    local x=$((CLIENT_X + 71 + $3 * cell)) y=$((CLIENT_Y + 11 + $4 * cell))
    local want="$E2E_WORK/want.png" got="$E2E_WORK/got.png"
    if [ "$5" = empty ]; then
        convert -size "${PIECE}x${PIECE}" 'xc:rgb(253,252,189)' "$want"
    else
        convert "$5" -fill 'rgb(253,252,189)' -opaque 'rgb(255,0,0)' "$want"
    fi
    convert "$1" -crop "${PIECE}x${PIECE}+$x+$y" +repage "$got"
    local differ
    differ=$(compare -metric AE "$want" "$got" null: 2>&1)
    [ "$differ" = 0 ] || fail "square $3,$4 of window $2 is not $(basename "$5"): $differ pixels differ"
}

# expect_start_position <png> <win> <pictures folder>: all 32 pieces stand on their
# starting squares, drawn from these pictures, and the 32 squares between are empty.
expect_start_position() {
    local row col back=(ru ni pi qu ki pi ni ru)
    for col in 0 1 2 3 4 5 6 7; do
        expect_square "$1" "$2" $col 0 "$3/${back[$col]}2.bmp"
        expect_square "$1" "$2" $col 1 "$3/po2.bmp"
        for row in 2 3 4 5; do expect_square "$1" "$2" $col $row empty; done
        expect_square "$1" "$2" $col 6 "$3/po1.bmp"
        expect_square "$1" "$2" $col 7 "$3/${back[$col]}1.bmp"
    done
}

port_free() { ! (exec 3<>/dev/tcp/127.0.0.1/8000) 2>/dev/null; }

# prepare <bin>: the port is free, the piece size is known, the virtual display runs.
prepare() {
    port_free || fail "port 8000 is in use; the copies need it"
    PIECE=$(identify -format %w "$1/po1.bmp")
    start_display
}

# A copy built with the sanitizers writes any finding to its out.log: that fails the test.
no_sanitizer_reports() {
    local log
    for log in "$E2E_WORK"/*/out.log; do
        if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log"; then
            cat "$log" >&2
            fail "sanitizer finding in $log"
        fi
    done
}

# quit <win> <pid>: "将棋終了" with its key; the program must end by itself, successfully.
quit() {
    key_to "$1" ctrl+q
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while kill -0 "$2" 2>/dev/null; do
        [ $SECONDS -ge $deadline ] && fail "the copy did not end after Ctrl+Q"
        sleep 0.1
    done
    wait "$2" || fail "the copy ended with status $?"
}

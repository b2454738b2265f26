# Drives the real brisma as a person would: on its own Xvfb screen, against
# its own demo site, with xdotool at the forms' positions and keys for the
# message boxes. Sourced by the end-to-end tests and by scripts/run-demo.sh.
#
# Every wait is for a condition, bounded by a time-out; a failed wait ends
# the caller with a message (fail). session_stop, run on exit, ends every
# process the session started, by its own process id.

session_pids=()
session_dir=""
brisma_pid=""

# Ends the caller. What the screen showed and what the programs said stay in
# the session folder, for whoever looks into the failure.
fail()
{
    echo "FAIL: $*" >&2
    if [ -n "$session_dir" ]; then
        if [ -n "${DISPLAY:-}" ]; then
            import -window root "$session_dir/failure.png" 2>/dev/null || true
        fi
        touch "$session_dir/failed"
        echo "The session's screen, logs and output are in $session_dir" >&2
    fi
    exit 1
}

note()
{
    echo "-- $*" >&2
}

# Makes a scratch folder for the session; everything the session writes
# goes there, and the program's data folder (its skin files) too, so that a
# run touches nothing of the user's.
session_begin()
{
    session_dir=$(mktemp -d "${TMPDIR:-/tmp}/brisma-session.XXXXXX")
    export XDG_DATA_HOME="$session_dir/data"
    mkdir -p "$XDG_DATA_HOME"
    trap session_stop EXIT
    # Killed or interrupted, the script still stops what it started.
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

session_stop()
{
    local pid i
    # The program first, unless it has ended (its id may be reused by now),
    # then the servers it talks to, the newest first.
    if [ -n "$brisma_pid" ] && ! brisma_has_ended; then
        kill "$brisma_pid" 2>/dev/null || true
    fi
    brisma_pid=""
    for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
        pid=${session_pids[i]}
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${session_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    session_pids=()
    if [ -n "$session_dir" ] && [ ! -e "$session_dir/failed" ] &&
        [ -z "${BRISMA_KEEP_SESSION:-}" ]; then
        rm -rf "$session_dir"
    fi
}

# wait_until SECONDS COMMAND...: runs COMMAND every tenth of a second until
# it succeeds; false when it never did within SECONDS.
wait_until()
{
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            return 1
        fi
        sleep 0.1
    done
}

# Starts an X server of its own; Xvfb picks a free display and reports it
# once it accepts connections.
start_xvfb()
{
    local geometry=${1:-1280x800x24}
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset \
        3>"$session_dir/display" >"$session_dir/xvfb.log" 2>&1 &
    session_pids+=($!)
    wait_until 20 test -s "$session_dir/display" ||
        fail "Xvfb did not start: $(cat "$session_dir/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$session_dir/display")"
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}

port_in_use()
{
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# start_demo_site SITE PORT [OPTION...]: the demo site with a request log at
# $session_dir/requests.log. The program talks to the port fixed at its
# build, so the port must be free.
start_demo_site()
{
    local site=$1 port=$2
    shift 2
    if port_in_use "$port"; then
        fail "port $port is taken; brisma is built to talk to 127.0.0.1:$port, so stop whatever listens there first"
    fi
    : >"$session_dir/requests.log"
    "$site" --port "$port" --log "$session_dir/requests.log" "$@" \
        >"$session_dir/site.out" 2>&1 &
    session_pids+=($!)
    wait_until 20 grep -q "^listening on 127.0.0.1:$port" "$session_dir/site.out" ||
        fail "the demo site did not start: $(cat "$session_dir/site.out")"
}

# start_brisma PROGRAM [BROWSER-STAND-IN]: starts the program; its process id
# lands in $session_dir/brisma.pid and its exit code, once it has ended, in
# $session_dir/brisma.rc. A browser stand-in, when given, is put first on
# PATH as xdg-open, the helper Qt asks to open an address.
start_brisma()
{
    local program=$1 browser=${2:-}
    local path=$PATH
    if [ -n "$browser" ]; then
        mkdir -p "$session_dir/bin"
        ln -sf "$browser" "$session_dir/bin/xdg-open"
        path="$session_dir/bin:$PATH"
    fi
    rm -f "$session_dir/brisma.rc" "$session_dir/brisma.pid"
    (
        PATH=$path "$program" >"$session_dir/brisma.out" 2>&1 &
        echo $! >"$session_dir/brisma.pid"
        rc=0
        wait $! || rc=$?
        echo "$rc" >"$session_dir/brisma.rc"
    ) &
    session_pids+=($!)
    wait_until 10 test -s "$session_dir/brisma.pid" || fail "brisma did not start"
    brisma_pid=$(cat "$session_dir/brisma.pid")
}

# A sanitizer build reports what it found on the program's error output.
expect_no_sanitizer_reports()
{
    if grep -q -E 'Sanitizer|runtime error:' "$session_dir/brisma.out"; then
        fail "the program reported: $(cat "$session_dir/brisma.out")"
    fi
}

brisma_has_ended()
{
    test -s "$session_dir/brisma.rc"
}

# Waits for the program to end; prints its exit code.
wait_brisma_exit()
{
    local seconds=${1:-20}
    wait_until "$seconds" brisma_has_ended || fail "brisma did not end within ${seconds}s"
    cat "$session_dir/brisma.rc"
}

# find_window TITLE [SECONDS]: the id of the visible window whose title is
# exactly TITLE, waiting for it to appear.
find_window()
{
    local title=$1 seconds=${2:-20} id
    id=$(timeout "$seconds" xdotool search --sync --onlyvisible --name "^${title}\$" 2>/dev/null |
        head -n 1) || true
    [ -n "$id" ] || fail "no window titled '$title' within ${seconds}s"
    echo "$id"
}

# Visible windows with exactly this title, one id a line.
windows_titled()
{
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

window_count()
{
    windows_titled "$1" | grep -c . || true
}

wait_window_gone()
{
    local id=$1 seconds=${2:-20}
    wait_until "$seconds" window_is_gone "$id" || fail "window $id still there after ${seconds}s"
}

window_is_gone()
{
    ! xdotool getwindowname "$1" >/dev/null 2>&1 ||
        ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# click_at WINDOW X Y [COUNT]: clicks COUNT times at a point of the window's
# client area, as the forms give positions.
click_at()
{
    local window=$1 x=$2 y=$3 count=${4:-1}
    xdotool mousemove --sync --window "$window" "$x" "$y"
    xdotool click --repeat "$count" --delay 80 1
}

# press_key WINDOW KEY: gives the window the keyboard and presses KEY. There
# is no window manager, so focus is set directly, and the key goes through
# XTEST like a real one (some programs ignore keys sent to a window).
press_key()
{
    local window=$1 key=$2
    xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers "$key"
}

# shoot WINDOW FILE: a picture of the window as it is on the screen.
shoot()
{
    import -window "$1" "$2"
}

# shoot_area WINDOW WxH+X+Y FILE: a picture of part of the window.
shoot_area()
{
    import -window "$1" -crop "$2" +repage "$3"
}

# Whether two pictures are the same pixel for pixel.
same_picture()
{
    [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

# request_lines: the request lines of the demo site's log, in order.
request_lines()
{
    grep -a -E '^(GET|POST|HEAD) ' "$session_dir/requests.log" || true
}

request_count()
{
    request_lines | grep -c . || true
}

# True once the site has seen at least $1 requests; counted anew each time.
has_request_count()
{
    [ "$(request_count)" -ge "$1" ]
}

wait_request_count()
{
    local count=$1 seconds=${2:-30}
    wait_until "$seconds" has_request_count "$count" ||
        fail "the demo site saw $(request_count) requests, not $count, within ${seconds}s"
}

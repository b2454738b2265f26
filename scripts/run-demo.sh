#!/usr/bin/env bash
# Installs what is missing, builds, starts the local demo site and opens
# Brisma against it.
#
#   scripts/run-demo.sh            on a desktop: opens the program; without a
#                                  display: takes the tour below
#   scripts/run-demo.sh --tour [DIR]
#                                  on a screen of its own (Xvfb), picks a
#                                  category, opens a movie and the cloud player
#                                  as a person would, and writes a picture of
#                                  each step into DIR (default build/demo-tour)
#   scripts/run-demo.sh --vnc [PORT]
#                                  serves the program over VNC (default port
#                                  5900) for a VNC viewer on another machine
#
# BRISMA_BUILD_DIR picks the build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

usage()
{
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
}

mode=auto
tour_dir=""
vnc_port=5900
while [ $# -gt 0 ]; do
    case $1 in
    --tour)
        mode=tour
        if [ $# -gt 1 ] && [ "${2#-}" = "$2" ]; then
            tour_dir=$2
            shift
        fi
        ;;
    --vnc)
        mode=vnc
        if [ $# -gt 1 ] && [ "${2#-}" = "$2" ]; then
            vnc_port=$2
            shift
        fi
        ;;
    -h | --help)
        usage
        exit 0
        ;;
    *)
        usage >&2
        exit 2
        ;;
    esac
    shift
done

scripts/install-deps.sh
# A desktop to show the program on, or none (xdpyinfo comes with the
# packages above).
if [ "$mode" = auto ]; then
    if [ -n "${WAYLAND_DISPLAY:-}" ] || { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
        mode=window
    else
        mode=tour
    fi
fi
build=${BRISMA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target brisma brisma-demo-site

program=$root/$build/src/app/brisma
site=$root/$build/tools/demo-site/brisma-demo-site
# The program talks to the movie site fixed at its build; the demo site must
# listen on that port.
movie_site=$(sed -n 's/^BRISMA_MOVIE_SITE:STRING=//p' "$build/CMakeCache.txt")
port=${movie_site##*:}
[ "$port" != "$movie_site" ] || port=80

# shellcheck source=../tests/e2e/desktop_session.sh
source tests/e2e/desktop_session.sh
session_begin
# The program keeps its skin files in the user's data folder as usual.
export XDG_DATA_HOME=${BRISMA_DATA_HOME:-${HOME}/.local/share}

# Runs the program until it ends. It runs as a job of its own, so that a
# signal to this script ends the script at once and its exit trap stops the
# program and the demo site.
run_in_foreground()
{
    "$@" &
    brisma_pid=$!
    local code=0
    wait "$brisma_pid" || code=$?
    brisma_pid=""
    return "$code"
}

run_window()
{
    start_demo_site "$site" "$port"
    echo "Demo site on http://127.0.0.1:$port/; opening Brisma. Close its window to stop both."
    run_in_foreground "$program"
}

run_vnc()
{
    start_demo_site "$site" "$port"
    echo "Serving Brisma over VNC on port $vnc_port (Ctrl-C stops it)."
    echo "Connect a VNC viewer to $(hostname):$vnc_port; from another machine through ssh:"
    echo "    ssh -L $vnc_port:localhost:$vnc_port $(id -un)@$(hostname)   then view localhost:$vnc_port"
    echo "Windows have no frames in this mode: each opens at the top left over the main window."
    echo "The port is open to every machine that can reach this one, without a password."
    QT_QPA_PLATFORM="vnc:size=1024x768:port=$vnc_port" run_in_foreground "$program"
}

# shellcheck source=../tests/e2e/main_window_places.sh
source tests/e2e/main_window_places.sh

# The windows open since the given list of ids, one id a line.
new_windows()
{
    comm -13 <(sort <<<"$1") <(xdotool search --onlyvisible --name '.' 2>/dev/null | sort)
}

wait_new_window()
{
    local before=$1 found=""
    wait_until 30 test -n "$(new_windows "$before")" || fail "no new window opened"
    found=$(new_windows "$before" | head -n 1)
    echo "$found"
}

answer_box()
{
    local box
    box=$(find_window '信息：' "${2:-60}")
    shoot root "$1"
    press_key "$box" Return
    wait_window_gone "$box"
}

run_tour()
{
    local dir=${tour_dir:-$build/demo-tour}
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    start_xvfb 1280x800x24
    start_demo_site "$site" "$port"
    start_brisma "$program"

    echo "Touring Brisma on a screen of its own; pictures go to $dir"
    local main detail player before title
    main=$(find_window 'Brisma v5.0' 30)
    shoot "$main" "$dir/1-start.png"

    click_at "$main" "${category_3d[@]}"
    answer_box "$dir/2-category-loaded-box.png"
    shoot "$main" "$dir/3-main-window.png"

    before=$(xdotool search --onlyvisible --name '.' 2>/dev/null)
    click_at "$main" "${first_movie_row[@]}" 2
    detail=$(wait_new_window "$before")
    title=$(xdotool getwindowname "$detail")
    shoot "$detail" "$dir/4-detail-window.png"

    xdotool windowraise "$main"
    click_at "$main" "${cloud_player_button[@]}"
    player=$(find_window '免费在线云播放器')
    shoot "$player" "$dir/5-player-window.png"
    click_at "$player" "${play_button[@]}"
    answer_box "$dir/6-play-answer.png" 20

    cat <<EOF
Done. What the tour saw:
  $dir/1-start.png                 the main window at start
  $dir/2-category-loaded-box.png   3D电影专区 loaded: the whole screen with its message box
  $dir/3-main-window.png           the movie list
  $dir/4-detail-window.png         a double-click on the first movie: "$title"
  $dir/5-player-window.png         the cloud player
  $dir/6-play-answer.png           its answer to 播放
Open them with any picture viewer (copy them off this machine if it has no
screen). To use the program yourself without a display:
  scripts/run-demo.sh --vnc        and connect a VNC viewer.
EOF
}

case $mode in
window) run_window ;;
vnc) run_vnc ;;
tour) run_tour ;;
esac

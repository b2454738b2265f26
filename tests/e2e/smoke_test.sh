#!/usr/bin/env bash
# The real program against the demo site, as a person starts it: the main
# window opens, a click on "3D电影专区" at its place in the form loads the
# category (the site sees the version check, then the category's ten index
# pages in order), the list takes the category's colour, the program says
# it is done, and the loading indicator is hidden again.
#
#   smoke_test.sh BRISMA DEMO-SITE PORT [PICTURE]
#
# With PICTURE, a picture of the main window after the load is written
# there (the README's screenshot is made this way).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_session.sh"
source "$here/main_window_places.sh"

brisma=$1 site=$2 port=$3 picture=${4:-}

# A point of the movie list right of its columns, where only the list's own
# background shows.
list_background=(700 400)

pixel_at()
{
    shoot "$1" "$session_dir/pixel.png"
    convert "$session_dir/pixel.png" -format "%[pixel:p{$2,$3}]" info:
}

session_begin
start_xvfb
start_demo_site "$site" "$port"
start_brisma "$brisma" "$here/browser_stand_in.sh"

main=$(find_window 'Brisma v5.0' 30)
[ "$(request_lines)" = "GET /vorpel.txt HTTP/1.1" ] || fail "at start the site saw: $(request_lines)"
shoot_area "$main" "$indicator_area" "$session_dir/indicator-hidden.png"
before=$(pixel_at "$main" "${list_background[@]}")
[ "$before" = "srgb(255,255,255)" ] || fail "the list starts $before, not white"

click_at "$main" "${category_3d[@]}"
box=$(find_window '信息：' 60)
expected="GET /vorpel.txt HTTP/1.1
GET /3d/ HTTP/1.1"
for page in 2 3 4 5 6 7 8 9 10; do
    expected+="
GET /3d/index_$page.htm HTTP/1.1"
done
[ "$(request_lines)" = "$expected" ] || fail "the site saw: $(request_lines)"

press_key "$box" Return
wait_window_gone "$box"
after=$(pixel_at "$main" "${list_background[@]}")
[ "$after" = "srgb(0,163,0)" ] || fail "the list is $after after the load, not the category's green"
shoot_area "$main" "$indicator_area" "$session_dir/indicator-after.png"
same_picture "$session_dir/indicator-hidden.png" "$session_dir/indicator-after.png" ||
    fail "the loading indicator still shows after a full load"
brisma_has_ended && fail "the program ended: $(cat "$session_dir/brisma.out")"

if [ -n "$picture" ]; then
    # Away from the buttons, so that none is drawn hovered.
    xdotool mousemove --sync --window "$main" 700 600
    shoot "$main" "$picture"
fi
echo PASS

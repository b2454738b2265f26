#!/usr/bin/env bash
# A category whose first index page does not pair titles with dates: the
# load stops there with its failure box, and the loading indicator stays.
#
#   category_failure_test.sh BRISMA DEMO-SITE PORT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_session.sh"
source "$here/main_window_places.sh"

brisma=$1 site=$2 port=$3

session_begin
start_xvfb
start_demo_site "$site" "$port" --mismatch /3d/:1
start_brisma "$brisma" "$here/browser_stand_in.sh"

main=$(find_window 'Brisma v5.0' 30)
shoot_area "$main" "$indicator_area" "$session_dir/indicator-hidden.png"

click_at "$main" "${category_3d[@]}"
box=$(find_window '信息：' 60)
[ "$(request_lines)" = $'GET /vorpel.txt HTTP/1.1\nGET /3d/ HTTP/1.1' ] ||
    fail "requests before the box: $(request_lines)"
shoot_area "$main" "$indicator_area" "$session_dir/indicator-now.png"
! same_picture "$session_dir/indicator-hidden.png" "$session_dir/indicator-now.png" ||
    fail "the loading indicator was hidden after a failed load"

press_key "$box" Return
wait_window_gone "$box"
# The run has ended: no further page is fetched, and the program goes on.
sleep 1
[ "$(request_count)" -eq 2 ] || fail "pages fetched after the failure: $(request_lines)"
xdotool getwindowname "$main" >/dev/null || fail "the main window went away"
brisma_has_ended && fail "the program ended"
expect_no_sanitizer_reports
echo PASS

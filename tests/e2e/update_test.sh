#!/usr/bin/env bash
# The update server announces a version other than the program's ("1" with a
# line break). The user answers the boxes with the given keys, one box each:
# the program must show exactly that many boxes, open the download page in
# the browser and end with exit code 0, without ever showing its main window.
#
#   update_test.sh BRISMA DEMO-SITE PORT KEY...
#   e.g. KEY... = y | n y | n n Return
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_session.sh"

brisma=$1 site=$2 port=$3
shift 3
answers=("$@")

session_begin
start_xvfb
start_demo_site "$site" "$port" --version-text '1\r\n'
start_brisma "$brisma" "$here/browser_stand_in.sh"

opened=$session_dir/bin/opened-addresses
box=""
for ((i = 0; i < ${#answers[@]}; i++)); do
    box=$(find_window '信息：' 30)
    [ "$(window_count '信息：')" -eq 1 ] || fail "more than one box at a time"
    [ "$(window_count 'Brisma v5.0')" -eq 0 ] || fail "the main window showed"
    [ ! -e "$opened" ] || fail "the browser opened before box $((i + 1)) was answered"
    note "box $((i + 1)) is up; answering ${answers[i]}"
    press_key "$box" "${answers[i]}"
    # The next box, if any, is a window of its own: wait for this one to go.
    wait_window_gone "$box" 10
done

code=$(wait_brisma_exit 20)
[ "$code" = 0 ] || fail "exit code $code: $(cat "$session_dir/brisma.out")"
wait_until 10 test -s "$opened" || fail "the browser was never asked to open the download page"
[ "$(cat "$opened")" = "http://127.0.0.1:$port" ] || fail "the browser was asked for: $(cat "$opened")"
[ "$(request_lines)" = "GET /vorpel.txt HTTP/1.1" ] || fail "requests: $(request_lines)"
expect_no_sanitizer_reports
echo PASS

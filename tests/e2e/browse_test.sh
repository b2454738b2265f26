#!/usr/bin/env bash
# A person browses the demo site with the real program: it starts (the
# update check passes), a click on "3D电影专区" loads the category, a
# double-click on the first movie opens its detail window. The demo site's
# log must show the requests in the program's order, each with the request
# routine's default headers.
#
#   browse_test.sh BRISMA DEMO-SITE FACTS PORT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_session.sh"
source "$here/main_window_places.sh"

brisma=$1 site=$2 facts=$3 port=$4
host=127.0.0.1:$port
agent='Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; ZX9QM; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)'


session_begin
start_xvfb
start_demo_site "$site" "$port"
start_brisma "$brisma" "$here/browser_stand_in.sh"

main=$(find_window 'Brisma v5.0' 30)
note "the main window is up: the update check passed"
[ "$(window_count '信息：')" -eq 0 ] || fail "a message box came up at start"
[ "$(request_lines)" = "GET /vorpel.txt HTTP/1.1" ] ||
    fail "at start the site saw: $(request_lines)"

shoot_area "$main" "$indicator_area" "$session_dir/indicator-hidden.png"

click_at "$main" "${category_3d[@]}"
box=$(find_window '信息：' 60)
expected=(/vorpel.txt /3d/)
for page in 2 3 4 5 6 7 8 9 10; do
    expected+=("/3d/index_$page.htm")
done
# The box comes once all ten pages were read; the failure box would come
# after page 1, 2 or 3, with the indicator left showing.
[ "$(request_count)" -eq 11 ] || fail "the box came after $(request_count) requests"
shoot_area "$main" "$indicator_area" "$session_dir/indicator-now.png"
same_picture "$session_dir/indicator-hidden.png" "$session_dir/indicator-now.png" ||
    fail "the loading indicator still shows after the load"
press_key "$box" Return
wait_window_gone "$box"
note "the category loaded: ten pages, the indicator hidden, the box answered"

while IFS='=' read -r key value; do
    declare "movie_$key=$value"
done < <("$facts" movie /3d/ 0)
expected+=("$movie_movie")
[ -z "$movie_poster" ] || expected+=("$movie_poster")
expected+=("$movie_movie")
if [ "$movie_block" != 1 ]; then
    expected+=("$movie_movie")
    [ -z "$movie_download" ] || expected+=("$movie_download")
fi

click_at "$main" "${first_movie_row[@]}" 2
title_pattern=$(printf '%s' "$movie_title" | sed 's/[][\.*^$(){}?+|/]/\\&/g')
detail=$(find_window "$title_pattern" 30)
note "the detail window is titled '$movie_title'"
[ "$(window_count "$title_pattern")" -eq 1 ] || fail "more than one detail window"
# Its loading ends before it shows; nothing more is fetched afterwards.
wait_request_count "${#expected[@]}" 5

[ "$(request_lines | sed -n 1p)" = "GET /vorpel.txt HTTP/1.1" ] || fail "the update check did not come first"
# Everything after the update check went through the request routine: the
# log must read exactly as its default requests would, in the program's
# order.
default_request()
{
    printf '%s\n' "GET $1 HTTP/1.1" "Host: $host" "User-Agent: $agent" \
        "Referer: http://$host$1" 'Accept: */*' 'Accept-Language: zh-cn' \
        'Content-Type: application/x-www-form-urlencoded' ''
}
want=$(for target in "${expected[@]:1}"; do default_request "$target"; done)
got=$(awk 'NR > 1 && /^GET / { started = 1 } started' "$session_dir/requests.log")
if [ "$got" != "$want" ]; then
    diff <(echo "$want") <(echo "$got") >&2 || true
    fail "the site's log differs from the expected requests (< expected, > logged)"
fi
[ ! -e "$session_dir/bin/opened-addresses" ] || fail "a browser was opened"
note "the site saw ${#expected[@]} requests in order, with the default headers"
expect_no_sanitizer_reports
echo PASS

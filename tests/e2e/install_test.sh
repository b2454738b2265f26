#!/usr/bin/env bash
# `cmake --install` of a build puts the program, its desktop entry and its
# icon where a desktop looks for them, and the entry names both correctly.
#
#   install_test.sh BUILD-DIR
set -euo pipefail
build=$1
root=$(mktemp -d "${TMPDIR:-/tmp}/brisma-install.XXXXXX")
trap 'rm -rf "$root"' EXIT

fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR=$root cmake --install "$build" --prefix /usr >"$root.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$root.log")"
rm -f "$root.log"

program=$root/usr/bin/brisma
entry=$root/usr/share/applications/brisma.desktop
icon_folder=$root/usr/share/icons/hicolor/256x256/apps

[ -x "$program" ] || fail "no executable $program"
[ -f "$entry" ] || fail "no desktop entry $entry"

value()
{
    sed -n "s/^$1=//p" "$entry"
}
[ "$(sed -n 1p "$entry")" = "[Desktop Entry]" ] || fail "the entry does not start with its group"
[ "$(value Type)" = Application ] || fail "Type is '$(value Type)'"
[ "$(value Name)" = Brisma ] || fail "Name is '$(value Name)'"
# Exec and Icon name what was installed, as a desktop finds them: the
# program on PATH, the icon in the theme by its name.
[ "$(value Exec)" = "$(basename "$program")" ] || fail "Exec is '$(value Exec)'"
icon=$icon_folder/$(value Icon).png
[ -f "$icon" ] || fail "Icon '$(value Icon)' is not in $icon_folder"
[ "$(identify -format '%m %wx%h' "$icon")" = "PNG 256x256" ] ||
    fail "the icon is $(identify -format '%m %wx%h' "$icon")"
echo PASS

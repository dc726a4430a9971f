#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real zentu binary as GNOME starts it, with large text: on a private Xvfb
# with a window manager, XDG_CURRENT_DESKTOP=GNOME, so that Qt's GTK platform
# theme hands it the font of a private GTK settings file, Cantarell 18. The
# dialog must grow with that font and stay within the screen, and the protocol
# must show the keyboard focus: its frame, read back from the screen, changes
# when Shift+Tab from the first edit brings the focus to it.
#   large-font.sh ZENTU
set -euo pipefail
source "$(dirname "$0")/../../scripts/x11.sh"
zentu=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*; mapped: $(mapped_titles)" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
until_ok 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
mkdir -p -m 700 "$work/home" "$work/runtime" "$work/config/gtk-3.0"
printf '[Settings]\ngtk-font-name=Cantarell 18\n' >"$work/config/gtk-3.0/settings.ini"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_STATE_HOME="$work/state"
openbox >/dev/null 2>&1 &
until_ok 20 xprop -root _NET_SUPPORTING_WM_CHECK || fail "no window manager"
XDG_CURRENT_DESKTOP=GNOME "$zentu" &
app=$!

main="Сравнение по t-критерию Стъюдента"
until_ok 10 window_titled "О программе" || fail "no About box"
xdotool windowfocus --sync "$(window_titled "О программе")" key Return
until_ok 10 window_titled "$main" || fail "no dialog after the About box"
dialog=$(window_titled "$main")
xdotool windowactivate --sync "$dialog"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# Cantarell 18 needs the dialog well over one and a half times as large as drawn.
[ "$WIDTH" -ge 900 ] && [ "$HEIGHT" -ge 720 ] || fail "the dialog did not grow: $WIDTH x $HEIGHT"
[ $((X + WIDTH)) -le 1920 ] && [ $((Y + HEIGHT)) -le 1200 ] ||
    fail "beyond the screen: $WIDTH x $HEIGHT at $X, $Y"

# The protocol's left frame, halfway down, as the screen shows it: the drawn
# x of 10 and y of 330 of 600 x 480, scaled with the dialog, give or take 4 px.
frame() {
    import -window root -crop "9x1+$((X + WIDTH * 10 / 600 - 4))+$((Y + HEIGHT * 330 / 480))" \
        -depth 8 rgb:- | od -An -tx1 | tr -d ' \n'
}
unfocused=$(frame)
[ -n "$unfocused" ] || fail "no screenshot"
xdotool key shift+Tab
until_ok 5 test "$(frame)" != "$unfocused" ||
    fail "no focus mark on the protocol: $unfocused before and after"
[ -z "${ZENTU_SCREENSHOT:-}" ] || import -window root "$ZENTU_SCREENSHOT"
xdotool key Escape
until_ok 10 eval '! kill -0 $app' || fail "still running after Escape"
wait "$app" || fail "exit status $?"
echo "PASS"

#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real zentu binary on a private Xvfb display, driven with xdotool: what the
# offscreen tests cannot see. The About box comes first and alone, then the
# dialog at 600 x 480; with REPORT, one whole comparison by real keyboard focus
# and the mouse, saved through the real file dialog and compared byte for byte;
# Escape then ends it with status 0.
#   session.sh ZENTU [REPORT]
set -euo pipefail
source "$(dirname "$0")/../../scripts/x11.sh"
zentu=$1
reference=${2:-}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*; mapped: $(mapped_titles)" >&2; exit 1; }
# centre WINDOW [DX DY]: where its middle is on the screen, moved by DX, DY, to
# within 2 px.
centre() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$(((X + WIDTH / 2 + ${2:-0}) / 2)) $(((Y + HEIGHT / 2 + ${3:-0}) / 2))"
}

start_xvfb "$work" || fail "Xvfb did not start"
mkdir -m 700 "$work/home" "$work/runtime"
main="Сравнение по t-критерию Стъюдента"
# start: zentu in the background, its About box first and alone, then the dialog.
start() {
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
        XDG_STATE_HOME="$work/state" "$zentu" &
    app=$!
    until_ok 10 window_titled "О программе" || fail "no About box"
    [ "$(mapped_titles "$app")" = '"О программе"' ] || fail "the About box is not alone"
    xdotool windowfocus --sync "$(window_titled "О программе")" key Return
    until_ok 10 window_titled "$main" || fail "no dialog after the About box"
    dialog=$(window_titled "$main")
}
start
[ "$(mapped_titles "$app")" = "\"$main\"" ] || fail "the About box is still there"
xdotool getwindowgeometry "$dialog" | grep -q "Geometry: 600x480" || fail "not 600 x 480"
# The desktop finds the window's entry by its class: the installed one's, or the tree's.
entry=$(dirname "$zentu")/../share/applications/org.zentu.Zentu.desktop
[ -f "$entry" ] || entry=$(dirname "$0")/../../packaging/org.zentu.Zentu.desktop
class=$(xprop -id "$dialog" WM_CLASS)
[ "${class##*, }" = "\"$(sed -n 's/^StartupWMClass=//p' "$entry")\"" ] ||
    fail "$class does not match $entry"
has_icon() { xprop -id "$dialog" _NET_WM_ICON | grep -q "Icon (128 x 128)"; }
until_ok 5 has_icon || fail "the dialog has no icon"
xdotool windowfocus --sync "$dialog"

if [ -n "$reference" ]; then
    # Return for «Ввод»; Tab Tab Space for «Завершить»; «Ввод» at (350, 70) and
    # «Завершить» at (470, 70), 111 x 30, clicked; Return on «Рассчитать», «Сохранить».
    enter() { for text; do xdotool type "$text"; xdotool key Return; done; }
    click() { xdotool mousemove --window "$dialog" "$1" 85 click 1; }
    enter 5 3
    # Killed mid-entry: the next start offers the pair back, and Return restores it.
    kill -KILL "$app"
    { wait "$app"; } 2>/dev/null || true
    start
    until_ok 10 window_titled "Данные не сохранены!" || fail "nothing offered after a kill"
    xdotool windowfocus --sync "$(window_titled "Данные не сохранены!")" key Return
    until_ok 10 eval '! window_titled "Данные не сохранены!"' || fail "the question stays"
    xdotool windowfocus --sync "$dialog"
    # A stray Escape asks first; Escape there keeps the data set, the typed 7 and the focus.
    # The question belongs to the dialog and opens centred over it, wherever it was moved.
    xdotool type 7
    xdotool windowmove --sync "$dialog" 300 200
    xdotool key Escape
    until_ok 10 window_titled "Данные не сохранены!" || fail "no question on close"
    question=$(window_titled "Данные не сохранены!")
    [ "$(xprop -id "$question" WM_TRANSIENT_FOR)" = "WM_TRANSIENT_FOR(WINDOW): window id # $(printf 0x%x "$dialog")" ] ||
        fail "the question is not transient for the dialog: $(xprop -id "$question" WM_TRANSIENT_FOR)"
    # Qt leaves room for a frame of 10 by 40 px that no window manager draws here.
    [ "$(centre "$question" 10 40)" = "$(centre "$dialog")" ] ||
        fail "the question is centred at $(centre "$question" 10 40), the dialog at $(centre "$dialog")"
    xdotool windowfocus --sync "$question" key Escape
    until_ok 10 eval '! window_titled "Данные не сохранены!"' || fail "the question stays"
    xdotool key Return
    enter 1
    xdotool key Tab Tab space
    xdotool type 8
    click 405
    enter 2 10 2
    click 525
    xdotool key Return Return
    until_ok 10 window_titled "Сохранить результат" || fail "no file dialog"
    xdotool windowfocus --sync "$(window_titled "Сохранить результат")" key ctrl+a
    xdotool type "$work/report.txt"
    xdotool key Return
    until_ok 10 test -s "$work/report.txt" || fail "no report saved"
    cmp "$work/report.txt" "$reference" || fail "the saved report differs from $reference"
    xdotool windowfocus --sync "$dialog"
fi
xdotool key Escape
until_ok 10 eval '! kill -0 $app' || fail "still running after Escape"
wait "$app" || fail "exit status $?"
[ -z "$(ls -A "$work/state/zentu" 2>/dev/null)" ] || fail "a journal is left behind"
echo "PASS"

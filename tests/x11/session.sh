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

start_xvfb "$work" || fail "Xvfb did not start"
mkdir -m 700 "$work/home" "$work/runtime"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" "$zentu" &
app=$!

main="Сравнение по t-критерию Стъюдента"
until_ok 10 window_titled "О программе" || fail "no About box"
[ "$(mapped_titles "$app")" = '"О программе"' ] || fail "the About box is not alone"
xdotool windowfocus --sync "$(window_titled "О программе")" key Return
until_ok 10 window_titled "$main" || fail "no dialog after the About box"
dialog=$(window_titled "$main")
[ "$(mapped_titles "$app")" = "\"$main\"" ] || fail "the About box is still there"
xdotool getwindowgeometry "$dialog" | grep -q "Geometry: 600x480" || fail "not 600 x 480"
xdotool windowfocus --sync "$dialog"

if [ -n "$reference" ]; then
    # Return for «Ввод»; Tab Tab Space for «Завершить»; «Ввод» at (350, 70) and
    # «Завершить» at (470, 70), 111 x 30, clicked; Return on «Рассчитать», «Сохранить».
    enter() { for text; do xdotool type "$text"; xdotool key Return; done; }
    click() { xdotool mousemove --window "$dialog" "$1" 85 click 1; }
    enter 5 3
    # A stray Escape asks first; Escape there keeps the data set, the typed 7 and the focus.
    xdotool type 7
    xdotool key Escape
    until_ok 10 window_titled "Данные не сохранены!" || fail "no question on close"
    xdotool windowfocus --sync "$(window_titled "Данные не сохранены!")" key Escape
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
echo "PASS"

#!/usr/bin/env bash
# Drives the real zentu binary on a private Xvfb display, with xdotool.
#   session.sh ZENTU startup            About box first and alone, then the dialog, Escape exits 0
#   session.sh ZENTU comparison REPORT  one whole comparison by keyboard and mouse, saved through
#                                       the real file dialog and compared with REPORT byte for byte
set -euo pipefail
source "$(dirname "$0")/../../scripts/x11.sh"

zentu=$1
mode=$2
reference=${3:-}
work=$(mktemp -d)
app=
xvfb=

cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -n "${DISPLAY:-}" ] && echo "mapped windows: $(mapped_titles)" >&2
    exit 1
}

# poll SECONDS COMMAND...: retries the command until it succeeds or time is up.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

visible() { window_titled "$1" >/dev/null; }
window() { window_titled "$1"; }
gone() { ! visible "$1"; }
exited() { ! kill -0 "$app" 2>/dev/null; }

# Xvfb picks a free display number itself and writes it when it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
poll 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" "$zentu" &
app=$!

about="О программе"
main="Сравнение по t-критерию Стъюдента"
poll 20 visible "$about" || fail "the About box did not appear"
visible "$main" && fail "the dialog is mapped before the About box is dismissed"
[ "$(xdotool search --onlyvisible --pid "$app" | wc -l)" -eq 1 ] || fail "more than the About box is mapped"

xdotool windowfocus --sync "$(window "$about")" key Return
poll 10 visible "$main" || fail "the dialog did not appear after the About box"
gone "$about" || fail "the About box is still there"
geometry=$(xdotool getwindowgeometry "$(window "$main")")
grep -q "Geometry: 600x480" <<<"$geometry" || fail "dialog geometry: $geometry"
dialog=$(window "$main")
xdotool windowfocus --sync "$dialog"

if [ "$mode" = comparison ]; then
    # Sample 1 by keyboard alone: number, Return; "Завершить" by Tab, Tab, Space.
    for text in 5 3 7 1; do
        xdotool type "$text"
        xdotool key Return
    done
    xdotool key Tab Tab space
    # Sample 2 partly by mouse: "Ввод" at (350, 70) and "Завершить" at (470, 70), 111 x 30.
    xdotool type 8
    xdotool mousemove --window "$dialog" 405 85 click 1
    for text in 2 10 2; do
        xdotool type "$text"
        xdotool key Return
    done
    xdotool mousemove --window "$dialog" 525 85 click 1
    # "Рассчитать", then "Сохранить", each focused in turn: Return.
    xdotool key Return
    xdotool key Return
    poll 10 visible "Сохранить результат" || fail "the file dialog did not appear"
    xdotool windowfocus --sync "$(window "Сохранить результат")"
    xdotool key ctrl+a
    xdotool type "$work/report.txt"
    xdotool key Return
    poll 10 gone "Сохранить результат" || fail "the file dialog stayed open"
    poll 10 test -s "$work/report.txt" || fail "no report was saved"
    cmp "$work/report.txt" "$reference" || fail "the saved report differs from $reference"
    xdotool windowfocus --sync "$dialog"
fi

xdotool key Escape
poll 10 exited || fail "zentu did not exit after Escape"
status=0
wait "$app" || status=$?
app=
[ "$status" -eq 0 ] || fail "exit status $status"
echo "PASS: $mode"

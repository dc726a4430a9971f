#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real zentu binary as a native Wayland client, under a headless sway,
# driven by keys from wtype: the About box first and alone, one whole
# comparison by keyboard, saved through the real file dialog and compared byte
# for byte; an error box and the close question each a child of the dialog's
# window (read from the Wayland protocol itself, WAYLAND_DEBUG); the app id is
# the desktop entry's name; Escape then ends it with status 0. sway refuses to
# run as root, so as root both run as "nobody".
#   session.sh ZENTU REPORT
set -euo pipefail
source "$(dirname "$0")/../../scripts/x11.sh" # until_ok
zentu=$1
reference=$2
work=$(mktemp -d)
chmod 755 "$work"
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

user=()
mkdir -m 700 "$work/runtime" "$work/home"
if [ "$(id -u)" -eq 0 ]; then
    user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chown nobody:nogroup "$work/runtime" "$work/home"
    # A build under /root is out of nobody's reach.
    cp "$zentu" "$work/zentu"
    zentu=$work/zentu
fi
# "${as_user[@]}" COMMAND...: in the private session, with an environment of its
# own; started in the background, its PID is the command's own, so the trap ends it.
as_user=("${user[@]}" env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
    WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$work/runtime/sway.sock")

# titles: the titles of zentu's windows, one a line, the focused one last.
titles() {
    "${as_user[@]}" swaymsg -t get_tree -r 2>/dev/null |
        jq -r '[.. | objects | select(.app_id? == "org.zentu.Zentu")] | sort_by(.focused) | .[].name'
}
focused() { [ "$(titles | tail -n 1)" = "$1" ]; }
gone() { ! titles | grep -qxF "$1"; }
keys() { "${as_user[@]}" wtype "$@"; }
fail() { echo "FAIL: $*; windows: $(titles | tr '\n' '|')" >&2; exit 1; }
# parent TITLE: the title of the window that the last window titled TITLE was
# made a child of, from what the program told the compositor (libwayland writes
# objects as xdg_toplevel@25 up to 1.21, as xdg_toplevel#25 since).
parent() {
    sed -n -e 's/.*-> xdg_toplevel[@#]\([0-9]*\)\.set_parent(xdg_toplevel[@#]\([0-9]*\)).*/P \1 \2/p' \
        -e 's/.*-> xdg_toplevel[@#]\([0-9]*\)\.set_title("\(.*\)")$/T \1 \2/p' \
        -e 's/.*-> xdg_toplevel[@#]\([0-9]*\)\.destroy().*/D \1/p' "$work/wayland.log" |
        awk -v want="$1" '
            $1 == "P" { parent[$2] = $3 }
            $1 == "T" { title = $0; sub(/^T [0-9]+ /, "", title); name[$2] = title
                        if (title == want) found = ($2 in parent) ? name[parent[$2]] : "none" }
            $1 == "D" { delete parent[$2]; delete name[$2] }
            END { print found }'
}

# Windows float, as on the desktops people use.
printf '%s\n' 'output HEADLESS-1 resolution 1366x768' \
    'for_window [app_id=".*"] floating enable' >"$work/sway.conf"
chmod 644 "$work/sway.conf"
"${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
until_ok 20 test -S "$work/runtime/sway.sock" || fail "sway did not start: $(tail -3 "$work/sway.log")"
# One virtual keyboard held for the whole session: each wtype that starts and
# ends makes the seat lose its keyboard, and Qt then misses the next key.
"${as_user[@]}" wtype -P F24 -s 3600000 >/dev/null 2>&1 &
"${as_user[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$zentu" >/dev/null 2>"$work/wayland.log" &
app=$!

main="Сравнение по t-критерию Стъюдента"
question="Данные не сохранены!"
until_ok 10 focused "О программе" || fail "no About box"
[ "$(titles)" = "О программе" ] || fail "the About box is not alone"
grep -aq 'set_app_id("org.zentu.Zentu")' "$work/wayland.log" || fail "app id is not org.zentu.Zentu"
keys -k Return
until_ok 10 focused "$main" || fail "no dialog after the About box"
gone "О программе" || fail "the About box is still there"

enter() { for text; do keys "$text" -k Return; done; }
enter 5 3
# A stray Escape asks first; Escape there keeps the data set, the typed 7 and the focus.
keys 7 -k Escape
until_ok 10 focused "$question" || fail "no question on close"
[ "$(parent "$question")" = "$main" ] || fail "the question is not the dialog's: $(parent "$question")"
keys -k Escape
until_ok 10 gone "$question" || fail "the question stays"
enter "" 1
# «Завершить» is two Tabs on from the first edit.
keys -k Tab -k Tab -k space
enter 8
# «Завершить» while a frequency is awaited: refused in a box of the dialog's.
keys -M shift -k Tab -m shift -k space
until_ok 10 focused "Ошибка ввода!" || fail "no error box"
[ "$(parent "Ошибка ввода!")" = "$main" ] || fail "the error box is not the dialog's: $(parent "Ошибка ввода!")"
keys -k Return
until_ok 10 gone "Ошибка ввода!" || fail "the error box stays"
until_ok 10 focused "$main" || fail "the dialog did not get the focus back"
enter 2 10 2
keys -M shift -k Tab -m shift -k space
keys -k Return -k Return
until_ok 10 focused "Сохранить результат" || fail "no file dialog"
keys -M ctrl a -m ctrl "$work/home/report.txt" -k Return
until_ok 10 test -s "$work/home/report.txt" || fail "no report saved"
cmp "$work/home/report.txt" "$reference" || fail "the saved report differs from $reference"
until_ok 10 focused "$main" || fail "the dialog did not get the focus back after saving"
keys -k Escape
until_ok 10 eval '! kill -0 $app' || fail "still running after Escape"
wait "$app" || fail "exit status $?"
echo "PASS"

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
source "$(dirname "$0")/../../scripts/wayland.sh"
zentu=$1
reference=$2
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*; windows: $(titles | tr '\n' '|')" >&2; exit 1; }

start_sway "$work" || fail "sway did not start: $(tail -3 "$work/sway.log")"
cp "$zentu" "$work/zentu" # a build under /root is out of nobody's reach
"${as_user[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$work/zentu" >/dev/null \
    2>"$work/wayland.log" &
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
[ "$(parent "$question" "$work/wayland.log")" = "$main" ] || fail "the question is not the dialog's"
keys -k Escape
until_ok 10 gone "$question" || fail "the question stays"
enter "" 1
# «Завершить» is two Tabs on from the first edit.
keys -k Tab -k Tab -k space
enter 8
# «Завершить» while a frequency is awaited: refused in a box of the dialog's.
keys -M shift -k Tab -m shift -k space
until_ok 10 focused "Ошибка ввода!" || fail "no error box"
[ "$(parent "Ошибка ввода!" "$work/wayland.log")" = "$main" ] || fail "the error box is not the dialog's"
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

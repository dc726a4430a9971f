#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real zentu binary on a real display, driven as a user drives it:
#   session.sh x11 ZENTU [REPORT]   a private Xvfb; keys, and clicks on «Ввод» and
#                                   «Завершить», from xdotool
#   session.sh wayland ZENTU REPORT a native client of a headless sway, keys from wtype
#   session.sh large-font ZENTU     Xvfb under openbox, started as GNOME starts it, so
#                                   that Qt's GTK theme hands it Cantarell 18
# Each time the About box comes first and alone, then the dialog, whose window
# the installed entry names (X11: WM_CLASS, and the icon; Wayland: the app id).
# With REPORT: sample 1 pasted from the clipboard, the program killed, the
# sample offered back at the next start and restored; a stray Escape asks the close question, and
# «Завершить» while a frequency is awaited gives an error box, each a box of the
# dialog's (X11: transient for it and centred over it, after it was moved;
# Wayland: its child, as the program told the compositor); a slip taken back by
# Ctrl+Z and corrected; the whole comparison,
# saved through the real file dialog and compared byte for byte; the same
# samples pasted as two groups side by side (X11: by the middle click of the
# selection) and calculated, saved byte for byte alike; «Рисунок» by Ctrl+G,
# owned by the dialog, closed by Escape; no journal left. large-font: the dialog grows and stays on the screen, and the
# protocol's focus frame shows on it. Escape then ends it with status 0.
set -euo pipefail
source "$(dirname "$0")/../../scripts/x11.sh"
mode=$1
zentu=$2
reference=${3:-}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
main="Сравнение по t-критерию Стъюдента"
question="Данные не сохранены!"

if [ "$mode" = wayland ]; then
    source "$(dirname "$0")/../../scripts/wayland.sh"
    fail() { echo "FAIL: $*; windows: $(titles | tr '\n' '|')" >&2; exit 1; }
    start_sway "$work" || fail "sway did not start: $(tail -3 "$work/sway.log")"
    cp "$zentu" "$work/zentu" # a build under /root is out of nobody's reach
    zentu=$work/zentu
    run=("${as_user[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1)
    wayland_log=$work/wayland.log
else
    fail() { echo "FAIL: $*; mapped: $(mapped_titles)" >&2; exit 1; }
    mkdir -m 700 "$work/home" "$work/runtime"
    run=(env -u XDG_STATE_HOME HOME="$work/home" XDG_CONFIG_HOME="$work/config"
        XDG_RUNTIME_DIR="$work/runtime")
    if [ "$mode" = large-font ]; then
        start_xvfb "$work" 1920x1200 || fail "Xvfb did not start"
        mkdir -p "$work/config/gtk-3.0"
        printf '[Settings]\ngtk-font-name=Cantarell 18\n' >"$work/config/gtk-3.0/settings.ini"
        "${run[@]}" openbox >/dev/null 2>&1 &
        until_ok 20 xprop -root _NET_SUPPORTING_WM_CHECK || fail "no window manager"
        run+=(XDG_CURRENT_DESKTOP=GNOME)
    else
        start_xvfb "$work" || fail "Xvfb did not start"
    fi
fi

# start: zentu, its About box first and alone, answered; then the dialog.
start() {
    "${run[@]}" "$zentu" >/dev/null 2>"$work/wayland.log" &
    app=$!
    shown "О программе" || fail "no About box"
    [ "$(titles)" = "О программе" ] || fail "the About box is not alone"
    press Return
    until_ok 30 eval '! gone "$main"' || fail "no dialog after the About box"
    dialog=$(window_titled "$main" 2>/dev/null || echo "$main") # what a box belongs to
}
start
[ "$(titles)" = "$main" ] || fail "the About box is still there"
shown "$main" || fail "the dialog has no focus"
if [ "$mode" = wayland ]; then
    grep -aq 'set_app_id("org.zentu.Zentu")' "$work/wayland.log" || fail "the app id is not org.zentu.Zentu"
else
    # The desktop finds the window's entry by its class: the installed one's, or the tree's.
    entry=$(dirname "$zentu")/../share/applications/org.zentu.Zentu.desktop
    [ -f "$entry" ] || entry=$(dirname "$0")/../../packaging/org.zentu.Zentu.desktop
    class=$(xprop -id "$dialog" WM_CLASS)
    [ "${class##*, }" = "\"$(sed -n 's/^StartupWMClass=//p' "$entry")\"" ] ||
        fail "$class does not match $entry"
    has_icon() { xprop -id "$dialog" _NET_WM_ICON | grep -q "Icon (128 x 128)"; }
    until_ok 5 has_icon || fail "the dialog has no icon"
fi
[ "$mode" != x11 ] || xdotool getwindowgeometry "$dialog" | grep -q "Geometry: 600x480" ||
    fail "not 600 x 480"

if [ "$mode" = large-font ]; then
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    # Cantarell 18 needs well over one and a half times the room drawn.
    [ "$WIDTH" -ge 900 ] && [ "$HEIGHT" -ge 720 ] || fail "the dialog did not grow: $WIDTH x $HEIGHT"
    [ $((X + WIDTH)) -le 1920 ] && [ $((Y + HEIGHT)) -le 1200 ] ||
        fail "beyond the screen: $WIDTH x $HEIGHT at $X, $Y"
    # The protocol's left frame, halfway down: the drawn x of 10 and y of 330
    # of 600 x 480, scaled with the dialog, give or take 4 px.
    frame() {
        import -window root -crop "9x1+$((X + WIDTH * 10 / 600 - 4))+$((Y + HEIGHT * 330 / 480))" \
            -depth 8 rgb:- | od -An -tx1 | tr -d ' \n'
    }
    unfocused=$(frame)
    [ -n "$unfocused" ] || fail "no screenshot"
    press shift+Tab
    until_ok 5 test "$(frame)" != "$unfocused" || fail "no focus mark on the protocol"
elif [ -n "$reference" ]; then
    enter() { for number; do text "$number"; press Return; done; }
    # «Ввод» at x 405 or «Завершить» at x 525 of the drawn dialog: clicked on
    # X11, elsewhere the keys that follow.
    button() {
        if [ "$mode" = x11 ]; then xdotool mousemove --window "$dialog" "$1" 85 click 1; else
            shift
            press "$@"
        fi
    }
    # Each step is waited for where the program keeps it, its journal, not for
    # a time: a loaded machine takes as long as it takes.
    journalled() {
        local journal
        for journal in "$work"/home/.local/state/zentu/*.journal; do
            [ "$(tail -n 1 "$journal" 2>/dev/null)" != "$1" ] || return 0
        done
        return 1
    }
    step() { until_ok 30 journalled "$1" || fail "no step '$1' taken"; }
    # Sample 1 pasted as Calc copies two columns, then the program killed.
    clip '5\t3\n7\t1\n' || fail "nothing on the clipboard"
    press ctrl+v
    step "s 5 3 7 1"
    kill -KILL "$app"
    { wait "$app"; } 2>/dev/null || true
    start
    shown "$question" || fail "nothing offered after a kill"
    owned "$question" "$dialog" || fail "the offer is not the dialog's"
    press Return
    until_ok 30 gone "$question" || fail "the offer stays"
    shown "$main" || fail "the dialog did not get the focus back"
    # A stray Escape asks first; Escape there keeps the data set, the typed 7 and the focus.
    text 7
    [ "$mode" != x11 ] || xdotool windowmove --sync "$dialog" 300 200
    press Escape
    shown "$question" || fail "no question on close"
    owned "$question" "$dialog" || fail "the question is not the dialog's"
    press Escape
    until_ok 30 gone "$question" || fail "the question stays"
    shown "$main" || fail "the dialog did not get the focus back"
    press BackSpace Tab Tab space
    step e
    text 8
    button 405 Return
    step "v 8"
    button 525 shift+Tab space
    shown "Ошибка ввода!" || fail "no error box"
    owned "Ошибка ввода!" "$dialog" || fail "the error box is not the dialog's"
    press Return
    until_ok 30 gone "Ошибка ввода!" || fail "the error box stays"
    shown "$main" || fail "the dialog did not get the focus back"
    # A slip, 100 for 10, taken back by Ctrl+Z: it waits selected, and 10 replaces it.
    enter 2 100
    step "v 100"
    press ctrl+z
    step u
    enter 10 2
    step "p 2"
    press shift+Tab space
    step e
    press Return
    step c
    press Return
    shown "Сохранить результат" || fail "no file dialog"
    press ctrl+a
    text "$work/home/report.txt"
    press Return
    until_ok 30 test -s "$work/home/report.txt" || fail "no report saved"
    cmp "$work/home/report.txt" "$reference" || fail "the saved report differs from $reference"
    shown "$main" || fail "the dialog did not get the focus back after saving"
    # The same two samples as a lab's sheet holds them, two groups side by side
    # as Calc copies them (on X11 selected, and pasted by the middle click):
    # both samples at once, then the same report byte for byte.
    groups='Контроль\tОпыт\n5\t8\n7\t10\n5\t8\n5\t10\n'
    if [ "$mode" = x11 ]; then
        select_text "$groups" || fail "nothing selected"
        xdotool mousemove --window "$dialog" 80 81 click 2
    else
        clip "$groups" || fail "nothing on the clipboard"
        press ctrl+v
    fi
    step "t 5 3 7 1 | 8 2 10 2"
    press Return
    step c
    press Return
    shown "Сохранить результат" || fail "no file dialog after the groups"
    press ctrl+a
    text "$work/home/groups.txt"
    press Return
    until_ok 30 test -s "$work/home/groups.txt" || fail "no report of the groups saved"
    cmp "$work/home/groups.txt" "$reference" || fail "the groups' report differs from $reference"
    shown "$main" || fail "the dialog did not get the focus back after saving the groups"
    # «Рисунок» opens only when asked, by Ctrl+G: a window of the dialog's own,
    # above it; Escape closes it and gives the dialog the keyboard back.
    gone "Рисунок" || fail "a figure nobody asked for"
    press ctrl+g
    shown "Рисунок" || fail "no figure on Ctrl+G"
    if [ "$mode" = x11 ]; then
        [ "$(xprop -id "$(window_titled "Рисунок")" WM_TRANSIENT_FOR)" = \
            "WM_TRANSIENT_FOR(WINDOW): window id # $(printf 0x%x "$dialog")" ] ||
            fail "the figure is not the dialog's"
    else
        owned "Рисунок" "$dialog" || fail "the figure is not the dialog's"
    fi
    press Escape
    until_ok 30 gone "Рисунок" || fail "the figure stays after Escape"
    shown "$main" || fail "the dialog did not get the focus back after the figure"
fi
press Escape
until_ok 60 eval '! kill -0 $app' || fail "still running after Escape"
wait "$app" || fail "exit status $?"
[ -z "$(ls -A "$work/home/.local/state/zentu" 2>/dev/null)" ] || fail "a journal is left behind"
echo "PASS"

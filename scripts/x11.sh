# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Finding windows by their titles on an X display, whatever the locale.
# shellcheck shell=bash
#
# Under the C locale Qt writes a window's WM_NAME as raw UTF-8 in a Latin-1
# STRING, and that is what `xdotool search --name` matches. _NET_WM_NAME is
# UTF-8 in every locale: its bytes are read in hex and compared as bytes, so
# neither the program's locale nor ours matters.

# window_title ID: the window's title, or failure when it has none.
window_title() {
    local hex
    hex=$(xprop -id "$1" -notype -f _NET_WM_NAME 8x ' $0+' _NET_WM_NAME 2>/dev/null) || return 1
    [[ $hex == *0x* ]] || return 1
    hex=${hex#* }
    hex=${hex//, /}
    printf '%b' "${hex//0x/\\x}"
}

# mapped_windows [PID]: the mapped windows, of one process when PID is given.
mapped_windows() {
    if [ -n "${1:-}" ]; then
        xdotool search --onlyvisible --pid "$1" 2>/dev/null
    else
        xdotool search --onlyvisible --name '' 2>/dev/null
    fi
}

# window_titled TITLE [PID]: prints the first mapped window with exactly this title.
window_titled() {
    local id
    for id in $(mapped_windows "${2:-}"); do
        if [ "$(window_title "$id")" = "$1" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# mapped_titles [PID]: the titles of the mapped windows, quoted, on one line.
mapped_titles() {
    local id title titles=()
    for id in $(mapped_windows "${1:-}"); do
        title=$(window_title "$id") && titles+=("\"$title\"")
    done
    echo "${titles[*]:-none}"
}

# until_ok SECONDS COMMAND...: runs COMMAND until it succeeds, for SECONDS at most.
until_ok() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

# start_xvfb DIR [WIDTHxHEIGHT]: a private Xvfb in the background (1024x768 by
# default), PID in $xvfb, its display number in DIR/display and $display, and
# DISPLAY exported. Without -noreset this Xvfb resets when its last client leaves.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${2:-1024x768}x24" -nolisten tcp -noreset 3>"$1/display" 2>/dev/null &
    xvfb=$!
    until_ok 20 test -s "$1/display" || return 1
    display=$(cat "$1/display")
    export DISPLAY=":$display"
}

# Driving the program as a user does, by the names a session uses on either
# display (scripts/wayland.sh gives the same for Wayland): text STRING; press
# KEY... (xdotool's names: Return, shift+Tab); shown TITLE waits for the window
# and gives it the keyboard; gone TITLE; titles: those of the program's windows
# (process $app), one a line; owned TITLE DIALOG: that box is transient for the
# dialog and centred over it, allowing for the 10 x 40 px frame Qt assumes and
# no window manager draws here.
text() { xdotool type "$1"; }
press() { xdotool key "$@"; }
# clip TEXT: TEXT, with printf's \t and \n, on the clipboard as a spreadsheet puts
# a copied range there, held by a job of the session's until it ends.
clip() {
    printf '%b' "$1" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
    until_ok 30 holds "$1"
}
holds() { [ "$(xclip -o -selection "${2:-clipboard}" | od -c)" = "$(printf '%b' "$1" | od -c)" ]; }
# select_text TEXT: TEXT as the X11 selection, as if selected in another program; a
# middle click pastes it.
select_text() {
    printf '%b' "$1" | xclip -selection primary -quiet >/dev/null 2>&1 &
    until_ok 30 holds "$1" primary
}
shown() { until_ok 30 window_titled "$1" && xdotool windowfocus --sync "$(window_titled "$1")"; }
gone() { ! window_titled "$1" >/dev/null; }
titles() { for id in $(mapped_windows "$app"); do window_title "$id" && echo; done; }
owned() {
    local box
    box=$(window_titled "$1") || return 1
    [ "$(xprop -id "$box" WM_TRANSIENT_FOR)" = "WM_TRANSIENT_FOR(WINDOW): window id # $(printf 0x%x "$2")" ] &&
        [ "$(centre "$box" 10 40)" = "$(centre "$2")" ]
}
# centre WINDOW [DX DY]: where its middle is on the screen, moved by DX, DY, to
# within 2 px.
centre() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$(((X + WIDTH / 2 + ${2:-0}) / 2)) $(((Y + HEIGHT / 2 + ${3:-0}) / 2))"
}

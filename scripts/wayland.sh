# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later

# A private headless Wayland session (sway) with keys from wtype, and finding
# the program's windows in it. sway refuses to run as root, so as root the
# session and everything in it run as "nobody".
# shellcheck shell=bash

# start_sway DIR: sway on a 1366 x 768 output, its runtime and home in DIR, and
# one virtual keyboard held for the whole session: each wtype that starts and
# ends makes the seat lose its keyboard, and Qt then misses the next key. Then
# "${as_user[@]}" COMMAND... runs in the session; started in the background, its
# PID is the command's own, so a trap that kills the jobs ends it.
start_sway() {
    local user=()
    mkdir -m 700 "$1/runtime" "$1/home" || return 1
    if [ "$(id -u)" -eq 0 ]; then
        user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
        chmod 755 "$1" && chown nobody:nogroup "$1/runtime" "$1/home" || return 1
    fi
    as_user=("${user[@]}" env -i PATH=/usr/bin:/bin HOME="$1/home" XDG_RUNTIME_DIR="$1/runtime"
        WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$1/runtime/sway.sock")
    # Windows float, as on the desktops people use.
    printf '%s\n' 'output HEADLESS-1 resolution 1366x768' \
        'for_window [app_id=".*"] floating enable' >"$1/sway.conf" && chmod 644 "$1/sway.conf"
    "${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$1/sway.conf" >"$1/sway.log" 2>&1 &
    until_ok 20 test -S "$1/runtime/sway.sock" || return 1
    "${as_user[@]}" wtype -P F24 -s 3600000 >/dev/null 2>&1 &
}

# The same names for driving the program as scripts/x11.sh gives, here:
# text STRING; press KEY... with xdotool's names (Return, shift+Tab, ctrl+a);
# clip TEXT puts TEXT (printf's \t and \n) on the clipboard, held until the end;
# shown TITLE waits until that window has the keyboard; gone TITLE; titles: the
# program's windows, one a line, the focused one last; owned TITLE DIALOG: the
# box was made a child of the dialog's window, by what the program told the
# compositor in $wayland_log (WAYLAND_DEBUG=1).
text() { "${as_user[@]}" wtype "$1"; }
press() {
    local key args=()
    for key; do
        case $key in
        *+*) args+=(-M "${key%+*}" -k "${key#*+}" -m "${key%+*}") ;;
        *) args+=(-k "$key") ;;
        esac
    done
    "${as_user[@]}" wtype "${args[@]}"
}
clip() {
    printf '%b' "$1" | "${as_user[@]}" wl-copy --foreground >/dev/null 2>&1 &
    until_ok 30 holds "$1"
}
holds() { [ "$("${as_user[@]}" wl-paste -n | od -c)" = "$(printf '%b' "$1" | od -c)" ]; }
focused() { [ "$(titles | tail -n 1)" = "$1" ]; }
shown() { until_ok 30 focused "$1"; }
gone() { ! titles | grep -qxF "$1"; }
titles() {
    "${as_user[@]}" swaymsg -t get_tree -r 2>/dev/null |
        jq -r '[.. | objects | select(.app_id? == "org.zentu.Zentu")] | sort_by(.focused) | .[].name'
}
owned() { [ "$(parent "$1" "$wayland_log")" = "$2" ]; }

# parent TITLE LOG: the title of the window that the last window titled TITLE
# was made a child of, as WAYLAND_DEBUG=1 wrote it into LOG (libwayland writes
# objects as xdg_toplevel@25 up to 1.21, as xdg_toplevel#25 since).
parent() {
    sed -n -e 's/.*-> xdg_toplevel[@#]\([0-9]*\)\.set_parent(xdg_toplevel[@#]\([0-9]*\)).*/P \1 \2/p' \
        -e 's/.*-> xdg_toplevel[@#]\([0-9]*\)\.set_title("\(.*\)")$/T \1 \2/p' \
        -e 's/.*-> xdg_toplevel[@#]\([0-9]*\)\.destroy().*/D \1/p' "$2" |
        awk -v want="$1" '
            $1 == "P" { parent[$2] = $3 }
            $1 == "T" { title = $0; sub(/^T [0-9]+ /, "", title); name[$2] = title
                        if (title == want) found = ($2 in parent) ? name[parent[$2]] : "none" }
            $1 == "D" { delete parent[$2]; delete name[$2] }
            END { print found }'
}

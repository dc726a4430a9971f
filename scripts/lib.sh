# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by the scripts: Debian packages and the CMake build.
# shellcheck shell=bash

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The program alone: its build; at run time its protocol's typeface and the
# toolkit's Russian catalogue (file dialog, context menus).
BUILD_PACKAGES=(cmake g++ make pkgconf qt6-base-dev qt6-svg-dev libboost-math-dev)
RUN_PACKAGES=(fonts-urw-base35 qt6-translations-l10n)
# The tests (Boost.Math; Qt's default face on Debian, DejaVu Sans, for which the
# dialog was drawn; the real-display tests on X11, with GNOME's font
# through Qt's GTK theme, and on Wayland, the Debian package built and checked
# as Debian does) and the benchmarks.
TEST_PACKAGES=(libboost-math-dev libbenchmark-dev xvfb xdotool x11-utils
    fonts-dejavu-core openbox imagemagick qt6-gtk-platformtheme fonts-cantarell
    sway wtype jq qt6-wayland xclip wl-clipboard lintian reuse desktop-file-utils appstream time
    poppler-utils)
# Building the Debian package: what debian/control asks for, and its tools.
PACKAGE_PACKAGES=(dpkg-dev debhelper cmake qt6-base-dev qt6-svg-dev libboost-math-dev qt6-translations-l10n
    fonts-dejavu-core)
# The distribution's default clang, whatever its version; its sanitizer and
# fuzzer runtimes come with libclang-rt-dev, which follows it.
CHECK_PACKAGES=(clang clang-format clang-tidy libclang-rt-dev)

# Installs whichever of the named packages are missing: as root directly,
# otherwise through sudo; without either, says which are missing and stops.
ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        [ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" = installed ] ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These Debian packages are missing and neither root nor sudo is at hand" \
                "to install them: run as root" \
                "'apt-get update && apt-get install -y ${missing[*]}', then this again." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "Installing Debian packages${sudo:+ through sudo}: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# build DIR [cmake options...]: configure, then build.
build() {
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

# True when DISPLAY names an X server that is listening. It needs no X tools,
# so it can be asked before anything is installed; xdpyinfo, where present,
# has the last word (it also knows about authorisation).
display_reachable() {
    local display=${DISPLAY:-} host number
    [ -n "$display" ] || return 1
    host=${display%%:*}
    number=${display#*:}
    number=${number%%.*}
    [[ $number =~ ^[0-9]+$ ]] || return 1
    if command -v xdpyinfo >/dev/null 2>&1; then
        xdpyinfo >/dev/null 2>&1
    elif [ -z "$host" ] || [ "$host" = unix ]; then
        # A socket file can outlive its server; the kernel's list of bound sockets cannot.
        if [ -r /proc/net/unix ]; then
            grep -q "/tmp/.X11-unix/X$number\$" /proc/net/unix
        else
            [ -S "/tmp/.X11-unix/X$number" ]
        fi
    else
        timeout 5 bash -c "exec 3<>/dev/tcp/$host/$((6000 + number))" 2>/dev/null
    fi
}

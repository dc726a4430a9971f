#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package built from BUILD_DIR: its name, version and dependencies,
# exactly its files, valid desktop and AppStream data, and its stripped binary
# starting on a real display.
#   check_deb.sh BUILD_DIR VERSION
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$1" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
deb="$work/zentu_$2_amd64.deb"
info=$(dpkg-deb -f "$deb" Package Version Depends Recommends | tr '\n' ' ') || fail "no $deb"
[[ $info =~ ^"Package: zentu Version: $2 Depends: ".*libqt6widgets6.*" Recommends: fonts-urw-base35 "$ ]] ||
    fail "control: $info"
dpkg-deb -x "$deb" "$work/root"
files=$(cd "$work/root" && find . -type f | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/zentu ./usr/share/applications/org.zentu.Zentu.desktop ./usr/share/icons/hicolor/scalable/apps/org.zentu.Zentu.svg ./usr/share/metainfo/org.zentu.Zentu.metainfo.xml " ] ||
    fail "files: $files"
file "$work/root/usr/bin/zentu" | grep -q ', stripped' || fail "the binary is not stripped"
grep -qx 'Exec=zentu' "$work"/root/usr/share/applications/*.desktop || fail "Exec is not zentu"
# Hints are advice (the entry names two main categories on purpose); anything else fails.
out=$(desktop-file-validate "$work/root/usr/share/applications/org.zentu.Zentu.desktop" 2>&1) &&
    ! grep -v ': hint:' <<<"$out" | grep -q . || fail "desktop entry: $out"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.xml >"$work/as.log" 2>&1 ||
    fail "metainfo: $(cat "$work/as.log")"
"$(dirname "$0")/../x11/session.sh" "$work/root/usr/bin/zentu"

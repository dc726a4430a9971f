#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built as Debian builds it by scripts/package: the
# changelog's version is CMake's, lintian finds no tag in source or binary, not
# even an info one (hardening among them), exactly the expected files, desktop
# and AppStream data without a hint or an info, a licence on every source file,
# and the packaged binary starting on a real display. The package is left in
# BUILD_DIR.
#   check_deb.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
src=$1 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

changelog=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
[ "$changelog" = "$version" ] || fail "debian/changelog has $changelog, CMake $version"
(cd "$src" && reuse lint >"$work/reuse.log" 2>&1) || fail "reuse: $(cat "$work/reuse.log")"

"$src/scripts/package" "$2" >/dev/null || fail "scripts/package"
deb="$2/zentu_${version}_amd64.deb"
lintian --fail-on error,warning,info --display-info --tag-display-limit 0 "${deb%.deb}.changes" \
    >"$work/lintian.log" 2>&1 || [ $? -eq 2 ] || fail "lintian did not run: $(cat "$work/lintian.log")"
# The package follows the policy of Debian 13, 4.7.2; Debian 12's lintian knows
# 4.6.2 at most and says so. Declaring 4.6.2 instead would be an info tag on 13.
tags=$(grep -E '^[EWIX]: ' "$work/lintian.log" |
    grep -vx 'W: zentu source: newer-standards-version 4\.7\.2 (current is 4\.6\.[0-9])' || true)
[ -z "$tags" ] || fail "lintian: $(cat "$work/lintian.log")"

info=$(dpkg-deb -f "$deb" Package Version Depends Recommends | tr '\n' ' ')
[[ $info =~ ^"Package: zentu Version: $version Depends: ".*libqt6widgets6.*" Recommends: fonts-urw-base35, qt6-translations-l10n "$ ]] ||
    fail "control: $info"
dpkg-deb -x "$deb" "$work/root"
files=$(cd "$work/root" && find . -type f | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/zentu ./usr/share/applications/org.zentu.Zentu.desktop ./usr/share/doc/zentu/changelog.gz ./usr/share/doc/zentu/copyright ./usr/share/icons/hicolor/scalable/apps/org.zentu.Zentu.svg ./usr/share/lintian/overrides/zentu ./usr/share/man/man1/zentu.1.gz ./usr/share/man/ru/man1/zentu.1.gz ./usr/share/metainfo/org.zentu.Zentu.metainfo.xml " ] ||
    fail "files: $files"
grep -qx 'Exec=zentu' "$work"/root/usr/share/applications/*.desktop || fail "Exec is not zentu"
# Hints are advice (the entry names two main categories on purpose); anything else fails.
out=$(desktop-file-validate "$work/root/usr/share/applications/org.zentu.Zentu.desktop" 2>&1) &&
    ! grep -v ': hint:' <<<"$out" | grep -q . || fail "desktop entry: $out"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.xml >"$work/as.log" 2>&1 ||
    fail "metainfo: $(cat "$work/as.log")"
# Not even an info. The developer is given as AppStream 1.0 (Debian 13) asks;
# AppStream 0.16 (Debian 12) predates the tag and passes it with an info.
issues=$(grep -E '^[EWI]: ' "$work/as.log" | grep -vE '^I: [^ ]+ unknown-tag developer$' || true)
[ -z "$issues" ] || fail "metainfo: $(cat "$work/as.log")"
"$(dirname "$0")/../display/session.sh" x11 "$work/root/usr/bin/zentu"

#!/usr/bin/env bash
# Builds the Debian package from BUILD_DIR, checks what it holds and declares,
# and starts the packaged binary on a private Xvfb display.
#   check_deb.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack failed"
}
deb="$work/zentu_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zentu ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
# Dependencies come from the linked libraries.
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    grep -qw "$lib" <<<"$(field Depends)" || fail "Depends lacks $lib: $(field Depends)"
done
[ "$(field Recommends)" = fonts-urw-base35 ] || fail "Recommends: $(field Recommends)"

dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/zentu \
    usr/share/applications/org.zentu.Zentu.desktop \
    usr/share/icons/hicolor/scalable/apps/org.zentu.Zentu.svg \
    usr/share/metainfo/org.zentu.Zentu.metainfo.xml; do
    [ -f "$work/root/$file" ] || fail "the package lacks /$file"
done
unexpected=$(cd "$work/root" && find . -type f | grep -v -e '^./usr/bin/zentu$' -e '^./usr/share/' || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"
file "$work/root/usr/bin/zentu" | grep -q ', stripped' || fail "the binary is not stripped"
desktop="$work/root/usr/share/applications/org.zentu.Zentu.desktop"
for key in 'Name\[ru\]=' 'Comment\[ru\]=' 'Categories=Education;Science;Math;Qt;$' 'Exec=zentu$'; do
    grep -q "^$key" "$desktop" || fail "the desktop entry lacks $key"
done
# Hints are advice (this entry names two main categories on purpose); anything else fails.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop entry not valid: $out"
if grep -v ': hint:' <<<"$out" | grep -q .; then fail "desktop entry: $out"; fi
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.zentu.Zentu.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log" >&2
    fail "metainfo not valid"
}

"$here/../x11/session.sh" "$work/root/usr/bin/zentu" startup
echo "PASS: $(basename "$deb")"

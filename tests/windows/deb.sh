#!/usr/bin/env bash
# The Debian package: cpack makes it from the native build's install rules;
# it unpacks into a scratch root with the program, its art, the command, the
# launcher and the documents in place, and lintian finds no error in it.
#   tests/windows/deb.sh BUILD
set -u
build=$(cd "$1" && pwd)
work="$build/deb-test"
rm -rf "$work" && mkdir -p "$work/root" || exit 1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --build "$build" -j2 --target space-shooter ss_icons ss_changelog >/dev/null || exit 1
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.txt 2>&1) || { cat "$work/cpack.txt"; exit 1; }
deb=$(ls "$work"/space-shooter_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { fail "cpack made no space-shooter_VERSION_amd64.deb"; exit 1; }
dpkg-deb -x "$deb" "$work/root" || exit 1

# The rest of the layout comes from the same install rules as the install test's prefix.
r="$work/root/usr"
for f in lib/space-shooter/space-shooter share/doc/space-shooter/copyright share/doc/space-shooter/changelog.gz; do
    [ -s "$r/$f" ] || fail "the package lacks usr/$f"
done
[ "$(readlink "$r/bin/space-shooter")" = ../lib/space-shooter/space-shooter ] || fail "usr/bin/space-shooter does not lead to the program"
grep -q '^Exec="/usr/bin/space-shooter"' "$r/share/applications/space-shooter.desktop" || fail "the launcher does not start /usr/bin/space-shooter"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "the package does not depend on SDL"

lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1
grep '^E:' "$work/lintian.txt" && fail "lintian reports errors"
grep '^W:' "$work/lintian.txt"

[ "$failures" = 0 ] && echo "deb: all passed"
[ "$failures" = 0 ]

#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the desktop integration: the menu
# entry, the metainfo, the icons and the man page are where desktops look for them, and
# the desktop's own validators accept them.
set -euo pipefail
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
share="$prefix/share"
desktop="$share/applications/org.zorbo.Zorbo.desktop"
metainfo="$share/metainfo/org.zorbo.Zorbo.metainfo.xml"
[ -x "$prefix/bin/zorbo" ] || fail "no program in bin/"
[ -x "$prefix/bin/zorbo-edit" ] || fail "no level editor in bin/"
[ -x "$prefix/bin/zorbo_solve" ] || fail "no level solver in bin/"
[ -f "$share/zorbo/Data/Standard.txt" ] || fail "no level set in the data folder"
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"
for size in 16 24 48 96 192; do
  icon="$share/icons/hicolor/${size}x${size}/apps/zorbo.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  # The PNG header's width and height must match the folder the theme looks in.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
man="$share/man/man6/zorbo.6"
[ -f "$man" ] || fail "no manual page"
# Every option the program's --help lists is in the manual page.
for opt in $("$prefix/bin/zorbo" --help | grep -o -- '^  --[a-z-]*'); do
  grep -qF -- ".B ${opt//-/\\-}" "$man" || fail "the manual page lacks $opt"
done
solve_man="$share/man/man6/zorbo_solve.6"
[ -f "$solve_man" ] || fail "no manual page of the solver"
for opt in $("$prefix/bin/zorbo_solve" --help | grep -o -- '^  --[a-z-]*'); do
  grep -qF -- ".B ${opt//-/\\-}" "$solve_man" || fail "the solver's manual page lacks $opt"
done
grep -q '^Exec=zorbo$' "$desktop" || fail "the desktop entry does not start zorbo"
grep -q '^Icon=zorbo$' "$desktop" || fail "the desktop entry names another icon"

desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
echo "installed tree is complete"

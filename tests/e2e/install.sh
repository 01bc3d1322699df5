#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the desktop integration: the menu
# entry, the metainfo, the icons and the man page are where desktops look for them, and
# the desktop's own validators accept them.
set -euo pipefail
build="$1"
# Where the build installs the programs and the data folder (games/ and share/games/zorbo
# for a build made for /usr).
bindir="$2"
datadir="$3"
# Where the launcher module lies from the programs' folder.
launcherdir="$4"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
share="$prefix/share"
desktop="$share/applications/org.zorbo.Zorbo.desktop"
metainfo="$share/metainfo/org.zorbo.Zorbo.metainfo.xml"
[ -x "$prefix/$bindir/zorbo" ] || fail "no program in $bindir/"
[ -x "$prefix/$bindir/zorbo-edit" ] || fail "no level editor in $bindir/"
[ -x "$prefix/$bindir/zorbo_solve" ] || fail "no level solver in $bindir/"
[ -f "$prefix/$datadir/Data/Standard.txt" ] || fail "no level set in the data folder"
for module in launcher sound; do
  [ -f "$prefix/$bindir/$launcherdir/zorbo-$module.so" ] || fail "no $module module in $bindir/$launcherdir/"
done
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"
for size in 16 24 48 96 192; do
  icon="$share/icons/hicolor/${size}x${size}/apps/zorbo.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  # The PNG header's width and height must match the folder the theme looks in.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
man=$(mktemp)
trap 'rm -rf "$prefix" "$man"' EXIT
# Every program has its manual page, and every option its --help lists is in it.
for program in zorbo zorbo-edit zorbo_solve; do
  gzip -dc "$share/man/man6/$program.6.gz" > "$man" || fail "no manual page for $program"
  for opt in $("$prefix/$bindir/$program" --help | grep -o -- '^  --[a-z-]*'); do
    grep -qF -- ".B ${opt//-/\\-}" "$man" || fail "the manual page of $program lacks $opt"
  done
done
# The menu entry starts the installed program by its full path when the standard PATH does
# not reach it (as for this temporary prefix), and by its bare name when it does.
exec_line=$(grep '^Exec=' "$desktop")
[ "$exec_line" = "Exec=$prefix/$bindir/zorbo" ] || fail "the desktop entry says $exec_line, not Exec=$prefix/$bindir/zorbo"
stage=$(mktemp -d)
trap 'rm -rf "$prefix" "$man" "$stage"' EXIT
exec_for() {   # prefix: the Exec line of the menu entry a DESTDIR install for it writes
  rm -rf "${stage:?}"/*
  DESTDIR="$stage" cmake --install "$build" --prefix "$1" >/dev/null
  desktop-file-validate "$stage$1/share/applications/org.zorbo.Zorbo.desktop" || fail "desktop-file-validate for $1"
  grep '^Exec=' "$stage$1/share/applications/org.zorbo.Zorbo.desktop"
}
exec_line=$(exec_for /usr/local)
[ "$exec_line" = "Exec=zorbo" ] || fail "installed for /usr/local the desktop entry says $exec_line"
# A prefix with a space and a character the Exec key reserves is quoted and escaped.
odd='/opt/my games/$zorbo'
exec_line=$(exec_for "$odd")
expected='Exec="/opt/my games/\\$zorbo/'"$bindir"'/zorbo"'
[ "$exec_line" = "$expected" ] || fail "installed for $odd the desktop entry says $exec_line, not $expected"
grep -q '^Icon=zorbo$' "$desktop" || fail "the desktop entry names another icon"

# The installed game plays a set of the player's own folder by its name, and a recording
# of it replays from there; the installed editor's help names that folder.
player=$(mktemp -d)
trap 'rm -rf "$prefix" "$man" "$stage" "$player"' EXIT
mkdir -p "$player/data/zorbo/levels"
cp "$prefix/$datadir/Data/Standard.txt" "$player/data/zorbo/levels/Mine.txt"
# (Fontconfig keeps some allocations for the life of the process: a sanitizer build's leak
# check is left out.)
own() {
  env XDG_DATA_HOME="$player/data" XDG_CONFIG_HOME="$player/config" XDG_STATE_HOME="$player/state" \
    HOME="$player/home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$prefix/$bindir/zorbo" "$@"
}
own --level-set Mine --level 1 --quit-after-frames 5 | grep -q '^frames=5 ' || fail "the installed game does not play Mine"
own --level-set Mine --level 2 --record "$player/mine.rec" --quit-after-frames 40 >/dev/null ||
  fail "the installed game does not record Mine"
own --play "$player/mine.rec" --headless | grep -q '^level 2 ' || fail "the recording of Mine does not replay"
"$prefix/$bindir/zorbo-edit" --help | grep -q 'zorbo/levels' || fail "the editor's help does not name the levels folder"

desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
echo "installed tree is complete"

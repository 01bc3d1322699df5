#!/usr/bin/env bash
# Makes the Debian package of a build configured for /usr, checks its contents and what
# lintian says of it, unpacks it into a fresh folder and plays from there. As root, when no
# zorbo package is installed already, it also installs the package with dpkg, plays the
# installed game and removes the package, leaving nothing behind.
# Usage: package.sh BUILD RECORDING. Skipped (77) when the build is not made for /usr or
# the Debian tools are missing.
set -euo pipefail
build="$1"
recording="$2"
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "skipped: $*"; exit 77; }

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
[ "$prefix" = /usr ] || skip "the build installs to $prefix; the package is made of a build for /usr"
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || skip "no $tool (dpkg-dev)"
done

work=$(mktemp -d)
installed=no
cleanup() {
  [ $installed = yes ] && dpkg -r zorbo >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/zorbo_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no zorbo_VERSION_ARCH.deb"
deb="${debs[0]}"
echo "package: $(basename "$deb")"

dpkg-deb -c "$deb" >"$work/list"
paths=$(awk '{print $6}' "$work/list")
for f in usr/games/zorbo usr/games/zorbo-edit usr/games/zorbo_solve usr/share/games/zorbo/Data/Standard.txt \
         usr/share/applications/org.zorbo.Zorbo.desktop usr/share/metainfo/org.zorbo.Zorbo.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/zorbo.png usr/share/man/man6/zorbo.6.gz \
         usr/share/man/man6/zorbo-edit.6.gz usr/share/man/man6/zorbo_solve.6.gz \
         usr/share/doc/zorbo/copyright usr/share/doc/zorbo/changelog.gz; do
  grep -qx "\./$f" <<<"$paths" || fail "the package lacks /$f"
done
for module in launcher sound; do
  grep -q "^\./usr/lib/\(.*/\)\?zorbo/zorbo-$module\.so\$" <<<"$paths" || fail "the package lacks the $module module"
done
outside=$(grep -v -e '^\./$' -e '^\./usr/' <<<"$paths" || true)
[ -z "$outside" ] || fail "the package installs outside /usr: $outside"
notroot=$(awk '$2 != "root/root" {print $6}' "$work/list")
[ -z "$notroot" ] || fail "files not owned by root: $notroot"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
# The library dependencies come from dpkg-shlibdeps, with versions.
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-2.0-0 (>= ' || fail "no computed dependency on SDL2: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-mixer-2.0-0 (>= ' || fail "no computed dependency on the sound module's mixer: $(dpkg-deb -f "$deb" Depends)"

if command -v lintian >/dev/null; then
  status=0
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || status=$?
  grep -v 'running with root privileges' "$work/lintian.log" || true
  [ $status -eq 0 ] || fail "lintian reports errors"
else
  echo "lintian is not installed: its check is skipped"
fi

# The game as installed: PROGRAMS/zorbo with DATA/Standard.txt. It finds its data by itself
# (no --data) and replays the recording to the end the build's own game reaches.
expected=$("$build/zorbo" --data "$build/Data" --play "$recording" --headless | tail -n 1)
play_installed() {
  local programs="$1" data="$2" version
  version=$("$programs/zorbo" --version)
  [ "$version" = "zorbo $(dpkg-deb -f "$deb" Version)" ] || fail "$programs/zorbo --version says: $version"
  [ "$("$programs/zorbo-edit" --version)" = "zorbo-edit ${version#zorbo }" ] || fail "$programs/zorbo-edit does not start"
  "$programs/zorbo_solve" --help >/dev/null || fail "$programs/zorbo_solve does not start"
  "$programs/zorbo" --check-level-set "$data/Standard.txt" >/dev/null || fail "the installed Standard set has problems"
  [ "$("$programs/zorbo" --play "$recording" --headless | tail -n 1)" = "$expected" ] \
    || fail "the recording replays differently with $programs/zorbo"
  # A set of the player's own folder is played by its name, as a user who is not root would.
  rm -rf "$work/player"
  mkdir -p "$work/player/data/zorbo/levels"
  cp "$data/Standard.txt" "$work/player/data/zorbo/levels/Mine.txt"
  env XDG_DATA_HOME="$work/player/data" XDG_CONFIG_HOME="$work/player/config" XDG_STATE_HOME="$work/player/state" \
    HOME="$work/player/home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "$programs/zorbo" --level-set Mine --level 1 --quit-after-frames 5 | grep -q '^frames=5 ' \
    || fail "$programs/zorbo does not play a set of the player's own folder"
}

dpkg-deb -x "$deb" "$work/root"
play_installed "$work/root/usr/games" "$work/root/usr/share/games/zorbo/Data"
echo "the unpacked package plays"

if [ "$(id -u)" -ne 0 ]; then
  echo "not root: the package is not installed into the system"
elif dpkg-query -W -f='${Status}' zorbo 2>/dev/null | grep -q 'ok installed'; then
  echo "a zorbo package is installed already: it is left as it is"
else
  dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }
  installed=yes
  play_installed /usr/games /usr/share/games/zorbo/Data
  # A user who is not root plays a set of his own folder with the installed game.
  if command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    home=$(mktemp -d)
    chmod 755 "$home"
    mkdir -p "$home/.local/share/zorbo/levels"
    cp /usr/share/games/zorbo/Data/Standard.txt "$home/.local/share/zorbo/levels/Mine.txt"
    chown -R nobody "$home"
    out=$(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env -i HOME="$home" PATH=/usr/bin:/bin \
            SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/games/zorbo --level-set Mine --level 1 --quit-after-frames 5 2>&1)
    rm -rf "$home"
    grep -q '^frames=5 ' <<<"$out" || fail "the installed game does not play a user's own set as nobody: $out"
    echo "a user who is not root plays a set of his own folder"
  fi
  dpkg -r zorbo >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -r"; }
  installed=no
  for f in $(awk '$1 !~ /^d/ {print $6}' "$work/list") ./usr/share/games/zorbo ./usr/share/doc/zorbo; do
    [ ! -e "${f#.}" ] || fail "${f#.} is left behind after dpkg -r"
  done
  echo "installed with dpkg, played and removed"
fi
echo "the package installs and plays"

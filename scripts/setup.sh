#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages a build needs (only those missing) and builds it.
# Usage: scripts/setup.sh [game|deb|release|sanitize]...   (default: release)
#   game      the player's build in build/game: the game alone, warnings are not fatal
#   deb       the player's build for /usr in build/deb, and its Debian package
#             build/deb/zorbo_VERSION_ARCH.deb
#   release   build/release: the game, the tools, the tests and the benchmarks;
#             warnings are errors. It is made for /usr, so that the tests can make and
#             check the package too
#   sanitize  build/sanitize: Debug with ASan + UBSan and the tests; warnings are errors
set -euo pipefail
cd "$(dirname "$0")/.."

builds=("$@")
[ ${#builds[@]} -eq 0 ] && builds=(release)
developer=no
for b in "${builds[@]}"; do
  case "$b" in
    game|deb) ;;
    release|sanitize) developer=yes ;;
    *) echo "unknown build: $b (game, deb, release or sanitize)" >&2; exit 2 ;;
  esac
done

# What the game itself needs to build and run (libvorbis-dev: the build encodes the music).
packages=(
  build-essential cmake pkg-config dpkg-dev
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core
  libfltk1.3-dev libvorbis-dev
)
# What only developers need: the test framework, the benchmarks, the fuzzing compiler, the
# window-test tools (a window manager among them), the validators of the desktop files and
# of the package, and the arm64 cross compiler with qemu that the portable replay check
# runs its build under.
if [ $developer = yes ]; then
  packages+=(libgtest-dev libbenchmark-dev libpng-dev clang xvfb xauth xdotool imagemagick openbox x11-utils
             appstream desktop-file-utils lintian crossbuild-essential-arm64 qemu-user)
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
updated=no
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
install_missing() {
  local missing=() p
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ $updated = no ]; then $sudo apt-get update -qq; updated=yes; fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
install_missing "${packages[@]}"

# libFuzzer and the sanitizer runtimes of the clang that is installed, whichever version
# the distribution ships. Releases that have no separate runtime package keep it in
# libclang-common-N-dev, which clang-N already brings.
if [ $developer = yes ]; then
  clang_major=$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)
  [ -n "$clang_major" ] || { echo "cannot tell the version of clang: $(clang --version | head -n 1)" >&2; exit 1; }
  runtime="libclang-rt-$clang_major-dev"
  if ! installed "$runtime"; then
    if [ $updated = no ]; then $sudo apt-get update -qq; updated=yes; fi
    if apt-cache show "$runtime" >/dev/null 2>&1; then install_missing "$runtime"; fi
  fi
fi

# The player's builds take Debian's hardening flags, all of them (stack protector, checked
# string and memory calls, read-only relocations bound at start-up), as a Debian package
# of the game would be built. They come before the build's own options, so the game's
# -ffp-contract=off still has the last word; dpkg-buildflags maps the source folder to "."
# and the build folder is mapped too, so no build path lands in a program.
player_flags() {
  local cxx cpp ld
  cxx=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)
  cpp=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)
  ld=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
  # Bookworm's dpkg-buildflags leaves these two out on amd64; later releases add them.
  cxx="$cxx $cpp -fstack-clash-protection -fcf-protection -ffile-prefix-map=$PWD/$1=build"
  flags=("-DCMAKE_CXX_FLAGS=$cxx" "-DCMAKE_EXE_LINKER_FLAGS=$ld" "-DCMAKE_SHARED_LINKER_FLAGS=$ld"
         "-DCMAKE_MODULE_LINKER_FLAGS=$ld")
}

jobs=${ZORBO_JOBS:-$(nproc 2>/dev/null || echo 2)}
for b in "${builds[@]}"; do
  case "$b" in
    game)     player_flags build/game
              cmake -S . -B build/game -DCMAKE_BUILD_TYPE=Release -DZORBO_TESTS=OFF -DZORBO_BENCH=OFF \
                -DZORBO_TOOLS=OFF -DZORBO_WERROR=OFF "${flags[@]}" >/dev/null ;;
    deb)      player_flags build/deb
              cmake -S . -B build/deb -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DZORBO_TESTS=OFF \
                -DZORBO_BENCH=OFF -DZORBO_TOOLS=OFF -DZORBO_WERROR=OFF "${flags[@]}" >/dev/null ;;
    release)  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
                -DZORBO_WERROR=ON >/dev/null ;;
    sanitize) cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DZORBO_SANITIZE=ON -DZORBO_BENCH=OFF \
                -DZORBO_WERROR=ON >/dev/null ;;
  esac
  cmake --build "build/$b" -j "$jobs"
  # Archive times are the last commit's, so two builds of one commit make the same package.
  if [ "$b" = deb ]; then
    epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
    (cd build/deb && SOURCE_DATE_EPOCH=$epoch cpack -G DEB)
  fi
done

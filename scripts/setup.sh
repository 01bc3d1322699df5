#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the game needs (only those missing) and builds it.
# Usage: scripts/setup.sh [release|sanitize]...   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core
  libfltk1.3-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
builds=("$@")
[ ${#builds[@]} -eq 0 ] && builds=(release)
for b in "${builds[@]}"; do
  case "$b" in
    release)  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null ;;
    sanitize) cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DZORBO_SANITIZE=ON -DZORBO_BENCH=OFF >/dev/null ;;
    *) echo "unknown build: $b" >&2; exit 2 ;;
  esac
  cmake --build "build/$b" -j "$jobs"
done

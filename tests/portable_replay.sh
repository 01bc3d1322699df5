#!/usr/bin/env bash
# Recordings replay to the same final state on every compiler and processor: the four
# whole-game recordings are replayed by the release build (gcc, amd64), then by the
# headless replay program built with clang and cross-built for arm64 (run under qemu),
# and every line, state hash included, must be the same.
# Usage: tests/portable_replay.sh [RELEASE_BUILD_DIR]   (default build/release, built)
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:-build/release}
data=$release/Data
recordings=(tests/data/standard-easy.rec tests/data/standard-normal.rec
            tests/data/standard-difficult.rec tests/data/standard-crazy.rec)
jobs=2
sysroot=/usr/aarch64-linux-gnu

reference=$(for r in "${recordings[@]}"; do "$release/zorbo" --data "$data" --play "$r" --headless | tail -n 1; done)
echo "gcc amd64 (the game):"
echo "$reference"

failed=0
# check NAME BUILD_DIR RUNNER... -- CMAKE_ARGS...: builds the replay program and compares.
check() {
  local name=$1 dir=$2; shift 2
  local runner=()
  while [ "$1" != "--" ]; do runner+=("$1"); shift; done
  shift
  local start=$SECONDS
  cmake -S tests/portable -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" >/dev/null
  local got
  got=$("${runner[@]}" "$dir/zorbo_replay" "$data" "${recordings[@]}") || true
  echo "$name ($((SECONDS - start)) s):"
  echo "$got"
  if [ "$got" != "$reference" ]; then
    echo "FAILED: $name replays the recordings differently from gcc on amd64" >&2
    diff <(echo "$reference") <(echo "$got") >&2 || true
    failed=1
  fi
}

check "clang amd64" build/replay-clang -- -DCMAKE_CXX_COMPILER=clang++
check "gcc arm64 (qemu)" build/replay-arm64 qemu-aarch64 -L "$sysroot" -- \
  -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR=aarch64 -DCMAKE_CXX_COMPILER=aarch64-linux-gnu-g++

[ $failed -eq 0 ] && echo "portable replay: clang and arm64 end every recording as gcc does"
exit $failed

#!/usr/bin/env bash
# Sets everything up on a fresh Debian/Ubuntu machine and runs every test: the whole
# suite in the release build, the recordings replayed by clang and on arm64, and the suite
# again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh release sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== release build"
ctest --test-dir build/release --output-on-failure -j 2
echo "== recordings replayed by clang and on arm64 (qemu) as by gcc"
tests/portable_replay.sh build/release
echo "== sanitizer build (ASan + UBSan)"
ctest --test-dir build/sanitize --output-on-failure -j 2
# fuzz NAME WHAT SECONDS MAX_LEN [SEED_FILE...]: runs one libFuzzer target (ASan + UBSan)
# from its own corpus folder, seeded with the given files.
fuzz() {
  local name=$1 what=$2 seconds=$3 max_len=$4
  shift 4
  echo "== $what fuzzing (libFuzzer, ASan + UBSan, $seconds s)"
  mkdir -p "build/fuzz/$name-corpus"
  [ $# -eq 0 ] || cp "$@" "build/fuzz/$name-corpus/"
  "build/fuzz/${name}_fuzz" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 "build/fuzz/$name-corpus"
}
cmake -S tests/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/fuzz -j 2
fuzz level "level-set reader" 30 65536
fuzz recording "recording reader" 30 65536 tests/fuzz/corpus/recording/*
fuzz editor "level editor document" 20 65536 assets/levels/*.txt
fuzz settings "launcher settings reader" 15 8192 tests/fuzz/corpus/settings/*
fuzz progress "progress reader" 15 40000 tests/fuzz/corpus/progress/*
fuzz recovery "level editor recovery copy" 15 65536 tests/fuzz/corpus/recovery/*
fuzz media "bitmap, wave and tune header checks" 15 4096 build/release/Data/game_1.bmp build/release/Data/m001.wav \
  build/release/Data/tune-parade.ogg

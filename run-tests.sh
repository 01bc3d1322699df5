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
echo "== level-set reader fuzzing (libFuzzer, ASan + UBSan, 60 s)"
cmake -S tests/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/fuzz -j 2
mkdir -p build/fuzz/corpus
build/fuzz/level_fuzz -max_total_time=60 -max_len=65536 -print_final_stats=1 build/fuzz/corpus
echo "== recording reader fuzzing (libFuzzer, ASan + UBSan, 60 s)"
mkdir -p build/fuzz/recording-corpus
cp tests/fuzz/corpus/recording/* build/fuzz/recording-corpus/
build/fuzz/recording_fuzz -max_total_time=60 -max_len=65536 -print_final_stats=1 build/fuzz/recording-corpus
echo "== level editor document fuzzing (libFuzzer, ASan + UBSan, 30 s)"
mkdir -p build/fuzz/editor-corpus
cp assets/levels/*.txt build/fuzz/editor-corpus/
build/fuzz/editor_fuzz -max_total_time=30 -max_len=65536 -print_final_stats=1 build/fuzz/editor-corpus
echo "== launcher settings reader fuzzing (libFuzzer, ASan + UBSan, 20 s)"
mkdir -p build/fuzz/settings-corpus
cp tests/fuzz/corpus/settings/* build/fuzz/settings-corpus/
build/fuzz/settings_fuzz -max_total_time=20 -max_len=8192 -print_final_stats=1 build/fuzz/settings-corpus
echo "== level editor recovery copy fuzzing (libFuzzer, ASan + UBSan, 20 s)"
mkdir -p build/fuzz/recovery-corpus
cp tests/fuzz/corpus/recovery/* build/fuzz/recovery-corpus/
build/fuzz/recovery_fuzz -max_total_time=20 -max_len=65536 -print_final_stats=1 build/fuzz/recovery-corpus
echo "== bitmap and wave header checks fuzzing (libFuzzer, ASan + UBSan, 20 s)"
mkdir -p build/fuzz/media-corpus
cp build/release/Data/game_1.bmp build/release/Data/m001.wav build/fuzz/media-corpus/ 2>/dev/null || true
build/fuzz/media_fuzz -max_total_time=20 -max_len=4096 -print_final_stats=1 build/fuzz/media-corpus

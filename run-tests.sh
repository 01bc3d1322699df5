#!/usr/bin/env bash
# Sets everything up on a fresh Debian/Ubuntu machine and runs every test: the whole
# suite in the release build and again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh release sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== release build"
ctest --test-dir build/release --output-on-failure -j 2
echo "== sanitizer build (ASan + UBSan)"
ctest --test-dir build/sanitize --output-on-failure -j 2

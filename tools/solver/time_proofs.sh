#!/usr/bin/env bash
# Times the solver's proof of every Standard level from its own start, one process per
# level and difficulty, in user CPU seconds (the machine may be busy: wall time would
# measure the neighbours too).
# Usage: tools/solver/time_proofs.sh [BUILD_DIR] [DIFFICULTY...]
#   BUILD_DIR defaults to build/release; difficulties default to all four.
# Prints one line per proof: difficulty, level, user seconds, and the solver's verdict.
set -euo pipefail
build=${1:-build/release}
shift || true
difficulties=("$@")
[ ${#difficulties[@]} -eq 0 ] && difficulties=(easy normal difficult crazy)
solve="$build/zorbo_solve"
[ -x "$solve" ] || { echo "no solver at $solve" >&2; exit 2; }
total=0
for d in "${difficulties[@]}"; do
  for level in 1 2 3 4 5 6 7 8 9 10; do
    timing=$(mktemp)
    verdict=$(/usr/bin/time -o "$timing" -f %U "$solve" --data "$build/Data" --level-set Standard \
                --difficulty "$d" --each --level "$level" | tail -1) || true
    seconds=$(tail -1 "$timing")
    rm -f "$timing"
    total=$(awk -v a="$total" -v b="$seconds" 'BEGIN { print a + b }')
    printf '%-9s level %2d  %6.2f s  %s\n' "$d" "$level" "$seconds" "$verdict"
  done
done
printf 'total user CPU: %.1f s\n' "$total"

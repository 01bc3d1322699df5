#!/usr/bin/env bash
# The solver's command: a signal stops it promptly with its own exit status and leaves no
# output file; --help and a refused command line answer with theirs.
# Usage: solver.sh ZORBO_SOLVE DATA-DIR
set -u
solve=$1 data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && sed 's/^/  solver: /' "$work/out"; exit 1; }

"$solve" --help > "$work/out" 2>&1
[ $? = 0 ] && grep -q '^Exit status' "$work/out" || fail "--help"
"$solve" --data "$data" --each --no-such-option > "$work/out" 2>&1
[ $? = 2 ] || fail "an unknown option is not refused with status 2"
echo "ok: --help and a refusal"

for sig in INT TERM; do
  rm -f "$work/out"
  "$solve" --data "$data" --level-set Standard --each --progress --route "$work/route" --out "$work/rec" \
    --level 10 > "$work/out" 2>&1 &
  pid=$!
  # Signalled once it is searching: after its first progress line.
  for _ in $(seq 100); do grep -qs '^progress ' "$work/out" && break; sleep 0.05; done
  grep -q '^progress ' "$work/out" || fail "no progress line"
  start=$(date +%s%N)
  kill -$sig $pid
  wait $pid
  rc=$?
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  [ $rc = 3 ] || fail "SIG$sig: exit status $rc, not 3"
  # A hang check only: it stops in tens of milliseconds.
  [ $ms -lt 10000 ] || fail "SIG$sig: took $ms ms to stop"
  grep -q '^result level=10 .*outcome=cancelled' "$work/out" || fail "SIG$sig: no cancelled result line"
  ls "$work" | grep -q -e route -e rec && fail "SIG$sig: an output file was written"
  echo "ok: SIG$sig stops it in $ms ms"
done
exit 0

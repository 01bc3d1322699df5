#!/usr/bin/env bash
# Smooth and classic motion in a real window on a virtual display: classic shows one
# picture per game frame, unblended; smooth shows more, blended between the frames; both
# leave the same composed picture for --screenshot; a frame log that cannot be written is
# refused before any window opens, and --motion takes only its two words. The level card
# shows over the pictures as a level begins in smooth motion, and never in classic.
# Usage: motion_window.sh ZORBO DATA-DIR RECORDING
set -u
zorbo=$1 data=$2 rec=$3
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

. "$(dirname "$0")/display.sh"
start_display

frames=80
for motion in classic smooth; do
  timeout 120 "$zorbo" --data "$data" --play "$rec" --screen 640x480 --no-sound --motion $motion \
    --quit-after-frames $frames --frame-log "$work/$motion.log" --screenshot "$work/$motion.bmp" > "$work/out" 2>&1 ||
    fail "$motion replay: $(cat "$work/out")"
done

# Classic: frames 1..N, each once, never blended.
awk -v n=$frames 'NF != 3 || $2 != NR || $3 != "0.000" { bad = 1 } END { exit bad || NR != n }' "$work/classic.log" ||
  fail "classic frame log: $(head -5 "$work/classic.log") ... ($(wc -l < "$work/classic.log") lines)"
echo "ok: classic: $(wc -l < "$work/classic.log") pictures for $frames frames"

# Smooth: more pictures than frames, in time order, frame numbers never going back, every
# fraction between 0 and 1 and some strictly between, up to the last frames (the game
# may end before the last one is due on the screen).
awk -v n=$frames '
  NF != 3 || $1 < ms || $2 < frame || $3 < 0 || $3 > 1 { bad = 1 }
  $3 > 0 && $3 < 1 { between++ }
  { ms = $1; frame = $2 }
  END { if (bad || NR <= n || between < n / 2 || frame < n - 1) { print NR, between, frame; exit 1 } }' "$work/smooth.log" > "$work/why" ||
  fail "smooth frame log ($(cat "$work/why")): $(head -5 "$work/smooth.log") ... ($(wc -l < "$work/smooth.log") lines)"
echo "ok: smooth: $(wc -l < "$work/smooth.log") pictures for $frames frames"

cmp -s "$work/classic.bmp" "$work/smooth.bmp" || fail "the screenshots of the same game frame differ"
echo "ok: the same composed picture is saved in both"

# Refused at once: a frame log in a missing folder, a word --motion does not know.
timeout 20 "$zorbo" --data "$data" --level 1 --no-sound --frame-log "$work/missing/f.log" > "$work/out" 2>&1
status=$?
[ $status -eq 1 ] && grep -q "cannot write the frame log $work/missing/f.log" "$work/out" ||
  fail "unwritable frame log: status $status: $(cat "$work/out")"
xdotool search --onlyvisible --name Zorbo >/dev/null 2>&1 && fail "a window opened for an unwritable frame log"
echo "ok: $(cat "$work/out")"
timeout 20 "$zorbo" --data "$data" --motion fast > "$work/out" 2>&1
status=$?
[ $status -eq 2 ] && grep -q 'takes smooth or classic, not "fast"' "$work/out" || fail "--motion fast: status $status: $(cat "$work/out")"
echo "ok: $(cat "$work/out")"

# The level card's band (its colour is the card's alone): in the window as the level
# begins, gone once its two seconds of frames have passed (slow frames make it last
# longer: it counts frames), and never in classic motion.
band() {
  import -window root "$work/grab.png" 2>/dev/null || return 1
  convert "$work/grab.png" -format %c histogram:info:- | awk '/#14122A/ { n += $1 } END { print n + 0 }'
}
for motion in smooth classic; do
  "$zorbo" --data "$data" --level 2 --screen 640x480 --no-sound --motion $motion > "$work/out" 2>&1 &
  pid=$!
  settled_window --pid $pid > /dev/null || fail "$motion: no game window: $(cat "$work/out")"
  first=$(band)
  [ "$motion" = smooth ] && { sleep 8; later=$(band); }
  kill $pid 2>/dev/null
  wait $pid 2>/dev/null
  if [ "$motion" = smooth ]; then
    [ "${first:-0}" -gt 2000 ] && [ "${later:-1}" -eq 0 ] || fail "smooth: card pixels $first as the level began, $later 8 s later"
  else
    [ "${first:-1}" -eq 0 ] || fail "classic: $first card pixels"
  fi
  echo "ok: $motion: the card's band in $first pixels as level 2 began${later:+, in $later 8 s later}"
  later=
done

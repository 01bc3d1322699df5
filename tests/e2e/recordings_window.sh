#!/usr/bin/env bash
# Recording and watching in a real window on a virtual display: a replay stopped early says
# where it stopped, a recording that cannot be written is refused before the window opens,
# a second game recording to the same file is refused while the first one plays, and a
# recording game that is killed leaves a file that replays up to its last poll.
# Usage: recordings_window.sh ZORBO DATA-DIR GOOD-RECORDING
set -u
zorbo=$1 data=$2 good=$3
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

. "$(dirname "$0")/display.sh"
start_display

# Starts the game in the background; waits for its window.
start() {
  "$zorbo" "$@" > "$work/out" 2>&1 &
  pid=$!
  wid=$(settled_window --pid $pid)
  [ -n "$wid" ] || fail "no game window for $*: $(cat "$work/out")"
}
# Waits up to 20 s for the game to end; sets status.
finish() {
  for _ in $(seq 200); do
    if ! kill -0 $pid 2>/dev/null; then wait $pid; status=$?; return; fi
    sleep 0.1
  done
  kill -9 $pid; fail "the game did not end"
}

# A window replay with the window options, stopped by the frame limit: a plain stop.
timeout 60 "$zorbo" --data "$data" --play "$good" --screen 320x240 --no-sound --quit-after-frames 30 > "$work/out" 2>&1
status=$?
[ $status -eq 0 ] && grep -q "^stopped at poll [0-9]* of $(grep -c '^k' "$good")$" "$work/out" && ! grep -q "own way" "$work/out" ||
  fail "--quit-after-frames replay: status $status: $(cat "$work/out")"
echo "ok: $(grep stopped "$work/out")"

# Stopped by a signal: reported as stopped, with its own status.
start --data "$data" --play "$good" --no-sound
sleep 1
kill -TERM $pid
finish
[ $status -eq 4 ] && grep -q "^stopped at poll [0-9]* of $(grep -c '^k' "$good")$" "$work/out" ||
  fail "signalled replay: status $status: $(cat "$work/out")"
echo "ok: SIGTERM: status 4, $(grep stopped "$work/out")"

# A recording that cannot be written is refused before any window opens.
began=$(date +%s%N)
timeout 20 "$zorbo" --data "$data" --level 1 --no-sound --record "$work/missing/game.rec" > "$work/out" 2>&1 &
pid=$!
xdotool search --sync --onlyvisible --pid $pid >/dev/null 2>&1 &
watcher=$!
finish
took=$(( ($(date +%s%N) - began) / 1000000 ))
if kill -0 $watcher 2>/dev/null; then kill $watcher; else fail "a window opened for an unwritable recording"; fi
[ $status -eq 1 ] && grep -q "cannot record to $work/missing/game.rec" "$work/out" ||
  fail "unwritable recording: status $status: $(cat "$work/out")"
echo "ok: refused in ${took} ms: $(cat "$work/out")"

# Two games recording to one file: the second is refused at once, the first keeps its file.
start --data "$data" --level 1 --no-sound --record "$work/same.rec"
first=$pid
timeout 20 "$zorbo" --data "$data" --level 1 --no-sound --record "$work/same.rec" > "$work/second" 2>&1
status=$?
[ $status -eq 1 ] && grep -q "cannot record to $work/same.rec: it is already being written by another Zorbo" "$work/second" ||
  fail "second recording to one file: status $status: $(cat "$work/second")"
pid=$first
kill -TERM $pid
finish
[ $status -eq 0 ] && [ -s "$work/same.rec" ] && [ ! -e "$work/same.rec.part" ] ||
  fail "the first recording to one file: status $status, files: $(ls "$work"), output: $(cat "$work/out")"
timeout 20 "$zorbo" --data "$data" --play "$work/same.rec" --headless > "$work/out" 2>&1 ||
  fail "the first recording to one file does not replay: $(cat "$work/out")"
echo "ok: second writer refused: $(cat "$work/second")"

# Killed while recording: the temporary file replays up to its last poll.
start --data "$data" --level 1 --no-sound --record "$work/killed.rec"
xdotool keydown --window $wid Right 2>/dev/null
sleep 1.5
kill -9 $pid
wait $pid 2>/dev/null
[ ! -e "$work/killed.rec" ] && [ -s "$work/killed.rec.part" ] || fail "no partial recording: $(ls "$work")"
timeout 20 "$zorbo" --data "$data" --play "$work/killed.rec.part" --headless > "$work/out" 2>&1
status=$?
[ $status -eq 3 ] && grep -q "cut off at poll [1-9][0-9]* (the game that made it was killed)" "$work/out" ||
  fail "killed recording: status $status: $(cat "$work/out")"
echo "ok: killed game: status 3, $(grep -o 'cut off at poll [0-9]*' "$work/out")"

# Ended by a signal while recording: the game ends as by its close control and the
# recording is finished under its own name.
start --data "$data" --level 1 --no-sound --record "$work/ended.rec"
sleep 1
kill -TERM $pid
finish
[ $status -eq 0 ] && [ -s "$work/ended.rec" ] && [ ! -e "$work/ended.rec.part" ] ||
  fail "recording ended by a signal: status $status, files: $(ls "$work"), output: $(cat "$work/out")"
timeout 20 "$zorbo" --data "$data" --play "$work/ended.rec" --headless > "$work/out" 2>&1 ||
  fail "the finished recording does not replay: $(cat "$work/out")"
echo "ok: finished recording replays: $(cat "$work/out")"

#!/usr/bin/env bash
# The game window under a window manager (openbox) on a virtual display: full screen and
# back leaves the window where it was and at its size, however often; the window keeps
# the picture's size at 1x as its minimum; its caption names the level; in full screen a
# click on another window pauses the game, and Escape quits from that pause.
# Exits 77 (skipped) when openbox is not installed.
# Usage: window_manager.sh ZORBO DATA-DIR
set -u
zorbo=$1 data=$2
work=$(mktemp -d)
pid="" wm_pid="" xvfb_pid="" other_pid=""
trap 'for p in $pid $other_pid $wm_pid $xvfb_pid; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/display.sh"
need_window_manager

start_display
start_window_manager

"$zorbo" --data "$data" --screen 640x480 --difficulty normal --level 3 > "$work/out" 2>&1 &
pid=$!
wid=$(settled_window --class '^zorbo$')
[ -n "$wid" ] || fail "no game window: $(cat "$work/out")"
xdotool windowfocus --sync $wid 2>/dev/null
sleep 0.5

name=$(xdotool getwindowname $wid)
[ "$name" = "Zorbo — 3 · Glowworm Cave" ] || fail "the window's caption is '$name'"
echo "ok: the caption names the level ($name)"

# Waits until the geometry is WANT (position size) or, with a leading !, until it is not.
expect_geometry() {
  local want=$1 got=""
  for _ in $(seq 50); do
    got=$(geometry)
    case "$want" in
      !*) [ "$got" != "${want#!}" ] && return 0 ;;
      *) [ "$got" = "$want" ] && return 0 ;;
    esac
    sleep 0.1
  done
  fail "$2: the window is at $got, not ${want#!}"
}

windowed=$(geometry)
for trip in 1 2 3 4; do
  xdotool key --window $wid F11
  expect_geometry "0,0 1024x768" "full screen ($trip)"
  xdotool key --window $wid F11
  expect_geometry "$windowed" "back from full screen ($trip)"
  # The manager may still be placing the frame: the window must stay put afterwards too.
  sleep 0.3
  expect_geometry "$windowed" "a moment after full screen ($trip)"
done
echo "ok: four full-screen round trips leave the window at $windowed"

xdotool windowsize $wid 300 200
sleep 0.5
size=$(geometry | cut -d' ' -f2)
[ "$size" = 320x240 ] || fail "the window took a size of $size, below the picture's 320x240"
xdotool windowsize $wid 700 500
expect_geometry "${windowed% *} 700x500" "a 700x500 window"
echo "ok: the window is never smaller than 320x240"

# A newcomer's way out: in full screen he clicks another window, which pauses the game,
# comes back, finds the pause and leaves it with Escape. At 1024x768 the picture is drawn
# 3x from 32,24, so the screen's pixel 40,740 lies in its bottom row, where the pause
# band goes.
band_shown() { [ "$(import -window root -crop 1x1+40+740 +repage -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')" = "#101018" ]; }
xdotool key --window $wid F11
expect_geometry "0,0 1024x768" "full screen for the way out"
sleep 0.3
band_shown && fail "the pause band shows before the game lost the focus"
xmessage -geometry 200x80+100+100 "elsewhere" > /dev/null 2>&1 &
other_pid=$!
other=$(settled_window --class '^xmessage$') || fail "no other window to click"
xdotool mousemove --window "$other" 20 20 click 1
for _ in $(seq 50); do band_shown && break; sleep 0.1; done
band_shown || fail "clicking another window did not pause the game"
xdotool windowactivate --sync $wid 2>/dev/null
sleep 0.3
[ "$(xdotool getactivewindow)" = "$wid" ] || fail "the game window did not come back"
band_shown || fail "the game left its pause on coming back"
kill $other_pid 2>/dev/null
other_pid=""
echo "ok: in full screen a click elsewhere pauses the game"

quit_with_escape
echo "ok: Escape quits the game from that pause"
echo "ok: all window manager checks passed"

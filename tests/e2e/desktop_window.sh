#!/usr/bin/env bash
# The game window as a desktop player uses it, on a virtual display: resized, the picture
# keeps the largest whole scale that fits, centred on black; F11 and Alt+Enter switch to
# full screen and back; P dims the picture under "PAUSED" and resumes.
# Usage: desktop_window.sh ZORBO DATA-DIR
set -u
zorbo=$1 data=$2
work=$(mktemp -d)
pid="" xvfb_pid=""
trap 'for p in $pid $xvfb_pid; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v import >/dev/null && command -v convert >/dev/null || fail "ImageMagick (import, convert) is not installed"

. "$(dirname "$0")/display.sh"
start_display

start_game --data "$data" --screen 640x480 --difficulty normal

# Where the picture is inside the window: the box around everything that is not black
# (a black frame of one pixel is added first, so the box is offset by one).
picture() {
  import -window "$wid" "$work/shot.png" 2>/dev/null || fail "no screenshot"
  convert "$work/shot.png" -bordercolor black -border 1 -format '%@' info:
}
expect_picture() {   # WIDTHxHEIGHT LEFT TOP, after the window had time to redraw
  local want="$1+$(($2 + 1))+$(($3 + 1))" got=""
  for _ in $(seq 20); do
    got=$(picture)
    [ "$got" = "$want" ] && return 0
    sleep 0.1
  done
  fail "$4: the picture is at $got, not $want (one pixel frame included)"
}
size() { eval "$(xdotool getwindowgeometry --shell $wid)"; echo "${WIDTH}x$HEIGHT"; }

expect_picture 640x480 0 0 "the 640x480 window"
# Wholly on the screen, or the part outside would not be drawn at all.
xdotool windowmove --sync $wid 0 0
xdotool windowsize $wid 700 500
expect_picture 640x480 30 10 "a 700x500 window"
xdotool windowsize $wid 1000 740
expect_picture 960x720 20 10 "a 1000x740 window"
xdotool windowsize $wid 330 250
expect_picture 320x240 5 5 "a 330x250 window"
echo "ok: resized windows show the picture at a whole scale, centred"
# No window manager holds the window to its minimum size here: the game does.
xdotool windowsize $wid 300 200
for _ in $(seq 30); do [ "$(size)" = 320x240 ] && break; sleep 0.1; done
[ "$(size)" = 320x240 ] || fail "the window took a size of $(size), below the picture's 320x240"
echo "ok: the window is never smaller than the picture"

windowed=$(size)
xdotool key --window $wid F11
for _ in $(seq 30); do [ "$(size)" = 1024x768 ] && break; sleep 0.1; done
[ "$(size)" = 1024x768 ] || fail "F11 left the window at $(size)"
expect_picture 960x720 32 24 "full screen"
xdotool key --window $wid alt+Return
for _ in $(seq 30); do [ "$(size)" != 1024x768 ] && break; sleep 0.1; done
[ "$(size)" != 1024x768 ] || fail "Alt+Enter did not leave full screen"
# Its size comes back; its place is checked under a window manager (window_manager.sh):
# here only a test tool moves the window, and SDL does not follow such a move.
for _ in $(seq 30); do [ "$(size)" = "$windowed" ] && break; sleep 0.1; done
[ "$(size)" = "$windowed" ] || fail "back from full screen the window is $(size), not $windowed"
echo "ok: F11 switches to full screen ($(size) after Alt+Enter switched back)"

mean() { import -window "$wid" "$work/m.png" 2>/dev/null; convert "$work/m.png" -format '%[fx:int(1000*mean)]' info:; }
before=$(mean)
xdotool key --window $wid p
sleep 0.5
paused=$(mean)
[ "$paused" -lt $((before * 7 / 10)) ] || fail "P did not dim the picture ($before -> $paused)"
xdotool key --window $wid p
sleep 0.5
resumed=$(mean)
[ "$resumed" -gt $((paused * 12 / 10)) ] || fail "P again did not bring the picture back ($paused -> $resumed)"
kill -0 $pid 2>/dev/null || fail "the game ended: $(cat "$work/out")"
echo "ok: P pauses under a dimmed picture and resumes ($before -> $paused -> $resumed)"

quit_with_escape
echo "ok: all desktop window checks passed"

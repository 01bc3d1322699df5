#!/usr/bin/env bash
# The game in a real window on a virtual display: each screen mode opens with the right
# size and keeps presenting frames; escape ends the game, and so does the close control;
# quick taps of every key count; no sound device costs one line at most; a game played
# keeps the furthest level reached, and its replays keep nothing.
# Usage: game_window.sh ZORBO DATA-DIR XCLOSE
set -u
zorbo=$1 data=$2 xclose=$3
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

. "$(dirname "$0")/display.sh"
start_display

# A data folder: the game's pictures plus a small level set (ten flat levels, each with
# the hero's start in column 2 and the level end in column 25 of row 13).
cp -r "$data" "$work/Data"
sky=$(printf 'a%.0s' $(seq 30))
{
  for level in $(seq 10); do
    echo "*level $level"
    for row in $(seq 13); do echo "$sky"; done
    printf 'a\x8d%s\x9baaaaa\n' "$(printf 'a%.0s' $(seq 22))"
    printf '{%.0s' $(seq 30); echo
  done
} > "$work/Data/Standard.txt"

# Starts the game, waits for its window; prints the window id.
start() {
  "$zorbo" --data "$work/Data" --screen "$1" --difficulty normal > "$work/out" 2>&1 &
  pid=$!
  wid=$(settled_window --pid $pid)
  [ -n "$wid" ] || fail "no game window for --screen $1: $(cat "$work/out")"
}
ended() {   # waits up to 10 s for the game to end; its exit status must be 0
  for _ in $(seq 100); do
    if ! kill -0 $pid 2>/dev/null; then wait $pid; return $?; fi
    sleep 0.1
  done
  kill $pid; fail "the game did not end"
}

for mode in 320x240 640x480 full; do
  start $mode
  eval "$(xdotool getwindowgeometry --shell $wid)"
  case $mode in
    320x240) [ "$WIDTH" = 320 ] && [ "$HEIGHT" = 240 ] || fail "$mode window is ${WIDTH}x$HEIGHT" ;;
    640x480) [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "$mode window is ${WIDTH}x$HEIGHT" ;;
    full)    [ "$WIDTH" = 1024 ] && [ "$HEIGHT" = 768 ] || fail "full screen window is ${WIDTH}x$HEIGHT" ;;
  esac
  # Frames keep coming: two screenshots a moment apart, both showing the picture.
  sleep 0.5
  kill -0 $pid 2>/dev/null || fail "the game ended by itself in $mode: $(cat "$work/out")"
  xdotool windowfocus --sync $wid 2>/dev/null
  escape_in $wid
  ended || fail "escape: exit status $?"
  echo "ok: $mode window ${WIDTH}x$HEIGHT, escape ends the game"
done

start 640x480
"$xclose" $wid
ended || fail "close control: exit status $?"
echo "ok: the close control ends the game"

# Quick taps: every game key, pressed for 12 ms and let go between two polls, is held at
# the next poll (the recording lists the keys of each poll); a quick tap of escape ends the
# game. On a busy machine a 12 ms tap can last past a poll and then counts at two.
"$zorbo" --data "$work/Data" --screen 320x240 --record "$work/taps.rec" > "$work/out" 2>&1 &
pid=$!
wid=$(settled_window --pid $pid)
[ -n "$wid" ] || fail "no game window for the taps: $(cat "$work/out")"
xdotool windowfocus --sync $wid 2>/dev/null
sleep 0.3
tap() { xdotool keydown "$1" sleep 0.012 keyup "$1"; sleep 0.1; }
declare -A codes=([Left]=203 [Right]=205 [space]=57 [Up]=200 [Down]=208 [y]=21 [n]=49)
for round in 1 2 3; do
  for key in "${!codes[@]}"; do tap "$key"; done
done
tap Escape
ended || fail "a 12 ms tap of escape: exit status $?"
for key in "${!codes[@]}"; do
  seen=$(grep -cE "^k( [0-9]+)* ${codes[$key]}( |$)" "$work/taps.rec")
  [ "$seen" -ge 3 ] && [ "$seen" -le 6 ] || fail "three 12 ms taps of $key were held at $seen polls"
done
grep -qE "^k( [0-9]+)* 1( |$)" "$work/taps.rec" || fail "the escape tap is in no poll"
echo "ok: no 12 ms tap of a game key is lost; a tap of escape ends the game"

# Without a sound device (the default driver on a machine with no sound card) the game
# says so in one line instead of the sound library's own error lines.
(unset SDL_AUDIODRIVER; "$zorbo" --data "$work/Data" --screen 320x240 --quit-after-frames 3 > "$work/out" 2>&1)
[ $? = 0 ] || fail "the game with the default sound driver: $(cat "$work/out")"
grep -q '^ALSA lib' "$work/out" && fail "sound library lines reached the terminal: $(cat "$work/out")"
[ "$(grep -vc '^frames=' "$work/out")" -le 1 ] || fail "more than one line about sound: $(cat "$work/out")"
echo "ok: at most one line about the sound device: $(grep -v '^frames=' "$work/out" || echo none)"

# Progress: a game played in a window keeps the furthest level reached in its level set.
# Level 1 of Quick ends as the hero lands on the level end under his start, so level 2 is
# reached at once. A damaged progress file is named in one line and replaced. Watching the
# game's recording, in a window or headless, keeps nothing.
{
  echo "*level 1"
  for row in $(seq 12); do echo "$sky"; done
  printf 'a\x8d%s\n' "$(printf 'a%.0s' $(seq 28))"
  printf 'a\x9b%s\n' "$(printf 'a%.0s' $(seq 28))"
  printf '{%.0s' $(seq 30); echo
  sed -n '/^\*level 2$/,$p' "$work/Data/Standard.txt"
} > "$work/Data/Quick.txt"
progress="$XDG_STATE_HOME/zorbo/progress"
mkdir -p "$(dirname "$progress")"
printf '2 Standard.txt\n2 Standard.txt\n' > "$progress"
"$zorbo" --data "$work/Data" --level-set Quick --screen 320x240 --no-sound --record "$work/quick.rec" \
  --quit-after-frames 40 > "$work/out" 2>&1 || fail "the Quick game: $(cat "$work/out")"
[ "$(grep -c "progress file $progress: line 2: the level set \"Standard.txt\" is listed twice" "$work/out")" = 1 ] &&
  [ "$(grep -vc '^frames=' "$work/out")" = 1 ] || fail "the damaged progress file is not named once: $(cat "$work/out")"
[ "$(grep -v '^#' "$progress")" = "2 Quick.txt" ] || fail "the played game kept: $(cat "$progress" 2>&1)"
echo "ok: a played game keeps level 2 of Quick in place of a damaged file"
rm "$progress"
"$zorbo" --data "$work/Data" --play "$work/quick.rec" --screen 320x240 --no-sound > "$work/out" 2>&1 ||
  fail "the Quick game replayed in a window: $(cat "$work/out")"
"$zorbo" --data "$work/Data" --play "$work/quick.rec" --headless > "$work/out" 2>&1 ||
  fail "the Quick game replayed headless: $(cat "$work/out")"
grep -q '^level 2 ' "$work/out" || fail "the replay did not reach level 2: $(cat "$work/out")"
[ ! -e "$progress" ] || fail "a replay kept progress: $(cat "$progress")"
echo "ok: its replays, in a window and headless, keep nothing"

#!/usr/bin/env bash
# The launcher on a virtual display, driven like a player would: the dialog opens centred,
# "New Game" with a typed level-set name and picked options opens the game window, which
# takes frames until escape ends the program; a wrong name, an invalid level-set file and
# a missing data folder are refused with a message box while the dialog stays open; "?"
# opens the help window beside it; the choices of a started game (smooth motion unchecked
# in the level-set box's context menu among them) are kept and shown at the next start;
# Ctrl+E and a right click on the level-set box open the chosen set in the level editor,
# and an editor that fails at once is reported; "Exit" and the close control end the
# program.
# Usage: launcher.sh ZORBO DATA-DIR XCLOSE
set -u
zorbo=$1 data=$2 xclose=$3
work=$(mktemp -d)
xvfb_pid=
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/out" ] && sed 's/^/  program: /' "$work/out"
  [ -n "${DISPLAY:-}" ] && xwininfo -root -tree 2>/dev/null | grep '^ *0x' | sed 's/^ */  window: /'
  exit 1
}

. "$(dirname "$0")/display.sh"
start_display
# X and FLTK keep some allocations for the life of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# A data folder: the game's pictures, a small valid level set named Hard (ten flat levels,
# the hero's start in column 2 and the level end in column 25 of row 13), and Bad, which
# holds only three levels.
if [ -d "$data" ]; then cp -r "$data" "$work/Data"; else mkdir "$work/Data"; fi
sky=$(printf 'a%.0s' $(seq 30))
write_levels() {
  for level in $(seq "$1"); do
    echo "*level $level"
    for row in $(seq 13); do echo "$sky"; done
    printf 'a\x8d%s\x9baaaaa\n' "$(printf 'a%.0s' $(seq 22))"
    printf '{%.0s' $(seq 30); echo
  done
}
write_levels 10 > "$work/Data/Hard.txt"
write_levels 3 > "$work/Data/Bad.txt"

# The launcher's windows (class ZorboLauncher) titled "Zorbo": the dialog and its message
# boxes. The game's own window has the class zorbo.
launcher_windows() {
  local w
  for w in $(xdotool search --onlyvisible --class '^zorbolauncher$' 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = Zorbo ] && echo "$w"
  done
}
game_windows() { xdotool search --onlyvisible --class '^zorbo$' 2>/dev/null; }
# Waits up to $1 tenths of a second for a launcher window other than $2; prints it.
wait_other_window() {
  local w
  for _ in $(seq "$1"); do
    for w in $(launcher_windows); do [ "$w" != "$2" ] && { echo "$w"; return 0; }; done
    sleep 0.1
  done
  return 1
}
# Waits up to $1 tenths of a second until window $2 is no longer on the screen.
wait_gone() {
  for _ in $(seq "$1"); do
    xwininfo -id "$2" 2>/dev/null | grep -q IsViewable || return 0
    sleep 0.1
  done
  return 1
}
start() {
  "$zorbo" "$@" > "$work/out" 2>&1 &
  pid=$!
  dialog=$(wait_other_window 300 none) || fail "no launcher dialog"
}
ended() {   # waits up to 20 s for the program to end; its exit status must be 0
  for _ in $(seq 200); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; local rc=$?; pid=; return $rc; fi
    sleep 0.1
  done
  fail "the program did not end"
}
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
type_into() {   # window, x, y, text: replaces the text of an input box
  click "$1" "$2" "$3"
  xdotool key ctrl+a
  xdotool type --delay 20 "$4"
}
# Expects a message box over the dialog, dismisses it with Enter and checks that the
# dialog stays open and no game started.
refused() {
  local box
  box=$(wait_other_window 100 "$dialog") || fail "$1: no message box"
  [ -z "$(game_windows)" ] || fail "$1: the game started"
  xdotool mousemove --window "$box" 5 5 key Return
  wait_gone 100 "$box" || fail "$1: the message box did not close"
  launcher_windows | grep -qx "$dialog" || fail "$1: the dialog closed"
  kill -0 "$pid" 2>/dev/null || fail "$1: the program ended"
  echo "ok: $1 is refused with a message box"
}

# Controls, in the dialog's client coordinates.
level_set=(150 282) screen_size=(150 306) sound=(22 328) crazy=(206 352)
slider_right=(241 256) new_game=(88 388) exit_button=(176 388) help=(256 400)

# 1. Choose and start: the game window opens with the chosen size and takes frames.
start --data "$work/Data" --screenshot "$work/last.bmp" --quit-after-frames 9999999
geometry "$dialog"
[ "$WIDTH" = 271 ] && [ "$HEIGHT" = 412 ] || fail "the dialog is ${WIDTH}x$HEIGHT"
[ "$X" = 376 ] && [ "$Y" = 117 ] || fail "the dialog is at $X,$Y, not centred and lifted"
echo "ok: the dialog is 271x412 at 376,117"
type_into "$dialog" "${level_set[@]}" hARD
type_into "$dialog" "${screen_size[@]}" "640 x 480"
click "$dialog" "${sound[@]}"
click "$dialog" "${crazy[@]}"
# The context menu's second entry, under the divider, is the smooth-motion toggle.
xdotool mousemove --window "$dialog" "${level_set[@]}" click 3
sleep 0.5
xdotool mousemove_relative 20 28 click 1
xdotool mousemove --window "$dialog" "${slider_right[@]}" click --repeat 3 --delay 200 1
xdotool key Return
wait_gone 100 "$dialog" || fail "the dialog stayed open after New Game"
game=$(settled_window --class '^zorbo$') || fail "no game window after New Game"
geometry "$game"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "the game window is ${WIDTH}x$HEIGHT, not 640x480"
echo "ok: Enter started the game in a 640x480 window"
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the game ended by itself"
xdotool windowfocus --sync "$game" 2>/dev/null
escape_in "$game"
ended || fail "escape: exit status $?"
frames=$(sed -n 's/^frames=\([0-9]*\).*/\1/p' "$work/out")
[ -n "$frames" ] && [ "$frames" -gt 0 ] || fail "the game showed no frames"
[ -s "$work/last.bmp" ] || fail "no picture saved"
[ "$(tail -c +55 "$work/last.bmp" | tr -d '\000' | head -c 1 | wc -c)" = 1 ] ||
  fail "the last picture is all black"
echo "ok: the game took $frames frames and escape ended the program"
settings="$XDG_CONFIG_HOME/zorbo/settings"
[ -f "$settings" ] || fail "New Game left no settings file"
for line in "level-set Hard" "level 4" "screen-size 640 x 480" "difficulty crazy" "sound off" "motion classic"; do
  grep -qx "$line" "$settings" || fail "the settings file lacks \"$line\": $(cat "$settings")"
done
echo "ok: New Game keeps the choices in $settings"

# The next start shows those choices: New Game pressed at once starts level 4 of Hard in a
# 640x480 window, and keeps the file as it was.
cp "$settings" "$work/kept"
start --data "$work/Data" --quit-after-frames 9999999
click "$dialog" "${new_game[@]}"
wait_gone 100 "$dialog" || fail "the dialog stayed open after New Game at the next start"
game=$(settled_window --class '^zorbo$') || fail "no game window after New Game at the next start"
geometry "$game"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "the next start's game window is ${WIDTH}x$HEIGHT, not 640x480"
name=$(xdotool getwindowname "$game")
[ "$name" = "Zorbo — 4 · level 4" ] || fail "the next start began '$name', not level 4 of Hard"
xdotool windowfocus --sync "$game" 2>/dev/null
escape_in "$game"
ended || fail "escape at the next start: exit status $?"
cmp -s "$work/kept" "$settings" || fail "the next start changed the settings file: $(cat "$settings")"
echo "ok: the next start shows the last choices (level 4 of Hard, 640 x 480)"

# The player's own level sets ($XDG_DATA_HOME/zorbo/levels) are listed after the data
# folder's: Mine by its name, and his Hard, which a data folder set shares, as "Hard (mine)";
# each starts its own file.
own="$XDG_DATA_HOME/zorbo/levels"
mkdir -p "$own"
write_levels 10 | sed 's/^\*level /*mine /' > "$own/Mine.txt"
write_levels 10 | sed 's/^\*level /*own hard /' > "$own/Hard.txt"
for choice in "Mine:mine" "hard (mine):own hard"; do
  start --data "$work/Data" --quit-after-frames 9999999
  type_into "$dialog" "${level_set[@]}" "${choice%%:*}"
  click "$dialog" "${new_game[@]}"
  wait_gone 100 "$dialog" || fail "the dialog stayed open after New Game with ${choice%%:*}"
  game=$(settled_window --class '^zorbo$') || fail "no game window for ${choice%%:*}"
  name=$(xdotool getwindowname "$game")
  [ "$name" = "Zorbo — 4 · ${choice#*:} 4" ] || fail "${choice%%:*} began '$name'"
  xdotool windowfocus --sync "$game" 2>/dev/null
  escape_in "$game"
  ended || fail "escape in ${choice%%:*}: exit status $?"
  echo "ok: the player's own set \"${choice%%:*}\" is listed and played"
done
grep -qx "level-set Hard (mine)" "$settings" || fail "the settings file lacks the marked name: $(cat "$settings")"

# 2. Refusals, the help window and "Exit".
start --data "$work/Data" --quit-after-frames 9999999
click "$dialog" "${help[@]}"
helpwin=
for _ in $(seq 100); do
  helpwin=$(xdotool search --onlyvisible --name '^Help$' 2>/dev/null | head -1)
  [ -n "$helpwin" ] && break
  sleep 0.1
done
[ -n "$helpwin" ] || fail "\"?\" opened no help window"
geometry "$helpwin"
[ "$WIDTH" = 272 ] && [ "$HEIGHT" = 244 ] || fail "the help window is ${WIDTH}x$HEIGHT"
"$xclose" "$helpwin"
wait_gone 100 "$helpwin" || fail "the help window did not close"
echo "ok: \"?\" opens the 272x244 help window beside the dialog"
# The level editor: Ctrl+E and the level-set box's context menu open the chosen set in it.
editor_opened() {
  local editor
  editor=$(settled_window --class '^zorboedit$') || fail "$1 opened no level editor"
  xdotool getwindowname "$editor" | grep -q Hard || fail "$1 opened $(xdotool getwindowname "$editor")"
  "$xclose" "$editor"
  wait_gone 100 "$editor" || fail "the level editor did not close"
  echo "ok: $1 opens the chosen level set in the level editor"
}
type_into "$dialog" "${level_set[@]}" hard
xdotool key ctrl+e
editor_opened "Ctrl+E"
xdotool mousemove --window "$dialog" "${level_set[@]}" click 3
sleep 0.5
xdotool mousemove_relative 20 8 click 1
editor_opened "a right click on the level-set box"
type_into "$dialog" "${level_set[@]}" "Nothing Here"
click "$dialog" "${new_game[@]}"
refused "an unknown level-set name"
type_into "$dialog" "${level_set[@]}" bad
click "$dialog" "${new_game[@]}"
refused "a level set with three levels"
click "$dialog" "${exit_button[@]}"
ended || fail "Exit: exit status $?"
grep -q '^frames=' "$work/out" && fail "a game ran although every choice was refused"
echo "ok: Exit ends the program"

# 3. No data folder: nothing to choose, "New Game" is refused; the close control ends.
start --data "$work/none"
click "$dialog" "${new_game[@]}"
refused "New Game without a data folder"
"$xclose" "$dialog"
ended || fail "close control: exit status $?"
echo "ok: without a data folder the dialog refuses, and the close control ends the program"

# 4. A level editor that is there but fails at once: the dialog says so in a message box
# and stays open.
mkdir "$work/bin"
cp "$zorbo" "$work/bin/zorbo"
cp "$(dirname "$zorbo")/zorbo-launcher.so" "$(dirname "$zorbo")/zorbo-sound.so" "$work/bin/" # modules lie beside the game
printf '#!/bin/sh\nexit 1\n' > "$work/bin/zorbo-edit"
chmod +x "$work/bin/zorbo-edit"
zorbo="$work/bin/zorbo"
start --data "$work/Data"
type_into "$dialog" "${level_set[@]}" hard
xdotool key ctrl+e
refused "an editor that fails at once"
"$xclose" "$dialog"
ended || fail "close control: exit status $?"

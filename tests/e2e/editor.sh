#!/usr/bin/env bash
# The level editor on a virtual display, driven as a level maker would: it opens a copy of
# the Standard set at level 1 with its objects drawn; a cell painted with the mouse is
# saved with Ctrl+S and read back, undo saves the file byte for byte as it was, redo (both
# keys) paints it again; a lone warp end is listed by the check, a click on the list
# marks its cell, and saving asks first; Test play starts the game on the level at the
# column under the mouse, looping the level, and the finished game is reaped; Prove draws
# level 1's route, dims it after an edit, and marks where a walled-off level blocks; a pipe
# and a hill laid from the Stamps menu and a checkpoint, marked on the map, are saved in
# level 2; Ctrl+Q ends the editor. An editor ended by SIGTERM after an edit keeps a
# recovery copy that is offered when the file is opened again, and a file changed by
# another program is not saved over unasked. A set of the game's data folder opens as a
# copy saved in the player's own folder, and a set with one level made is test played and
# proved.
# Usage: editor.sh ZORBO-EDIT DATA-DIR [PART [SCREENSHOT.png]]
# PART is "all" (the default), "prove" (the opening and Prove, whose solvers take most of
# the time in a slow build) or "main" (the rest), so that ctest can run the two halves as
# tests of their own. The screenshot is the one in docs/levels.md: copy it to
# docs/editor.png to renew it.
set -u
editor=$1 data=$2 part=${3:-all} shot=${4:-}
work=$(mktemp -d)
# Recovery copies of this run's own, so that none from an earlier run is offered.
export XDG_STATE_HOME=$work/state
pid= xvfb_pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/out" ] && sed 's/^/  editor: /' "$work/out"
  exit 1
}

. "$(dirname "$0")/display.sh"
start_display

set_file=$work/Standard.txt
cp "$data/Standard.txt" "$set_file"
original=$work/original.txt
cp "$set_file" "$original"

"$editor" --data "$data" "$set_file" > "$work/out" 2>&1 &
pid=$!
win=$(settled_window --class '^zorboedit$')
[ -n "$win" ] || fail "no editor window"
# No window manager gives the editor the keyboard: it is given here.
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 0.5
# The window fits the screen; the check list's first line lies 141 pixels above its bottom.
eval "$(xdotool getwindowgeometry --shell "$win")"
first_problem_y=$((HEIGHT - 141))

# The map's cells in window coordinates at the first zoom (2x: 32 pixels a cell), the view
# scrolled to column 1: the palette is 270 wide, the menu, tool bar and column numbers
# take 73 pixels above row 0.
cell_x() { echo $((270 + ($1 - 1) * 32 + 16)); }
cell_y() { echo $((73 + $1 * 32 + 16)); }
click_cell() { xdotool mousemove --window "$win" "$(cell_x "$2")" "$(cell_y "$1")" click 1; sleep 0.3; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
# The byte of a cell in level 1 (row ROW, column COL) as cmp counts: level 1's separator
# is line 1, so row ROW is line ROW + 2.
offset() { echo $(($(head -n $(($1 + 1)) "$original" | wc -c) + $2)); }
# "OFFSET OLD NEW" (bytes in octal) for each byte that differs from the original.
changes() { cmp -l "$original" "$set_file" | awk '{ print $1, $2, $3 }'; }
screenshot() { import -window "$win" "$1" 2>/dev/null || fail "no screenshot"; }
pick() {   # the palette's one entry for a code, found through its search box
  xdotool mousemove --window "$win" 150 70 click 1
  key ctrl+a BackSpace
  xdotool type --delay 20 "$1"
  sleep 0.3
  xdotool mousemove --window "$win" 100 162 click 1   # under its group
  sleep 0.2
}
# The number of colours in a cell's inside (its grid lines left out).
colours() { convert "$1" -crop 28x28+$(($(cell_x "$3") - 14))+$(($(cell_y "$2") - 14)) +repage -format %k info:; }

# 1. Level 1 is shown with its objects: its hero start (byte 141, octal 215) is drawn over
# plain sky, which holds one colour.
read -r hero_row hero_col < <(LC_ALL=C awk 'NR >= 2 && NR <= 16 { i = index($0, "\215"); if (i) { print NR - 2, i; exit } }' "$original")
[ -n "$hero_col" ] && [ "$hero_col" -le 20 ] || fail "no hero start in the first screen of level 1"
screenshot "$work/start.png"
[ "$(colours "$work/start.png" 5 3)" = 1 ] || fail "row 5, column 3 of level 1 is not plain sky"
[ "$(colours "$work/start.png" "$hero_row" "$hero_col")" -gt 4 ] || fail "the hero start of level 1 is not drawn"
echo "ok: the editor shows level 1 of the Standard set with its hero start"

if [ "$part" != prove ]; then

# 2. Paint a sky cell with the first code (26, ground top: byte 123, octal 173), save,
# read back; undo, save: the file is as it was; redo with either key brings the cell back.
painted="$(offset 5 3) 141 173"
click_cell 5 3
key ctrl+s
[ "$(changes)" = "$painted" ] || fail "after painting and saving the file differs by: $(changes)"
echo "ok: the painted cell is saved as byte 123 at line 7, column 3"
key ctrl+z
key ctrl+s
cmp -s "$original" "$set_file" || fail "after undo the saved file differs by: $(changes)"
echo "ok: undo saves the file byte for byte as it was"
key ctrl+y
key ctrl+s
[ "$(changes)" = "$painted" ] || fail "after redo (Ctrl+Y) the file differs by: $(changes)"
key ctrl+z
key ctrl+shift+z
key ctrl+s
[ "$(changes)" = "$painted" ] || fail "after redo (Ctrl+Shift+Z) the file differs by: $(changes)"
echo "ok: Ctrl+Y and Ctrl+Shift+Z redo the change"

# 3. A lone warp end (code 76, byte 173 = octal 255) is an error: saving asks first, and
# Cancel keeps the file while "Save anyway" writes it. The check lists it: a click on the
# list brings the view back to its cell and marks it in red; erasing the marked cell
# (right button) takes the warp end away again.
pick 76
click_cell 5 14
warp_saved="$painted
$(offset 5 14) 141 255"
xdotool key ctrl+s
dialog=
for _ in $(seq 50); do
  dialog=$(xdotool search --onlyvisible --name 'with errors' 2>/dev/null | head -1)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "saving a set with an error did not ask"
key Escape
[ "$(changes)" = "$painted" ] || fail "the file changed although the question was answered with Cancel"
key ctrl+s
key Return
[ "$(changes)" = "$warp_saved" ] || fail "\"Save anyway\" did not save the warp end: $(changes)"
echo "ok: saving a set with an error asks first; Cancel keeps the file, Save anyway writes it"

xdotool mousemove --window "$win" "$(cell_x 16)" "$(cell_y 8)" click --repeat 15 5   # the wheel scrolls away
sleep 0.3
xdotool mousemove --window "$win" 400 "$first_problem_y" click 1
sleep 0.4
screenshot "$work/marked.png"
read -r w h x y < <(convert "$work/marked.png" -fill black +opaque '#FF3030' -trim -format '%w %h %X %Y' info:)
[ "$w $h" = "32 32" ] || fail "no cell is marked after a click on the check list (${w}x$h)"
xdotool mousemove --window "$win" $((x + 16)) $((y + 16)) click 3
sleep 0.3
key ctrl+s
[ "$(changes)" = "$painted" ] || fail "the marked cell is not the listed warp end: the file differs by $(changes)"
echo "ok: the check lists the lone warp end and a click on it marks its cell"

# 4. Test play from the column under the mouse (Home takes the view back to column 1).
key Home
xdotool mousemove --window "$win" "$(cell_x 20)" "$(cell_y 8)"
key F5
game=
for _ in $(seq 100); do
  game=$(pgrep -P "$pid" | head -1)
  [ -n "$game" ] && break
  sleep 0.1
done
[ -n "$game" ] || fail "Test play started no game"
args=$(tr '\0' ' ' < "/proc/$game/cmdline")
case "$args" in
  *"--level-set Standard --level 1 --start-column 20 --loop-level "*) ;;
  *) fail "the game was started as: $args" ;;
esac
gamewin=$(settled_window --pid "$game")
[ -n "$gamewin" ] || fail "the game opened no window"
echo "ok: Test play opens the game at level 1 from column 20, looping the level"
escape_in "$gamewin"
for _ in $(seq 50); do [ -e "/proc/$game" ] || break; sleep 0.1; done
[ -e "/proc/$game" ] && fail "the ended game was not reaped: $(ps -o stat= -p "$game")"
kill -0 "$pid" 2>/dev/null || fail "the editor ended with the game"
echo "ok: the editor stays open and reaps the ended game"

# The game's window took the keyboard with it; the editor is given it back.
xdotool windowfocus --sync "$win" 2>/dev/null
fi

# 5. Prove (F6) runs the solver on level 1 at each difficulty, from its start and its
# checkpoints (level 1 has none), two at a time, and draws the route it found (magenta)
# over the map; after an edit the route is drawn dimmed as stale. With the level walled off
# at column 12 no route is found and a dashed orange line marks the furthest column
# reached, left of the wall.
# The solvers of one proof: F6 starts them, and they are waited for to the end.
prove_started() {   # [SET]: the set's name, Standard when not given
  local set=${1:-Standard}
  key F6
  local seen= solvers=
  for _ in $(seq 100); do
    solvers=$(pgrep -P "$pid" -f zorbo_solve)
    [ -n "$solvers" ] && break
    sleep 0.1
  done
  [ -n "$solvers" ] || fail "Prove started no solver"
  [ "$(echo "$solvers" | wc -l)" -le 2 ] || fail "more than two solvers at once: $solvers"
  seen=$(tr '\0' ' ' < "/proc/$(echo "$solvers" | head -1)/cmdline")
  case "$seen" in
    *"--level-set $set --difficulty easy --each --level 1 --checkpoints --progress --route "*) ;;
    *) fail "the solver was started as: $seen" ;;
  esac
}
# Between one solver's end and the next one's start no solver runs for a moment: the proof
# is over once none has run for a second.
prove() {
  prove_started
  local idle=0
  for _ in $(seq 2400); do
    if pgrep -P "$pid" -f zorbo_solve > /dev/null; then idle=0; else idle=$((idle + 1)); fi
    [ "$idle" -ge 10 ] && break
    sleep 0.1
  done
  [ "$idle" -ge 10 ] || fail "the proof did not end within four minutes"
  sleep 0.5
}
# How many pixels of the shown map have the colour.
pixels() { convert "$1" -crop "$((WIDTH - 270))x$((HEIGHT - 73 - 200))+270+73" +repage -fill black +opaque "$2" \
             -fill white -opaque "$2" -format '%[fx:int(mean*w*h+0.5)]' info:; }
if [ "$part" != main ]; then
key Home
# The cell painted in 2. is emptied again: the level is proved as it is in the set.
xdotool mousemove --window "$win" "$(cell_x 3)" "$(cell_y 5)" click 3
sleep 0.3
prove
# On a busy machine a pause between two solvers can pass for the proof's end: the route is
# waited for (a hang check of four minutes: a sanitizer build's solvers on a loaded machine
# took two).
for _ in $(seq 480); do
  screenshot "$work/proved.png"
  [ "$(pixels "$work/proved.png" '#FF30D0')" -gt 200 ] && break
  sleep 0.5
done
[ "$(pixels "$work/proved.png" '#FF30D0')" -gt 200 ] || fail "no route is drawn after proving level 1"
echo "ok: Prove finds level 1 finishable and draws the route"

pick 26   # ground top
xdotool mousemove --window "$win" 332 41 click 1     # the tool bar's Fill
xdotool mousemove --window "$win" "$(cell_x 12)" "$(cell_y 0)" mousedown 1
for row in 3 6 9 12 14; do xdotool mousemove --window "$win" "$(cell_x 12)" "$(cell_y $row)"; sleep 0.05; done
xdotool mouseup 1
sleep 0.6
screenshot "$work/stale.png"
[ "$(pixels "$work/stale.png" '#FF30D0')" = 0 ] || fail "the route is drawn as current after an edit"
[ "$(pixels "$work/stale.png" '#907090')" -gt 100 ] || fail "the stale route is not drawn dimmed"
echo "ok: after an edit the proof is stale and its route dimmed"

# A search that finds nothing gives up once the hero has nowhere new to go: once the first
# difficulty has given up, Shift+F6 cancels the rest, which end within a second or two.
prove_started
for _ in $(seq 480); do
  screenshot "$work/blocked.png"
  [ "$(pixels "$work/blocked.png" '#FF8000')" -gt 100 ] && break
  sleep 0.5
done
[ "$(pixels "$work/blocked.png" '#FF30D0')" = 0 ] || fail "a route is drawn through the wall"
read -r bw bh bx by < <(convert "$work/blocked.png" -fill black +opaque '#FF8000' -trim -format '%w %h %X %Y' info:)
[ "$bh" -gt 200 ] && [ "$bx" -lt "$(cell_x 12)" ] ||
  fail "no furthest column is marked left of the wall (${bw}x$bh at $bx)"
key shift+F6
for _ in $(seq 30); do
  pgrep -P "$pid" -f zorbo_solve > /dev/null || break
  sleep 0.1
done
pgrep -P "$pid" -f zorbo_solve > /dev/null && fail "Cancel left the solvers running"
echo "ok: with level 1 walled off the proof finds no route, marks the furthest column and is cancelled"
key ctrl+z
[ "$part" = prove ] && exit 0
else
  # Where the proofs leave the editor: the cell painted in 2. emptied, ground top picked
  # and the Fill tool chosen.
  key Home
  xdotool mousemove --window "$win" "$(cell_x 3)" "$(cell_y 5)" click 3
  sleep 0.3
  pick 26
  xdotool mousemove --window "$win" 332 41 click 1
  sleep 0.3
fi

# 6. A level maker's pieces, on level 2 (Ctrl+Page Down): from the Stamps menu a pipe
# dragged from its mouth in row 10 down to row 12 of column 8, and a hill pressed on row 12
# and dragged from column 12 to 16; a hero start in column 40 is a checkpoint, framed and
# marked on the map. Saved, the file holds their bytes; Ctrl+Page Up goes back to level 1.
byte_of_level2() { sed -n "$(($1 + 18))p" "$set_file" | head -c "$2" | tail -c 1 | od -An -tu1 | tr -d ' '; }
stamp() {   # the Stamps menu's entry at y (19 pixels a line, the first at 35)
  xdotool mousemove --window "$win" 197 12 click 1
  sleep 0.5
  xdotool mousemove --window "$win" 215 "$1" click 1
  sleep 0.3
}
drag() {   # row col to row col
  xdotool mousemove --window "$win" "$(cell_x "$2")" "$(cell_y "$1")" mousedown 1
  sleep 0.2
  xdotool mousemove --window "$win" "$(cell_x "$4")" "$(cell_y "$3")"
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
}
key Home
key ctrl+Next
stamp 35   # Pipe
drag 10 8 12 8
stamp 73   # Hill
drag 12 12 12 16
xdotool mousemove --window "$win" "$(cell_x 10)" "$(cell_y 5)" click --repeat 15 5   # the view from column 31
sleep 0.3
screenshot "$work/no_checkpoint.png"
[ "$(pixels "$work/no_checkpoint.png" '#30E050')" = 0 ] || fail "level 2 shows a checkpoint mark before one is laid"
pick 44   # hero start
xdotool mousemove --window "$win" 231 41 click 1     # the tool bar's Paint
click_cell 12 10   # column 40
# A slow (sanitizer) build takes a moment to draw and to write the file.
for _ in $(seq 20); do
  screenshot "$work/checkpoint.png"
  [ "$(pixels "$work/checkpoint.png" '#30E050')" -gt 100 ] && break
  sleep 0.25
done
[ "$(pixels "$work/checkpoint.png" '#30E050')" -gt 100 ] || fail "the hero start in column 40 is not marked as a checkpoint"
key ctrl+s
# Pipe mouth 30 31, body 32 34 (bytes 127 128, 129 131); hill slopes 7 10 with its top 8
# and inside 11 (bytes 104 107, 105, 108); hero start 44 (byte 141).
want=" 127 128 129 131 129 131 104 105 107 104 108 107 141"
for _ in $(seq 50); do
  got=""
  for cell in "10 8" "10 9" "11 8" "11 9" "12 8" "12 9" "11 13" "11 14" "11 15" "12 12" "12 13" "12 16" "12 40"; do
    got="$got $(byte_of_level2 $cell)"
  done
  [ "$got" = "$want" ] && break
  sleep 0.1
done
[ "$got" = "$want" ] || fail "level 2 was saved with the bytes$got"
key ctrl+Prior
xdotool mousemove --window "$win" 150 70 click 1   # the search emptied: the whole palette again
key ctrl+a BackSpace
echo "ok: a pipe and a hill from the Stamps menu and a marked checkpoint are saved in level 2"

# 7. The picture for the documentation: level 4 from column 27, an elevator over water,
# with the whole palette.
if [ -n "$shot" ]; then
  pick 26   # ground top
  xdotool mousemove --window "$win" 150 70 click 1
  key ctrl+a BackSpace
  xdotool mousemove --window "$win" 95 40 click 1   # the level chooser
  sleep 0.3
  key Down Down Down Return
  xdotool mousemove --window "$win" "$(cell_x 16)" "$(cell_y 8)" click --repeat 13 5
  xdotool mousemove --window "$win" "$(cell_x 12)" "$(cell_y 9)"
  sleep 0.5
  screenshot "$work/shot.png"
  convert "$work/shot.png" -strip -colors 128 "$shot" || fail "cannot write $shot"
  echo "ok: screenshot in $shot"
fi

# 8. Ctrl+Q ends the editor (nothing is left unsaved).
key ctrl+s
key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not end the editor"
wait "$pid" || fail "the editor ended with status $?"
pid=
echo "ok: Ctrl+Q ends the editor"

# 9. SIGTERM after an edit: the editor ends, leaving the file as it was and the edit in a
# recovery copy; opened again, the editor offers it (Return recovers) and saving writes it.
# Before that save the file is changed by another program: the save asks, and Cancel keeps
# the other program's file.
wait_dialog() {
  local found=
  for _ in $(seq 50); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
cp "$set_file" "$original"
"$editor" --data "$data" "$set_file" > "$work/out" 2>&1 &
pid=$!
win=$(settled_window --class '^zorboedit$')
[ -n "$win" ] || fail "no editor window the second time"
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 0.5
click_cell 5 3
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 143 ] || fail "the editor ended by SIGTERM with status $status"
cmp -s "$original" "$set_file" || fail "SIGTERM changed the file: $(changes)"
copy=$(ls "$XDG_STATE_HOME"/zorbo/*-Standard.txt.recover 2>/dev/null | head -1)
[ -n "$copy" ] || fail "no recovery copy in $XDG_STATE_HOME/zorbo after SIGTERM"
echo "ok: SIGTERM after an edit leaves the file as it was and the edit in a recovery copy"

"$editor" --data "$data" "$set_file" > "$work/out" 2>&1 &
pid=$!
dialog=$(wait_dialog 'Recover unsaved')
[ -n "$dialog" ] || fail "opening the file again did not offer the recovery copy"
xdotool windowfocus --sync "$dialog" 2>/dev/null
key Return
win=$(settled_window --class '^zorboedit$')
[ -n "$win" ] || fail "no editor window after recovering"
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 0.3
echo "theirs" >> "$set_file"
cp "$set_file" "$work/theirs.txt"
xdotool key ctrl+s
dialog=$(wait_dialog 'changed on disk')
[ -n "$dialog" ] || fail "saving over a file changed by another program did not ask"
key Escape
cmp -s "$work/theirs.txt" "$set_file" || fail "Cancel did not keep the other program's file"
echo "ok: a file changed by another program is not saved over when the question is cancelled"
cp "$original" "$set_file"
xdotool windowfocus --sync "$win" 2>/dev/null
key ctrl+s
# A slow (sanitizer) build takes a moment to write the file.
for _ in $(seq 50); do [ "$(changes)" = "$painted" ] && break; sleep 0.1; done
[ "$(changes)" = "$painted" ] || fail "the recovered edit was not saved: the file differs by $(changes)"
[ -e "$copy" ] && fail "the recovery copy is still there after saving"
echo "ok: the recovery copy is offered on the next open, and saving it writes the edit and removes the copy"
key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not end the editor the second time"
pid=

# 10. A set that comes with the game opens as a copy: the editor, here copied with its own
# data folder so that nothing of the build's can be written, opens its data folder's
# Standard.txt saying so in its title; the first save asks for a name in the player's own
# folder, $XDG_DATA_HOME/zorbo/levels, made private, and the game's set stays as it was.
bin=$work/bin
mkdir -p "$bin"
cp "$editor" "$bin/zorbo-edit"
cp -r "$data" "$bin/Data"
programs=$(cd "$(dirname "$editor")" && pwd)
ln -s "$programs/zorbo" "$bin/zorbo"
ln -s "$programs/zorbo_solve" "$bin/zorbo_solve"
shipped=$bin/Data/Standard.txt
cp "$shipped" "$original"
own=$XDG_DATA_HOME/zorbo/levels
"$bin/zorbo-edit" "$shipped" > "$work/out" 2>&1 &
pid=$!
win=$(settled_window --class '^zorboedit$')
[ -n "$win" ] || fail "no editor window for the shipped set"
xdotool getwindowname "$win" | grep -q "Standard.txt (shipped with the game: saved as a copy)" ||
  fail "the title does not say the set is a copy: $(xdotool getwindowname "$win")"
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 0.3
click_cell 5 3
xdotool key ctrl+s
chooser=$(wait_dialog 'Save the level set as')
[ -n "$chooser" ] || fail "the first save of a copy asked for no name"
[ "$(stat -c %a "$own")" = 700 ] || fail "the player's folder $own is not private"
xdotool windowfocus --sync "$chooser" 2>/dev/null
key Return
for _ in $(seq 50); do [ -f "$own/Standard.txt" ] && break; sleep 0.1; done
[ -f "$own/Standard.txt" ] || fail "the copy was not saved as $own/Standard.txt: $(ls -a "$own")"
cmp -s "$original" "$shipped" || fail "the game's own set was changed"
[ "$(cmp -l "$original" "$own/Standard.txt" | awk '{ print $1, $2, $3 }')" = "$painted" ] ||
  fail "the copy does not hold the edit"
xdotool getwindowname "$win" | grep -q "^Standard.txt - " || fail "the saved copy is still called one: $(xdotool getwindowname "$win")"
echo "ok: a shipped set opens as a copy, saved in the player's own folder"
key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not end the editor of the copy"
pid=

# 11. A new set with only level 1 made: the Test play button starts the game at the level's
# hero start (no column), and Prove starts the solvers, though nine levels are empty.
{
  head -n 16 "$original"
  for _ in $(seq 9); do echo '*'; for _ in $(seq 15); do echo; done; done
} > "$own/First.txt"
"$bin/zorbo-edit" "$own/First.txt" > "$work/out" 2>&1 &
pid=$!
win=$(settled_window --class '^zorboedit$')
[ -n "$win" ] || fail "no editor window for a set of one level"
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 0.3
xdotool mousemove --window "$win" 933 41 click 1   # the tool bar's Test play
game=
for _ in $(seq 100); do
  game=$(pgrep -P "$pid" -f "$bin/zorbo " | head -1)
  [ -n "$game" ] && break
  sleep 0.1
done
[ -n "$game" ] || fail "Test play of a set with one level made started no game"
args=$(tr '\0' ' ' < "/proc/$game/cmdline")
case "$args" in
  *"--level-set First --level 1 --loop-level "*) ;;
  *) fail "the game was started as: $args" ;;
esac
gamewin=$(settled_window --pid "$game")
[ -n "$gamewin" ] || fail "the game of a set with one level made opened no window"
escape_in "$gamewin"
echo "ok: the Test play button starts a set with one level made at that level's hero start"
xdotool windowfocus --sync "$win" 2>/dev/null
prove_started First
key shift+F6
echo "ok: Prove starts on a set with one level made"
key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not end the editor of the set of one level"
pid=

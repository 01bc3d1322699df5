#!/usr/bin/env bash
# What the program refuses, and how: each case must give its message and exit status at
# once. FIFOs stand in for files that would block a reader; every run has a generous
# timeout (a hang check: a case needs well under a second even in the sanitizer build), so
# a reader that blocks fails the test instead of hanging it; the time taken is shown.
# Usage: refusals.sh ZORBO DATA-DIR
set -u
zorbo=$1 data=$2
work=$(mktemp -d)
# Settings, progress and level sets are kept in the test's own folder, never the player's.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data" HOME="$work/home"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && sed 's/^/  program: /' "$work/out"; exit 1; }

# Runs the program with a 30 s timeout; sets rc and ms, output in $work/out.
run() {
  local start end
  start=$(date +%s%N)
  timeout 30 "$@" > "$work/out" 2>&1
  rc=$?
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  [ $rc = 124 ] && fail "$* did not end within 30 s: it blocks"
}
expect() {  # status, text the output must hold, what is being tested
  [ "$rc" = "$1" ] || fail "$3: exit status $rc, not $1"
  grep -qF -- "$2" "$work/out" || fail "$3: no \"$2\" in the output"
  echo "ok: $3 ($ms ms, exit $rc)"
}

cp -r "$data" "$work/Data"
mkfifo "$work/fifo.txt" "$work/Data/Fifo.txt"

# The level-set check.
run "$zorbo" --check-level-set "$work/fifo.txt"
expect 1 "fifo.txt: error: the file is a FIFO, not a regular file" "a FIFO to --check-level-set"
run "$zorbo" --check-level-set "$work/Data/Standard.txt"
expect 0 "$work/Data/Standard.txt: 10 levels, no problems" "a good level set to --check-level-set"
head -n 20 "$work/Data/Standard.txt" > "$work/short.txt"
run "$zorbo" --check-level-set "$work/short.txt"
expect 1 "short.txt: 2 levels, " "a level set of two levels to --check-level-set"
grep -q "the game refuses it" "$work/out" || fail "the summary does not say the game refuses the file"

# A game whose level set is a FIFO is refused before its window opens.
run env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$zorbo" --data "$work/Data" --level-set Fifo
expect 1 "Fifo.txt: error: the file is a FIFO, not a regular file" "a FIFO to --level-set"

# The player's own folder: what is no level set there is refused as in the data folder,
# naming the file, and so is a name no folder holds.
levels="$XDG_DATA_HOME/zorbo/levels"
mkdir -p "$levels"
mkfifo "$levels/Pipe.txt"
echo "shopping: eggs, milk" > "$levels/Notes.txt"
ln -s "$levels/nowhere.txt" "$levels/Gone.txt"
ln -s Loop.txt "$levels/Loop.txt"
play_own() { run env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$zorbo" --data "$work/Data" --level-set "$@"; }
play_own Pipe
expect 1 "$levels/Pipe.txt: error: the file is a FIFO, not a regular file" "a FIFO in the player's folder"
play_own Notes
expect 1 "$levels/Notes.txt:1:1: error:" "a file of the player's that is no level set"
play_own Gone
expect 1 "$levels/Gone.txt: error: the file cannot be opened" "a link of the player's that leads nowhere"
play_own Loop
expect 1 "$levels/Loop.txt: error: the file cannot be opened" "a link of the player's that loops"
play_own Nowhere
expect 1 "there is no level set \"Nowhere\": Nowhere.txt is neither in the data folder $work/Data/ nor in $levels/" \
  "a name found in neither folder"

# A bitmap or a wave that is a FIFO is warned about, and the game runs on without it.
rm "$work/Data/game_1.bmp" "$work/Data/m001.wav"
mkfifo "$work/Data/game_1.bmp" "$work/Data/m001.wav"
run env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$zorbo" --data "$work/Data" --level 1 --quit-after-frames 2
expect 0 "warning: bitmap $work/Data/game_1.bmp: is a FIFO, not a regular file; it is not drawn" \
  "a FIFO in place of a bitmap"
expect 0 "warning: sound $work/Data/m001.wav: is a FIFO, not a regular file; the game runs without it" \
  "a FIFO in place of a wave"

# So is a tune's file that is a FIFO, not Ogg Vorbis or too large; the first level's tune
# (open sky) is a FIFO, and the game plays on without it.
rm "$work/Data/tune-sky.ogg"
mkfifo "$work/Data/tune-sky.ogg"
echo "not music" > "$work/Data/tune-cave.ogg"
head -c 9000000 /dev/zero > "$work/Data/tune-castle.ogg"
run env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$zorbo" --data "$work/Data" --level 1 --quit-after-frames 2
expect 0 "warning: music $work/Data/tune-sky.ogg: is a FIFO, not a regular file; the game plays on without that tune" \
  "a FIFO in place of a tune"
expect 0 "warning: music $work/Data/tune-cave.ogg: is not an Ogg Vorbis file; the game plays on without that tune" \
  "a tune's file that is no Ogg Vorbis"
expect 0 "warning: music $work/Data/tune-castle.ogg: is larger than 8 MB; the game plays on without that tune" \
  "a tune's file too large"
[ "$(grep -c "warning: music" "$work/out")" = 3 ] || fail "each broken tune is named once"

# No desktop: the game and the launcher say so and end, instead of running unseen.
run env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$zorbo" --data "$work/Data" --level 1
expect 1 "zorbo: no display" "the game without a display"
# The launcher's dialog needs X whatever video driver SDL is told to use.
run env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy "$zorbo" --data "$work/Data"
expect 1 "zorbo: no display" "the launcher without a display"

# An option given twice.
run "$zorbo" --level 3 --level 4
expect 2 "option --level is given twice" "--level twice"
run "$zorbo" --play a.rec --play b.rec
expect 2 "option --play is given twice" "--play twice"

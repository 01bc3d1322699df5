#!/usr/bin/env bash
# Bad recordings replayed headless: each one ends at once with a one-line reason and its
# exit status; none aborts, blocks or grows.
# Usage: recordings.sh ZORBO DATA-DIR GOOD-RECORDING
set -u
zorbo=$1 data=$2 good=$3
work=$(mktemp -d)
# Settings, progress and level sets are kept in the test's own folder, never the player's.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data" HOME="$work/home"
trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS TEXT ARGS...: runs the game (60 s at most: a sanitizer build on a busy
# machine is slow, but nothing may block or grow) and checks its status and output.
expect() {
  local status=$1 text=$2
  shift 2
  timeout 60 "$zorbo" "$@" > "$work/out" 2>&1
  local got=$?
  if [ $got -ne "$status" ] || ! grep -qF -- "$text" "$work/out"; then
    echo "FAIL: zorbo $* -> status $got (want $status), output: $(cat "$work/out")"
    failures=$((failures + 1))
  else
    echo "ok: status $got: $(grep -F -- "$text" "$work/out" | head -1)"
  fi
}
play() { expect "$1" "$2" --data "$data" --play "$3" --headless "${@:4}"; }
# The good recording with one line changed by a sed expression.
edited() { sed "$1" "$good" > "$work/$2"; echo "$work/$2"; }
header='zorbo-recording 1\nlevel-set Standard.txt %s\nstart-level 1\ndifficulty 26\nseed 1\n'

printf "$header" zzzzzzzzzzzzzzzz > "$work/hash.rec"; echo end >> "$work/hash.rec"
play 1 'hash.rec:2: the level-set hash "zzzzzzzzzzzzzzzz" is not 16 hexadecimal digits' "$work/hash.rec"
play 1 'is not 16 hexadecimal digits' "$(edited 's/^c 0 1 0 ./c 0 1 0 -/' sign.rec)"
play 1 '/dev/zero: is a character device, not a regular file' /dev/zero
mkfifo "$work/pipe.rec"
play 1 'pipe.rec: is a FIFO, not a regular file' "$work/pipe.rec"
play 1 'the level set "../../../../../dev/zero" is not the name of a file in the data folder' \
  "$(edited 's#^level-set .*#level-set ../../../../../dev/zero 0000000000000000#' zero.rec)"
play 1 'the level set "../../etc/passwd" is not the name of a file in the data folder' \
  "$(edited 's#^level-set .*#level-set ../../etc/passwd 0000000000000000#' passwd.rec)"
mkdir "$work/fifo-data" && mkfifo "$work/fifo-data/Pipe.txt"
expect 1 'Pipe.txt is a FIFO, not a regular file' --data "$work/fifo-data" --headless \
  --play "$(edited 's#^level-set .*#level-set Pipe.txt 0000000000000000#' fifoset.rec)"
play 1 'the checkpoint'"'"'s level "-2147483648" is not a number from 1 to 11' "$(edited 's/^c 0 1 0/c 0 -2147483648 0/' level.rec)"
play 1 'no final checkpoint before the end line' "$(edited '/^c /d' nochecks.rec)"
play 1 'missing header line before the inputs: seed' "$(edited '/^seed /d' noseed.rec)"
# An empty level set that hashes as recorded (the hash of nothing is the starting value).
mkdir "$work/empty-data" && : > "$work/empty-data/Empty.txt"
expect 1 'Empty.txt: the file holds 0 levels' --data "$work/empty-data" --headless \
  --play "$(edited 's#^level-set .*#level-set Empty.txt 14650fb0739d0383#' empty.rec)"
# The game ends on escape at the first poll; three thousand polls stay unread.
{ printf "$header" "$(sed -n 's/^level-set Standard.txt //p' "$good")"; printf 't 0 0 1\n'; grep -m1 '^c 0 1 0 ' "$good"; printf 'k 1\nt 1 1\n'
  for _ in $(seq 3000); do echo k; done; echo 'c 3001 1 0 0000000000000000'; echo end; } > "$work/unread.rec"
play 1 'the game ended at poll 1, but the recording goes on to poll 3001' "$work/unread.rec"
# Cut in the middle of a line: the polls before it are the complete "k" lines.
head -c 100000 "$good" > "$work/cut.rec"
polls=$(head -n -1 "$work/cut.rec" | grep -c '^k')
play 3 "cut.rec: the recording was cut off at poll $polls (the game that made it was killed); the replay matched up to there" \
  "$work/cut.rec"
total=$(grep -c '^k' "$good")
play 0 "stopped at poll 100 of $total" "$good" --quit-after-frames 100
play 0 'won yes' "$good"
expect 2 '--headless plays back without a window' --data "$data" --play "$good" --headless --screen 320x240

[ $failures -eq 0 ] || { echo "$failures failure(s)"; exit 1; }

#!/usr/bin/env bash
# How pictures reach the screen, measured: each Standard recording is played back in a
# 640x480 window on a virtual display, in smooth and in classic motion, with --frame-log.
# For each run it reports the pictures shown per second, the median and 99th-percentile
# interval between them, and the CPU time against the floor program presenting at the
# same rate (60 a second for smooth, the game's frame rate for classic), run alternately
# with the game. It also estimates the delay from a key press to the first picture that
# shows its effect, from the logged picture times: a press is read by the next game frame;
# classic shows that frame's picture; smooth first shows it moved part of the way at the
# next picture after that frame.
#
# Usage: bench/motion.sh ZORBO DATA-DIR FLOOR [SECONDS] [RECORDINGS-DIR]
#   FLOOR is the floor program, built from ../shared/floor/floor.cpp:
#   g++ -std=c++20 -O2 floor.cpp -o floor $(pkg-config --cflags --libs sdl2)
set -eu
zorbo=$(realpath "$1") data=$(realpath "$2") floor=$(realpath "$3")
seconds=${4:-10}
recordings=${5:-$(dirname "$0")/../tests/data}
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
. "$(dirname "$0")/../tests/e2e/display.sh"
start_display

# cpu COMMAND...: runs it, prints its user + system seconds.
cpu() {
  local TIMEFORMAT='%U %S'
  { time "$@" > /dev/null 2>&1; } 2> "$work/time"
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}

# Pictures per second, median and p99 interval (ms) of a frame log.
intervals() {
  awk 'NR > 1 { print $1 - last } { last = $1 }' "$1" | sort -n > "$work/iv"
  awk -v n="$(wc -l < "$work/iv")" -v first="$(head -1 "$1" | cut -d' ' -f1)" \
      -v last="$(tail -1 "$1" | cut -d' ' -f1)" '
    NR == int((n + 1) / 2) { median = $1 }
    NR == int(n * 0.99 + 0.5) { p99 = $1 }
    END { printf "%5.1f pictures/s  median %4.1f ms  p99 %4.1f ms", n / ((last - first) / 1000), median, p99 }' "$work/iv"
}

# The mean delay (ms) from a press at an evenly spread time to the first picture showing
# the frame that reads it: in classic that frame's picture, in smooth the first picture
# of that frame blended part of the way (fraction above 0) or shown whole.
press_delay() {
  awk '
    { t[NR] = $1; f[NR] = $2; x[NR] = $3 + 0; if (!($2 in arrived)) arrived[$2] = $1 }
    END {
      n = 0; sum = 0
      for (press = t[1] + 100; press < t[NR] - 200; press += 7) {
        k = 0
        for (i = 1; i <= NR; i++) if (arrived[f[i]] > press) { k = f[i]; break }
        if (!k) continue
        for (i = 1; i <= NR; i++) if (f[i] >= k && (x[i] > 0 || f[i] > k || smooth == 0)) break
        if (i > NR) continue
        sum += t[i] - press; n++
      }
      printf "%.1f", n ? sum / n : -1
    }' smooth="$2" "$1"
}

printf '%-10s %-7s %s\n' difficulty motion 'pictures, intervals, CPU against the floor, press-to-picture delay'
for difficulty in easy normal difficult crazy; do
  rec="$recordings/standard-$difficulty.rec"
  fps=$(awk '$1 == "difficulty" { print $2 }' "$rec")
  frames=$(( fps * seconds ))
  for motion in smooth classic; do
    rate=$([ $motion = smooth ] && echo 60 || echo "$fps")
    game=0 floors=0
    for run in 1 2 3; do
      g=$(cpu "$zorbo" --data "$data" --play "$rec" --screen 640x480 --no-sound --motion $motion \
            --quit-after-frames $frames --frame-log "$work/$motion-$run.log")
      f=$(cpu "$floor" --fps "$rate" --secs "$seconds" --640)
      game=$(awk -v a="$game" -v b="$g" 'BEGIN { print a + b }')
      floors=$(awk -v a="$floors" -v b="$f" 'BEGIN { print a + b }')
    done
    [ -s "$work/$motion-1.log" ] || fail "no frame log from $zorbo"
    printf '%-10s %-7s %s  cpu %.2f s vs floor@%d %.2f s = %.2fx  press %s ms\n' $difficulty $motion \
      "$(intervals "$work/$motion-1.log")" "$(awk -v g="$game" 'BEGIN { print g / 3 }')" "$rate" \
      "$(awk -v f="$floors" 'BEGIN { print f / 3 }')" "$(awk -v g="$game" -v f="$floors" 'BEGIN { print g / f }')" \
      "$(press_delay "$work/$motion-1.log" $([ $motion = smooth ] && echo 1 || echo 0))"
  done
done

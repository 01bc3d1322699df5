#!/bin/sh
# Start-up beside the floor: the game (settings on the command line, so no launcher) and
# the minimal SDL program each open a 640x480 window, present one frame and exit. They run
# in turn, so a machine that slows down or speeds up meanwhile moves both alike; the
# medians of wall time and peak memory (max RSS) and their ratios are printed.
#
#   bench/startup.sh ZORBO DATA_DIR FLOOR [RUNS]
#
# FLOOR is the built floor program (../shared/floor/floor.cpp; its README says how to build
# it). Without DISPLAY a virtual X server is started for the run.
set -eu

if [ $# -lt 3 ]; then
    echo "usage: $0 ZORBO DATA_DIR FLOOR [RUNS]" >&2
    exit 2
fi
zorbo=$1
data=$2
floor=$3
runs=${4:-15}
work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
    display=:$((90 + $$ % 100))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display
    sleep 1
fi

# One run: "wall_seconds max_rss_kb" appended to a file.
measure() {
    out=$1
    shift
    /usr/bin/time -f '%e %M' -a -o "$out" "$@" >/dev/null 2>&1
}

# A first run of each, not counted, fills the file caches for both.
measure "$work/warm" "$zorbo" --data "$data" --level 1 --quit-after-frames 1
measure "$work/warm" "$floor" --secs 0.001 --640
i=0
while [ "$i" -lt "$runs" ]; do
    measure "$work/game" "$zorbo" --data "$data" --level 1 --quit-after-frames 1
    measure "$work/floor" "$floor" --secs 0.001 --640
    i=$((i + 1))
done

median() { # column of a file
    sort -n -k "$2" "$1" | awk -v c="$2" '{v[NR] = $c} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
gameWall=$(median "$work/game" 1)
floorWall=$(median "$work/floor" 1)
gameRss=$(median "$work/game" 2)
floorRss=$(median "$work/floor" 2)
awk -v gw="$gameWall" -v fw="$floorWall" -v gr="$gameRss" -v fr="$floorRss" -v n="$runs" 'BEGIN {
    printf "runs %d each, medians\n", n
    printf "wall   game %.3f s   floor %.3f s   ratio %.2f\n", gw, fw, gw / fw
    printf "peak   game %.1f MB  floor %.1f MB  ratio %.2f  difference %.1f MB\n",
        gr / 1024, fr / 1024, gr / fr, (gr - fr) / 1024
}'

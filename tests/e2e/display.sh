# Sourced by the window tests: a virtual display of their own (its server is $xvfb_pid,
# DISPLAY is set) and the dummy sound driver. Xvfb picks a free number and reports it; it
# does not reset when its last client leaves, since a program started during a reset
# finds no display. Needs fail() and $work (a temporary folder) from the caller.
start_display() {
  local file
  file=$(mktemp)
  exec 3> "$file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
  [ -s "$file" ] || { rm -f "$file"; fail "no virtual display"; }
  export DISPLAY=:$(head -1 "$file")
  rm -f "$file"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  xdotool getdisplaygeometry >/dev/null 2>&1 || fail "no virtual display"
  export SDL_AUDIODRIVER=dummy
  # The programs keep their settings, progress and level sets in the test's own folder, never
  # the player's.
  export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data" HOME="$work/home"
}

# Prints the visible window that `xdotool search --onlyvisible ARGS...` finds once the same
# one has stood for half a second, or nothing after 20 s. SDL may re-create a window for its
# drawing context, and X may hand the new one an id just freed, so the first window seen
# can vanish under a test that holds it.
settled_window() {
  local w
  for _ in $(seq 40); do
    w=$(xdotool search --onlyvisible "$@" 2>/dev/null | tail -1)
    sleep 0.5
    [ -n "$w" ] && [ "$(xdotool search --onlyvisible "$@" 2>/dev/null | tail -1)" = "$w" ] &&
      xdotool getwindowgeometry "$w" >/dev/null 2>&1 && { echo "$w"; return 0; }
  done
  return 1
}

# Presses Escape in window $1. A program that ends on the press can be gone before xdotool
# sends the release, which then fails and leaves the key held on the display, where the
# next program started finds it held; so the key is let go on the display itself too.
escape_in() {
  xdotool key --window "$1" Escape
  xdotool keyup Escape 2>/dev/null
  true
}

# Presses Escape in the game's window $wid and waits for the game ($pid) to end with
# status 0; clears pid so the caller's clean-up leaves it alone.
quit_with_escape() {
  kill -0 $pid 2>/dev/null || fail "the game ended: $(cat "$work/out")"
  escape_in $wid
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "escape did not end the game"
  wait $pid || fail "the game's exit status was $?"
  pid=""
}

# Exits 77 (skipped) when there is no window manager to test under.
need_window_manager() {
  if ! command -v openbox >/dev/null; then
    echo "SKIP: openbox is not installed (scripts/setup.sh installs it), so there is no window manager to test under"
    exit 77
  fi
  command -v xprop >/dev/null || fail "xprop (x11-utils) is not installed"
}

# Starts openbox on the display (its process is $wm_pid) and waits until it manages: it
# names its check window on the root window.
start_window_manager() {
  openbox --sm-disable > "$work/wm" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  fail "openbox did not start: $(cat "$work/wm")"
}

# Starts the game with ARGS (its output in $work/out), and sets $pid and $wid to it and
# its window once that stands, focused.
start_game() {
  "$zorbo" "$@" > "$work/out" 2>&1 &
  pid=$!
  wid=$(settled_window --pid $pid)
  [ -n "$wid" ] || fail "no game window: $(cat "$work/out")"
  xdotool windowfocus --sync $wid 2>/dev/null
  sleep 0.5
}

# The game window $wid's place and size: "X,Y WxH".
geometry() { xdotool getwindowgeometry $wid | sed -n 's/.*Position: \([0-9-]*,[0-9-]*\).*/\1/p; s/.*Geometry: //p' | paste -sd ' '; }

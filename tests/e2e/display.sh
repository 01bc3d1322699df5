# Sourced by the window tests: a virtual display of their own on the first free number
# from FIRST (its server is $xvfb_pid; DISPLAY is set), with the dummy sound driver.
# Usage: start_display FIRST   (needs fail() from the caller)
start_display() {
  local n
  for n in $(seq "$1" $(($1 + 39))); do
    [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    kill $xvfb_pid 2>/dev/null
  done
  xdotool getdisplaygeometry >/dev/null 2>&1 || fail "no virtual display"
  export SDL_AUDIODRIVER=dummy
}

# Xvfb for whatever plays the intro with no display of its own: the
# screenshot, the benchmarks, the whole-program tests. start_xvfb starts one on
# a display it picks itself, so that runs side by side never meet, with the
# screen given (by default the intro's own 640x480x24, which puts the picture
# at (0, 0)); exports DISPLAY and leaves the server's process id in $xvfb for
# the caller's clean-up. await_window TITLE SECONDS waits up to that long for
# a window titled so; await_exit SECONDS for the program $pid to end.
start_xvfb() {
   local number
   number=$(mktemp)
   Xvfb -displayfd 3 -screen 0 "${1:-640x480x24}" -nolisten tcp 3>"$number" 2>/dev/null &
   xvfb=$!
   for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
   DISPLAY=:$(cat "$number")
   export DISPLAY
   rm -f "$number"
   [ "$DISPLAY" != : ] || { echo "Xvfb did not start" >&2; return 1; }
}

await_window() {
   for _ in $(seq $(($2 * 10))); do
      xdotool search --name "$1" >/dev/null 2>&1 && return
      sleep 0.1
   done
   return 1
}

# $status is its exit status, or "running" (and it is killed).
await_exit() {
   for _ in $(seq $(($1 * 10))); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
   if kill -0 $pid 2>/dev/null; then status=running; kill -9 $pid; wait $pid 2>/dev/null
   else wait $pid; status=$?; fi
}

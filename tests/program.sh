#!/bin/bash
# The whole intro under Xvfb: a screenshot a few seconds in shows the logo and
# the caption in the expected greys, a key ends it with status 0, and it fails
# cleanly, with its message and status 1, with no display and with its data
# stripped off.
#
#    program.sh INTRO SHOTCHECK EXEDAT WORKDIR
set -u
intro=$1 shotcheck=$2 exedat=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
failures=0
xvfb=
timeout=$(command -v timeout)

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

cleanup() {
   [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
   pkill -P $$ 2>/dev/null
   return 0
}
trap cleanup EXIT

# Xvfb picks a free display and tells us which; the screen is the intro's size
# so the picture sits at (0, 0).
Xvfb -displayfd 4 -screen 0 640x480x24 -nolisten tcp 4>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
display=:$(cat "$work/display")

# Waits up to $2 tenths of a second for pid $1; sets status, or "running".
waitfor() {
   status=running
   for _ in $(seq "$2"); do
      if ! kill -0 "$1" 2>/dev/null; then
         wait "$1"
         status=$?
         return
      fi
      sleep 0.1
   done
}

# --- a screenshot three seconds in, then a key --------------------------------
DISPLAY=$display "$intro" >"$work/run.out" 2>"$work/run.err" &
pid=$!
sleep 3
DISPLAY=$display xwd -root -silent -out "$work/shot.xwd"
if "$shotcheck" "$work/shot.xwd"; then
   pass "the picture three seconds in"
else
   fail "the picture three seconds in"
fi
if DISPLAY=$display xdotool search --name "quib's vintara intro 1" >/dev/null; then
   pass "the window title"
else
   fail "no window titled \"quib's vintara intro 1\""
fi
DISPLAY=$display xdotool key space
waitfor $pid 50
if [ "$status" = 0 ]; then
   pass "a key ends it with status 0"
else
   fail "after a key: status $status"
   kill $pid 2>/dev/null
   cat "$work/run.err"
fi

# --- no display --------------------------------------------------------------
env -u DISPLAY "$timeout" 20 "$intro" >"$work/nodisplay.out" 2>"$work/nodisplay.err"
status=$?
if [ $status = 1 ] &&
   [ "$(head -1 "$work/nodisplay.err")" = "unable to set any graphic mode" ] &&
   [ -n "$(sed -n 2p "$work/nodisplay.err")" ]; then
   pass "no display: status 1, \"$(sed -n 2p "$work/nodisplay.err")\""
else
   fail "no display: status $status, stderr:"
   cat "$work/nodisplay.err"
fi

# --- data stripped off -------------------------------------------------------
# With no xmessage on the PATH the library prints the message instead of
# opening a box that waits to be closed.
cp "$intro" "$work/stripped"
"$exedat" -d "$work/stripped" >/dev/null
DISPLAY=$display PATH=/nonexistent "$timeout" 20 "$work/stripped" \
   >"$work/stripped.out" 2>"$work/stripped.err"
status=$?
if [ $status = 1 ] && grep -q "missing or unreadable" "$work/stripped.out"; then
   pass "data stripped: status 1, \"$(tail -1 "$work/stripped.out")\""
else
   fail "data stripped: status $status, output:"
   cat "$work/stripped.out" "$work/stripped.err"
fi

[ $failures = 0 ]

#!/bin/bash
# The whole intro under Xvfb: within seconds the background decays to black,
# the logo rests at intensity 10 (#282828) and the caption is held at 60
# (#F3F3F3); a key ends it with status 0; SIGINT while playing and SIGTERM in
# a start-up that waits on the display end it within a second and give the
# keyboard back; in a window, the close button ends it
# with status 0; with no display, and with its data stripped off, it ends with
# its message and status 1. Every wait polls up to a deadline.
#
#    program.sh INTRO EXEDAT XHELPER WORKDIR
set -u
. "$(dirname "$0")/lib.sh"
intro=$1 exedat=$2 xhelper=$3 work=$4 timeout=$(command -v timeout)
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null' EXIT

title="quib's vintara intro 1"
"$intro" >run.out 2>&1 &
pid=$!
await_picture 0 0 30
check "the resting logo, the held caption, the window title" \
   'logo_rows_ok && caption_ok && xdotool search --name "$title" >/dev/null'
xdotool key space
await_exit 10
check "a key ends it with status 0" '[ $status = 0 ]'

# SIGINT while playing (the mode set, the keyboard grabbed), SIGTERM in a
# start-up that waits on a silent display (the server stopped once the intro
# has connected): either ends it within a second, by the signal, without the
# library's own handler, and gives the keyboard and the display back.
"$intro" >signal.out 2>&1 &
pid=$!
await_picture 0 0 30
"$xhelper" grab >grab.out
kill -INT $pid
await_exit 1
check "SIGINT while playing: status 130 within a second, keyboard given back" \
   '[ "$(cat grab.out)" = "keyboard held elsewhere" ] && [ $status = 130 ] && "$xhelper" grab >/dev/null'
kill -STOP $xvfb
"$intro" >slow.out 2>&1 &
pid=$!
for _ in $(seq 100); do ls -l /proc/$pid/fd 2>/dev/null | grep -q socket: && break; sleep 0.02; done
kill -TERM $pid
await_exit 1
kill -CONT $xvfb
check "SIGTERM in a start-up waiting on the display: status 143 within a second" \
   '[ $status = 143 ] && ! grep -q "Shutting down" slow.out && "$xhelper" grab >/dev/null'

# Another program holding the keyboard keeps the intro out of full screen.
"$xhelper" hold 60 >hold.out &
hold=$!
for _ in $(seq 300); do [ -s hold.out ] || ! kill -0 $hold 2>/dev/null && break; sleep 0.1; done
"$intro" >window.out 2>&1 &
pid=$!
# once its picture is up the mode is chosen, and the keyboard can be let go
await_picture 0 0 30
kill $hold
wait $hold
check "in a window when the full screen cannot be had" \
   '[ "$(cat hold.out)" = held ] && "$xhelper" grab >/dev/null'
"$xhelper" close "$(xdotool search --name "^$title\$" | head -1)"
await_exit 10
check "the close button ends it with status 0" '[ $status = 0 ]'

env -u DISPLAY "$timeout" 20 "$intro" >nodisplay.out 2>nodisplay.err
check "no display: status 1 and the message" \
   '[ $? = 1 ] && [ "$(head -1 nodisplay.err)" = "unable to set any graphic mode" ] &&
    grep -q "no display could be opened" nodisplay.err'

# With no xmessage on the PATH the library prints its message instead of
# opening a box that waits to be closed.
cp "$intro" stripped && "$exedat" -d stripped >/dev/null
PATH=/nonexistent "$timeout" 20 ./stripped >stripped.out 2>&1
check "data stripped: status 1 and the message" \
   '[ $? = 1 ] && grep -q "no data file is attached to the end of this program" stripped.out'

cat logo.txt caption.txt nodisplay.err stripped.out
[ $failures = 0 ]

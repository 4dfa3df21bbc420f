#!/bin/bash
# The whole intro under Xvfb. Within seconds the background decays to black,
# the logo rests at intensity 10 (#282828) and the caption is held at 60
# (#F3F3F3); a key ends it with status 0. It plays so from wherever it is put:
# folders named in other languages or not in UTF-8 at all, with spaces and
# '#', a path of 2,000 bytes, under the C locale; the capture tool reads it
# there too. SIGINT while playing and SIGTERM in a start-up that waits on the
# display end it within a second, without the library's own handler, and give
# the keyboard back; in a window, the close button ends it with status 0. With
# no display, or with its data stripped off, it ends with its message and
# status 1, and when its display goes away it says so and ends within a
# second. Built with ThreadSanitizer, none of it may report a race.
#
#    program.sh INTRO INTRO-CAPTURE EXEDAT XHELPER WORKDIR
set -u
. "$(dirname "$0")/../common/lib.sh"
intro=$1 capture=$2 exedat=$3 xhelper=$4 work=$5 timeout=$(command -v timeout)
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null' EXIT
title="quib's vintara intro 1"

plays intro "$intro"

# Folders a user may have: the library alone misread all but the ASCII ones.
long=$PWD/long
while [ ${#long} -lt 1994 ]; do long+=/$(printf '%0100d' 0); done
hashes=$("$capture" --data "$intro" --to 3 --hash 2>/dev/null)
for dir in "ü" "Загрузки" "数据" $'not-utf-8-\xff\xfe' "sp ace#hash" "$long"; do
   mkdir -p "$dir" && cp "$intro" "$dir/intro"
   name="$(printf %q "$dir")/intro"
   [ ${#dir} -lt 100 ] || name="a path of $((${#dir} + 6)) bytes"
   plays "$name, in the C locale" env LANG=C LC_ALL=C "$dir/intro"
   check "$name: the capture tool reads it, TMPDIR there" \
      '[ "$(TMPDIR=$dir LANG=C "$capture" --data "$dir/intro" --to 3 --hash)" = "$hashes" ]'
done

# SIGINT while playing (the mode set, the keyboard grabbed), SIGTERM in a
# start-up that waits on a silent display (the server stopped once the intro
# has connected): either ends it within a second, by the signal, without the
# library's own handler, and gives the keyboard and the display back.
"$intro" >signal.out 2>&1 &
pid=$!
await_picture 0 0 30
xdotool search --name "^$title\$" >window.txt
"$xhelper" grab >grab.out
kill -INT $pid
await_exit 1
check "SIGINT while playing: status 130 within a second, the keyboard given back" \
   '[ -s window.txt ] && [ "$(cat grab.out)" = "keyboard held elsewhere" ] && [ $status = 130 ] &&
    "$xhelper" grab >/dev/null'
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
"$xhelper" hold >hold.out &
hold=$!
for _ in $(seq 300); do [ -s hold.out ] || ! kill -0 $hold 2>/dev/null && break; sleep 0.1; done
"$intro" >window.out 2>&1 &
pid=$!
# once its picture is up the mode is chosen, and the keyboard can be let go
await_picture 0 0 30
kill $hold
wait $hold
"$xhelper" close "$(xdotool search --name "^$title\$" | head -1)"
await_exit 10
check "in a window, when the full screen cannot be had, the close button ends it with status 0" \
   '[ "$(cat hold.out)" = held ] && [ $status = 0 ]' || tail -3 hold.out window.out

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

# The X server ended under it, as at a logout.
server=$xvfb
start_xvfb || exit 1
"$intro" >lost.out 2>lost.err &
pid=$!
await_picture 0 0 30
kill $xvfb
await_exit 1
xvfb=$server
check "the display gone: its message and status 1 within a second" \
   '[ $status = 1 ] && grep -qx "the display went away, so the intro ends" lost.err'

[ -z "${TSAN_OPTIONS:-}" ] ||
   check "ThreadSanitizer reports no race" '! grep -l "WARNING: ThreadSanitizer" ./*.out ./*.err'
echo "$passes passed, $failures failed"
[ $failures = 0 ]

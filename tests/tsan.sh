#!/bin/bash
# The whole intro, built with ThreadSanitizer, plays under Xvfb until its
# picture is up and for four seconds more, and ends on a key: the tick counter
# the timer thread shares with the loop must raise no report. The library itself is not instrumented; calls
# made from inside it are suppressed.
#
#    tsan.sh INTRO SUPPRESSIONS WORKDIR
set -u
. "$(dirname "$0")/lib.sh"
intro=$1 suppressions=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null' EXIT

TSAN_OPTIONS="suppressions='$suppressions' halt_on_error=0 exitcode=66" "$intro" >run.out 2>&1 &
pid=$!
await_picture 0 0 60
sleep 4  # frames played with the timer thread running: the time is the test
xdotool key space
await_exit 10
cat run.out
echo "status $status, $(grep -c 'WARNING: ThreadSanitizer' run.out) reports"
[ $status = 0 ] && ! grep -q "WARNING: ThreadSanitizer" run.out

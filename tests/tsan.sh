#!/bin/bash
# The whole intro, built with ThreadSanitizer, plays for four seconds under
# Xvfb and ends on a key: the tick counter the timer thread shares with the
# loop must raise no report. The library itself is not instrumented; calls
# made from inside it are suppressed.
#
#    tsan.sh INTRO SUPPRESSIONS WORKDIR
set -u
. "$(dirname "$0")/../scripts/xvfb.sh"
intro=$1 suppressions=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null' EXIT

TSAN_OPTIONS="suppressions=$suppressions halt_on_error=0 exitcode=66" "$intro" >run.out 2>&1 &
pid=$!
sleep 4
xdotool key space
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill $pid 2>/dev/null
wait $pid
status=$?
cat run.out
echo "status $status, $(grep -c 'WARNING: ThreadSanitizer' run.out) reports"
[ $status = 0 ] && ! grep -q "WARNING: ThreadSanitizer" run.out

#!/bin/bash
# Takes the README's screenshot: the built intro under Xvfb, five seconds in.
#
#    scripts/screenshot.sh [SECONDS] [OUT.png]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-5} out=${2:-docs/screenshot.png}
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
build/intro &
intro=$!
sleep "$seconds"
xwd -root -silent | convert xwd:- "$out"
xdotool key space
wait $intro
echo "wrote $out"

#!/bin/bash
# Takes the README's screenshot: the built intro under Xvfb, five seconds in.
#
#    scripts/screenshot.sh [SECONDS] [OUT.png]     (OUT from where it is run)
set -eu
seconds=${1:-5} out=$(realpath -m "${2:-$(dirname "$0")/../docs/screenshot.png}")
cd "$(dirname "$0")/.."
. shell/xvfb.sh
start_xvfb
trap 'kill $xvfb 2>/dev/null' EXIT
build/intro &
pid=$!
await_window "quib's vintara intro 1" 30
sleep "$seconds"  # the moment of the picture, counted from its window
xwd -root -silent | convert xwd:- "$out"
xdotool key space
await_exit 10
echo "wrote $out"

#!/bin/bash
# Takes the README's screenshot: the built intro under Xvfb, five seconds in.
#
#    scripts/screenshot.sh [SECONDS] [OUT.png]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-5} out=${2:-docs/screenshot.png}
. scripts/xvfb.sh
start_xvfb
trap 'kill $xvfb 2>/dev/null' EXIT
build/intro &
intro=$!
sleep "$seconds"
xwd -root -silent | convert xwd:- "$out"
xdotool key space
wait $intro
echo "wrote $out"

#!/bin/bash
# Takes the README's screenshot: the intro under Xvfb, five seconds in.
# Installs what is missing and builds the intro first.
#
#    scripts/screenshot.sh [SECONDS] [OUT.png]     (OUT from where it is run)
set -eu
seconds=${1:-5} out=$(realpath -m "${2:-$(dirname "$0")/../docs/screenshot.png}")
cd "$(dirname "$0")/.."
. shell/packages.sh
. shell/xvfb.sh
need_packages "${build_packages[@]}" xvfb xdotool x11-apps imagemagick
cmake -S . -B build >/dev/null
cmake --build build --parallel --target intro >/dev/null
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

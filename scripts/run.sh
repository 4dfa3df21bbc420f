#!/bin/bash
# Installs what is missing, builds the intro and runs it; any key ends it. With
# no display to run on, it writes a capture of the first seconds instead.
set -eu
cd "$(dirname "$0")/.."
. shell/packages.sh
need_packages "${build_packages[@]}"
cmake -S . -B build >/dev/null
cmake --build build --parallel --target intro intro-capture
if [ -z "${DISPLAY:-}" ]; then
   out=build/capture
   echo "There is no display (DISPLAY is not set), so here is a capture of the first ten"
   echo "seconds instead: one PNG a frame in $PWD/$out/,"
   echo "and every half second on $PWD/$out/sheet.png."
   rm -rf "$out"
   build/intro-capture --seconds 10 --frames "$out"
   exec build/intro-capture --seconds 10 --every 30 --sheet "$out/sheet.png" --columns 5
fi
exec build/intro

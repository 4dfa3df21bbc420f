#!/bin/bash
# Installs what is missing, builds the intro and runs it. Any key ends it.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
need_packages "${build_packages[@]}"
cmake -S . -B build -DBUILD_TESTING=OFF >/dev/null
cmake --build build --parallel --target intro
exec build/intro

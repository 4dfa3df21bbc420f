#!/bin/bash
# A day of frames: 5,184,000 frames (24 hours at 60 Hz) of the intro, headless,
# in the build with AddressSanitizer and UndefinedBehaviorSanitizer, every
# frame checked. Takes some ten minutes; not part of the test command.
#
#    bash scripts/day.sh [FRAMES]
set -eu
cd "$(dirname "$0")/.."
. shell/packages.sh
need_packages "${build_packages[@]}" libgtest-dev libfreetype-dev
cmake -S . -B build-asan -DINTRO_SANITIZE=address,undefined >/dev/null
cmake --build build-asan --parallel --target intro_tests
INTRO_FRAMES=${1:-5184000} build-asan/tests/intro_tests --gtest_filter='Day.*'

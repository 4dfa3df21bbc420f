#!/bin/bash
# Installs what is missing, builds the intro and its tests and runs every test:
# through CTest the headless ones, the whole program under Xvfb (which the
# tests start themselves), valgrind over a capture and the new machines with
# the Debian package; the headless tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the whole program under ThreadSanitizer;
# the Windows build under Wine; the browser build in Chromium; and a release,
# made and checked.
set -eu
cd "$(dirname "$0")/.."
. shell/packages.sh
need_packages "${build_packages[@]}" "${test_packages[@]}"
# the fresh-machine test's debootstrap, and lintian for the package it makes
need_packages lintian debootstrap

cmake -S . -B build >/dev/null
cmake --build build --parallel
(cd build && ctest --output-on-failure --parallel 2)

cmake -S . -B build-asan -DINTRO_SANITIZE=address,undefined >/dev/null
cmake --build build-asan --parallel
(cd build-asan && ctest --output-on-failure --parallel 2 -L headless)

cmake -S . -B build-tsan -DINTRO_SANITIZE=thread >/dev/null
cmake --build build-tsan --parallel --target intro intro-capture xhelper
(cd build-tsan && ctest --output-on-failure -R '^program$')

# The Windows build, and the whole program under Wine.
bash scripts/windows.sh
need_packages "${windows_test_packages[@]}"
bash tests/windows/windows.sh build-windows "$(command -v exedat)" build-windows/test

# The browser build, its frames against the capture tool's, and the pages in Chromium.
bash scripts/web.sh
bash tests/web/web.sh build/intro-capture build-web build-web/test

# A whole release, made as a user would make it, then checked as one.
bash scripts/release.sh >build/release.log
bash tests/release/release.sh build/release build/release-test

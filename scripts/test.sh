#!/bin/bash
# Installs what is missing, builds the intro and its tests and runs every test
# through CTest: the headless ones and the whole program under Xvfb, which the
# test starts itself. Then builds the Windows intro and tests it under Wine.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
need_packages "${build_packages[@]}" libgtest-dev xvfb xdotool x11-apps imagemagick \
   libfreetype-dev fonts-dejavu-core
cmake -S . -B build -DBUILD_TESTING=ON >/dev/null
cmake --build build --parallel
(cd build && ctest --output-on-failure --parallel 2)

# The Windows build, and the whole program under Wine.
bash scripts/windows.sh
need_packages "${windows_test_packages[@]}"
bash tests/windows.sh build-windows "$(command -v exedat)" build-windows/test

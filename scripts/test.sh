#!/bin/bash
# Installs what is missing, builds the intro and its tests and runs every test
# through CTest: the headless ones and the whole program under Xvfb, which the
# test starts itself.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
need_packages "${build_packages[@]}" libgtest-dev xvfb xdotool x11-apps imagemagick \
   libfreetype-dev fonts-dejavu-core file
# the package test's: dpkg-shlibdeps for the dependencies, and lintian
need_packages dpkg-dev lintian
cmake -S . -B build >/dev/null
cmake --build build --parallel
cd build
ctest --output-on-failure --parallel 2

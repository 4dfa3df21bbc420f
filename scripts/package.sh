#!/bin/bash
# Installs what is missing, builds the intro and packs it as a Debian package
# in build/, then says how to install it.
set -eu
cd "$(dirname "$0")/.."
. shell/packages.sh
# cpack finds the programs with file
need_packages "${build_packages[@]}" file
cmake -S . -B build >/dev/null
cmake --build build --parallel
cpack -G DEB -B build --config build/CPackConfig.cmake
deb=$(ls -t build/vintara-intro_*.deb | head -1)
echo "Install it with:  sudo apt-get install $(printf %q "$PWD/$deb")"

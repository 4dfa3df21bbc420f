#!/bin/bash
# Builds the intro for 64-bit Windows on Debian 12 or 13: build-windows/intro.exe, a
# static executable with the data file attached. Installs what is missing, then
# builds the library once into build-windows/allegro/ (reused until the
# patches, the toolchain file or the options change): the upstream source from
# Debian's source package, checked against its known checksum, with our
# patches from patches/allegro/ applied. Then builds the program from the same
# sources as the Linux build. The data file is made by the Linux dat and
# attached by the Linux exedat, which both run natively here.
set -eu
cd "$(dirname "$0")/.."
. shell/packages.sh
. shell/allegro-source.sh
need_packages "${windows_build_packages[@]}"

toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
cache=$PWD/build-windows/allegro
prefix=$cache/prefix
options=(-DCMAKE_BUILD_TYPE=Release -DSHARED=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF
   -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF
   -DWANT_DOCS=OFF)

# What the built library depends on; a change to any of it rebuilds it.
key=$( (echo "$sha256 ${options[*]}"; cat "$toolchain" patches/allegro/*.patch) | sha256sum)
allegro_build "$cache" "$key" "$(echo patches/allegro/*.patch)" \
   cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${options[@]}" || exit 1

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
   -DALLEGRO_WINDOWS_PREFIX="$prefix" -DBUILD_TESTING=OFF >/dev/null
cmake --build build-windows --parallel

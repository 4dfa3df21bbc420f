#!/bin/bash
# Builds the intro for web browsers on Debian 12 or 13: build-web/site/ (index.html,
# its scripts, the WebAssembly and the data file) and build-web/vintara-intro.html,
# the same page in one file that plays opened from disk. Installs what is
# missing, then builds the library once with emscripten for its headless
# system into build-web/allegro/ (reused until the options or the compiler
# change), from the same checked upstream source as the Windows build. The
# intro's own sources are compiled as they are; the data file is the very one
# the native build attaches to the program (build/intro.dat).
set -eu
cd "$(dirname "$0")/.."
. shell/packages.sh
. shell/allegro-source.sh
need_packages "${build_packages[@]}"
need_packages --no-install-recommends "${web_build_packages[@]}"

# emcc runs "python3" from PATH, which may be a pyenv or virtualenv python
# without what it imports: Debian's own is the one it is packaged for.
export EMSDK_PYTHON=/usr/bin/python3
# Its optimizer needs Debian's acorn, which a node from elsewhere (NodeSource)
# does not look for.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

cache=$PWD/build-web/allegro
prefix=$cache/prefix
# Size before speed: a frame takes well under a millisecond either way. No
# drivers: the headless system draws into memory only.
options=(-DCMAKE_BUILD_TYPE=MinSizeRel -DSHARED=OFF -DRT_LIBRARY=c -DWANT_X11=OFF -DWANT_OSS=OFF
   -DWANT_ALSA=OFF -DWANT_JACK=OFF -DWANT_SGIAUDIO=OFF -DWANT_MODULES=OFF -DWANT_ALLEGROGL=OFF
   -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF
   -DWANT_TESTS=OFF -DWANT_DOCS=OFF)

# What the built library depends on; a change to any of it rebuilds it.
key=$( (echo "$sha256 ${options[*]}"; emcc --version | head -1) | sha256sum)
# RT_LIBRARY: the library looks for librt, which emscripten's C library includes
allegro_build "$cache" "$key" "" emcmake cmake "${options[@]}" || exit 1

# The data file, from the native build.
cmake -S . -B build >/dev/null
cmake --build build --parallel 2 --target content

emcmake cmake -S . -B build-web/cmake -DCMAKE_BUILD_TYPE=MinSizeRel -DALLEGRO_WEB_PREFIX="$prefix" \
   >/dev/null
cmake --build build-web/cmake --parallel 2

site=build-web/site
rm -rf "$site" && mkdir -p "$site"
cp web/pacing.js web/page.js build-web/cmake/web/index.html build-web/cmake/web/intro.js \
   build-web/cmake/web/intro.wasm build/intro.dat "$site/"
node web/onefile.js "$site" build-web/cmake/web/intro-single.js build-web/vintara-intro.html
echo "built $site/ and build-web/vintara-intro.html"

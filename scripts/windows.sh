#!/bin/bash
# Builds the intro for 64-bit Windows on Debian 12: build-windows/intro.exe, a
# static executable with the data file attached. Installs what is missing, then
# builds the library once into build-windows/allegro/ (reused until the
# patches, the toolchain file or the options change): the upstream source from
# Debian's source package, checked against its known checksum, with our
# patches from patches/allegro/ applied. Then builds the program from the same
# sources as the Linux build. The data file is made by the Linux dat and
# attached by the Linux exedat, which both run natively here.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
need_packages "${windows_build_packages[@]}"

version=4.4.3.1
tarball=allegro4.4_$version.orig.tar.gz
sha256=ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
cache=$PWD/build-windows/allegro
prefix=$cache/prefix
options=(-DCMAKE_BUILD_TYPE=Release -DSHARED=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF
   -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF
   -DWANT_DOCS=OFF)

# Fetches the upstream tarball through apt from the archive that supplied the
# Linux library, with a source list of our own: the machine's apt setup is
# left as it is, and no Debian packaging is downloaded.
fetch_source() {
   local apt=$cache/apt archive
   archive=$(apt-cache policy liballegro4-dev |
      awk '$1 ~ /^[0-9]+$/ && $2 ~ /^[a-z]+:\/\// { print $2, $3; exit }')
   if [ -z "$archive" ]; then
      echo "windows.sh: no Debian archive supplies liballegro4-dev; cannot fetch its source" >&2
      return 1
   fi
   set -- $archive  # URI and suite/component, e.g. bookworm/main
   mkdir -p "$apt/lists/partial" "$apt/cache"
   echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $1 ${2%%/*} ${2#*/}" \
      >"$apt/sources.list"
   local opts=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/none"
      -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache"
      -o APT::Sandbox::User="$(id -un)")
   apt-get "${opts[@]}" -qq update
   local uri
   uri=$(apt-get "${opts[@]}" -qq source --print-uris allegro4.4 2>/dev/null |
      awk -v f="$tarball" '$2 == f { gsub("\047", "", $1); print $1 }')
   if [ -z "$uri" ]; then
      echo "windows.sh: the archive's allegro4.4 source package has no $tarball" >&2
      return 1
   fi
   /usr/lib/apt/apt-helper -o APT::Sandbox::User="$(id -un)" download-file "$uri" \
      "$cache/$tarball.part" "SHA256:$sha256" >/dev/null
   mv "$cache/$tarball.part" "$cache/$tarball"
   rm -rf "$apt"  # 20 MB of source lists, needed only for this
}

# What the built library depends on; a change to any of it rebuilds it.
key=$( (echo "$sha256 ${options[*]}"; cat "$toolchain" patches/allegro/*.patch) | sha256sum)
if [ "$(cat "$prefix/built" 2>/dev/null)" != "$key" ]; then
   mkdir -p "$cache"
   # the checksum is ours, pinned: apt checks the archive's, this checks it is the one we patched
   if ! echo "$sha256  $cache/$tarball" | sha256sum -c --status 2>/dev/null; then
      echo "fetching the library source ($tarball)"
      fetch_source
      if ! echo "$sha256  $cache/$tarball" | sha256sum -c --status; then
         echo "windows.sh: $tarball does not have the expected SHA-256 $sha256" >&2
         exit 1
      fi
   fi
   echo "building the library for Windows (log: $cache/build.log)"
   rm -rf "$cache/src" "$cache/build" "$prefix"
   mkdir -p "$cache/src"
   tar -xzf "$cache/$tarball" -C "$cache/src" --strip-components=1
   for patch in patches/allegro/*.patch; do
      patch -p1 -s -N -d "$cache/src" <"$patch"
   done
   if ! { cmake -S "$cache/src" -B "$cache/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
             -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" -Wno-dev &&
          cmake --build "$cache/build" --parallel &&
          cmake --install "$cache/build"; } >"$cache/build.log" 2>&1; then
      tail -30 "$cache/build.log" >&2
      echo "windows.sh: building the library failed; the whole log is $cache/build.log" >&2
      exit 1
   fi
   # written last, so an interrupted build is done again
   echo "$key" >"$prefix/built"
   rm -rf "$cache/src" "$cache/build"
fi

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
   -DALLEGRO_WINDOWS_PREFIX="$prefix" -DBUILD_TESTING=OFF >/dev/null
cmake --build build-windows --parallel

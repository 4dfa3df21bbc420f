# The library's upstream source, for the builds that make their own library
# (Windows, the browser): the 4.4.3.1 tarball from Debian's allegro4.4 source
# package, fetched with apt through a source list of our own (the machine's
# apt setup is left alone, and no Debian packaging is downloaded) and checked
# against its pinned SHA-256. Sourced; allegro_source DIR leaves the checked
# tarball at DIR/$tarball, fetching it only when it is not there yet, and
# allegro_build builds the library from it once for each set of inputs.
allegro_version=4.4.3.1
tarball=allegro4.4_$allegro_version.orig.tar.gz
sha256=ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4

# Fetches the tarball into $1 from the archive that supplied the Linux library.
fetch_source() {
   local cache=$1 apt=$1/apt archive  # absolute: apt reads relative paths under /etc/apt
   archive=$(apt-cache policy liballegro4-dev |
      awk '$1 ~ /^[0-9]+$/ && $2 ~ /^[a-z]+:\/\// { print $2, $3; exit }')
   if [ -z "$archive" ]; then
      echo "$(basename "$0"): no Debian archive supplies liballegro4-dev; cannot fetch its source" >&2
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
      echo "$(basename "$0"): the archive's allegro4.4 source package has no $tarball" >&2
      return 1
   fi
   /usr/lib/apt/apt-helper -o APT::Sandbox::User="$(id -un)" download-file "$uri" \
      "$cache/$tarball.part" "SHA256:$sha256" >/dev/null
   mv "$cache/$tarball.part" "$cache/$tarball"
   rm -rf "$apt"  # 20 MB of source lists, needed only for this
}

allegro_source() {
   local cache
   cache=$(realpath -m "$1")
   mkdir -p "$cache"
   # the checksum is ours, pinned: apt checks the archive's, this checks it is the one our builds are made from
   echo "$sha256  $cache/$tarball" | sha256sum -c --status 2>/dev/null && return 0
   echo "fetching the library source ($tarball)"
   fetch_source "$cache" || return 1
   if ! echo "$sha256  $cache/$tarball" | sha256sum -c --status; then
      echo "$(basename "$0"): $tarball does not have the expected SHA-256 $sha256" >&2
      return 1
   fi
}

# Builds the library into DIR/prefix unless it was built there for KEY (a hash
# of everything the build depends on): unpacks the checked source, applies
# the patches named, then configures with the command given, which gets the
# source, build and install folders added, builds and installs.
#
#    allegro_build DIR KEY "PATCH..." CONFIGURE-COMMAND...
allegro_build() {
   local cache=$1 key=$2 patches=$3 patch
   shift 3
   [ "$(cat "$cache/prefix/built" 2>/dev/null)" != "$key" ] || return 0
   allegro_source "$cache" || return 1
   echo "building the library (log: $cache/build.log)"
   rm -rf "$cache/src" "$cache/build" "$cache/prefix"
   mkdir -p "$cache/src"
   tar -xzf "$cache/$tarball" -C "$cache/src" --strip-components=1
   for patch in $patches; do
      patch -p1 -s -N -d "$cache/src" <"$patch"
   done
   if ! { "$@" -S "$cache/src" -B "$cache/build" -DCMAKE_INSTALL_PREFIX="$cache/prefix" -Wno-dev &&
          cmake --build "$cache/build" --parallel 2 &&
          cmake --install "$cache/build"; } >"$cache/build.log" 2>&1; then
      tail -30 "$cache/build.log" >&2
      echo "$(basename "$0"): building the library failed; the whole log is $cache/build.log" >&2
      return 1
   fi
   # written last, so an interrupted build is done again
   echo "$key" >"$cache/prefix/built"
   rm -rf "$cache/src" "$cache/build"
}

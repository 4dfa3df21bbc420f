#!/bin/bash
# New users' first commands on new machines, Debian 12 (bookworm) and 13
# (trixie): for each, a minimal root (debootstrap --variant=minbase) from the
# archive this machine's apt sources name, the project cloned into it at HEAD
# (committed files only) under a path with a space, and in it, with nothing
# installed beyond the base system and no DISPLAY, each command run from
# another folder:
#  - the run command writes a capture and its contact sheet;
#  - with what the test command installs, the headless suites and the whole
#    program's pass (the latter on an Xvfb of their own);
#  - the package command packs a .deb that apt-get installs; the installed
#    capture tool renders the built pair's frames from the installed intro,
#    which plays on this machine's Xvfb until a key; apt-get purge removes it.
# On Debian 12 the package also passes lintian with the library's package
# among its dependencies, and a second clone in another folder packs
# byte-identical programs and .deb. Each root is kept as a tarball in CACHE
# (and the packages it downloaded beside it), so that a rerun skips
# debootstrap and the downloads. Everything a root needs mounted is mounted
# in a private mount namespace that ends with the commands. A release whose
# archive cannot be reached is said to be skipped, never passed; status 77
# (skipped) where debootstrap cannot run at all.
#
#    fresh.sh CHECKOUT WORKDIR [CACHE]
set -u
. "$(dirname "$0")/../common/lib.sh"
checkout=$(realpath "$1") work=$(realpath -m "$2") cache=${3:-/var/cache/vintara-intro}
commit=$(git -C "$checkout" rev-parse HEAD)  # every clone takes this one
skipped=0
skip() { echo "SKIPPED: $*"; echo "0 passed, 0 failed, 1 skipped"; exit 77; }
[ "$(id -u)" = 0 ] || skip "making a root with debootstrap needs root"
command -v debootstrap >/dev/null || skip "no debootstrap (apt-get install debootstrap)"
unshare --mount --propagation private true 2>/dev/null ||
   skip "no private mount namespace here (inside a chroot, / is no mount point)"
mkdir -p "$cache" "$work" && cd "$work" || exit 1
start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null; rm -rf --one-file-system "$work"/{bookworm,trixie}' EXIT

# The Debian archive apt names (asking for its lists if there are none yet):
# both releases come from it.
archive() {
   apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' 'Origin: Debian' \
      'Label: Debian' 'Component: main' | head -1
}
mirror=$(archive)
[ -n "$mirror" ] || { apt-get update -qq >/dev/null 2>&1; mirror=$(archive); }
[ -n "$mirror" ] || skip "no Debian archive with main in apt's sources"

# Runs a shell command line in the root as a new user's login shell: root, the
# base system's PATH, no DISPLAY unless given; /proc and /dev mounted only in a
# mount namespace that dies with it.
inroot() {
   unshare --mount --propagation private /bin/bash -c '
      mount -t proc proc "$1/proc" && mount --rbind /dev "$1/dev" &&
      exec chroot "$1" /usr/bin/env -i HOME=/root TERM=dumb $3 /bin/bash -lc "$2"' \
      inroot "$root" "$1" "${2:-}"
}
# step NAME COMMAND: runs it in the root, its output in SUITE-NAME.log; says
# how it failed.
step() {
   inroot "set -e; $2" >"$suite-$1.log" 2>&1
   local status=$?
   [ $status = 0 ] || { echo "$suite: $1 failed (status $status):"; tail -30 "$suite-$1.log"; }
   return $status
}

# The root for $suite, from its tarball or made anew; status 2 when its archive
# cannot be reached, 1 when debootstrap fails.
makeroot() {
   local key tarball
   key=$suite-minbase-$(echo "$mirror" | sha256sum | cut -c1-12)
   tarball=$cache/$key.tar debs=$cache/$key.debs
   mkdir -p "$debs"
   exec 9>"$cache/$key.lock"
   flock 9
   if [ ! -s "$tarball" ]; then
      /usr/lib/apt/apt-helper -o APT::Sandbox::User=root download-file \
         "${mirror%/}/dists/$suite/Release" "$work/$suite.Release" >/dev/null 2>&1 ||
         { flock -u 9; return 2; }
      echo "$suite: making the base root, debootstrap --variant=minbase $suite $mirror"
      rm -rf --one-file-system "$root" && mkdir -p "$root"
      # debootstrap mounts /proc and /sys in the root: in a namespace of its own too
      if ! unshare --mount --propagation private debootstrap --variant=minbase "$suite" \
         "$root" "$mirror" >"$suite-debootstrap.log" 2>&1; then
         tail -5 "$suite-debootstrap.log"
         flock -u 9
         return 1
      fi
      rm -rf --one-file-system "$root"/var/cache/apt/archives/*.deb
      tar -C "$root" --one-file-system -cf "$tarball.part" . && mv "$tarball.part" "$tarball"
   fi
   flock -u 9
   rm -rf --one-file-system "$root" && mkdir -p "$root" && tar -C "$root" -xf "$tarball" || exit 1
   cp /etc/resolv.conf "$root/etc/resolv.conf"
   # the packages earlier runs downloaded: what apt finds here it does not fetch
   cp "$debs"/*.deb "$root/var/cache/apt/archives/" 2>/dev/null
   return 0
}

clone() {
   git clone -q --no-checkout "$checkout" "$root$1" &&
      git -C "$root$1" checkout -q "$commit" || exit 1
}

first="/root/vintara intro" second=/srv/vintara-intro
for suite in bookworm trixie; do
   root=$work/$suite
   makeroot
   case $? in
   2) echo "SKIPPED: $suite: its archive cannot be reached (${mirror%/}/dists/$suite)"
      skipped=$((skipped + 1))
      continue ;;
   1) check "$suite: debootstrap makes its root" false
      continue ;;
   esac
   clone "$first"

   # 1. The run command, from another folder, with no display.
   step run "cd /tmp && bash '$first/scripts/run.sh'"
   check "$suite: the run command writes a capture and its contact sheet" \
      '[ $? = 0 ] && [ -s "$root$first/build/capture/sheet.png" ]'

   # 2. The headless and whole-program suites, with what the test command installs.
   step suites "cd '$first' && . shell/packages.sh && need_packages \"\${test_packages[@]}\" &&
      cmake -S . -B build >/dev/null && cmake --build build --parallel 2 >/dev/null &&
      cd build && ctest --output-on-failure --parallel 2 -L 'headless|xvfb'"
   check "$suite: the headless and whole-program suites pass" '[ $? = 0 ]'

   # 3. The package command; the package installed with apt-get, its programs run.
   step package "cd / && bash '$first/scripts/package.sh'"
   check "$suite: the package command ends with status 0" '[ $? = 0 ]'
   deb=$(cd "$root$first" && echo build/vintara-intro_*.deb)
   step install "cd '$first' && DEBIAN_FRONTEND=noninteractive apt-get install -y ./$deb"
   check "$suite: apt-get install ./$deb" '[ $? = 0 ]'
   # root's PATH has no /usr/games (other users' has)
   step installed "cd /tmp && /usr/games/vintara-intro-capture --to 120 --hash >installed.hash &&
      '$first/build/intro-capture' --data '$first/build/intro' --to 120 --hash >built.hash"
   check "$suite: the installed capture tool renders the installed intro as the built pair" \
      '[ $? = 0 ] && [ -s "$root/tmp/installed.hash" ] && cmp -s "$root"/tmp/{installed,built}.hash'
   # on this machine's display: X's abstract socket reaches into the root
   plays "$suite: the installed intro" inroot /usr/games/vintara-intro "DISPLAY=$DISPLAY"
   step purge "DEBIAN_FRONTEND=noninteractive apt-get purge -y vintara-intro"
   check "$suite: apt-get purge removes it" '[ $? = 0 ] && [ ! -e "$root/usr/games/vintara-intro" ]'

   if [ $suite = bookworm ]; then
      check "bookworm: the package depends on the library's package" \
         'dpkg-deb -f "$root$first/$deb" Depends | grep -q "liballegro4\.4 (>= "'
      lintian --fail-on error,warning "$root$first/$deb" >"$suite-lintian.log" 2>&1
      check "bookworm: lintian finds no error or warning" '[ $? = 0 ]' || cat "$suite-lintian.log"
      # 4. The same commit in another folder packs the same bytes.
      clone "$second"
      step second "cd / && bash '$second/scripts/package.sh'"
      same=0
      for f in build/dist/vintara-intro build/dist/vintara-intro-capture "$deb"; do
         cmp -s "$root$first/$f" "$root$second/$f" && same=$((same + 1))
      done
      check "bookworm: a second clone in $second packs byte-identical programs and .deb" \
         '[ $same = 3 ]'
   fi
   # keep what apt downloaded for the next run
   cp -u "$root"/var/cache/apt/archives/*.deb "$debs/" 2>/dev/null
   rm -rf --one-file-system "$root"
done
echo "$passes passed, $failures failed, $skipped skipped"
[ $skipped -lt 2 ] || exit 77
[ $failures = 0 ]

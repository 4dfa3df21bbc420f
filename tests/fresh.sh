#!/bin/bash
# A new user's first commands on a fresh machine. A minimal Debian 12 root
# (debootstrap --variant=minbase bookworm) from the archive that this machine's
# apt sources name, the project cloned into it at HEAD (committed files only)
# under a path with a space, and in it, with nothing installed beyond the base
# system and no DISPLAY, each command run from another folder:
#  - the run command writes the capture frames and a contact sheet showing the
#    logo;
#  - the package command packs a .deb that apt-get installs; the installed
#    capture tool renders frames from the installed intro, which, with no
#    display, ends with its message and status 1;
#  - a second clone in another folder packs byte-identical stripped programs
#    and a byte-identical .deb.
# The root is kept as a tarball in CACHE (and the packages it downloaded beside
# it), so that a rerun skips debootstrap and the downloads. Everything the
# root needs mounted is mounted in a private mount namespace of its own, which
# ends with the commands, however they end. Status 77 (skipped) where
# debootstrap cannot run (not root, or no archive in the apt sources).
#
#    fresh.sh CHECKOUT WORKDIR [CACHE]
set -u
. "$(dirname "$0")/lib.sh"
checkout=$(realpath "$1") work=$2 cache=${3:-/var/cache/vintara-intro}
began=$(date +%s)
skip() { echo "SKIPPED: $*"; echo "0 passed, 0 failed, 1 skipped"; exit 77; }
[ "$(id -u)" = 0 ] || skip "making a root with debootstrap needs root"
command -v debootstrap >/dev/null || skip "no debootstrap (apt-get install debootstrap)"

# The first archive that apt's sources name for bookworm's main component, in
# the one-line format (sources.list, *.list) or the deb822 one (*.sources).
archive() {
   local lists=() f
   for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do [ -f "$f" ] && lists+=("$f"); done
   [ ${#lists[@]} = 0 ] ||
      sed -E 's/#.*//; s/\[[^]]*\]//' "${lists[@]}" |
      awk '$1 == "deb" && $3 == "bookworm" { for (i = 4; i <= NF; i++) if ($i == "main") print $2 }'
   for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      awk 'function done() {
              if (types ~ /(^| )deb( |$)/ && suites ~ /(^| )bookworm( |$)/ &&
                  comps ~ /(^| )main( |$)/ && enabled !~ /^no/) { split(uris, u, " "); print u[1] }
              types = suites = comps = uris = enabled = ""
           }
           /^#/ { next }
           /^[ \t]*$/ { done(); next }
           { v = $0; sub(/^[^:]*:[ \t]*/, "", v); k = tolower($1) }
           k == "types:" { types = v } k == "suites:" { suites = v } k == "uris:" { uris = v }
           k == "components:" { comps = v } k == "enabled:" { enabled = tolower(v) }
           END { done() }' "$f"
   done
}
mirror=$(archive | head -1)
[ -n "$mirror" ] || skip "no bookworm archive with main in /etc/apt/sources.list{,.d}"

key=bookworm-minbase-$(echo "$mirror" | sha256sum | cut -c1-12)
tarball=$cache/$key.tar debs=$cache/$key.debs
mkdir -p "$cache" "$debs" "$work" || exit 1
work=$(realpath "$work")
root=$work/root
# --one-file-system: whatever might still be mounted inside is left alone
rm -rf --one-file-system "$root" "$work"/*.log
trap 'rm -rf --one-file-system "$root"' EXIT

# Runs a shell command line in the root as a new user's login shell: root,
# the base system's PATH, no DISPLAY; /proc and /dev mounted only in a mount
# namespace that dies with it.
inroot() {
   unshare --mount --propagation private /bin/bash -c '
      mount -t proc proc "$1/proc" && mount --rbind /dev "$1/dev" &&
      exec chroot "$1" /usr/bin/env -i HOME=/root TERM=dumb /bin/bash -lc "$2"' inroot "$root" "$1"
}
# step NAME COMMAND: runs it in the root, its output in WORKDIR/NAME.log, and
# notes its time.
step() {
   local t0=$SECONDS
   inroot "set -e; $2" >"$work/$1.log" 2>&1
   local status=$?
   times+="$1 $((SECONDS - t0)) s, "
   [ $status = 0 ] || { echo "$1 failed (status $status):"; tail -30 "$work/$1.log"; }
   return $status
}
times=

exec 9>"$cache/$key.lock"
flock 9
if [ -s "$tarball" ]; then
   echo "the base root from the cache ($tarball)"
else
   echo "making the base root: debootstrap --variant=minbase bookworm from the archive apt names"
   t0=$SECONDS
   mkdir -p "$root"
   # debootstrap mounts /proc and /sys in the root: in a namespace of its own too
   if ! unshare --mount --propagation private \
         debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1; then
      tail -20 "$work/debootstrap.log"
      echo "debootstrap failed; its log is $work/debootstrap.log"
      echo "0 passed, 1 failed"
      exit 1
   fi
   rm -rf --one-file-system "$root"/var/cache/apt/archives/*.deb
   tar -C "$root" --one-file-system -cf "$tarball.part" . && mv "$tarball.part" "$tarball"
   rm -rf --one-file-system "$root"
   times+="debootstrap $((SECONDS - t0)) s, "
fi
flock -u 9
mkdir -p "$root"
tar -C "$root" -xf "$tarball" || exit 1
cp /etc/resolv.conf "$root/etc/resolv.conf"
# the packages earlier runs downloaded: what apt finds here it does not fetch
cp "$debs"/*.deb "$root/var/cache/apt/archives/" 2>/dev/null

first="/root/vintara intro" second=/srv/vintara-intro
for clone in "$first" "$second"; do
   git clone -q --no-checkout "$checkout" "$root$clone" &&
      git -C "$root$clone" checkout -q "$(git -C "$checkout" rev-parse HEAD)" || exit 1
done
check "the base system has no compiler, cmake, GoogleTest nor X" \
   '! inroot "command -v g++ || command -v cmake || [ -e /usr/include/gtest ] || [ -e /usr/lib/x86_64-linux-gnu/libX11.so.6 ]" >/dev/null'

# 1. The run command, from another folder, with no display.
step run "cd /tmp && bash '$first/scripts/run.sh'"
check "the run command ends with status 0 and says where the capture is" \
   '[ $? = 0 ] && grep -q "$first/build/capture" "$work/run.log"'
capture=$root$first/build/capture
check "capture frames 1..600 (ten seconds) in build/capture/" \
   '[ "$(ls "$capture" | grep -c "^frame-.*\.png$")" = 600 ] && [ -s "$capture/frame-000600.png" ]'
# the logo rests at #282828 on black: the sheet shows it when a fair share of
# the sheet is each of the two
sheet=$(convert "$capture/sheet.png" -format %c histogram:info:- 2>/dev/null)
logo=$(awk '/#282828/ { print $1 + 0 }' <<<"$sheet")
black=$(awk '/#000000/ { print $1 + 0 }' <<<"$sheet")
size=$(identify -format "%w %h" "$capture/sheet.png" 2>/dev/null)
tenth=$(( ${size% *} * ${size#* } / 10 ))
check "the contact sheet ($size) shows the logo: ${logo:-no} pixels at rest, ${black:-no} black" \
   '[ "${logo:-0}" -gt $tenth ] && [ "${black:-0}" -gt $tenth ]'

# 2. The package command, the package installed with apt-get, the installed
# programs run.
step package "cd / && bash '$first/scripts/package.sh'"
check "the package command ends with status 0" '[ $? = 0 ]'
deb=$(cd "$root$first" && echo build/vintara-intro_*.deb)
step install "cd '$first' && DEBIAN_FRONTEND=noninteractive apt-get install -y ./$deb"
check "apt-get install ./$deb" '[ $? = 0 ]'
# root's PATH has no /usr/games (other users' has)
step installed "cd /tmp && /usr/games/vintara-intro-capture --to 120 --frames installed &&
   /usr/games/vintara-intro-capture --to 120 --hash >installed.hash &&
   '$first/build/intro-capture' --data '$first/build/intro' --to 120 --hash >built.hash &&
   { /usr/games/vintara-intro >nodisplay.out 2>&1 || echo \$? >nodisplay.status; }"
check "the installed capture tool renders frames 1..120 from the installed intro, as the built pair" \
   '[ $? = 0 ] && [ "$(ls "$root/tmp/installed" | wc -l)" = 120 ] &&
    [ "$(grep -c . "$root/tmp/installed.hash")" = 120 ] && cmp -s "$root"/tmp/{installed,built}.hash'
check "the installed intro, with no display: status 1 and its message" \
   '[ "$(cat "$root/tmp/nodisplay.status")" = 1 ] &&
    grep -q "unable to set any graphic mode" "$root/tmp/nodisplay.out"'

# 3. The same commit in another folder packs the same bytes.
step second "cd / && bash '$second/scripts/package.sh'"
check "a second clone in $second packs too" '[ $? = 0 ]'
echo "sha256 of both builds ($first, $second):"
same=0
for f in build/dist/vintara-intro build/dist/vintara-intro-capture "$deb"; do
   (cd "$root" && sha256sum ".$first/$f" ".$second/$f" | sed 's/^/  /')
   cmp -s "$root$first/$f" "$root$second/$f" && same=$((same + 1))
done
check "byte-identical stripped programs and .deb from the two clones" '[ $same = 3 ]'

# keep what apt downloaded for the next run
cp -u "$root"/var/cache/apt/archives/*.deb "$debs/" 2>/dev/null
rm -rf --one-file-system "$root"
echo "times: ${times}whole test $(($(date +%s) - began)) s"
echo "$passes passed, $failures failed"
[ $failures = 0 ]

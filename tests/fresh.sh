#!/bin/bash
# A new user's first commands on a fresh machine. A minimal Debian 12 root
# (debootstrap --variant=minbase bookworm) from the archive that this machine's
# apt sources name, the project cloned into it at HEAD (committed files only)
# under a path with a space, and in it, with nothing installed beyond the base
# system and no DISPLAY, each command run from another folder:
#  - the run command writes the capture frames and a contact sheet showing the
#    logo;
#  - the package command packs a .deb that lintian passes and apt-get
#    installs, with the library's package as a dependency, both programs in
#    /usr/games, every capture option in the manual page, a menu entry and its
#    icon; the installed capture tool renders the built pair's frames from the
#    installed intro, which, with no display, ends with its message, status 1,
#    and on this machine's Xvfb shows its picture and ends on a key, status 0;
#    apt-get purge removes it;
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

# apt answers from the lists it has fetched: none yet, none named
archive() {
   apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' 'Release: bookworm' \
      'Component: main' | head -1
}
mirror=$(archive)
[ -n "$mirror" ] || { apt-get update -qq >/dev/null 2>&1; mirror=$(archive); }
[ -n "$mirror" ] || skip "no bookworm archive with main in apt's sources"

key=bookworm-minbase-$(echo "$mirror" | sha256sum | cut -c1-12)
tarball=$cache/$key.tar debs=$cache/$key.debs
mkdir -p "$cache" "$debs" "$work" || exit 1
work=$(realpath "$work")
cd "$work" || exit 1
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
times=
step() {
   local t0=$SECONDS
   inroot "set -e; $2" >"$work/$1.log" 2>&1
   local status=$?
   times+="$1 $((SECONDS - t0)) s, "
   [ $status = 0 ] || { echo "$1 failed (status $status):"; tail -30 "$work/$1.log"; }
   return $status
}

exec 9>"$cache/$key.lock"
flock 9
if [ ! -s "$tarball" ]; then
   echo "making the base root: debootstrap --variant=minbase bookworm from the archive apt names"
   t0=$SECONDS
   mkdir -p "$root"
   # debootstrap mounts /proc and /sys in the root: in a namespace of its own too
   unshare --mount --propagation private debootstrap --variant=minbase bookworm "$root" \
      "$mirror" >"$work/debootstrap.log" 2>&1 ||
      { tail -20 "$work/debootstrap.log"; echo "debootstrap failed"; exit 1; }
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

# 1. The run command, from another folder, with no display.
step run "cd /tmp && bash '$first/scripts/run.sh'"
check "the run command ends with status 0 and says where the capture is" \
   '[ $? = 0 ] && grep -q "$first/build/capture" "$work/run.log"'
capture=$root$first/build/capture
check "capture frames 1..600 (ten seconds) in build/capture/" \
   '[ "$(ls "$capture" | grep -c "^frame-.*\.png$")" = 600 ] && [ -s "$capture/frame-000600.png" ]'
# the logo rests at #282828 on black: a fair share of the sheet is each
sheet=$(convert "$capture/sheet.png" -format %c histogram:info:- 2>/dev/null)
logo=$(awk '/#282828/ { print $1 + 0 }' <<<"$sheet") black=$(awk '/#000000/ { print $1 + 0 }' <<<"$sheet")
tenth=$(identify -format "%[fx:w*h/10]" "$capture/sheet.png" 2>/dev/null)
check "the contact sheet shows the logo: ${logo:-no} pixels at rest, ${black:-no} black" \
   '[ "${logo:-0}" -gt "${tenth:-0}" ] && [ "${black:-0}" -gt "${tenth:-0}" ]'

# 2. The package command; the package linted here, installed there with
# apt-get, its programs run.
step package "cd / && bash '$first/scripts/package.sh'"
check "the package command ends with status 0" '[ $? = 0 ]'
deb=$(cd "$root$first" && echo build/vintara-intro_*.deb)
check "it depends on the library's package" \
   'dpkg-deb -f "$root$first/$deb" Depends | grep -q "liballegro4\.4 (>= "'
lintian --fail-on error,warning "$root$first/$deb" >"$work/lintian.log" 2>&1
check "lintian: no error or warning" '[ $? = 0 ]' || cat "$work/lintian.log"
step install "cd '$first' && DEBIAN_FRONTEND=noninteractive apt-get install -y ./$deb"
check "apt-get install ./$deb" '[ $? = 0 ]'
# root's PATH has no /usr/games (other users' has)
step installed "cd /tmp && /usr/games/vintara-intro-capture --to 120 --hash >installed.hash &&
   '$first/build/intro-capture' --data '$first/build/intro' --to 120 --hash >built.hash &&
   /usr/games/vintara-intro-capture --help >help.txt &&
   zcat /usr/share/man/man1/vintara-intro-capture.1.gz | sed 's/\\\\-/-/g' >manual.txt &&
   { /usr/games/vintara-intro >nodisplay.out 2>&1 || echo \$? >nodisplay.status; }"
check "the installed capture tool renders frames 1..120 from the installed intro, as the built pair" \
   '[ $? = 0 ] && [ "$(grep -c . "$root/tmp/installed.hash")" = 120 ] &&
    cmp -s "$root"/tmp/{installed,built}.hash'
check "the installed intro, with no display: status 1 and its message" \
   '[ "$(cat "$root/tmp/nodisplay.status")" = 1 ] &&
    grep -q "unable to set any graphic mode" "$root/tmp/nodisplay.out"'
# the installed intro on a display here (X's abstract socket reaches into the root)
start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null; rm -rf --one-file-system "$root"' EXIT
inroot "DISPLAY=$DISPLAY /usr/games/vintara-intro" >"$work/play.log" 2>&1 &
pid=$!
await_picture 0 0 60
shown=$?
xdotool key space
await_exit 10
check "the installed intro shows its logo and caption, and a key ends it with status 0" \
   '[ $shown = 0 ] && [ $status = 0 ]' || cat "$work/play.log"
options=$(grep -o -- '--[a-z]*' "$root/tmp/help.txt" | sort -u)
check "every option of --help is in the manual page" \
   '[ "$(echo $options | wc -w)" -gt 10 ] &&
    (for o in $options; do grep -qw -- "$o" "$root/tmp/manual.txt" || exit 1; done)'
desktop=$root/usr/share/applications/vintara-intro.desktop
check "the menu entry runs vintara-intro, its icon at the theme's required 48x48" \
   'grep -qx Exec=vintara-intro "$desktop" && grep -qx Icon=vintara-intro "$desktop" &&
    file "$root/usr/share/icons/hicolor/48x48/apps/vintara-intro.png" | grep -q "48 x 48"'

step purge "DEBIAN_FRONTEND=noninteractive apt-get purge -y vintara-intro"
check "apt-get purge removes it" '[ $? = 0 ] && [ ! -e "$root/usr/games/vintara-intro" ]'

# 3. The same commit in another folder packs the same bytes.
step second "cd / && bash '$second/scripts/package.sh'"
check "a second clone in $second packs too" '[ $? = 0 ]'
same=0
for f in build/dist/vintara-intro build/dist/vintara-intro-capture "$deb"; do
   (cd "$root" && sha256sum ".$first/$f" ".$second/$f" | sed 's/^/  /')
   cmp -s "$root$first/$f" "$root$second/$f" && same=$((same + 1))
done
check "byte-identical stripped programs and .deb from the two clones" '[ $same = 3 ]'

# keep what apt downloaded for the next run
cp -u "$root"/var/cache/apt/archives/*.deb "$debs/" 2>/dev/null
echo "times: ${times}whole test $(($(date +%s) - began)) s"
echo "$passes passed, $failures failed"
[ $failures = 0 ]

#!/bin/bash
# The Debian package, for real: cpack builds it, lintian finds no error or
# warning in it, apt-get installs it; the installed capture tool renders the
# same frames from the installed intro's data as the built pair does, the
# installed intro plays under Xvfb and a key ends it with status 0, and purging
# it leaves the same packages installed as before. Both programs are in
# /usr/games, as the package's section is games. Status 77 (skipped) when the
# package is installed already: the test will not replace someone's copy.
#
#    package.sh CPACKCONFIG INTRO-CAPTURE INTRO WORKDIR
set -u
. "$(dirname "$0")/lib.sh"
config=$1 capture=$2 intro=$3 work=$4 games=/usr/games
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
# others may hold the dpkg lock for a while: wait for it rather than fail
apt() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@"; }
packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '/^ii/ { print $2 }'; }

if packages | grep -qx vintara-intro; then
   echo "vintara-intro is installed here already; not replacing it"
   exit 77
fi
cpack -G DEB -B "$work" --config "$config" >cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(echo "$work"/vintara-intro_*.deb)
dpkg-deb -I "$deb"
check "dpkg-shlibdeps found the library's package" \
   'dpkg-deb -f "$deb" Depends | grep -q "liballegro4\.4 (>= "'
lintian --fail-on error,warning "$deb" >lintian.txt 2>lintian.err
check "lintian: no error or warning" '[ $? = 0 ]'

packages >before.txt
# purges the package and whatever it brought along, and nothing else
remove() {
   apt purge vintara-intro $(comm -13 before.txt installed.txt 2>/dev/null | grep -vx vintara-intro) \
      >>purge.log 2>&1
}
trap remove EXIT
apt install "$deb" >install.log 2>&1
check "apt-get installs it, the programs in $games" \
   '[ $? = 0 ] && [ -x $games/vintara-intro ] && [ -x $games/vintara-intro-capture ]'
packages >installed.txt

# the default data is the installed intro beside the installed tool
$games/vintara-intro-capture --to 420 --hash >installed.hash 2>capture.err
"$capture" --data "$intro" --to 420 --hash >built.hash 2>/dev/null
check "the installed pair renders frames 1..420 as the built pair does" \
   '[ "$(grep -c . installed.hash)" = 420 ] && cmp -s installed.hash built.hash'
options=$($games/vintara-intro-capture --help | grep -o -- '--[a-z]*' | sort -u)
manual=$(zcat /usr/share/man/man1/vintara-intro-capture.1.gz | sed 's/\\-/-/g')
undocumented=
for o in $options; do grep -qw -- "$o" <<<"$manual" || undocumented+=" $o"; done
check "every option of --help is in the manual page" \
   '[ "$(echo $options | wc -w)" -gt 10 ] && [ -z "${undocumented:-}" ]' || echo "undocumented:$undocumented"
desktop=/usr/share/applications/vintara-intro.desktop
check "the menu entry runs vintara-intro, its icon at the theme's required 48x48" \
   'grep -qx Exec=vintara-intro $desktop && grep -qx Icon=vintara-intro $desktop &&
    file /usr/share/icons/hicolor/48x48/apps/vintara-intro.png | grep -q "48 x 48"'

start_xvfb || exit 1
trap 'kill $xvfb 2>/dev/null; remove' EXIT
$games/vintara-intro >intro.out 2>&1 &
pid=$!
await_picture 0 0 30
check "the installed intro shows its logo and caption" \
   'kill -0 $pid && logo_rows_ok && caption_ok && xdotool search --name "vintara intro 1" >/dev/null'
xdotool key space
await_exit 10
check "a key ends it with status 0" '[ $status = 0 ]'
kill $xvfb

trap - EXIT
remove
packages >after.txt
check "purged: the packages installed are those from before" \
   '[ ! -e $games/vintara-intro ] && cmp -s before.txt after.txt'

cat lintian.txt capture.err intro.out
[ $failures = 0 ]

#!/bin/bash
# Makes a release of the intro in build/release/, from a clean copy of the
# committed tree (uncommitted changes are left out, and said so): the Debian
# package, the Windows program in a zip with a short text, the web site in a zip
# and the single-file page, a lossless video of one caption cycle and an H.264
# one of the first minute, a screenshot and a contact sheet, SHA256SUMS over all
# of them and a release text naming each with its size. Every name carries the
# version, the changelog's latest entry. The libraries built for Windows and the
# browser are kept between releases, in the checkout's own caches.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. shell/packages.sh
need_packages git zip unzip ffmpeg cmake

read -r version changelog_epoch < <(cmake -P dist/changelog.cmake)
commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain)" ] ||
   echo "release.sh: the working tree has uncommitted changes; the release is of commit ${commit:0:12} alone"
name=vintara-intro-$version
out=$root/build/release
work=$root/build/release-work
# each step's output goes to a log; a step that fails shows the end of its own
trap 'status=$?; [ $status = 0 ] || { tail -20 "$(ls -t "$work"/*.log 2>/dev/null | head -1)" 2>/dev/null
   echo "release.sh: a step failed; its log and the tree it built are in $work" >&2; }' EXIT
rm -rf --one-file-system "$out" "$work"
mkdir -p "$out" "$work/src" "$root/build-windows/allegro"
git archive HEAD | tar -x -C "$work/src"
# the libraries for Windows and the browser are keyed by their inputs, so the
# checkout's copies serve
mkdir -p "$work/src/build-windows"
ln -s "$root/build-windows/allegro" "$work/src/build-windows/allegro"
mkdir -p "$root/build-web/allegro" "$work/src/build-web"
ln -s "$root/build-web/allegro" "$work/src/build-web/allegro"

cd "$work/src"
# the changelog's date: the zips' times, and whatever else the build dates
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$changelog_epoch}
echo "== the Debian package"
bash scripts/package.sh >"$work/package.log"
cp build/vintara-intro_"$version"_*.deb "$out/"
echo "== the Windows program"
bash scripts/windows.sh >"$work/windows.log"

# Zips with fixed times and no extra fields, so the same tree gives the same zip.
zipdir() {  # FOLDER ZIP, from the folder's parent
   find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
   find "$1" | LC_ALL=C sort | TZ=UTC zip -q -X -D "$2" -@
}
win=$work/$name-windows
mkdir -p "$win"
cp build-windows/intro.exe "$win/vintara-intro.exe"
sed 's/$/\r/' >"$win/README.txt" <<EOF
quib's vintara intro 1, version $version, for 64-bit Windows

A self-running, full-screen intro at 640x480 in 256 colours: the group's
logo, two endless scrollers and a caption that fades through three titles,
at 60 frames a second.

To run it, double-click vintara-intro.exe. It needs nothing else: the logo
and the font travel inside the program. It asks for a 640x480 screen in 256
colours and falls back to a window where the screen cannot change mode.

Any key ends it.
EOF
(cd "$work" && zipdir "$name-windows" "$out/$name-windows.zip")

echo "== the web site and the one-file page"
bash scripts/web.sh >"$work/web.log"
cp -r build-web/site "$work/$name-web"
(cd "$work" && zipdir "$name-web" "$out/$name-web.zip")
cp build-web/vintara-intro.html "$out/$name.html"

echo "== the videos, the screenshot and the sheet"
capture=build/intro-capture
"$capture" --to 993 --video "$out/$name-cycle.mkv" >/dev/null
"$capture" --seconds 60 --video "$out/$name-minute.mp4" --codec h264 >/dev/null
"$capture" --from 300 --to 300 --frames "$work/shot" >/dev/null
cp "$work/shot/frame-000300.png" "$out/$name-screenshot.png"
"$capture" --to 993 --every 83 --sheet "$out/$name-sheet.png" >/dev/null

# The release text: 80 columns, each file with its size and what it is for.
cd "$out"
describe() {
   case $1 in
   *.deb) echo "Debian 12 and 13 package" ;;
   *-windows.zip) echo "Windows program and README" ;;
   *-web.zip) echo "the web site, to serve" ;;
   *.html) echo "the intro in one web page" ;;
   *-cycle.mkv) echo "one caption cycle, lossless" ;;
   *-minute.mp4) echo "the first minute, H.264" ;;
   *-screenshot.png) echo "frame 300, five seconds in" ;;
   *-sheet.png) echo "one cycle, every 83rd frame" ;;
   esac
}
files=$(ls | LC_ALL=C sort)
deb=$(ls ./*.deb)
{
   echo "quib's vintara intro 1, version $version"
   echo "=============================================================================="
   echo
   echo "A self-running, full-screen 8-bit intro: the group's logo, two endless"
   echo "scrollers and a caption that fades through three titles, animated almost"
   echo "entirely by rewriting palette entries at 60 Hz. Any key ends it."
   echo
   echo "File                                        Bytes  What"
   echo "--------------------------------------  ----------  ----------------------------"
   for f in $files; do
      printf '%-38s  %10s  %s\n' "$f" "$(stat -c %s "$f")" "$(describe "$f")"
   done
   printf '%-38s  %10s  %s\n' SHA256SUMS "" "SHA-256 of the files above"
   echo
   echo "Which to take:"
   echo "  Debian:     sudo apt-get install $deb"
   echo "              then run vintara-intro, or start it from the Games menu"
   echo "  Windows:    unzip $name-windows.zip and run vintara-intro.exe"
   echo "  A browser:  open $name.html, or serve the web zip's folder"
   echo "  Nothing to run it on: the videos"
   echo
   echo "Made from commit $commit."
} >"$name.txt"
sha256sum $files "$name.txt" >SHA256SUMS
rm -rf --one-file-system "$work"
echo "The release is in $out:"
ls -l "$out"
